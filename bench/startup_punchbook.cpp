// The program's own start (lock, settings, data files, main window) in a
// process that ends at the main window's first paint; timed by bench_gui_startup.
// With --settled it ends when the work after the first paint is done (the
// warm-up, the selected year's index) and prints what SettleQuit prints.
#include <QApplication>

#include <cstring>
#include <memory>

#include "bench/FirstPaintQuit.h"
#include "bench/SettleQuit.h"
#include "gui/app/Main.h"
#include "gui/app/MainWindow.h"
#include "gui/app/SingleInstance.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    pb::SingleInstance instance(pb::SingleInstance::DefaultName());
    const std::unique_ptr<pb::MainWindow> mainFrom = pb::StartProgram(app, instance);
    if (mainFrom == nullptr)
        return 2;
    std::unique_ptr<QObject> quit;
    if (argc > 1 && std::strcmp(argv[1], "--settled") == 0) {
        pb::MainWindow* window = mainFrom.get();
        quit = std::make_unique<bench::SettleQuit>(window, [window] { return window->Settled(); });
    } else {
        quit = std::make_unique<FirstPaintQuit>(mainFrom.get());
    }
    return QApplication::exec();
}
