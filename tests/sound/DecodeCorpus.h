#pragma once

#include "sound/LoadResult.h"

#include <cstdint>

// What loading each file of tests/sound/decode_corpus gives: the code, and
// for LoadOK the rate, the length and the onset of the mono result.
// Lengths are exact: gapless MP3s, FLAC and Ogg decode to the source's
// length, files without gapless information to whole frames, and WAV codecs
// to their fact chunk's count. Onsets of lossy files lie within a few samples of the
// source's (2205 at 44100, 1102 at 22050, 1200 at 24000, 400 at 8000);
// the files without gapless information start later by the codec's delay.
struct DecodeCorpusEntry {
    const char* file;
    LoadResult code;
    std::uint32_t rate = 0;
    std::int32_t sampleCount = 0;
    std::int32_t onset = 0;
    const char* reference = nullptr;  // the mono PCM source it should sound like
};

inline constexpr DecodeCorpusEntry kDecodeCorpus[] = {
    {"joint_stereo_44100.mp3", LoadOK, 44100, 11025, 2208, "ref_44100_mix.wav"},
    {"vbr_44100.mp3", LoadOK, 44100, 11025, 2208, "ref_44100_mix.wav"},
    {"bad_headers_first.mp3", LoadOK, 44100, 11025, 2208, "ref_44100_mix.wav"},
    {"header_at_6001.mp3", LoadOK, 44100, 11025, 2208, "ref_44100_mix.wav"},
    // The gapless tag's count is more than the frames hold, so none of it
    // is trusted: every frame decoded is kept, and every sample is set.
    {"truncated.mp3", LoadOK, 44100, 6912, 3313},
    {"mono_22050.mp3", LoadOK, 22050, 6912, 2209, "ref_22050.wav"},  // frames too small for a gapless tag
    {"id3_40k.mp3", LoadOK, 22050, 6912, 2209, "ref_22050.wav"},
    {"id3_footer.mp3", LoadOK, 22050, 6912, 2209, "ref_22050.wav"},
    {"mpeg2_24000.mp3", LoadOK, 24000, 6000, 1202, "ref_24000.wav"},
    {"layer2_44100.mp2", LoadOK, 44100, 11520, 2688, "ref_44100.wav"},
    {"mp3_in_wav.wav", LoadOK, 44100, 11025, 2208, "ref_44100_mix.wav"},
    {"mp2_in_wav.wav", LoadOK, 44100, 11520, 2688, "ref_44100.wav"},
    {"ms_adpcm.wav", LoadOK, 8000, 2001, 404, "ref_8000.wav"},
    {"ima_adpcm.wav", LoadOK, 8000, 2001, 407, "ref_8000.wav"},
    {"ima_adpcm_stereo.wav", LoadOK, 8000, 2001, 407, "ref_8000_mix.wav"},
    {"ima_adpcm_nofact.wav", LoadOK, 8000, 2020, 407, "ref_8000.wav"},  // the last block's padding stays
    {"gsm610.wav", LoadOK, 8000, 2001, 401, "ref_8000.wav"},
    {"alaw.wav", LoadOK, 8000, 2001, 401, "ref_8000.wav"},
    {"mulaw.wav", LoadOK, 8000, 2001, 401, "ref_8000.wav"},
    {"float32.wav", LoadOK, 8000, 2001, 401, "ref_8000.wav"},
    {"float64.wav", LoadOK, 8000, 2001, 401, "ref_8000.wav"},
    {"ext_pcm8.wav", LoadOK, 8000, 2001, 401, "ref_8000.wav"},
    {"ext_pcm16.wav", LoadOK, 8000, 2001, 401, "ref_8000.wav"},
    {"ext_pcm24.wav", LoadOK, 8000, 2001, 401, "ref_8000.wav"},
    {"ext_pcm32.wav", LoadOK, 8000, 2001, 401, "ref_8000.wav"},
    {"ext_float_loud.wav", LoadOK, 8000, 2001, 401},
    {"flac_44100.flac", LoadOK, 44100, 11025, 2207, "ref_44100.wav"},
    {"flac24_44100.Flac", LoadOK, 44100, 11025, 2207, "ref_44100.wav"},
    {"flac_unknown_length.flac", LoadOK, 44100, 11025, 2207, "ref_44100.wav"},
    {"flac_stereo_8000.flac", LoadOK, 8000, 2001, 401, "ref_8000_mix.wav"},
    {"ogg_22050.ogg", LoadOK, 22050, 5512, 1103, "ref_22050.wav"},
    {"ogg_stereo_44100.ogg", LoadOK, 44100, 11025, 2208, "ref_44100_mix.wav"},
    {"header_at_6002.mp3", LoadBadMp3},
    {"garbage.mp3", LoadBadMp3},
    {"three_bytes.mp3", LoadBadMp3},
    {"wave_file.MP3", LoadBadMp3},
    {"header_only.mp3", LoadConversionError},
    {"mp3_in_wav_wrong_rate.wav", LoadConversionError},
    {"wma_tag.wav", LoadConversionImpossible},
    {"adpcm_no_channels.wav", LoadConversionImpossible},
    {"ima_adpcm_bad_block.wav", LoadConversionImpossible},
    {"truncated.flac", LoadConversionError},
    {"truncated.ogg", LoadConversionError},
    {"garbage.flac", LoadConversionError},
    {"wave_file.flac", LoadConversionError},  // a FLAC name reads FLAC or Ogg only
};
