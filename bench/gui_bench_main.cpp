// main of the GUI benchmarks: one QApplication for the whole run, offscreen
// unless a platform was chosen, prepared as the program prepares its own (fonts,
// style), so that windows cost here what they cost in the program.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>

#include "gui/app/Main.h"

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    pb::PrepareApplication(app);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
