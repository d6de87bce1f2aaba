#include "tests/synth/PlainRenderPeal.h"

#include "ringing/NextRow.h"
#include "sound/SoundBuffer.h"
#include "synth/StrikeRandom.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

std::int16_t Saturate(double x)
{
    const auto t = static_cast<std::int64_t>(x);
    return static_cast<std::int16_t>(t < -32768 ? -32768 : t > 32767 ? 32767 : t);
}

// The sounding bells, by place, and each bell's next sample.
class Voices {
public:
    Voices(const CSoundBuffer* bells, int stage) : bells(bells), stage(stage)
    {
        for (int k = 0; k < 16; ++k) {
            voice[k] = -1;
            position[k] = 0;
        }
    }

    // Bell b strikes at place p: its earlier sound stops, and it takes p's slot from its onset.
    void Strike(int b, int p)
    {
        for (int v = 0; v < stage; ++v)
            if (voice[v] == b)
                voice[v] = -1;
        voice[p] = b;
        position[b] = bells[b].onset;
    }

    // The sum of every sounding bell's next sample.
    double Mix()
    {
        double sum = 0.0;
        for (int v = 0; v < stage; ++v) {
            const int b = voice[v];
            if (b == -1)
                continue;
            if (position[b] < bells[b].sampleCount) {
                sum += bells[b].samples[position[b]];
                ++position[b];
            }
            if (position[b] >= bells[b].sampleCount)
                voice[v] = -1;
        }
        return sum;
    }

private:
    const CSoundBuffer* bells;
    int stage;
    int voice[16];
    std::int32_t position[16];
};

// Holds the pre-roll's mix until its peak is known, then writes every sample scaled and saturated.
class ScaledOutput {
public:
    void Write(RenderParams* job, std::int32_t i, double sum)
    {
        if (i < job->preRollSamples) {
            job->preRollBuffer[i] = sum;
            peak = std::max(peak, std::fabs(sum));
            return;
        }
        if (i == job->preRollSamples) {
            scale = 24000.0 / peak;
            for (std::int32_t k = 0; k < i; ++k)
                job->output[k] = peak == 0 ? 0 : Saturate(scale * job->preRollBuffer[k]);
        }
        job->output[i] = peak == 0 ? 0 : Saturate(sum * scale);
    }

private:
    double peak = 0;
    double scale = 0;
};

void Fade(RenderParams* job)
{
    for (std::int32_t i = job->totalSamples - job->fadeSamples; job->fadeSamples != 0 && i < job->totalSamples; ++i)
        job->output[i] = Saturate(job->output[i] * static_cast<double>(job->totalSamples - i) / job->fadeSamples);
}

}  // namespace

void PlainRenderPeal(RenderParams* job)
{
    const int stage = job->stage;
    const double errorScale = job->strikeInterval * static_cast<double>(job->strikingError) / 50.0 / 32767.0;
    StrikeRandom random(job->seed);
    Row row = HomeRow();
    Voices voices(job->bells, stage);
    voices.Strike(0, 0);
    int place = 1;
    std::int32_t rowsDone = 0;
    std::int64_t nominal = job->strikeInterval;
    std::int64_t nextStrike = job->strikeInterval;
    ScaledOutput output;

    for (std::int32_t i = 0; i < job->totalSamples && !job->cancelRequested; ++i) {
        if (i >= nextStrike) {
            voices.Strike(row[place], place);
            ++place;
            nominal += job->strikeInterval;
            if (place >= stage) {
                place = 0;
                ++rowsDone;
                if (rowsDone % 2 == 0)
                    nominal += job->handstrokeGap;
                if (NextRow(rowsDone, row, job->stage, job->style))
                    job->style = StyleHome;
            }
            nextStrike = nominal + static_cast<std::int64_t>((random.Next() - 16383) * errorScale);
        }
        output.Write(job, i, voices.Mix());
        job->samplesDone = i + 1;
    }
    if (job->samplesDone == job->totalSamples)
        Fade(job);
    job->finished = true;
}

void PlainMixBlows(RenderParams* job, const std::vector<Blow>& blows)
{
    Voices voices(job->bells, job->stage);
    ScaledOutput output;
    std::size_t next = 0;
    for (std::int32_t i = 0; i < job->totalSamples; ++i) {
        for (; next < blows.size() && blows[next].strike == i; ++next)
            voices.Strike(blows[next].bell, blows[next].place);
        output.Write(job, i, voices.Mix());
    }
    Fade(job);
}

std::vector<std::int16_t> PlainMixBlows(const CSoundBuffer* bells, std::int16_t stage, std::int32_t total,
                                        std::int32_t preRoll, std::int32_t fade, const std::vector<Blow>& blows)
{
    std::vector<std::int16_t> mixed(static_cast<std::size_t>(total));
    std::vector<double> preRollBuffer(static_cast<std::size_t>(preRoll) + 1);
    RenderParams job;
    job.totalSamples = total;
    job.preRollSamples = preRoll;
    job.fadeSamples = fade;
    job.stage = stage;
    job.bells = bells;
    job.output = mixed.data();
    job.preRollBuffer = preRollBuffer.data();
    PlainMixBlows(&job, blows);
    return mixed;
}
