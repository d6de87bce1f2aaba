#pragma once

#include "ringing/MethodStyle.h"
#include "synth/RenderParams.h"

#include <cstdint>
#include <string>

class CSoundBuffer;

// The main dialog's settings that a generation reads.
struct GenerationSettings {
    std::int32_t lengthSeconds = 10;  // accepted 10..700
    std::int32_t bellCountIndex = 3;  // 0..6 for 5 6 8 10 12 14 16; other values ring 5
    std::int32_t pealSpeedIndex = 1;  // 0..5 for 2h45 .. 4h00; other values mean 3h00
    std::uint32_t commonSampleRate = 0;
    std::int16_t strikingError = 5;  // percent, 0..100
    MethodStyle style = StyleHome;
};

// The numbers of one render job, in the order the generation dialog takes them.
// Counts and times in samples at the common sample rate.
struct GenerationJob {
    std::int16_t stage = 0;
    std::int32_t totalSamples = 0;
    std::int32_t preRollSamples = 0;
    std::int32_t fadeSamples = 0;
    std::int32_t strikeInterval = 0;
    std::int32_t handstrokeGap = 0;
    MethodStyle style = StyleHome;
    std::int16_t strikingError = 0;
};

// The outcome of turning settings into a job.
struct JobBuild {
    bool ok = false;
    std::string refusal;  // the message to show when !ok
    // Set once the stage has been chosen (every refusal after the length
    // check): the caller stores `stage` and `style` even when refused.
    bool stageChosen = false;
    std::int16_t stage = 0;
    MethodStyle style = StyleHome;  // after the Principle rule
    GenerationJob job;              // valid when ok
};

// Refusal texts, in the order they are checked.
inline constexpr const char* kLengthRefusal = "Recording length too short or too long!";
inline constexpr const char* kBellsRefusal = "load more files!";
inline constexpr const char* kZeroRateRefusal = "the bells' sample rate is 0: load other files!";
inline constexpr const char* kTooManySamplesRefusal = "sample rate too high for this length: choose a shorter length!";
inline constexpr const char* kBellCountRefusal = "a touch rings 3 to 16 bells";

// The fewest bells a touch rings.
inline constexpr std::int16_t kFewestTouchBells = 3;

// Runs the job-building steps of "Generate Output" after the controls have
// been read: length check, peal speed, stage and gap factor, Principle rule,
// the bells check over bells[0..stage-1], then strike interval, handstroke
// gap and the sample counts. A common sample rate of 0, or one whose output
// would not fit in 32-bit sample counts, is refused after the bells check.
// On success the job meets RenderPeal's expectations: preRollSamples <
// totalSamples, 0 < fadeSamples < totalSamples, stage 5..16.
// Pure: reads `bells` (sixteen records), changes nothing.
JobBuild BuildGenerationJob(const GenerationSettings& settings, const CSoundBuffer* bells);

// The handstroke gap in strike intervals for any number of ringing bells:
// 1.0 up to six bells, 0.8 for ten, 0.9 otherwise.
double GapFactorForBells(int ringingBells);

// As BuildGenerationJob, for a touch rung from a RowSource on `ringingBells`
// bells (kFewestTouchBells..16) instead of the bells list and style: the
// length check, the bell count (refused outside that range), the bells check
// over bells[0..ringingBells-1], then the same numbers with the gap factor
// of GapFactorForBells. The job's style is StyleHome. For the stages of the
// bells list it gives the numbers BuildGenerationJob gives.
JobBuild BuildTouchJob(const GenerationSettings& settings, std::int16_t ringingBells, const CSoundBuffer* bells);

// Copies a built job's numbers into a render record. Leaves the pointers,
// the seed and the shared counters alone.
void ApplyJob(const GenerationJob& job, RenderParams& params);
