#include "synth/PealRender.h"

#include "base/NumberText.h"
#include "ringing/StyleRows.h"
#include "ringing/TouchProof.h"
#include "ringing/TouchStepper.h"
#include "sound/WavWriter.h"

#include <algorithm>
#include <limits>
#include <new>
#include <optional>
#include <system_error>

namespace {

constexpr std::int32_t kShortestSeconds = 10;
constexpr std::int32_t kLongestSeconds = 700;
constexpr double kRowPairsPerPeal = 2500;
constexpr double kFadeSeconds = 5.0;
constexpr std::int64_t kHalveFadeBelow = 3;
constexpr std::int64_t kPreRollSeconds = 9;
constexpr std::int32_t kClosingRows = 4;  // rounds after it has come round, before the fade
constexpr std::int64_t kMostSamples = std::numeric_limits<std::int32_t>::max();
// A whole touch is written whatever its length, so it is held to what every
// output format holds: a WAV file, the smallest.
constexpr std::int64_t kMostWholeTouchSamples = std::min(kMostSamples, kMostWavSamples);
// A pre-roll longer than this (32 MB of doubles: 9 s up to 466 kHz) is mixed
// again from its blows rather than held, when they take less room.
constexpr std::int32_t kMostHeldPreRoll = 1 << 22;

bool IsStyleStage(int bells)
{
    return std::find(kStyleStages.begin(), kStyleStages.end(), bells) != kStyleStages.end();
}

RenderPlan Refuse(RenderPlan plan, std::string message)
{
    plan.ok = false;
    plan.refusal = std::move(message);
    return plan;
}

std::unique_ptr<RowSource> MakeRows(const RenderRequest& request, std::int16_t stage, MethodStyle style)
{
    if (request.touch)
        return std::make_unique<TouchStepper>(*request.touch);
    return std::make_unique<StyleRows>(stage, style);
}

// The changes the rows take to come round; nullopt when that is more than kMaxTouchChanges.
std::optional<std::int64_t> CountChanges(const RenderRequest& request, std::int16_t stage, MethodStyle style)
{
    if (!request.touch && style == StyleHome)
        return 0;
    const auto rows = MakeRows(request, stage, style);
    Row row = HomeRow();
    for (std::int32_t rowIndex = 1; rowIndex - (kOpeningRows - 1) <= kMaxTouchChanges; ++rowIndex)
        if (rows->Next(rowIndex, row))
            return rowIndex - (kOpeningRows - 1);
    return std::nullopt;
}

std::string TouchName(const RenderRequest& request)
{
    return request.touch ? request.touch->method.title + ": the touch" : std::string("the method");
}

// The sound of the whole touch: up to the start of the row kClosingRows after
// the one that brings it round, and the fade.
RenderPlan PlanWholeTouch(RenderPlan plan, const RenderRequest& request, std::int64_t interval, std::int64_t gap,
                          std::int64_t fade)
{
    const auto changes = CountChanges(request, plan.stage, plan.style);
    if (!changes)
        return Refuse(plan, TouchName(request) + " does not come round within " + GroupedThousands(kMaxTouchChanges) +
                                " changes");
    const std::int64_t endRow = kOpeningRows + *changes + kClosingRows;
    const std::int64_t total = endRow * plan.stage * interval + endRow / 2 * gap + fade;
    if (total > kMostWholeTouchSamples)
        return Refuse(plan, TouchName(request) + " rings " + GroupedThousands(*changes) + " changes, " +
                                ClockTime(total / plan.rate) + " of sound: more than a sound file holds at " +
                                std::to_string(plan.rate) + " Hz (" + GroupedThousands(kMostWholeTouchSamples) +
                                " samples, " + ClockTime(kMostWholeTouchSamples / plan.rate) + ")");
    plan.touchChanges = *changes;
    plan.totalSamples = static_cast<std::int32_t>(total);
    plan.fadeSamples = static_cast<std::int32_t>(fade);
    return plan;
}

}  // namespace

