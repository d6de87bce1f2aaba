#include "synth/JobBuilder.h"

#include "ringing/Row.h"
#include "sound/SoundBuffer.h"

#include <cstdint>
#include <limits>

namespace {

constexpr std::int32_t kShortestSeconds = 10;
constexpr std::int32_t kLongestSeconds = 700;
constexpr double kRowPairsPerPeal = 2500;
constexpr double kFadeSeconds = 5.0;
constexpr std::int32_t kHalveFadeBelow = 3;
constexpr std::int32_t kPreRollSeconds = 9;

double PealSeconds(std::int32_t pealSpeedIndex)
{
    switch (pealSpeedIndex) {
    case 0: return 9900.0;
    case 2: return 11700.0;
    case 3: return 12600.0;
    case 4: return 13500.0;
    case 5: return 14400.0;
    default: return 10800.0;  // index 1, and no selection
    }
}

struct StageEntry {
    std::int16_t stage;
    double gapFactor;
};

StageEntry StageFor(std::int32_t bellCountIndex)
{
    switch (bellCountIndex) {
    case 1: return {6, 1.0};
    case 2: return {8, 0.9};
    case 3: return {10, 0.8};
    case 4: return {12, 0.9};
    case 5: return {14, 0.9};
    case 6: return {16, 0.9};
    default: return {5, 1.0};  // index 0, and no selection
    }
}

JobBuild Refuse(JobBuild build, const char* message)
{
    build.ok = false;
    build.refusal = message;
    return build;
}

// The steps after the stage and style are chosen: the bells check, then
// strike interval, handstroke gap and the sample counts.
JobBuild FinishJob(JobBuild build, const GenerationSettings& settings, double gapFactor, const CSoundBuffer* bells)
{
    for (int bell = 0; bell < build.stage; ++bell)
        if (bells[bell].state != 1)
            return Refuse(build, kBellsRefusal);

    const std::uint32_t rate = settings.commonSampleRate;
    if (rate == 0)
        return Refuse(build, kZeroRateRefusal);
    const std::int64_t totalSamples = std::int64_t{settings.lengthSeconds} * rate;
    if (totalSamples > std::numeric_limits<std::int32_t>::max())
        return Refuse(build, kTooManySamplesRefusal);

    // Left to right in double precision, truncated toward zero. Below 2^31:
    // the rate is at most 2^31 / 10 here and every divisor exceeds 1.
    const double pealSeconds = PealSeconds(settings.pealSpeedIndex);
    const double interval = rate * pealSeconds / kRowPairsPerPeal / (2 * build.stage + gapFactor);
    GenerationJob& job = build.job;
    job.stage = build.stage;
    job.style = build.style;
    job.strikingError = settings.strikingError;
    job.strikeInterval = static_cast<std::int32_t>(interval);
    job.handstrokeGap = static_cast<std::int32_t>(job.strikeInterval * gapFactor);
    job.totalSamples = static_cast<std::int32_t>(totalSamples);
    job.fadeSamples = static_cast<std::int32_t>(rate * kFadeSeconds);
    if (job.totalSamples / job.fadeSamples < kHalveFadeBelow)
        job.fadeSamples /= 2;
    job.preRollSamples = static_cast<std::int32_t>(rate * kPreRollSeconds);
    build.ok = true;
    return build;
}

}  // namespace

void ApplyJob(const GenerationJob& job, RenderParams& params)
{
    params.totalSamples = job.totalSamples;
    params.preRollSamples = job.preRollSamples;
    params.fadeSamples = job.fadeSamples;
    params.strikeInterval = job.strikeInterval;
    params.handstrokeGap = job.handstrokeGap;
    params.stage = job.stage;
    params.style = job.style;
    params.strikingError = job.strikingError;
}

JobBuild BuildGenerationJob(const GenerationSettings& settings, const CSoundBuffer* bells)
{
    JobBuild build;
    if (settings.lengthSeconds < kShortestSeconds || settings.lengthSeconds > kLongestSeconds)
        return Refuse(build, kLengthRefusal);

    const StageEntry entry = StageFor(settings.bellCountIndex);
    build.stageChosen = true;
    build.stage = entry.stage;
    build.style = settings.style;
    if (build.style == StylePrinciple && build.stage != 16)
        build.style = StyleStedman;
    return FinishJob(build, settings, entry.gapFactor, bells);
}

double GapFactorForBells(int ringingBells)
{
    if (ringingBells <= 6)
        return 1.0;
    return ringingBells == 10 ? 0.8 : 0.9;
}

JobBuild BuildTouchJob(const GenerationSettings& settings, std::int16_t ringingBells, const CSoundBuffer* bells)
{
    JobBuild build;
    if (settings.lengthSeconds < kShortestSeconds || settings.lengthSeconds > kLongestSeconds)
        return Refuse(build, kLengthRefusal);
    if (ringingBells < kFewestTouchBells || ringingBells > kMaxBells)
        return Refuse(build, kBellCountRefusal);

    build.stageChosen = true;
    build.stage = ringingBells;
    build.style = StyleHome;
    return FinishJob(build, settings, GapFactorForBells(ringingBells), bells);
}
