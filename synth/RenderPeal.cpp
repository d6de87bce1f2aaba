#include "synth/RenderPeal.h"

#include "ringing/Row.h"
#include "ringing/RowSource.h"
#include "sound/SampleSink.h"
#include "sound/SoundBuffer.h"
#include "synth/BlowLog.h"

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

// The blows generated but not yet rung, earliest first: a binary heap on
// (strike, sequence) in a fixed array, so blows at the same sample keep
// their ringing order and nothing is allocated.
class PendingBlows {
public:
    bool Empty() const { return count == 0; }
    bool Full() const { return count == kMostPendingBlows; }
    const Blow& Earliest() const { return heap[0].blow; }

    void Add(const Blow& blow)
    {
        heap[count++] = {blow, sequence++};
        std::push_heap(heap.begin(), heap.begin() + count, Later);
    }

    Blow TakeEarliest()
    {
        std::pop_heap(heap.begin(), heap.begin() + count, Later);
        return heap[--count].blow;
    }

private:
    struct Entry {
        Blow blow;
        std::int64_t sequence;
    };
    static bool Later(const Entry& a, const Entry& b)
    {
        return a.blow.strike != b.blow.strike ? a.blow.strike > b.blow.strike : a.sequence > b.sequence;
    }

    std::array<Entry, kMostPendingBlows> heap{};
    int count = 0;
    std::int64_t sequence = 0;
};

// The sounding bells: the bell sounding in each place's slot (or -1) and
// each bell's next sample.
class Voices {
public:
    Voices(const CSoundBuffer* bells, std::int16_t stage) : bells(bells), stage(stage)
    {
        voice.fill(-1);
        position.fill(0);
    }

    // Bell b strikes at `place`: it takes that place's slot from its onset,
    // silencing the bell there and any earlier sound of its own.
    void Strike(int place, int b)
    {
        for (int v = 0; v < stage; ++v)
            if (voice[v] == b)
                voice[v] = -1;
        voice[place] = static_cast<std::int16_t>(b);
        position[b] = bells[b].onset;
    }

    // Sets acc[0..n) to the mix of the next n samples and advances every
    // sounding bell by n.
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
    const CSoundBuffer* bells;
    std::int16_t stage;
    std::array<std::int16_t, kMaxBells> voice{};     // by place: the bell sounding there, or -1
    std::array<std::int32_t, kMaxBells> position{};  // by bell: its next sample
};

// The row being rung, the blows ahead and the sounding bells; all of a
// render's schedule state.
class Ringer {
public:
    Ringer(RenderParams& job, StrikingModel& model)
        : job(job),
          model(model),
          voices(job.bells, job.stage),
          stage(job.stage),
          nominal(0)
    {
        Refill();
        StrikeDue(0);
    }

    // Strikes every blow due at or before sample i (at most
    // kMostPendingBlows of them), and returns the first sample after i at
    // which another may fall.
    std::int64_t StrikeDue(std::int32_t i)
    {
        for (int struck = 0; struck < kMostPendingBlows && pending.Earliest().strike <= i; ++struck) {
            Strike(pending.TakeEarliest(), i);
            Refill();
        }
        return std::max<std::int64_t>(pending.Earliest().strike, std::int64_t{i} + 1);
    }

    // Sets acc[0..n) to the mix of the next n samples. No blow falls
    // within them: they end before the sample StrikeDue returned.
    void Mix(std::int32_t* acc, std::int32_t n) { voices.Mix(acc, n); }

    // 1 + the row of the last blow struck.
    std::int32_t RowsStruck() const { return rowsStruck; }

private:
    // Asks the model for blows ahead until none still unasked can strike
    // before the earliest one held (or the look-ahead is full).
    void Refill()
    {
        while (pending.Empty() || (!pending.Full() && model.EarliestFrom(nominal) < pending.Earliest().strike))
            AddNextBlow();
    }

    void AddNextBlow()
    {
        if (place >= stage) {
            place = 0;
            ++rowsDone;
            if (rowsDone % 2 == 0)
                nominal += job.handstrokeGap;
            if (!cameRound && job.rows->Next(rowsDone, row)) {
                cameRound = true;
                job.style = StyleHome;
            }
        }
        Blow blow;
        blow.row = rowsDone;
        blow.place = static_cast<std::int16_t>(place);
        blow.bell = row[place];
        blow.ideal = nominal;
        blow.strike = std::max<std::int64_t>(model.StrikeTime(blow), 0);
        pending.Add(blow);
        ++place;
        nominal += job.strikeInterval;
    }

    void Strike(Blow blow, std::int32_t i)
    {
        voices.Strike(blow.place, blow.bell);
        rowsStruck = std::max(rowsStruck, blow.row + 1);
        blow.strike = i;
        if (job.blows != nullptr)
            job.blows->Add(blow);
        if (job.preRollBlows != nullptr && i < job.preRollSamples)
            job.preRollBlows->Add(blow);
    }

    RenderParams& job;
    StrikingModel& model;
    Voices voices;
    std::int16_t stage;
    Row row = HomeRow();
    PendingBlows pending;
    int place = 0;              // the place of the next blow to ask for
    std::int32_t rowsDone = 0;  // its row
    std::int64_t nominal;       // its ideal time
    bool cameRound = false;     // the rows have come round: no more are asked for
    std::int32_t rowsStruck = 0;
};

