// The yardstick of bench_gui_startup: a process that shows an empty
// QMainWindow and ends at its first paint.
#include <QApplication>
#include <QMainWindow>

#include "bench/FirstPaintQuit.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(544, 470);
    FirstPaintQuit quit(&window);
    window.show();
    return QApplication::exec();
}
