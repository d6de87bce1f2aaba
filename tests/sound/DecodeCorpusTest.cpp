#include "tests/sound/DecodeCorpus.h"
#include "sound/BellImport.h"
#include "sound/DecodeToPcm16.h"
#include "sound/Mp3Header.h"
#include "sound/WavFile.h"
#include "tests/sound/ExpectLoad.h"
#include "tests/sound/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::string DecodeFile(const std::string& name)
{
    return std::string(CARILLIX_DECODE_CORPUS) + "/" + name;
}

std::vector<std::int16_t> LoadSamples(const std::string& name)
{
    CSoundBuffer sound;
    if (LoadBellFile(sound, DecodeFile(name)) != LoadOK)
        return {};
    return {sound.samples.get(), sound.samples.get() + sound.sampleCount};
}

// Signal-to-noise ratio in dB of `decoded`, read `lag` samples late,
// against `reference` over the reference's length.
double SnrDb(const std::vector<std::int16_t>& decoded, const std::vector<std::int16_t>& reference, std::size_t lag)
{
    double signal = 0;
    double noise = 0;
    for (std::size_t i = 0; i < reference.size(); ++i) {
        const double r = reference[i];
        const double d = i + lag < decoded.size() ? decoded[i + lag] : 0.0;
        signal += r * r;
        noise += (d - r) * (d - r);
    }
    return noise == 0 ? 200.0 : 10 * std::log10(signal / noise);
}

TEST(DecodeCorpus, EveryFileLoadsOrFailsAsExpected)
{
    for (const DecodeCorpusEntry& e : kDecodeCorpus) {
        SCOPED_TRACE(e.file);
        ExpectLoad(DecodeFile(e.file), e.code, e.rate, e.sampleCount, e.onset);
    }
}

// Lossy codecs cannot give the source back exactly, so each is held to a
// signal-to-noise floor 2 to 3 dB under what it achieves on this tone (the
// encoders' own decoders achieve the same figures). Every floor is above
// what a real fault gives: a wrong scale or channel mix (x0.5 gives 6 dB),
// a swapped byte order, or a shift by one sample (22 dB at 44100, less at
// lower rates). Lossless paths must match exactly.
TEST(DecodeCorpus, DecodedSoundMatchesItsSource)
{
    struct Case {
        const char* file;
        double floorDb;
        std::size_t lag = 0;  // codec delay where the file carries no gapless information
    };
    for (const Case& c : {
             Case{"joint_stereo_44100.mp3", 24},  // 128 kbit/s: 26.0 dB
             Case{"vbr_44100.mp3", 54},           // 57.0 dB
             Case{"header_at_6001.mp3", 24},
             Case{"mp3_in_wav.wav", 24},
             Case{"mpeg2_24000.mp3", 24},       // 26.0 dB
             Case{"mono_22050.mp3", 23, 1105},  // 25.9 dB
             Case{"id3_40k.mp3", 23, 1105},
             Case{"layer2_44100.mp2", 47, 481},  // 49.7 dB
             Case{"mp2_in_wav.wav", 47, 481},
             Case{"ms_adpcm.wav", 18},   // 20.0 dB: the sudden onset costs ADPCM most
             Case{"ima_adpcm.wav", 15},  // 16.7 dB
             Case{"ima_adpcm_stereo.wav", 15},
             Case{"gsm610.wav", 14},  // 16.5 dB
             Case{"alaw.wav", 35},    // 37.5 dB
             Case{"mulaw.wav", 35},
             Case{"ext_pcm8.wav", 31},  // 33.8 dB
             Case{"float32.wav", 200},
             Case{"float64.wav", 200},
             Case{"ext_pcm16.wav", 200},
             Case{"ext_pcm24.wav", 200},
             Case{"ext_pcm32.wav", 200},
             Case{"flac_44100.flac", 200},
             Case{"flac24_44100.Flac", 200},
             Case{"flac_unknown_length.flac", 200},
             Case{"flac_stereo_8000.flac", 200},
             Case{"ogg_22050.ogg", 31},         // Vorbis quality 3: 33.7 dB
             Case{"ogg_stereo_44100.ogg", 34},  // 36.7 dB
         }) {
        SCOPED_TRACE(c.file);
        const auto* entry = std::find_if(std::begin(kDecodeCorpus), std::end(kDecodeCorpus),
                                         [&](const DecodeCorpusEntry& e) { return std::string(e.file) == c.file; });
        ASSERT_NE(entry, std::end(kDecodeCorpus));
        const std::vector<std::int16_t> reference = LoadSamples(entry->reference);
        const std::vector<std::int16_t> decoded = LoadSamples(c.file);
        ASSERT_FALSE(reference.empty());
        ASSERT_FALSE(decoded.empty());
        const double snr = SnrDb(decoded, reference, c.lag);
        EXPECT_GE(snr, c.floorDb);
        if (c.lag > 0) {
            EXPECT_LT(SnrDb(decoded, reference, c.lag + 3), c.floorDb) << "the delay is not pinned down";
        }
    }
}

