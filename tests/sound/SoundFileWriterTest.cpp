#include "sound/SoundFileWriter.h"
#include "sound/Resampler.h"
#include "tests/sound/ReadBack.h"
#include "tests/sound/TempFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <numbers>
#include <sys/resource.h>

namespace {

// Seconds of a struck bell: two partials decaying over a second, at rate.
void MakeBell(CSoundBuffer& sound, std::uint32_t rate, std::int32_t seconds)
{
    const std::int32_t count = seconds * static_cast<std::int32_t>(rate);
    ASSERT_TRUE(sound.InitPcm16(rate, count, 16));
    for (std::int32_t k = 0; k < count; ++k) {
        const double t = static_cast<double>(k % rate) / rate;
        const double ring =
            std::sin(2 * std::numbers::pi * 523.25 * t) + 0.5 * std::sin(2 * std::numbers::pi * 1244 * t);
        sound.samples[k] = static_cast<std::int16_t>(15000 * std::exp(-3 * t) * ring);
    }
}

// Signal-to-noise ratio in dB of `decoded` against `reference`.
double SnrDb(const std::vector<std::int16_t>& reference, const std::vector<std::int16_t>& decoded)
{
    double signal = 0, noise = 0;
    for (std::size_t k = 0; k < std::min(reference.size(), decoded.size()); ++k) {
        const double wanted = reference[k];
        const double error = decoded[k] - wanted;
        signal += wanted * wanted;
        noise += error * error;
    }
    return 10 * std::log10(signal / std::max(noise, 1.0));
}

std::vector<std::int16_t> SamplesOf(const CSoundBuffer& sound)
{
    return {sound.samples.get(), sound.samples.get() + sound.sampleCount};
}

TEST(SoundFileFormat, TheExtensionChoosesTheFormatInAnyCase)
{
    using F = SoundFileFormat;
    const std::vector<std::pair<std::string, std::optional<F>>> cases{
        {"peal.wav", F::Wav},       {"PEAL.WAV", F::Wav},           {"a/b.c/peal.Flac", F::Flac},
        {"peal.ogg", F::OggVorbis}, {"peal.OGG", F::OggVorbis},     {"peal.opus", F::Opus},
        {"peal.oPuS", F::Opus},     {"peal.mp3", F::Mp3},           {"peal.MP3", F::Mp3},
        {"peal", std::nullopt},     {"peal.aiff", std::nullopt},    {"peal.wav.bak", std::nullopt},
        {"peal.", std::nullopt},    {"dir.mp3/peal", std::nullopt}, {"peal.oga", std::nullopt},
        {"", std::nullopt}};
    for (const auto& [path, format] : cases)
        EXPECT_EQ(SoundFileFormatFor(path), format) << path;
}

TEST(SoundFileFormat, LossyFormatsTakeTheNearestRateTheyHoldAndFlacOnlyItsOwn)
{
    using F = SoundFileFormat;
    struct Case {
        F format;
        std::uint32_t rate, written;
    };
    for (const Case& c : {
             Case{F::Opus, 44100, 48000},
             Case{F::Opus, 48000, 48000},
             Case{F::Opus, 22050, 24000},
             Case{F::Opus, 11025, 12000},
             Case{F::Opus, 8000, 8000},
             Case{F::Opus, 96000, 48000},
             Case{F::Opus, 4000, 8000},
             Case{F::Mp3, 44100, 44100},
             Case{F::Mp3, 37800, 44100},
             Case{F::Mp3, 96000, 48000},
             Case{F::Mp3, 7999, 8000},
             Case{F::OggVorbis, 44100, 44100},
             Case{F::OggVorbis, 37800, 37800},
             Case{F::OggVorbis, 384000, 192000},
             Case{F::Flac, 44100, 44100},
             Case{F::Flac, 655350, 655350},
             Case{F::Flac, 655351, 0},
             Case{F::Wav, 700000, 700000},
             Case{F::Wav, 0, 0},
             Case{F::Opus, 0, 0},
         })
        EXPECT_EQ(WrittenSampleRate(c.format, c.rate), c.written) << static_cast<int>(c.format) << " at " << c.rate;
}

TEST(SoundFileWriter, EveryFormatReadsBackMonoAtItsRateAndItsLength)
{
    const bool ffmpeg = HaveFfmpeg();
    if (!ffmpeg)
        std::fputs("ffmpeg is not installed: files are read back through libsndfile only\n", stderr);
    struct Case {
        SoundFileFormat format;
        const char* name;
        const char* codec;  // as ffmpeg names it
        // Against the samples written; FLAC must be exact. Opus at 24000 comes
        // back near 18 dB, its decoder a fraction of a sample off.
        double leastSnrDb;
    };
    for (const std::uint32_t rate : {44100u, 22050u}) {
        CSoundBuffer sound;
        MakeBell(sound, rate, 3);
        for (const Case& c : {Case{SoundFileFormat::Flac, "peal.flac", "flac", 0},
                              Case{SoundFileFormat::OggVorbis, "peal.ogg", "vorbis", 15},
                              Case{SoundFileFormat::Opus, "peal.opus", "opus", 15},
                              Case{SoundFileFormat::Mp3, "peal.mp3", "mp3", 15}}) {
            SCOPED_TRACE(::testing::Message() << c.name << " at " << rate);
            TempFolder folder;
            ASSERT_TRUE(SaveSoundFile(sound, c.format, folder.Path(c.name)));
            EXPECT_EQ(sound.fileName, folder.Path(c.name));
            EXPECT_EQ(folder.Names(), std::vector<std::string>{c.name});

            const std::uint32_t written = WrittenSampleRate(c.format, rate);
            std::vector<std::int16_t> expected = SamplesOf(sound);
            if (written != rate) {
                Resampler resampler(rate, written);
                resampler.Push(sound.samples.get(), static_cast<std::size_t>(sound.sampleCount));
                resampler.Finish();
                expected.resize(static_cast<std::size_t>(resampler.OutputLength(sound.sampleCount)));
                EXPECT_EQ(resampler.Pull(expected.data(), expected.size()), expected.size());
            }
            const SndfileReadBack read = ReadWithSndfile(folder.Path(c.name));
            EXPECT_EQ(read.channels, 1);
            EXPECT_EQ(read.rate, static_cast<int>(written));
            ASSERT_EQ(read.samples.size(), 3u * written) << "three seconds";
            if (c.format == SoundFileFormat::Flac)
                EXPECT_TRUE(read.samples == expected) << "lossless";
            else
                EXPECT_GT(SnrDb(expected, read.samples), c.leastSnrDb);

            if (!ffmpeg)
                continue;
            const auto decoded = DecodeWithFfmpeg(folder.Path(c.name));
            ASSERT_TRUE(decoded.has_value());
            EXPECT_EQ(decoded->codec, c.codec);
            EXPECT_EQ(decoded->channels, 1);
            // An Opus decoder always plays at 48000 samples a second.
            EXPECT_EQ(decoded->Frames(), 3u * decoded->rate) << "three seconds";
            if (c.format == SoundFileFormat::Flac) {
                EXPECT_TRUE(decoded->samples == expected) << "lossless";
            } else if (decoded->rate == written) {
                EXPECT_GT(SnrDb(expected, decoded->samples), c.leastSnrDb);
            }
        }
    }
}

TEST(SoundFileWriter, ARateTheFormatCannotHoldIsRefusedWithoutAFile)
{
    TempFolder folder;
    CSoundBuffer sound;
    ASSERT_TRUE(sound.InitPcm16(700000, 1000, 16));
    std::fill(sound.samples.get(), sound.samples.get() + 1000, std::int16_t{100});
    EXPECT_FALSE(SaveSoundFile(sound, SoundFileFormat::Flac, folder.Path("peal.flac")));
    EXPECT_EQ(sound.state, 0);
    EXPECT_TRUE(folder.Names().empty());
}

// Saves ten seconds under a file-size limit of 4 KB, as a full disk would
// stop it. Returns 0 when the save reported failure and changed nothing in
// the record.
int SaveUnderFileSizeLimit(SoundFileFormat format, const std::string& path)
{
    std::signal(SIGXFSZ, SIG_IGN);
    CSoundBuffer sound;
    MakeBell(sound, 44100, 10);
    const rlimit limit{4096, 4096};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
        return 2;
    const bool saved = SaveSoundFile(sound, format, path);
    return !saved && sound.state == 0 && sound.fileName == "No file loaded" ? 0 : 1;
}

TEST(SoundFileWriter, AWriteFailureKeepsTheOldFileInEveryFormat)
{
    for (const auto& [format, name] :
         std::vector<std::pair<SoundFileFormat, std::string>>{{SoundFileFormat::Wav, "peal.wav"},
                                                              {SoundFileFormat::Flac, "peal.flac"},
                                                              {SoundFileFormat::OggVorbis, "peal.ogg"},
                                                              {SoundFileFormat::Opus, "peal.opus"},
                                                              {SoundFileFormat::Mp3, "peal.mp3"}}) {
        SCOPED_TRACE(name);
        TempFolder folder;
        const std::vector<unsigned char> old(1000, 'o');
        const std::string path = folder.Path(name);
        WriteBytes(path, old);
        EXPECT_EXIT(std::_Exit(SaveUnderFileSizeLimit(format, path)), ::testing::ExitedWithCode(0), "");
        EXPECT_EQ(ReadBytes(path), old);
        EXPECT_EQ(folder.Names(), std::vector<std::string>{name});
    }
}

}  // namespace
