#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Changes the sample rate of mono 16-bit sound as it streams by band-limited
// interpolation: every output sample is the input convolved with a
// Kaiser-windowed sinc (beta 8.6, 32 zero crossings on each side) cut off at
// 0.45 of the lower of the two rates, scaled to a gain of exactly 1 at 0 Hz.
// Frequencies up to about 0.41 of the lower rate pass unchanged; images and
// aliases are some 85 dB down.
//
// The filter is held as a table of phases, of at most kMostCoefficients
// coefficients whatever the rates (see CoefficientsHeld): one row per phase the rates need when
// they fit, else evenly spaced rows that output samples between them blend
// linearly. Each output sample costs one or two dot products over the
// filter's length, so the work grows linearly with the samples. The input
// kept is the last block pushed and the filter's length.
//
// One thread at a time.
class Resampler {
public:
    // The most filter coefficients a resampler holds.
    static constexpr std::size_t kMostCoefficients = std::size_t{1} << 20;

    // Rates in samples a second, both > 0.
    Resampler(std::uint32_t fromRate, std::uint32_t toRate);

    // The output length for `count` input samples: count * toRate /
    // fromRate, rounded down.
    std::int64_t OutputLength(std::int64_t count) const;

    // Takes the next `count` input samples. Not after Finish.
    void Push(const std::int16_t* input, std::size_t count);
    // Ends the input: silence follows it (and precedes it).
    void Finish();
    // Writes up to `most` of the next output samples to `out`, rounded to
    // the nearest integer and saturated to 16 bits: those the input pushed
    // so far decides, and once finished the rest of OutputLength(input).
    // Returns how many.
    std::size_t Pull(std::int16_t* out, std::size_t most);

    // Filter coefficients held: at most kMostCoefficients, unless one row
    // alone is longer than half of that (a ratio beyond 7000 to 1).
    std::size_t CoefficientsHeld() const { return table.size(); }

private:
    double Dot(const std::int16_t* from, std::uint64_t row) const;

    std::uint64_t up = 1;    // toRate / gcd: output sample n lies at input sample n * down / up
    std::uint64_t down = 1;  // fromRate / gcd
    std::uint64_t phases = 1;
    int taps = 0;              // coefficients a row
    std::vector<float> table;  // phases + 1 rows of `taps` coefficients; row r is at phase r / phases

    std::vector<std::int16_t> history;  // input samples from historyStart on, silence before the first
    std::int64_t historyStart = 0;
    std::int64_t inputCount = 0;  // input samples pushed
    std::int64_t produced = 0;    // output samples pulled
    bool finished = false;
};
