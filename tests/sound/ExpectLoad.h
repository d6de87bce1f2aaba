#pragma once

#include "sound/BellImport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

// Loads `path` into a bell that already holds a good three-sample sound, and
// checks the outcome: the code; for a failure, an unusable bell that keeps
// its old array (except for "Format not supported!", which replaces it);
// for success, a usable mono 16-bit PCM bell of the given rate, length and
// onset.
inline void ExpectLoad(const std::string& path, LoadResult code, std::uint32_t rate, std::int32_t sampleCount,
                       std::int32_t onset)
{
    CSoundBuffer bell;
    ASSERT_TRUE(bell.InitPcm16(44100, 3, 16));
    bell.onset = 2;
    bell.state = 1;
    const std::int16_t* previous = bell.samples.get();

    ASSERT_EQ(LoadBellFile(bell, path), code);
    EXPECT_EQ(bell.fileName, path);
    if (code != LoadOK) {
        EXPECT_EQ(bell.state, 0);
        if (code != LoadFormatNotSupported) {
            EXPECT_EQ(bell.samples.get(), previous);
        }
        return;
    }
    EXPECT_EQ(bell.state, 1);
    EXPECT_EQ(bell.format.sampleRate, rate);
    EXPECT_EQ(bell.sampleCount, sampleCount);
    EXPECT_EQ(bell.onset, onset);
    EXPECT_EQ(bell.format.formatTag, 1);
    EXPECT_EQ(bell.format.channels, 1);
    EXPECT_EQ(bell.format.bitsPerSample, 16);
    EXPECT_EQ(bell.format.blockAlign, 2);
    EXPECT_EQ(bell.format.avgBytesPerSec, 2 * rate);
}
