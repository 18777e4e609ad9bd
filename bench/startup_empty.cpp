// The yardstick of bench_gui_startup: a process that shows an empty
// QMainWindow and ends at its first paint. With --label the window holds one
// line of Japanese text in the program's font instead, which shows what
// finding and loading a Japanese font alone costs at a start. With --settled
// it ends when nothing is left to do after the first paint (at once: the
// yardstick of the program's start to idle) and prints what SettleQuit prints.
#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QMainWindow>
#include <cstring>

#include <memory>

#include "bench/FirstPaintQuit.h"
#include "bench/SettleQuit.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(544, 470);
    bool label = false, settled = false;
    for (int i = 1; i < argc; ++i) {
        label = label || std::strcmp(argv[i], "--label") == 0;
        settled = settled || std::strcmp(argv[i], "--settled") == 0;
    }
    if (label) {
        QFont::insertSubstitutions(
            QStringLiteral("ＭＳ Ｐゴシック"),
            {QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
        auto* label = new QLabel(QStringLiteral("有効フォント色"), &window);
        label->setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
        window.setCentralWidget(label);
    }
    std::unique_ptr<QObject> quit;
    if (settled)
        quit = std::make_unique<bench::SettleQuit>(&window, [] { return true; });
    else
        quit = std::make_unique<FirstPaintQuit>(&window);
    window.show();
    return QApplication::exec();
}
