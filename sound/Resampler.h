#pragma once

#include <cstdint>
#include <vector>

// Changes the sample rate of mono 16-bit sound by band-limited
// interpolation: every output sample is the input convolved with a
// Kaiser-windowed sinc (beta 8.6, 32 zero crossings on each side) cut off at
// 0.45 of the lower of the two rates, each phase scaled to a gain of exactly
// 1 at 0 Hz. Frequencies up to about 0.41 of the lower rate pass unchanged;
// images and aliases are some 85 dB down.
//
// Immutable once built: Render may run on several threads at once.
class Resampler {
public:
    // Rates in samples a second, both > 0.
    Resampler(std::uint32_t fromRate, std::uint32_t toRate);

    // The output length for `count` input samples: count * toRate /
    // fromRate, rounded down.
    std::int64_t OutputLength(std::int64_t count) const;

    // Writes output samples first .. first + n - 1 to out[0..n), from
    // `count` input samples at `input` (silence before and after them),
    // rounded to the nearest integer and saturated to 16 bits.
    void Render(const std::int16_t* input, std::int64_t count, std::int64_t first, std::int32_t n,
                std::int16_t* out) const;

private:
    double Dot(const std::int16_t* input, std::int64_t count, std::int64_t start, std::uint64_t row) const;

    std::uint64_t up = 1;    // toRate / gcd: output sample n lies at input sample n * down / up
    std::uint64_t down = 1;  // fromRate / gcd
    std::uint64_t phases = 1;
    int taps = 0;              // coefficients a phase
    std::vector<float> table;  // phases + 1 rows of `taps` coefficients; row r is at phase r / phases
};