RenderPlan PlanRender(const RenderRequest& request, const CSoundBuffer* bells, std::uint32_t rate)
{
    RenderPlan plan;
    plan.rate = rate;
    if (!request.wholeTouch && (request.lengthSeconds < kShortestSeconds || request.lengthSeconds > kLongestSeconds))
        return Refuse(plan, kLengthRefusal);

    plan.stageChosen = true;
    plan.stage = request.bells;
    plan.style = request.touch ? StyleHome : request.style;
    if (plan.style == StylePrinciple && plan.stage != 16)
        plan.style = StyleStedman;
    if (request.touch) {
        if (plan.stage < std::max<int>(kFewestTouchBells, request.touch->method.stage) || plan.stage > kMaxBells)
            return Refuse(plan, kBellCountRefusal);
    } else if (!IsStyleStage(plan.stage)) {
        return Refuse(plan, kStyleBellCountRefusal);
    }
    for (int bell = 0; bell < plan.stage; ++bell)
        if (bells[bell].state != 1)
            return Refuse(plan, kBellsRefusal);
    if (rate == 0)
        return Refuse(plan, kZeroRateRefusal);
    if (!request.wholeTouch && std::int64_t{request.lengthSeconds} * rate > kMostSamples)
        return Refuse(plan, kTooManySamplesRefusal);

    const double gapFactor = GapFactorForBells(plan.stage);
    const double interval = rate * request.pealSeconds / kRowPairsPerPeal / (2 * plan.stage + gapFactor);
    const auto strikeInterval = static_cast<std::int64_t>(interval);
    const auto handstrokeGap = static_cast<std::int64_t>(static_cast<double>(strikeInterval) * gapFactor);
    const auto fade = static_cast<std::int64_t>(rate * kFadeSeconds);
    if (request.wholeTouch) {
        plan = PlanWholeTouch(plan, request, strikeInterval, handstrokeGap, fade);
        if (!plan.refusal.empty())
            return plan;
    } else {
        plan.totalSamples = request.lengthSeconds * static_cast<std::int32_t>(rate);
        plan.fadeSamples = static_cast<std::int32_t>(plan.totalSamples / fade < kHalveFadeBelow ? fade / 2 : fade);
    }
    // Both below 2^31 now: every sample of the sound is.
    plan.strikeInterval = static_cast<std::int32_t>(std::min(strikeInterval, kMostSamples));
    plan.handstrokeGap = static_cast<std::int32_t>(std::min(handstrokeGap, kMostSamples));
    plan.preRollSamples =
        static_cast<std::int32_t>(std::min(kPreRollSeconds * rate, plan.totalSamples - std::int64_t{1}));
    plan.ok = true;
    return plan;
}

PealRender::PealRender(const RenderRequest& request, const RenderPlan& plan, const CSoundBuffer* bells,
                       RenderFunction render)
    : request(request),
      plan(plan),
      render(render),
      striking(request.striking, plan.strikeInterval, request.strikingError, plan.rate, request.seed, request.random),
      rows(MakeRows(this->request, plan.stage, plan.style))
{
    params.totalSamples = plan.totalSamples;
    params.preRollSamples = plan.preRollSamples;
    params.fadeSamples = plan.fadeSamples;
    params.strikeInterval = plan.strikeInterval;
    params.handstrokeGap = plan.handstrokeGap;
    params.stage = plan.stage;
    params.style = plan.style;
    params.strikingError = request.strikingError;
    params.bells = bells;
    params.seed = request.seed;
    params.rows = rows.get();
    params.striking = &striking.Model();
}

PealRender::~PealRender()
{
    if (worker.joinable()) {
        Cancel();
        worker.join();
    }
}

bool PealRender::AllocatePreRoll()
{
    const std::int32_t samples = params.preRollSamples;
    if (samples > kMostHeldPreRoll) {
        const auto most = static_cast<std::size_t>(MostBlowsBefore(params, samples, params.striking->MostEarly()));
        if (most * sizeof(Blow) < static_cast<std::size_t>(samples) * sizeof(double)) {
            params.preRollBlows = &preRollBlows;
            return preRollBlows.Reserve(most);
        }
    }
    preRoll.reset(new (std::nothrow) double[static_cast<std::size_t>(std::max(samples, 1))]);
    params.preRollBuffer = preRoll.get();
    return preRoll != nullptr;
}

bool PealRender::RenderInto(CSoundBuffer& output)
{
    if (!AllocatePreRoll() || !output.InitPcm16(plan.rate, plan.totalSamples, 16))
        return false;
    params.output = output.samples.get();
    return true;
}

bool PealRender::RenderInto(std::int16_t* samples)
{
    params.output = samples;
    return AllocatePreRoll();
}

bool PealRender::StreamTo(SampleSink& sink)
{
    params.sink = &sink;
    return AllocatePreRoll();
}

bool PealRender::LogBlows()
{
    if (!blows.Reserve(static_cast<std::size_t>(MostBlowsRung(params, params.striking->MostEarly()))))
        return false;
    params.blows = &blows;
    return true;
}

void PealRender::Start()
{
    try {
        worker = std::thread(render, &params);
    } catch (const std::system_error&) {
        Run();  // no thread to be had: render here instead
    }
}

void PealRender::Run()
{
    render(&params);
}

void PealRender::Cancel()
{
    params.cancelRequested.store(true, std::memory_order_relaxed);
}

void PealRender::Wait()
{
    if (worker.joinable())
        worker.join();
}

std::int64_t PealRender::ChangesRung() const
{
    if (plan.touchChanges < 0)
        return -1;
    const std::int64_t rung = params.rowsStruck.load(std::memory_order_relaxed) - kOpeningRows;
    return std::clamp<std::int64_t>(rung, 0, plan.touchChanges);
}