// Scales, fades and hands on the mix: holds the pre-roll until its peak is
// known, then turns every sample into its 16-bit output value and writes it
// to the output array or, in blocks, to the sink.
class Delivery {
public:
    explicit Delivery(RenderParams& job)
        : job(job),
          total(job.totalSamples),
          fade(job.fadeSamples),
          fadeStart(job.fadeSamples != 0 ? job.totalSamples - job.fadeSamples : job.totalSamples)
    {
    }

    // Takes the mix of samples i .. i + n - 1, which lie wholly before or
    // wholly after the end of the pre-roll. False when the sink refused them.
    bool Take(std::int32_t i, const std::int32_t* acc, std::int32_t n)
    {
        const std::int32_t preRoll = job.preRollSamples;
        if (i < preRoll) {
            for (std::int32_t k = 0; k < n; ++k)
                peak = std::max(peak, acc[k] < 0 ? -acc[k] : acc[k]);
            if (job.preRollBuffer != nullptr)
                std::copy(acc, acc + n, job.preRollBuffer + i);
            return true;
        }
        if (i == preRoll) {
            // A silent pre-roll makes every output sample 0.
            scale = peak > 0 ? kPeakTarget / peak : 0.0;
            if (!(job.preRollBuffer != nullptr ? Hand(0, job.preRollBuffer, preRoll) : ReplayPreRoll()))
                return false;
        }
        return Hand(i, acc, n);
    }

private:
    // Mixes the pre-roll again from the blows logged while it was rung,
    // with voices of its own: the same sums, without a buffer.
    bool ReplayPreRoll()
    {
        Voices voices(job.bells, job.stage);
        const Blow* next = job.preRollBlows->begin();
        const Blow* const end = job.preRollBlows->end();
        alignas(64) std::int32_t acc[kChunk];
        for (std::int32_t i = 0; i < job.preRollSamples;) {
            for (; next != end && next->strike <= i; ++next)
                voices.Strike(next->place, next->bell);
            std::int64_t stop = std::min<std::int64_t>(std::int64_t{i} + kChunk, job.preRollSamples);
            if (next != end)
                stop = std::min(stop, next->strike);
            const auto n = static_cast<std::int32_t>(stop - i);
            voices.Mix(acc, n);
            if (!Hand(i, acc, n))
                return false;
            i += n;
        }
        return true;
    }

    template <typename Value>
    bool Hand(std::int32_t first, const Value* values, std::int32_t n)
    {
        if (job.sink == nullptr) {
            Scale(first, values, n, job.output + first);
            return true;
        }
        for (std::int32_t done = 0; done < n; done += kChunk) {
            const std::int32_t m = std::min(kChunk, n - done);
            Scale(first + done, values + done, m, block);
            if (!job.sink->Write(block, static_cast<std::size_t>(m)))
                return false;
        }
        return true;
    }

    // to[k] = the output value of sample first + k, whose mix is values[k].
    template <typename Value>
    void Scale(std::int32_t first, const Value* values, std::int32_t n, std::int16_t* to) const
    {
        const double factor = scale;
        const std::int32_t unfaded = std::clamp(fadeStart - first, 0, n);
        for (std::int32_t k = 0; k < unfaded; ++k)
            to[k] = Convert(values[k] * factor);
        for (std::int32_t k = unfaded; k < n; ++k) {
            const std::int16_t value = Convert(values[k] * factor);
            to[k] = Convert(value * static_cast<double>(total - (first + k)) / fade);
        }
    }

    RenderParams& job;
    const std::int32_t total;
    const std::int32_t fade;
    const std::int32_t fadeStart;  // the first faded sample
    std::int32_t peak = 0;
    double scale = 0.0;
    alignas(64) std::int16_t block[kChunk];
};

}  // namespace

std::int64_t MostBlowsRung(const RenderParams& job, std::int64_t mostEarly)
{
    return MostBlowsBefore(job, job.totalSamples, mostEarly);
}

std::int64_t MostBlowsBefore(const RenderParams& job, std::int32_t samples, std::int64_t mostEarly)
{
    if (job.strikeInterval <= 0)
        return (std::int64_t{samples} + 1) * kMostPendingBlows;
    return (std::int64_t{samples} + mostEarly) / job.strikeInterval + 2;
}

std::uint32_t RenderPeal(RenderParams* job)
{
    Ringer ringer(*job, *job->striking);
    Delivery delivery(*job);
    const std::int32_t total = job->totalSamples;
    const std::int32_t preRoll = job->preRollSamples;
    alignas(64) std::int32_t acc[kChunk];

    std::int32_t i = 0;
    while (i < total && !job->cancelRequested.load(std::memory_order_relaxed)) {
        std::int64_t end = std::min<std::int64_t>(ringer.StrikeDue(i), std::int64_t{i} + kChunk);
        end = std::min<std::int64_t>(end, i < preRoll ? preRoll : total);
        const auto n = static_cast<std::int32_t>(end - i);
        ringer.Mix(acc, n);
        if (!delivery.Take(i, acc, n))
            break;
        i += n;
        job->samplesDone.store(i, std::memory_order_relaxed);
        job->rowsStruck.store(ringer.RowsStruck(), std::memory_order_relaxed);
    }
    job->finished.store(true, std::memory_order_release);
    return 0;
}
