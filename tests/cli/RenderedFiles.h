#pragma once

#include "synth/TimingFile.h"
#include "tests/sound/TempFolder.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// Reading back what `carillix-cli render` wrote: WAV samples and timing files.

// The samples of a WAV file the CLI wrote (a 48-byte header).
inline std::vector<std::int16_t> WavSamples(const std::string& path)
{
    const auto bytes = ReadBytes(path);
    std::vector<std::int16_t> samples;
    for (std::size_t k = 48; k + 1 < bytes.size(); k += 2)
        samples.push_back(static_cast<std::int16_t>(bytes[k] | bytes[k + 1] << 8));
    return samples;
}

struct TimingLine {
    Blow blow;
    std::string stroke;
};

// Reads a timing file; fails the test on a malformed line.
inline std::vector<TimingLine> ReadTiming(const std::string& path)
{
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, kTimingFileHeader);
    std::vector<TimingLine> lines;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::array<std::string, 6> f;
        for (std::string& field : f)
            std::getline(fields, field, ',');
        TimingLine parsed;
        parsed.blow.row = std::stoi(f[0]);
        parsed.blow.place = static_cast<std::int16_t>(std::stoi(f[1]) - 1);
        parsed.blow.bell = static_cast<std::int16_t>(std::stoi(f[2]) - 1);
        parsed.stroke = f[3];
        parsed.blow.ideal = std::stoll(f[4]);
        parsed.blow.strike = std::stoll(f[5]);
        EXPECT_EQ(parsed.stroke, parsed.blow.row % 2 == 0 ? "hand" : "back") << line;
        lines.push_back(parsed);
    }
    return lines;
}
