#!/usr/bin/env python3
"""Writes the compressed-sound test corpus into the folder this script lives in.

The script synthesises a bell-like tone (silence, then a decaying sine) and
writes it as 16-bit mono PCM references (ref_*.wav). lame encodes the MP3s
and sox writes the WAV codecs (MS and IMA ADPCM, GSM 6.10, A-law, mu-law,
float), the Layer II file and the FLAC and Ogg Vorbis files, so that the data comes from independent
encoders. Extensible WAVs, MPEG data wrapped in WAVs, ID3v2 tags and the
hand-made frame headers are built byte by byte here.

The expected results are in tests/sound/DecodeCorpusTest.cpp. Needs sox (with
libsox-fmt-mp3 for Layer II) and lame at generation time only; the tests read
the committed files. Run: python3 tests/sound/decode_corpus/make_decode_corpus.py
"""
import math
import os
import random
import struct
import subprocess
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ONSET_SECONDS = 0.05      # silence before the strike
LENGTH_SECONDS = 0.25
TONE_HZ = 440.0
AMPLITUDE = 20000
DECAY_SECONDS = 0.1


def le16(v):
    return struct.pack('<H', v & 0xFFFF)


def le32(v):
    return struct.pack('<I', v & 0xFFFFFFFF)


def chunk(cid, body):
    return cid + le32(len(body)) + body + (b'\0' if len(body) % 2 else b'')


def riff(*chunks):
    body = b'WAVE' + b''.join(chunks)
    return b'RIFF' + le32(len(body)) + body


def fmt_body(tag, channels, rate, avg, align, bits, extra=None):
    body = le16(tag) + le16(channels) + le32(rate) + le32(avg) + le16(align) + le16(bits)
    return body if extra is None else body + le16(len(extra)) + extra


def tone(rate, count=None, scale=1.0):
    """The strike at `rate`: silence, then a decaying sine, as 16-bit values."""
    count = count if count is not None else int(rate * LENGTH_SECONDS)
    onset = int(rate * ONSET_SECONDS)
    out = []
    for i in range(count):
        t = (i - onset) / rate
        v = 0.0 if i < onset else AMPLITUDE * math.exp(-t / DECAY_SECONDS) * math.sin(2 * math.pi * TONE_HZ * t)
        out.append(int(round(v * scale)))
    return out


def pcm16(values):
    return b''.join(struct.pack('<h', v) for v in values)


def pcm_wav(channels, rate, frames):
    """frames: a list of per-channel value lists."""
    data = b''.join(pcm16(f) for f in zip(*frames)) if channels > 1 else pcm16(frames[0])
    return riff(chunk(b'fmt ', fmt_body(1, channels, rate, rate * 2 * channels, 2 * channels, 16)),
                chunk(b'data', data))


def write(name, data):
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(data)


def read(name):
    with open(os.path.join(HERE, name), 'rb') as f:
        return f.read()


def run(*args):
    subprocess.run(args, check=True, stdout=subprocess.DEVNULL)


