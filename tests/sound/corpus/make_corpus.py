#!/usr/bin/env python3
"""Writes the WAV test corpus into the folder this script lives in.

Every file is built byte by byte here, except sox_stereo16.wav, which sox
writes so that one file comes from an independent writer. The expected
results of each file are in tests/sound/WavCorpusTest.cpp; regenerating must
give the same bytes. Run: python3 tests/sound/corpus/make_corpus.py
"""
import math
import os
import shutil
import struct
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))


def le16(v):
    return struct.pack('<H', v & 0xFFFF)


def le32(v):
    return struct.pack('<I', v & 0xFFFFFFFF)


def chunk(cid, body, length=None, pad=True):
    """A RIFF chunk; `length` overrides the stated body length."""
    stated = len(body) if length is None else length
    tail = b'\0' if pad and len(body) % 2 else b''
    return cid + le32(stated) + body + tail


def fmt_body(tag, channels, rate, avg, align, bits):
    return le16(tag) + le16(channels) + le32(rate) + le32(avg) + le16(align) + le16(bits)


def pcm_fmt(channels, rate, bits):
    align = channels * ((bits + 7) // 8)
    return fmt_body(1, channels, rate, rate * align, align, bits)


def riff(*chunks, form=b'WAVE'):
    body = form + b''.join(chunks)
    return b'RIFF' + le32(len(body)) + body


def s16(values):
    return b''.join(struct.pack('<h', v) for v in values)


def strike(count, onset, amplitude=20000, period=23):
    """Quiet noise (|v| < 200) before `onset`, then a decaying tone."""
    out = []
    for i in range(count):
        if i < onset:
            out.append((i * 37) % 301 - 150)
        else:
            t = i - onset
            out.append(int(amplitude * math.exp(-t / 400.0) * math.cos(2 * math.pi * t / period)))
    return out


def write(name, data):
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(data)


def main():
    mono16 = strike(1000, 500)
    write('mono16_44100.wav', riff(chunk(b'fmt ', pcm_fmt(1, 44100, 16)), chunk(b'data', s16(mono16))))

    # Left and right pairs whose means test rounding; the strike comes first.
    pairs = [(3, -4), (-3, 4), (100, -301), (32767, 32767), (-32768, -32768), (-32768, 32767)]
    left = strike(300, 120)
    frames = [(v, v) for v in left] + pairs
    stereo = b''.join(struct.pack('<hh', l, r) for l, r in frames)
    write('stereo16_48000.wav', riff(chunk(b'fmt ', pcm_fmt(2, 48000, 16)), chunk(b'data', stereo)))

    mono8 = bytes([128 + (i % 5) - 2 for i in range(100)] + [200] + [128] * 96 + [0, 128, 255, 138, 118])
    write('mono8_8000.wav', riff(chunk(b'fmt ', pcm_fmt(1, 8000, 8)), chunk(b'data', mono8)))

    stereo8 = bytes([128, 128] * 50 + [255, 255, 0, 0, 128, 128, 255, 0, 0, 1])
    write('stereo8_11025.wav', riff(chunk(b'fmt ', pcm_fmt(2, 11025, 8)), chunk(b'data', stereo8)))

    write('mono24.wav', riff(chunk(b'fmt ', pcm_fmt(1, 44100, 24)), chunk(b'data', bytes(300))))
    write('unknown_tag.wav', riff(chunk(b'fmt ', fmt_body(0x7777, 1, 8000, 4000, 1, 4)),
                                  chunk(b'data', bytes(range(64)))))

    small = s16([0, 100, -2399, 2399, -2400, 3000, 7, 8])
    small_fmt = chunk(b'fmt ', pcm_fmt(1, 22050, 16))
    write('list_odd_pad.wav', riff(small_fmt, chunk(b'LIST', b'INFOx'), chunk(b'data', small)))
    write('fmt_odd17_pad.wav', riff(chunk(b'fmt ', pcm_fmt(1, 22050, 16) + b'\0'), chunk(b'data', small)))
    extra38 = le16(38) + bytes(range(1, 39))
    write('fmt56.wav', riff(chunk(b'fmt ', pcm_fmt(1, 22050, 16) + extra38), chunk(b'data', small)))
    write('fmt57.wav', riff(chunk(b'fmt ', pcm_fmt(1, 22050, 16) + extra38 + b'\0'), chunk(b'data', small)))
    write('fmt14.wav', riff(chunk(b'fmt ', pcm_fmt(1, 22050, 16)[:14]), chunk(b'data', small)))
    write('avg_zero.wav', riff(chunk(b'fmt ', fmt_body(1, 1, 22050, 0, 2, 16)), chunk(b'data', small)))
    write('align_zero.wav', riff(chunk(b'fmt ', fmt_body(1, 1, 22050, 44100, 0, 16)), chunk(b'data', small)))
    write('data_before_fmt.wav', riff(chunk(b'data', small), small_fmt))
    write('no_fmt.wav', riff(chunk(b'data', small)))
    write('no_data.wav', riff(small_fmt, chunk(b'LIST', b'INFO')))
    write('empty_data.wav', riff(small_fmt, chunk(b'data', b'')))
    write('data_claims_4gb.wav', riff(small_fmt, chunk(b'data', small, length=0xFFFFFFFF)))
    # 8-bit mono whose data chunk claims 0xF0000000 bytes: more sample frames
    # than a 32-bit signed count holds, refused by the header reader before
    # the missing data is looked for.
    write('frames_beyond_2g.wav', riff(chunk(b'fmt ', pcm_fmt(1, 8000, 8)), chunk(b'data', small, length=0xF0000000)))
    write('truncated_data.wav', riff(small_fmt, chunk(b'data', small, length=2 * len(small))))
    write('truncated_fmt.wav', riff(chunk(b'fmt ', pcm_fmt(1, 22050, 16)[:10], length=16)))
    write('riff_only.wav', b'RIFF' + le32(4))
    write('short.wav', b'RIFF\x10')
    write('avi.wav', riff(chunk(b'LIST', b'hdrl'), form=b'AVI '))
    write('text.wav', b'hello, this is not a wave file\n')
    write('Mixed.Wav', riff(small_fmt, chunk(b'data', small)))
    write('UPPER.WAV', riff(small_fmt, chunk(b'data', small)))

    # Headers whose byte rate disagrees with the data.
    data400 = s16(strike(200, 10))
    write('byterate_low.wav', riff(chunk(b'fmt ', fmt_body(1, 1, 8000, 8000, 2, 16)), chunk(b'data', data400)))
    write('byterate_high.wav', riff(chunk(b'fmt ', fmt_body(1, 1, 8000, 32000, 2, 16)), chunk(b'data', data400)))
    write('rate_huge.wav', riff(chunk(b'fmt ', fmt_body(1, 1, 0xFFFFFFFF, 0xFFFFFFFF, 2, 16)), chunk(b'data', data400)))
    write('rate_zero.wav', riff(chunk(b'fmt ', fmt_body(1, 1, 0, 2, 2, 16)), chunk(b'data', data400)))
    write('stereo8_byterate_1.wav', riff(chunk(b'fmt ', fmt_body(1, 2, 11025, 1, 2, 8)),
                                         chunk(b'data', bytes([128, 128] * 9 + [255, 255]))))
    write('odd_data.wav', riff(chunk(b'fmt ', pcm_fmt(1, 8000, 16)), chunk(b'data', data400 + b'\x01')))

    # The onset search covers one second at most.
    write('quiet_then_loud_1000.wav', riff(chunk(b'fmt ', pcm_fmt(1, 1000, 16)), chunk(b'data', s16(strike(2000, 1500)))))
    write('quiet_500_1000.wav', riff(chunk(b'fmt ', pcm_fmt(1, 1000, 16)), chunk(b'data', s16(strike(500, 500)))))

    # A WAV under an MP3 name; no byte of it is 0xFF, so no frame sync can be found.
    low = s16([(i * 8) % 2000 for i in range(200)])
    write('wave_named.mp3', riff(chunk(b'fmt ', pcm_fmt(1, 8000, 16)), chunk(b'data', low)))

    sox = shutil.which('sox')
    if sox is None:
        raise SystemExit('sox is needed to write sox_stereo16.wav')
    subprocess.run([sox, '-D', '-n', '-r', '48000', '-c', '2', '-b', '16', '-e', 'signed-integer',
                    os.path.join(HERE, 'sox_stereo16.wav'), 'synth', '480s', 'sine', '440', 'vol', '0.5'],
                   check=True)


if __name__ == '__main__':
    main()
