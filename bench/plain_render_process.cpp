// A whole process that renders the longest job (700 s, sixteen built-in bells
// at 44100 samples a second, Principle at the fastest peal speed) through the
// plain per-sample reference renderer and writes nothing: the baseline that
// command_bench sets a whole `carillix-cli render` of the same job against.
#include "ringing/Row.h"
#include "sound/SoundBuffer.h"
#include "synth/DemoBells.h"
#include "synth/JobBuilder.h"
#include "tests/synth/PlainRenderPeal.h"

#include <array>
#include <cstdio>
#include <vector>

int main()
{
    std::array<CSoundBuffer, kMaxBells> bells;
    for (int b = 0; b < kMaxBells; ++b)
        if (!MakeDemoBell(b, bells[b]))
            return 1;
    GenerationSettings settings;
    settings.lengthSeconds = 700;
    settings.bellCountIndex = 6;  // sixteen bells
    settings.pealSpeedIndex = 0;  // 2h45
    settings.commonSampleRate = kDemoBellRate;
    settings.style = StylePrinciple;
    const JobBuild build = BuildGenerationJob(settings, bells.data());
    if (!build.ok)
        return 1;
    std::vector<std::int16_t> output(static_cast<std::size_t>(build.job.totalSamples));
    std::vector<double> preRoll(static_cast<std::size_t>(build.job.preRollSamples));
    RenderParams params;
    ApplyJob(build.job, params);
    params.bells = bells.data();
    params.output = output.data();
    params.preRollBuffer = preRoll.data();
    PlainRenderPeal(&params);
    return params.samplesDone == params.totalSamples ? 0 : 1;
}
