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

}  // namespace

void PlainRenderPeal(RenderParams* job)
{
    const CSoundBuffer* bells = job->bells;
    const int stage = job->stage;
    const double errorScale = job->strikeInterval * static_cast<double>(job->strikingError) / 50.0 / 32767.0;
    StrikeRandom random(job->seed);
    Row row = HomeRow();
    int voice[16];
    std::int32_t position[16];
    for (int k = 0; k < 16; ++k) {
        voice[k] = -1;
        position[k] = 0;
    }
    voice[0] = 0;
    position[0] = bells[0].onset;
    int place = 1;
    std::int32_t rowsDone = 0;
    std::int64_t nominal = job->strikeInterval;
    std::int64_t nextStrike = job->strikeInterval;
    double peak = 0;
    double scale = 0;

    for (std::int32_t i = 0; i < job->totalSamples && !job->cancelRequested; ++i) {
        if (i >= nextStrike) {
            const int b = row[place];
            for (int v = 0; v < stage; ++v)
                if (voice[v] == b)
                    voice[v] = -1;
            voice[place] = b;
            position[b] = bells[b].onset;
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
        if (i < job->preRollSamples) {
            job->preRollBuffer[i] = sum;
            if (std::fabs(sum) > peak)
                peak = std::fabs(sum);
        } else {
            if (i == job->preRollSamples) {
                scale = 24000.0 / peak;
                for (std::int32_t k = 0; k < i; ++k)
                    job->output[k] = peak == 0 ? 0 : Saturate(scale * job->preRollBuffer[k]);
            }
            job->output[i] = peak == 0 ? 0 : Saturate(sum * scale);
        }
        job->samplesDone = i + 1;
    }
    if (job->fadeSamples != 0 && !job->cancelRequested)
        for (std::int32_t i = job->totalSamples - job->fadeSamples; i < job->totalSamples; ++i)
            job->output[i] = Saturate(job->output[i] * static_cast<double>(job->totalSamples - i) / job->fadeSamples);
    job->finished = true;
}

void PlainMixBlows(RenderParams* job, const std::vector<Blow>& blows)
{
    const CSoundBuffer* bells = job->bells;
    const int stage = job->stage;
    int voice[16];
    std::int32_t position[16];
    for (int k = 0; k < 16; ++k) {
        voice[k] = -1;
        position[k] = 0;
    }
    std::size_t next = 0;
    double peak = 0;
    double scale = 0;
    for (std::int32_t i = 0; i < job->totalSamples; ++i) {
        for (; next < blows.size() && blows[next].strike == i; ++next) {
            const int b = blows[next].bell;
            for (int v = 0; v < stage; ++v)
                if (voice[v] == b)
                    voice[v] = -1;
            voice[blows[next].place] = b;
            position[b] = bells[b].onset;
        }
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
        if (i < job->preRollSamples) {
            job->preRollBuffer[i] = sum;
            peak = std::max(peak, std::fabs(sum));
        } else {
            if (i == job->preRollSamples) {
                scale = 24000.0 / peak;
                for (std::int32_t k = 0; k < i; ++k)
                    job->output[k] = peak == 0 ? 0 : Saturate(scale * job->preRollBuffer[k]);
            }
            job->output[i] = peak == 0 ? 0 : Saturate(sum * scale);
        }
    }
    for (std::int32_t i = job->totalSamples - job->fadeSamples; job->fadeSamples != 0 && i < job->totalSamples; ++i)
        job->output[i] = Saturate(job->output[i] * static_cast<double>(job->totalSamples - i) / job->fadeSamples);
}
