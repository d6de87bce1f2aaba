#include "synth/DemoBells.h"

#include "sound/SoundBuffer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <new>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr double kTopNominalHz = 1046.5;
constexpr double kSeconds = 2.0;
constexpr double kReleaseSeconds = 0.25;        // raised-cosine tail so the sound ends at rest
constexpr double kPeak = 0.70794578 * 32767.0;  // -3 dBFS

// Semitones below bell 1 of each bell: a major scale, descending.
constexpr std::array<int, 16> kSemitonesDown{0, 1, 3, 5, 7, 8, 10, 12, 13, 15, 17, 19, 20, 22, 24, 25};

struct Partial {
    double ratio;      // frequency relative to the prime (half the nominal)
    double amplitude;  // relative to the nominal
    double decay;      // seconds to fall by 1/e, for the smallest bell
};

// Hum, prime, tierce, quint, nominal, then the upper partials. Lower partials
// ring on longest, as in a cast bell.
constexpr std::array<Partial, 13> kPartials{{
    {0.5, 0.40, 1.30},
    {1.0, 0.45, 0.80},
    {1.2, 0.55, 0.60},
    {1.5, 0.22, 0.45},
    {2.0, 1.00, 0.50},
    {2.5, 0.45, 0.28},
    {3.0, 0.30, 0.22},
    {4.2, 0.22, 0.14},
    {5.4, 0.12, 0.10},
    {6.8, 0.08, 0.07},
    {8.2, 0.06, 0.05},
    {10.0, 0.04, 0.04},
    {12.3, 0.03, 0.03},
}};

// An exponentially decaying sine advanced by one complex multiplication per
// sample: exact enough over two seconds and far cheaper than sin and exp.
struct Oscillator {
    double re, im, stepRe, stepIm;

    Oscillator(double hz, double decaySeconds, double amplitude, double phase, double rate)
    {
        const double fall = std::exp(-1.0 / (decaySeconds * rate));
        const double turn = 2.0 * std::numbers::pi * hz / rate;
        stepRe = fall * std::cos(turn);
        stepIm = fall * std::sin(turn);
        re = amplitude * std::cos(phase);
        im = amplitude * std::sin(phase);
    }
    double Next()
    {
        const double value = im;
        const double nextRe = re * stepRe - im * stepIm;
        im = re * stepIm + im * stepRe;
        re = nextRe;
        return value;
    }
};

}  // namespace

bool MakeDemoBell(int index, CSoundBuffer& bell, std::uint32_t rate)
{
    if (index < 0 || index >= kMaxBells || rate < 8000)
        return false;
    const auto count = static_cast<std::int32_t>(rate * kSeconds);
    std::vector<double> sound;
    try {
        sound.assign(static_cast<std::size_t>(count), 0.0);
    } catch (const std::bad_alloc&) {
        return false;
    }

    const double prime = kTopNominalHz / 2.0 * std::pow(2.0, -kSemitonesDown[index] / 12.0);
    const double size = 1.0 + 0.5 * index / (kMaxBells - 1);  // larger bells ring longer
    for (std::size_t p = 0; p < kPartials.size(); ++p) {
        const Partial& partial = kPartials[p];
        const double hz = prime * partial.ratio;
        if (hz >= 0.45 * rate)
            continue;
        // Each partial is a slightly mistuned pair, so it beats slowly as real bells do.
        const double beatHz = 0.6 + 0.15 * static_cast<double>(p) + 0.05 * index;
        const double phase = 0.7 * static_cast<double>(p) + 0.3 * index;
        Oscillator main(hz, partial.decay * size, partial.amplitude, phase, rate);
        Oscillator twin(hz + beatHz, partial.decay * size * 0.8, partial.amplitude * 0.3, phase + 1.3, rate);
        for (std::int32_t k = 0; k < count; ++k)
            sound[k] += main.Next() + twin.Next();
    }

    // The clapper's knock: a burst of filtered noise over the first few milliseconds.
    std::uint32_t noise = 0x2545F491u + static_cast<std::uint32_t>(index);
    double filtered = 0.0;
    const double knockFall = std::exp(-1.0 / (0.006 * rate));
    double knock = 0.5;
    for (std::int32_t k = 0; k < count && knock > 1e-6; ++k) {
        noise = noise * 1664525u + 1013904223u;
        const double white = static_cast<double>(noise >> 8) / 8388608.0 - 1.0;
        filtered += 0.5 * (white - filtered);
        sound[k] += knock * filtered;
        knock *= knockFall;
    }

    // A 1 ms attack and a raised-cosine release, then scale to the target peak.
    const double attack = 0.001 * rate;
    const auto releaseStart = static_cast<std::int32_t>(count - kReleaseSeconds * rate);
    double peak = 0.0;
    for (std::int32_t k = 0; k < count; ++k) {
        if (k < attack)
            sound[k] *= k / attack;
        if (k >= releaseStart)
            sound[k] *= 0.5 + 0.5 * std::cos(std::numbers::pi * (k - releaseStart) / (count - releaseStart));
        peak = std::max(peak, std::abs(sound[k]));
    }
    if (!bell.InitPcm16(rate, count, 16))
        return false;
    const double scale = kPeak / peak;
    for (std::int32_t k = 0; k < count; ++k)
        bell.samples[k] = static_cast<std::int16_t>(std::lround(sound[k] * scale));
    bell.onset = bell.FindOnset();
    bell.fileName = "demo bell " + std::to_string(index + 1);
    bell.state = 1;
    return true;
}
