// The program's own start (lock, settings, data files, main window) in a
// process that ends at the main window's first paint; timed by bench_gui_startup.
#include <QApplication>

#include "bench/FirstPaintQuit.h"
#include "gui/app/Main.h"
#include "gui/app/MainFrom.h"
#include "gui/app/SingleInstance.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    pb::SingleInstance instance(pb::SingleInstance::DefaultName());
    const std::unique_ptr<pb::TMainFrom> mainFrom = pb::StartProgram(app, instance);
    if (mainFrom == nullptr)
        return 2;
    FirstPaintQuit quit(mainFrom.get());
    return QApplication::exec();
}
