#include "synth/RenderPeal.h"

#include "ringing/NextRow.h"
#include "ringing/Row.h"
#include "ringing/RowSource.h"
#include "sound/SoundBuffer.h"
#include "synth/StrikeRandom.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

// Samples mixed per pass; bounds the time between two looks at the cancel
// flag and keeps the accumulator on the worker's stack, in the first cache.
constexpr std::int32_t kChunk = 2048;

constexpr double kPeakTarget = 24000.0;

// Truncates toward zero and saturates to 16 bits. Clamping first gives the
// same result and lets the conversion vectorise.
inline std::int16_t Convert(double x)
{
    x = x < -32768.0 ? -32768.0 : x;
    x = x > 32767.0 ? 32767.0 : x;
    return static_cast<std::int16_t>(static_cast<std::int32_t>(x));
}

// The sounding bells and the row being rung; all of a render's schedule state.
class Ringer {
public:
    explicit Ringer(RenderParams& job)
        : job(job),
          bells(job.bells),
          stage(job.stage),
          style(job.style),
          errorScale(static_cast<double>(job.strikeInterval) * job.strikingError / 50.0 / 32767.0),
          ownRandom(job.seed),
          random(job.random != nullptr ? *job.random : ownRandom),
          nominal(job.strikeInterval),
          nextStrike(job.strikeInterval)
    {
        voice.fill(-1);
        position.fill(0);
        // The first strike carries no error: bell 0 in slot 0 from sample 0.
        voice[0] = 0;
        position[0] = bells[0].onset;
    }

    // Strikes when sample i is at or past the next strike time (a time drawn
    // at or before the sample it was drawn at fires one sample later), and
    // returns the first sample after i at which another strike may fall.
    std::int64_t StrikeDue(std::int32_t i)
    {
        if (i >= nextStrike)
            Strike();
        return std::max<std::int64_t>(nextStrike, std::int64_t{i} + 1);
    }

    // Sets acc[0..n) to the mix of the next n samples and advances every
    // sounding bell by n. The set of slots cannot change within the call.
    void Mix(std::int32_t* acc, std::int32_t n)
    {
        std::int32_t filled = 0;  // acc[0..filled) holds a sum; the rest is unset
        for (int v = 0; v < stage; ++v) {
            const int b = voice[v];
            if (b < 0)
                continue;
            const CSoundBuffer& bell = bells[b];
            const std::int32_t left = std::max(bell.sampleCount - position[b], 0);
            const std::int32_t m = std::min(n, left);
            const std::int16_t* from = bell.samples.get() + position[b];
            const std::int32_t added = std::min(m, filled);
            for (std::int32_t k = 0; k < added; ++k)
                acc[k] += from[k];
            for (std::int32_t k = added; k < m; ++k)
                acc[k] = from[k];
            filled = std::max(filled, m);
            position[b] += m;
            if (position[b] >= bell.sampleCount)
                voice[v] = -1;
        }
        std::fill(acc + filled, acc + n, 0);
    }

private:
    void Strike()
    {
        const int b = row[place];
        for (int v = 0; v < stage; ++v)
            if (voice[v] == b)
                voice[v] = -1;
        voice[place] = static_cast<std::int16_t>(b);
        position[b] = bells[b].onset;
        ++place;
        nominal += job.strikeInterval;
        if (place >= stage) {
            place = 0;
            ++rowsDone;
            if (rowsDone % 2 == 0)
                nominal += job.handstrokeGap;
            if (job.rows != nullptr) {
                job.rows->Next(rowsDone, row);
            } else if (NextRow(rowsDone, row, stage, style)) {
                style = StyleHome;
                job.style = StyleHome;
            }
        }
        const std::int32_t r = random.Next();
        nextStrike = nominal + static_cast<std::int64_t>((r - 16383) * errorScale);
    }

    RenderParams& job;
    const CSoundBuffer* bells;
    std::int16_t stage;
    MethodStyle style;
    double errorScale;
    StrikeRandom ownRandom;
    StrikeRandom& random;
    Row row = HomeRow();
    std::array<std::int16_t, kMaxBells> voice{};     // by place: the bell sounding there, or -1
    std::array<std::int32_t, kMaxBells> position{};  // by bell: its next sample
    int place = 1;
    std::int32_t rowsDone = 0;
    std::int64_t nominal;
    std::int64_t nextStrike;
};

void Fade(RenderParams& job)
{
    const std::int32_t total = job.totalSamples;
    const std::int32_t fade = job.fadeSamples;
    for (std::int32_t i = std::max(total - fade, 0); i < total; ++i)
        job.output[i] = Convert(job.output[i] * static_cast<double>(total - i) / fade);
}

}  // namespace

std::uint32_t RenderPeal(RenderParams* job)
{
    Ringer ringer(*job);
    const std::int32_t total = job->totalSamples;
    const std::int32_t preRoll = job->preRollSamples;
    double* const preRollBuffer = job->preRollBuffer;
    std::int16_t* const output = job->output;
    double scale = 0.0;
    std::int32_t peak = 0;
    alignas(64) std::int32_t acc[kChunk];

    std::int32_t i = 0;
    while (i < total && !job->cancelRequested.load(std::memory_order_relaxed)) {
        std::int64_t end = std::min<std::int64_t>(ringer.StrikeDue(i), std::int64_t{i} + kChunk);
        end = std::min<std::int64_t>(end, i < preRoll ? preRoll : total);
        const auto n = static_cast<std::int32_t>(end - i);
        ringer.Mix(acc, n);
        if (i < preRoll) {
            for (std::int32_t k = 0; k < n; ++k) {
                preRollBuffer[i + k] = acc[k];
                peak = std::max(peak, acc[k] < 0 ? -acc[k] : acc[k]);
            }
        } else {
            if (i == preRoll) {
                // A silent pre-roll makes every output sample 0.
                scale = peak > 0 ? kPeakTarget / peak : 0.0;
                for (std::int32_t k = 0; k < preRoll; ++k)
                    output[k] = Convert(scale * preRollBuffer[k]);
            }
            for (std::int32_t k = 0; k < n; ++k)
                output[i + k] = Convert(acc[k] * scale);
        }
        i += n;
        job->samplesDone.store(i, std::memory_order_relaxed);
    }

    // Cancel stops only the rendering loop: an output rendered to its end is
    // always faded, so a complete output is never left unfaded.
    if (job->fadeSamples != 0 && i == total)
        Fade(*job);
    job->finished.store(true, std::memory_order_release);
    return 0;
}
