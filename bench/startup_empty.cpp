// The yardstick of bench_gui_startup: a process that shows an empty
// QMainWindow and ends at its first paint. With --label the window holds one
// line of Japanese text in the program's font instead, which shows what
// finding and loading a Japanese font alone costs at a start.
#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QMainWindow>
#include <cstring>

#include "bench/FirstPaintQuit.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(544, 470);
    if (argc > 1 && std::strcmp(argv[1], "--label") == 0) {
        QFont::insertSubstitutions(
            QStringLiteral("ＭＳ Ｐゴシック"),
            {QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
        auto* label = new QLabel(QStringLiteral("有効フォント色"), &window);
        label->setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
        window.setCentralWidget(label);
    }
    FirstPaintQuit quit(&window);
    window.show();
    return QApplication::exec();
}
