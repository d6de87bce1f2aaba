// The method library and the prover, in the same run as their baselines:
// - LibraryCommandAgainstXmllint: a made-up library of 26,000 methods (the
//   tests' generator) in a temporary folder; the whole process `carillix-cli
//   methods --library F --search surprise` and `xmllint --noout F` (libxml2
//   merely parsing the same file) run in alternating pairs. The figure is the
//   median of the pairs' ratios; the target is at most 1.0.
// - SearchKeystroke: filtering the same 26,000 methods as each letter of
//   "cambridge" is typed, as a window's list does; well under 50 ms a letter.
// - ProveAgainstRender: proving a touch of 5,058 changes of Cambridge
//   Surprise Major (ProveTouch and RecordLeads, as `prove` does) against
//   rendering it whole (`--length touch`), eight demo bells at 8000 samples a second. The
//   figure is the ratio of their mean thread times; the target is under 0.01.
#include "bench/BenchTiming.h"
#include "ringing/MethodCatalogue.h"
#include "ringing/TouchBuilder.h"
#include "ringing/TouchLeads.h"
#include "ringing/TouchProof.h"
#include "sound/SoundBuffer.h"
#include "synth/DemoBells.h"
#include "synth/PealRender.h"
#include "tests/ringing/LibraryGenerator.h"
#include "tests/sound/TempFolder.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <fstream>

namespace {

// The generated library, written once into a temporary folder.
struct LibraryFile {
    TempFolder folder;
    std::string path = folder.Path("methods.xml");

    LibraryFile() { std::ofstream(path) << GenerateLibrary(26000, 1).xml; }
};

LibraryFile& Library()
{
    static LibraryFile file;
    return file;
}

void LibraryCommandAgainstXmllint(benchmark::State& state)
{
    const std::string& path = Library().path;
    RunAlternatingPairs(state, {CARILLIX_CLI_PATH, "methods", "--library", path, "--search", "surprise"},
                        {"xmllint", "--noout", path}, "xmllint_s",
                        "a process failed (is xmllint, from libxml2-utils, installed?)");
}
BENCHMARK(LibraryCommandAgainstXmllint)->UseManualTime()->Iterations(15)->Unit(benchmark::kMillisecond);

void SearchKeystroke(benchmark::State& state)
{
    MethodCatalogue catalogue;
    catalogue.AddLibrary(ReadMethodLibraryFile(Library().path).methods);
    const std::string word = "cambridge";
    std::size_t letters = 0;
    std::size_t found = 0;
    double seconds = 0;
    for (auto _ : state) {
        const double start = ThreadSeconds();
        for (std::size_t typed = 1; typed <= word.size(); ++typed)
            found += catalogue.Search(std::string_view(word).substr(0, typed)).size();
        seconds += ThreadSeconds() - start;
        letters += word.size();
    }
    benchmark::DoNotOptimize(found);
    state.counters["methods"] = static_cast<double>(catalogue.Methods().size());
    state.counters["ms_per_letter"] = 1e3 * seconds / static_cast<double>(letters);
}
BENCHMARK(SearchKeystroke)->Unit(benchmark::kMillisecond);

Touch FiveThousandChanges()
{
    TouchRequest request;
    request.method = FindBuiltInMethod("Cambridge Surprise Major");
    request.calling = "ppbpppspbpspsspppbspb";
    return BuildTouch(request).touch;
}

double proveSeconds = 0;
double renderSeconds = 0;

void ProveTouch5058(benchmark::State& state)
{
    const Touch touch = FiveThousandChanges();
    double total = 0;
    std::int64_t changes = 0;
    for (auto _ : state) {
        const double start = ThreadSeconds();
        const TouchProof proof = ProveTouch(touch);
        const TouchLeads leads = RecordLeads(touch, proof.changes);
        benchmark::DoNotOptimize(leads.leads.data());
        const double seconds = ThreadSeconds() - start;
        state.SetIterationTime(seconds);
        total += seconds;
        changes = proof.changes;
    }
    proveSeconds = total / static_cast<double>(state.iterations());
    state.counters["changes"] = static_cast<double>(changes);
}
BENCHMARK(ProveTouch5058)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(0.5);

void RenderTouch5058(benchmark::State& state)
{
    constexpr std::uint32_t kRate = 8000;
    constexpr std::int16_t kBells = 8;
    const Touch touch = FiveThousandChanges();
    std::array<CSoundBuffer, kMaxBells> bells;
    for (int b = 0; b < kMaxBells; ++b)
        MakeDemoBell(b, bells[b], kRate);
    RenderRequest request;
    request.touch = touch;
    request.bells = kBells;
    request.wholeTouch = true;
    const RenderPlan plan = PlanRender(request, bells.data(), kRate);
    std::vector<std::int16_t> output(static_cast<std::size_t>(plan.totalSamples));
    double total = 0;
    for (auto _ : state) {
        PealRender render(request, plan, bells.data());
        render.RenderInto(output.data());
        const double start = ThreadSeconds();
        render.Run();
        benchmark::DoNotOptimize(output.data());
        const double seconds = ThreadSeconds() - start;
        state.SetIterationTime(seconds);
        total += seconds;
    }
    renderSeconds = total / static_cast<double>(state.iterations());
    state.counters["audio_s"] = static_cast<double>(plan.totalSamples) / kRate;
}
BENCHMARK(RenderTouch5058)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    if (proveSeconds > 0 && renderSeconds > 0)
        std::printf("prove / render of the same 5,058 changes: %.5f of the time\n", proveSeconds / renderSeconds);
    benchmark::Shutdown();
    return 0;
}