def extensible(channels, rate, bits, container, data, float_data=False):
    """A WAVE_FORMAT_EXTENSIBLE file with PCM or IEEE float subformat."""
    align = channels * container // 8
    guid_tail = b'\x00\x00\x00\x00\x10\x00\x80\x00\x00\xaa\x00\x38\x9b\x71'
    guid = le16(3 if float_data else 1) + guid_tail
    extra = le16(bits) + le32(4 if channels == 1 else 3) + guid
    fmt = fmt_body(0xFFFE, channels, rate, rate * align, align, container, extra)
    chunks = [chunk(b'fmt ', fmt)]
    if float_data:
        chunks.append(chunk(b'fact', le32(len(data) // align)))
    chunks.append(chunk(b'data', data))
    return riff(*chunks)


def id3v2(size, footer=False, fake_header=True):
    """An ID3v2.4 tag of `size` body bytes (a padded private frame) whose
    body holds a false MPEG frame header, as cover art often does."""
    frame_body = bytearray(size - 10)
    if fake_header:
        frame_body[100:104] = b'\xff\xfb\x90\x64'
    rnd = random.Random(4)
    for i in range(200, len(frame_body), 7):
        frame_body[i] = rnd.randrange(256)
    frame = b'PRIV' + bytes([(len(frame_body) >> s) & 0x7F for s in (21, 14, 7, 0)]) + b'\0\0' + frame_body
    synchsafe = bytes([(size >> s) & 0x7F for s in (21, 14, 7, 0)])
    flags = 0x10 if footer else 0
    header = b'ID3\x04\x00' + bytes([flags]) + synchsafe
    tail = b'3DI\x04\x00' + bytes([flags]) + synchsafe if footer else b''
    return header + frame + tail


def mpeg_in_wav(tag, mpeg, channels, rate, kbps):
    """MPEG audio data carried in a WAV, with the MPEG Layer-3 format record."""
    extra = le16(1) + le32(2) + le16(384) + le16(1) + le16(1393)
    fmt = fmt_body(tag, channels, rate, kbps * 125, 1, 0, extra)
    return riff(chunk(b'fmt ', fmt), chunk(b'data', mpeg))


def main():
    # References: what a perfect decoder gives after the mono conversion.
    write('ref_44100.wav', pcm_wav(1, 44100, [tone(44100)]))
    left, right = tone(44100), tone(44100, scale=0.5)
    write('ref_44100_mix.wav', pcm_wav(1, 44100, [[int((a + b) / 2) for a, b in zip(left, right)]]))
    write('ref_22050.wav', pcm_wav(1, 22050, [tone(22050)]))
    write('ref_24000.wav', pcm_wav(1, 24000, [tone(24000)]))
    codec_count = 2001  # not a whole number of ADPCM or GSM blocks
    write('ref_8000.wav', pcm_wav(1, 8000, [tone(8000, codec_count)]))
    l8, r8 = tone(8000, codec_count), tone(8000, codec_count, scale=0.5)
    write('ref_8000_mix.wav', pcm_wav(1, 8000, [[int((a + b) / 2) for a, b in zip(l8, r8)]]))

    with tempfile.TemporaryDirectory() as tmp:
        stereo44 = os.path.join(tmp, 'stereo44.wav')
        with open(stereo44, 'wb') as f:
            f.write(pcm_wav(2, 44100, [left, right]))
        stereo8 = os.path.join(tmp, 'stereo8.wav')
        with open(stereo8, 'wb') as f:
            f.write(pcm_wav(2, 8000, [l8, r8]))
        ref = lambda name: os.path.join(HERE, name)
        out = lambda name: os.path.join(HERE, name)

        lame = ['lame', '--silent', '--noreplaygain']
        run(*lame, '-m', 'j', '-b', '128', stereo44, out('joint_stereo_44100.mp3'))
        run(*lame, '-m', 'm', '-b', '32', ref('ref_22050.wav'), out('mono_22050.mp3'))
        run(*lame, '-m', 'm', '-b', '64', ref('ref_24000.wav'), out('mpeg2_24000.mp3'))
        run(*lame, '-m', 'j', '-V', '2', stereo44, out('vbr_44100.mp3'))
        run('sox', '-D', ref('ref_44100.wav'), '-C', '128', out('layer2_44100.mp2'))

        sox8 = ['sox', '-D', ref('ref_8000.wav')]
        run(*sox8, '-e', 'ms-adpcm', out('ms_adpcm.wav'))
        run(*sox8, '-e', 'ima-adpcm', out('ima_adpcm.wav'))
        run('sox', '-D', stereo8, '-e', 'ima-adpcm', out('ima_adpcm_stereo.wav'))
        run(*sox8, '-e', 'gsm-full-rate', out('gsm610.wav'))
        run(*sox8, '-e', 'a-law', out('alaw.wav'))
        run(*sox8, '-e', 'u-law', out('mulaw.wav'))
        run(*sox8, '-e', 'floating-point', '-b', '32', out('float32.wav'))
        run(*sox8, '-e', 'floating-point', '-b', '64', out('float64.wav'))

        # FLAC and Ogg Vorbis bells, read whole by libsndfile.
        run('sox', '-D', ref('ref_44100.wav'), out('flac_44100.flac'))
        run('sox', '-D', ref('ref_44100.wav'), '-b', '24', out('flac24_44100.Flac'))
        run('sox', '-D', stereo8, out('flac_stereo_8000.flac'))
        run('sox', '-D', ref('ref_22050.wav'), '-C', '3', out('ogg_22050.ogg'))
        run('sox', '-D', stereo44, '-C', '3', out('ogg_stereo_44100.ogg'))

    # The same IMA ADPCM data without its fact chunk: the padding of the last
    # block stays in the decoded sound.
    ima = read('ima_adpcm.wav')
    fact = ima.index(b'fact')
    write('ima_adpcm_nofact.wav', riff(*split_chunks(ima[12:fact]), *split_chunks(ima[fact + 12:])))

    values = tone(8000, codec_count)
    write('ext_pcm8.wav', extensible(1, 8000, 8, 8, bytes((v >> 8) + 128 for v in values)))
    write('ext_pcm16.wav', extensible(1, 8000, 16, 16, pcm16(values)))
    write('ext_pcm24.wav', extensible(1, 8000, 24, 24, b''.join(struct.pack('<i', v * 256)[:3] for v in values)))
    write('ext_pcm32.wav', extensible(1, 8000, 32, 32, b''.join(struct.pack('<i', v * 65536) for v in values)))
    loud = [v / 32768.0 * 2.0 for v in values]  # twice full scale: saturates
    write('ext_float_loud.wav', extensible(1, 8000, 32, 32, b''.join(struct.pack('<f', v) for v in loud), True))

    joint = read('joint_stereo_44100.mp3')
    mono22 = read('mono_22050.mp3')
    write('mp3_in_wav.wav', mpeg_in_wav(0x55, joint, 2, 44100, 128))
    write('mp2_in_wav.wav', mpeg_in_wav(0x50, read('layer2_44100.mp2'), 1, 44100, 128))
    write('id3_40k.mp3', id3v2(40000) + mono22)
    write('id3_footer.mp3', id3v2(2000, footer=True) + mono22)
    # Cut mid-stream: the gapless tag promises more than the frames give.
    write('truncated.mp3', joint[:3000])
    write('header_at_6001.mp3', bytes(6001) + joint)
    write('header_at_6002.mp3', bytes(6002) + joint)
    # A WAV file whose extension sends it to the MP3 reader.
    write('wave_file.MP3', read('ref_8000.wav'))
    rnd = random.Random(7)
    write('garbage.mp3', bytes(rnd.randrange(0, 0xE0) for _ in range(8000)))
    write('three_bytes.mp3', b'\xff\xfb\x90')
    # A frame header and nothing the decoder can use after it.
    write('header_only.mp3', b'\xff\xfb\x90\x64' + bytes(12))
    # Skipped headers (bitrate index 15, sample-rate index 3), then a real one.
    write('bad_headers_first.mp3', b'\xff\xfb\xf0\x64' + b'\xff\xfb\x9c\x64' + joint)
    # A FLAC stream that does not declare its length (total samples 0 in
    # STREAMINFO, as an encoder writing to a pipe leaves it), cut ones, a
    # WAV under a FLAC name and bytes that are no FLAC at all.
    flac = bytearray(read('flac_44100.flac'))
    flac[21] &= 0xF0
    flac[22:26] = bytes(4)
    write('flac_unknown_length.flac', bytes(flac))
    write('truncated.flac', read('flac_44100.flac')[:1500])
    write('truncated.ogg', read('ogg_stereo_44100.ogg')[:3000])
    write('wave_file.flac', read('ref_8000.wav'))
    write('garbage.flac', bytes(rnd.randrange(256) for _ in range(6000)))
    # Codecs no driver takes: Windows Media Audio, and ADPCM with no channels.
    ms = read('ms_adpcm.wav')
    write('wma_tag.wav', ms[:20] + le16(0x160) + ms[22:])
    write('adpcm_no_channels.wav', ms[:22] + le16(0) + ms[24:])
    # IMA ADPCM whose block size cannot hold its samples.
    write('ima_adpcm_bad_block.wav', ima[:32] + le16(3) + ima[34:])
    # A WAV declaring a rate its MPEG data does not have.
    write('mp3_in_wav_wrong_rate.wav', mpeg_in_wav(0x55, joint, 2, 48000, 128))


FUZZ_TAGS = [0x02, 0x11, 0x31, 0x06, 0x07, 0x03, 0xFFFE, 0x55, 0x50, 0x01, 0x160]


def fuzz_seeds():
    """Seeds for fuzz/compressed_wav_fuzzer.cpp: each corpus WAV's format
    record in the harness's layout (tag index, channels, rate, byte rate,
    block size, bits, extra size, fact flag and count, one spare byte), its
    extra bytes, then the start of its data."""
    folder = os.path.join(HERE, '..', '..', '..', 'fuzz', 'corpus', 'compressed_wav')
    os.makedirs(folder, exist_ok=True)
    for name in ['ms_adpcm.wav', 'ima_adpcm.wav', 'ima_adpcm_stereo.wav', 'gsm610.wav', 'alaw.wav',
                 'mulaw.wav', 'float32.wav', 'float64.wav', 'ext_pcm24.wav', 'ext_float_loud.wav',
                 'mp3_in_wav.wav', 'mp2_in_wav.wav']:
        chunks = {c[:4]: c[8:8 + struct.unpack('<I', c[4:8])[0]] for c in split_chunks(read(name)[12:])}
        fmt = chunks[b'fmt ']
        tag, channels, rate, avg, align, bits = struct.unpack('<HHIIHH', fmt[:16])
        extra = fmt[18:18 + struct.unpack('<H', fmt[16:18])[0]] if len(fmt) >= 18 else b''
        fact = chunks.get(b'fact')
        record = bytes([FUZZ_TAGS.index(tag), channels]) + le32(rate) + le32(avg) + le16(align)
        record += bytes([bits, len(extra), 1 if fact else 0]) + (fact[:2] if fact else b'\0\0') + b'\0'
        with open(os.path.join(folder, name[:-4]), 'wb') as f:
            f.write(record + extra + chunks[b'data'][:3000])


def split_chunks(data):
    """The chunks of a RIFF body, each as bytes with its header."""
    chunks, at = [], 0
    while at + 8 <= len(data):
        length = struct.unpack('<I', data[at + 4:at + 8])[0]
        end = at + 8 + length + (length & 1)
        chunks.append(data[at:end])
        at = end
    return chunks


if __name__ == '__main__':
    main()
    fuzz_seeds()
