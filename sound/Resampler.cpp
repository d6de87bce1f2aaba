#include "sound/Resampler.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <numeric>

namespace {

constexpr double kCutoff = 0.45;  // of the lower rate
constexpr double kZeroCrossings = 32;
constexpr double kKaiserBeta = 8.6;

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

    // In input samples: the cutoff (cycles a sample) and the kernel's half width.
    const double cutoff = kCutoff * std::min(1.0, static_cast<double>(toRate) / fromRate);
    const double halfWidth = kZeroCrossings / (2.0 * cutoff);
    const int halfTaps = (static_cast<int>(std::ceil(halfWidth)) + 1) / 2 * 2;  // even: taps a multiple of 4
    taps = 2 * halfTaps;
    const std::uint64_t rowsThatFit = kMostCoefficients / static_cast<std::uint64_t>(taps);
    phases = std::clamp<std::uint64_t>(rowsThatFit, 2, up + 1) - 1;
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
                value = sinc * BesselI0(kKaiserBeta * std::sqrt(1.0 - x * x)) * windowScale;
            }
            h[static_cast<std::size_t>(j)] = value;
            sum += value;
        }
        for (int j = 0; j < taps; ++j)
            coefficients[j] = static_cast<float>(h[static_cast<std::size_t>(j)] / sum);
    }
    // Silence before the first input sample, as far back as the first output reaches.
    history.assign(static_cast<std::size_t>(halfTaps - 1), 0);
    historyStart = -(halfTaps - 1);
}

std::int64_t Resampler::OutputLength(std::int64_t count) const
{
    return count <= 0 ? 0 : static_cast<std::int64_t>(static_cast<std::uint64_t>(count) * up / down);
}

void Resampler::Push(const std::int16_t* input, std::size_t count)
{
    history.insert(history.end(), input, input + count);
    inputCount += static_cast<std::int64_t>(count);
}

void Resampler::Finish()
{
    if (!finished)
        history.insert(history.end(), static_cast<std::size_t>(taps), 0);
    finished = true;
}

double Resampler::Dot(const std::int16_t* from, std::uint64_t row) const
{
    const float* coefficients = table.data() + row * static_cast<std::uint64_t>(taps);
    float partial[4] = {0, 0, 0, 0};
    for (int j = 0; j < taps; j += 4)
        for (int lane = 0; lane < 4; ++lane)
            partial[lane] += coefficients[j + lane] * static_cast<float>(from[j + lane]);
    return static_cast<double>(partial[0]) + partial[1] + partial[2] + partial[3];
}

std::size_t Resampler::Pull(std::int16_t* out, std::size_t most)
{
    const int before = taps / 2 - 1;
    const std::int64_t available = historyStart + static_cast<std::int64_t>(history.size());
    const std::int64_t last = finished ? OutputLength(inputCount) : std::numeric_limits<std::int64_t>::max();
    std::size_t made = 0;
    for (; made < most && produced < last; ++made, ++produced) {
        const std::uint64_t position = static_cast<std::uint64_t>(produced) * down;
        const auto start = static_cast<std::int64_t>(position / up) - before;
        if (start + taps > available)
            break;
        const std::int16_t* from = history.data() + (start - historyStart);
        const std::uint64_t scaled = position % up * phases;
        const std::uint64_t row = scaled / up;
        const std::uint64_t between = scaled % up;
        double value = Dot(from, row);
        if (between != 0) {
            const double weight = static_cast<double>(between) / static_cast<double>(up);
            value += weight * (Dot(from, row + 1) - value);
        }
        out[made] = Saturate(value);
    }
    // Keep the input from the first sample the next output reads.
    const auto keepFrom = static_cast<std::int64_t>(static_cast<std::uint64_t>(produced) * down / up) - before;
    if (keepFrom > historyStart) {
        const auto drop = std::min<std::size_t>(static_cast<std::size_t>(keepFrom - historyStart), history.size());
        history.erase(history.begin(), history.begin() + static_cast<std::ptrdiff_t>(drop));
        historyStart += static_cast<std::int64_t>(drop);
    }
    return made;
}