TEST(DecodeCorpus, CutStreamKeepsEveryDecodedSampleAndNoOther)
{
    // The same frames decode to the same samples; the cut file keeps the
    // codec delay (1105 samples) that the whole file's gapless tag trims.
    const std::vector<std::int16_t> whole = LoadSamples("joint_stereo_44100.mp3");
    const std::vector<std::int16_t> cut = LoadSamples("truncated.mp3");
    ASSERT_EQ(cut.size(), 6912u);
    ASSERT_EQ(whole.size(), 11025u);
    const std::size_t delay = 1105;
    EXPECT_TRUE(std::equal(cut.begin() + delay, cut.end(), whole.begin()));
}

TEST(DecodeCorpus, EightBitAndFloatValuesConvertExactly)
{
    const std::vector<std::int16_t> reference = LoadSamples("ref_8000.wav");
    const std::vector<std::int16_t> eightBit = LoadSamples("ext_pcm8.wav");
    const std::vector<std::int16_t> loud = LoadSamples("ext_float_loud.wav");
    ASSERT_EQ(eightBit.size(), reference.size());
    ASSERT_EQ(loud.size(), reference.size());
    int saturated = 0;
    for (std::size_t i = 0; i < reference.size(); ++i) {
        // The byte kept the top 8 bits, rounded toward minus infinity.
        EXPECT_EQ(eightBit[i], (reference[i] >> 8) * 256) << i;
        // Float at twice the reference, scaled by 32768 and saturated.
        const int twice = std::clamp(2 * reference[i], -32768, 32767);
        EXPECT_EQ(loud[i], twice) << i;
        saturated += twice != 2 * reference[i];
    }
    EXPECT_GT(saturated, 20);
}

struct Decoded {
    explicit Decoded(const std::string& name)
    {
        BinaryFile file;
        if (!file.Open(DecodeFile(name)))
            return;
        const bool wav = name.ends_with(".wav");
        header = wav ? ReadWavHeader(sound, file) : ReadMp3Header(sound, file);
        data.resize(sound.dataBytes);
        if (header == LoadOK && file.Read(data.data(), data.size()) == data.size())
            result = DecodeToPcm16(sound, data);
    }
    CSoundBuffer sound;
    std::vector<std::uint8_t> data;
    LoadResult header = LoadOpenFailed;
    LoadResult result = LoadOpenFailed;
};

TEST(DecodeToPcm16, StereoMp3GivesStereoPcmBeforeTheMonoConversion)
{
    Decoded d("joint_stereo_44100.mp3");
    ASSERT_EQ(d.result, LoadOK);
    const WaveFormat& f = d.sound.format;
    EXPECT_EQ(f.formatTag, 1);
    EXPECT_EQ(f.channels, 2);
    EXPECT_EQ(f.sampleRate, 44100u);
    EXPECT_EQ(f.bitsPerSample, 16);
    EXPECT_EQ(f.blockAlign, 4);
    EXPECT_EQ(f.avgBytesPerSec, 176400u);
    EXPECT_EQ(d.sound.dataBytes, 11025u * 4);
    EXPECT_EQ(d.data.size(), d.sound.dataBytes);
    EXPECT_EQ(d.sound.sampleCount, 11025);
    EXPECT_EQ(f.extraSize, 0);
    EXPECT_EQ(f.extra[0], 1);  // the extra bytes are not copied
}

