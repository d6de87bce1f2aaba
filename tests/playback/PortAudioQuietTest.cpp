#include "playback/PortAudioWaveOut.h"
#include "playback/SoundPlayer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

// Sends everything written to file descriptor 2 into a temporary file for
// the lifetime of the object.
class StderrCapture {
public:
    StderrCapture() : file(std::tmpfile()), saved(dup(2))
    {
        std::fflush(stderr);
        dup2(fileno(file), 2);
    }
    ~StderrCapture()
    {
        Restore();
        std::fclose(file);
    }

    std::string Text()
    {
        Restore();
        std::string text;
        std::rewind(file);
        for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file))
            text += static_cast<char>(c);
        return text;
    }

private:
    void Restore()
    {
        if (saved < 0)
            return;
        std::fflush(stderr);
        dup2(saved, 2);
        close(saved);
        saved = -1;
    }

    std::FILE* file;
    int saved;
};

TEST(PortAudioWaveOutTest, OpensOrFailsWithItsOwnMessageAndPrintsNothing)
{
    CSoundBuffer sound;
    ASSERT_TRUE(sound.InitPcm16(44100, 256, 16));
    std::fill_n(sound.samples.get(), 256, std::int16_t{0});
    PlayRequest request{0, 0, 256, 0};

    StderrCapture capture;
    CPortAudioWaveOut device;
    PlayResult result;
    {
        CSoundPlayer player(sound, device);
        result = player.StartPlay(&request);
        player.RequestStop();
        player.StopPlay();
    }
    const std::string printed = capture.Text();

    EXPECT_TRUE(result == PlayOK || result == PlayOpenFailed) << PlayResultText(result);
    EXPECT_EQ(printed, "");
    RecordProperty("result", PlayResultText(result));
}

}  // namespace
