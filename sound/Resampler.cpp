#include "sound/Resampler.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>

namespace {

constexpr double kCutoff = 0.45;  // of the lower rate
constexpr double kZeroCrossings = 32;
constexpr double kKaiserBeta = 8.6;
// Above this many phases the table holds this many and output samples
// between two of them blend their neighbours linearly.
constexpr std::uint64_t kMostPhases = 4096;

// The modified Bessel function of the first kind, order 0, by its series.
double BesselI0(double x)
{
    double sum = 1.0;
    double term = 1.0;
    for (int k = 1; term > 1e-17 * sum; ++k) {
        const double factor = x / (2.0 * k);
        term *= factor * factor;
        sum += term;
    }
    return sum;
}

std::int16_t Saturate(double x)
{
    const double rounded = std::floor(x + 0.5);
    return static_cast<std::int16_t>(std::clamp(rounded, -32768.0, 32767.0));
}

}  // namespace

Resampler::Resampler(std::uint32_t fromRate, std::uint32_t toRate)
{
    const std::uint64_t common = std::gcd<std::uint64_t>(fromRate, toRate);
    up = toRate / common;
    down = fromRate / common;
    phases = std::min(up, kMostPhases);

    // In input samples: the cutoff (cycles a sample) and the kernel's half width.
    const double cutoff = kCutoff * std::min(1.0, static_cast<double>(toRate) / fromRate);
    const double halfWidth = kZeroCrossings / (2.0 * cutoff);
    const int halfTaps = (static_cast<int>(std::ceil(halfWidth)) + 1) / 2 * 2;  // even: taps a multiple of 4
    taps = 2 * halfTaps;
    table.resize(static_cast<std::size_t>((phases + 1) * static_cast<std::uint64_t>(taps)));

    const double windowScale = 1.0 / BesselI0(kKaiserBeta);
    std::vector<double> h(static_cast<std::size_t>(taps));
    for (std::uint64_t row = 0; row <= phases; ++row) {
        const double phase = static_cast<double>(row) / static_cast<double>(phases);
        float* coefficients = table.data() + row * static_cast<std::uint64_t>(taps);
        double sum = 0.0;
        for (int j = 0; j < taps; ++j) {
            // Input sample base - (halfTaps - 1) + j lies this far before the output's position.
            const double d = phase + (halfTaps - 1) - j;
            const double x = d / halfWidth;
            double value = 0.0;
            if (std::abs(x) < 1.0) {
                const double arg = 2.0 * cutoff * d;
                const double sinc = arg == 0.0 ? 1.0 : std::sin(std::numbers::pi * arg) / (std::numbers::pi * arg);
                value = 2.0 * cutoff * sinc * BesselI0(kKaiserBeta * std::sqrt(1.0 - x * x)) * windowScale;
            }
            h[static_cast<std::size_t>(j)] = value;
            sum += value;
        }
        for (int j = 0; j < taps; ++j)
            coefficients[j] = static_cast<float>(h[static_cast<std::size_t>(j)] / sum);
    }
}

std::int64_t Resampler::OutputLength(std::int64_t count) const
{
    return count <= 0 ? 0 : static_cast<std::int64_t>(static_cast<std::uint64_t>(count) * up / down);
}

double Resampler::Dot(const std::int16_t* input, std::int64_t count, std::int64_t start, std::uint64_t row) const
{
    const float* coefficients = table.data() + row * static_cast<std::uint64_t>(taps);
    if (start >= 0 && start + taps <= count) {
        const std::int16_t* from = input + start;
        float partial[4] = {0, 0, 0, 0};
        for (int j = 0; j < taps; j += 4)
            for (int lane = 0; lane < 4; ++lane)
                partial[lane] += coefficients[j + lane] * static_cast<float>(from[j + lane]);
        return static_cast<double>(partial[0]) + partial[1] + partial[2] + partial[3];
    }
    double sum = 0.0;
    for (int j = 0; j < taps; ++j) {
        const std::int64_t k = start + j;
        if (k >= 0 && k < count)
            sum += static_cast<double>(coefficients[j]) * input[k];
    }
    return sum;
}

void Resampler::Render(const std::int16_t* input, std::int64_t count, std::int64_t first, std::int32_t n,
                       std::int16_t* out) const
{
    const int before = taps / 2 - 1;
    for (std::int32_t o = 0; o < n; ++o) {
        const std::uint64_t position = static_cast<std::uint64_t>(first + o) * down;
        const auto base = static_cast<std::int64_t>(position / up);
        const std::uint64_t scaled = position % up * phases;
        const std::uint64_t row = scaled / up;
        const std::uint64_t between = scaled % up;
        double value = Dot(input, count, base - before, row);
        if (between != 0) {
            const double weight = static_cast<double>(between) / static_cast<double>(up);
            value += weight * (Dot(input, count, base - before, row + 1) - value);
        }
        out[o] = Saturate(value);
    }
}
