// Filtering the Method dialog's list as the user types, offscreen Qt:
// - DialogKeystroke: a made-up library of 26,000 methods (the tests'
//   generator) in the catalogue; each letter of "cambridge" typed into Find,
//   the dialog refiltering the catalogue, refilling its list box and drawing
//   itself. The figure is the time a keystroke; the target is under 50 ms.
// - SearchKeystroke, the baseline in the same run: the catalogue's search
//   alone for the same letters. The ratio tells what the list box adds.
#include "app/MethodDlg.h"
#include "tests/ringing/LibraryGenerator.h"

#include <QApplication>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <string>

namespace {

constexpr const char* kTyped = "cambridge";

MethodCatalogue& Catalogue()
{
    static MethodCatalogue catalogue;
    if (catalogue.Methods().size() == catalogue.BuiltInCount()) {
        const GeneratedLibrary library = GenerateLibrary(26000, 1);
        catalogue.AddLibrary(ReadMethodLibraryText(library.xml, "generated").methods);
    }
    return catalogue;
}

void DialogKeystroke(benchmark::State& state)
{
    CMethodDlg dialog(MethodForm{}, Catalogue());
    dialog.OnInitDialog();
    dialog.Window()->show();
    QApplication::processEvents();
    std::int64_t keystrokes = 0;
    for (auto _ : state) {
        for (std::size_t letters = 0; letters <= std::string(kTyped).size(); ++letters) {
            dialog.SetControlText(MethodDlgIds::kFind, std::string(kTyped).substr(0, letters));
            dialog.Window()->repaint();
            QApplication::processEvents();
            ++keystrokes;
        }
        benchmark::DoNotOptimize(dialog.GetListCount(MethodDlgIds::kMethods));
    }
    state.counters["per_keystroke"] =
        benchmark::Counter(static_cast<double>(keystrokes), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    dialog.Window()->hide();
}
BENCHMARK(DialogKeystroke)->Unit(benchmark::kMillisecond);

void SearchKeystroke(benchmark::State& state)
{
    const MethodCatalogue& catalogue = Catalogue();
    std::int64_t keystrokes = 0;
    for (auto _ : state) {
        for (std::size_t letters = 0; letters <= std::string(kTyped).size(); ++letters) {
            benchmark::DoNotOptimize(catalogue.Search(std::string(kTyped).substr(0, letters)));
            ++keystrokes;
        }
    }
    state.counters["per_keystroke"] =
        benchmark::Counter(static_cast<double>(keystrokes), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(SearchKeystroke)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