TEST(DecodeToPcm16, OutputIsForcedToTheDeclaredChannels)
{
    // A record declaring one channel over joint-stereo data gets the mix.
    CSoundBuffer sound;
    BinaryFile file;
    ASSERT_TRUE(file.Open(DecodeFile("joint_stereo_44100.mp3")));
    ASSERT_EQ(ReadMp3Header(sound, file), LoadOK);
    std::vector<std::uint8_t> raw(sound.dataBytes);
    ASSERT_EQ(file.Read(raw.data(), raw.size()), raw.size());
    sound.format.channels = 1;
    ASSERT_EQ(DecodeToPcm16(sound, raw), LoadOK);
    EXPECT_EQ(sound.format.channels, 1);
    EXPECT_EQ(sound.format.blockAlign, 2);
    EXPECT_EQ(sound.sampleCount, 11025);
    EXPECT_EQ(raw.size(), 11025u * 2);
}

TEST(DecodeToPcm16, FailuresReleaseTheDataAndSayWhy)
{
    struct Case {
        const char* file;
        LoadResult code;
    };
    for (const Case& c : {
             Case{"wma_tag.wav", LoadConversionImpossible},
             Case{"adpcm_no_channels.wav", LoadConversionImpossible},
             Case{"ima_adpcm_bad_block.wav", LoadConversionImpossible},
             Case{"header_only.mp3", LoadConversionError},
             Case{"mp3_in_wav_wrong_rate.wav", LoadConversionError},
         }) {
        SCOPED_TRACE(c.file);
        Decoded d(c.file);
        ASSERT_EQ(d.header, LoadOK);
        EXPECT_EQ(d.result, c.code);
        EXPECT_TRUE(d.data.empty());
        EXPECT_EQ(d.data.capacity(), 0u);
        EXPECT_NE(d.sound.format.formatTag, 1);  // the record still describes the source
    }
}

TEST(DecodeToPcm16, FactChunkTrimsBlockPaddingAndOnlyForItsFile)
{
    Decoded withFact("ima_adpcm.wav");
    ASSERT_EQ(withFact.result, LoadOK);
    EXPECT_EQ(withFact.sound.sampleCount, 2001);

    // A later MP3 load on the same record must not inherit the count.
    BinaryFile file;
    ASSERT_TRUE(file.Open(DecodeFile("joint_stereo_44100.mp3")));
    ASSERT_EQ(ReadMp3Header(withFact.sound, file), LoadOK);
    EXPECT_FALSE(withFact.sound.factSamples);

    Decoded noFact("ima_adpcm_nofact.wav");
    ASSERT_EQ(noFact.result, LoadOK);
    EXPECT_FALSE(noFact.sound.factSamples);
    EXPECT_EQ(noFact.sound.sampleCount, 2020);  // four blocks of 505
}

// Writers that cannot seek back leave the fact count 0: not known, so every
// decoded sample is kept, as without a fact chunk.
TEST(DecodeToPcm16, AFactCountOfZeroMeansNotKnown)
{
    std::vector<unsigned char> bytes = ReadBytes(DecodeFile("ima_adpcm.wav"));
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const std::size_t fact = text.find("fact");
    ASSERT_NE(fact, std::string_view::npos);
    std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(fact + 8), 4, 0);
    TempFolder folder;
    const std::string path = folder.Path("fact_zero.wav");
    WriteBytes(path, bytes);
    ExpectLoad(path, LoadOK, 8000, 2020, 407);
}

// An odd-sized data chunk at the very end of a file lacks its pad byte. The
// codec must load what is there, however the data looks: sound data that
// happens to read as a chunk header once sent it round in circles for ever.
TEST(DecodeToPcm16, OddDataChunkWithoutItsPadByteLoads)
{
    std::vector<unsigned char> file = {'R',  'I',  'F', 'F', 105,  0,    0, 0, 'W', 'A', 'V', 'E',
                                       'f',  'm',  't', ' ', 16,   0,    0, 0, 6,   0,   2,   0,
                                       0x40, 0x1f, 0,   0,   0x80, 0x3e, 0, 0, 2,   0,   8,   0,
                                       'd',  'a',  't', 'a', 69,   0,    0, 0, 'L', 'I', 'S', 'T'};
    file.resize(44 + 69, 0xff);
    file[44 + 43] = 'a';
    file[44 + 44] = 0xdf;
    TempFolder folder;
    const std::string path = folder.Path("odd.wav");
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), std::ssize(file));
    ExpectLoad(path, LoadOK, 8000, 34, 34);
}

}  // namespace
