#include "synth/StrikeRandom.h"

#include <cmath>

namespace {

constexpr double kLn2 = 0.693147180559945309417;
constexpr double kSqrtHalf = 0.707106781186547524401;

// The natural logarithm of x > 0 to within a few units in the last place,
// the same on every IEEE host: x = m * 2^e with m in [sqrt(1/2), sqrt(2)),
// and log(m) = 2 atanh(s), s = (m - 1) / (m + 1), |s| < 0.172, by its series
// to thirteen terms (the next is below 2^-70 of the sum).
double PortableLog(double x)
{
    int exponent = 0;
    double m = std::frexp(x, &exponent);
    if (m < kSqrtHalf) {
        m *= 2.0;
        --exponent;
    }
    const double s = (m - 1.0) / (m + 1.0);
    const double s2 = s * s;
    double series = 0.0;
    for (int k = 12; k >= 0; --k) {
        const double scaled = series * s2;
        series = scaled + 1.0 / (2 * k + 1);
    }
    const double logM = 2.0 * s * series;
    return exponent * kLn2 + logM;
}

}  // namespace

// A 64-bit linear congruential generator (Knuth's MMIX constants), seeded
// through one SplitMix64 step so that nearby seeds give unrelated sequences.
// Its top 15 bits are uniform over 0..32767, its top 53 over [0, 2^53).
StrikeRandom::StrikeRandom(std::uint32_t seed)
{
    std::uint64_t z = seed + 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    state = z ^ (z >> 31);
}

std::uint64_t StrikeRandom::Step()
{
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    return state;
}

std::int32_t StrikeRandom::Next()
{
    return static_cast<std::int32_t>(Step() >> 49);
}

double StrikeRandom::NextNormal()
{
    constexpr double kHalfRange = 4503599627370496.0;  // 2^52: 53-bit draws map onto [-1, 1)
    for (;;) {
        const double u = static_cast<double>(static_cast<std::int64_t>(Step() >> 11)) / kHalfRange - 1.0;
        const double v = static_cast<double>(static_cast<std::int64_t>(Step() >> 11)) / kHalfRange - 1.0;
        const double squares = u * u + v * v;
        if (squares >= 1.0 || squares == 0.0)
            continue;
        const double factor = std::sqrt(-2.0 * PortableLog(squares) / squares);
        return u * factor;
    }
}
