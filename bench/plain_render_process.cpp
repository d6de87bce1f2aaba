// A whole process that renders the longest job (700 s, sixteen built-in bells
// at 44100 samples a second, Principle at the fastest peal speed) through the
// plain per-sample reference renderer and writes nothing: the baseline that
// command_bench sets a whole `carillix-cli render` of the same job against.
#include "ringing/Row.h"
#include "sound/SoundBuffer.h"
#include "synth/DemoBells.h"
#include "synth/PealRender.h"
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
    RenderRequest request;
    request.lengthSeconds = 700;
    request.bells = 16;
    request.pealSeconds = PealSecondsForListIndex(0);  // 2h45
    request.style = StylePrinciple;
    const RenderPlan plan = PlanRender(request, bells.data(), kDemoBellRate);
    if (!plan.ok)
        return 1;
    std::vector<std::int16_t> output(static_cast<std::size_t>(plan.totalSamples));
    PealRender render(request, plan, bells.data(), [](RenderParams* params) -> std::uint32_t {
        PlainRenderPeal(params);
        return 0;
    });
    if (!render.RenderInto(output.data()))
        return 1;
    render.Run();
    return render.Complete() ? 0 : 1;
}
