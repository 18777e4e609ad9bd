// The program in a process of its own, for bench_gui_startup, which starts it
// in a program folder of 999 employees with ten year files:
//   entry_probe open    the program starts; 300 ms after its first paint (the
//                       operator reads the window) the last employee's December
//                       of the last year is started with 開始. Prints the time
//                       from 開始 to the entry window's first paint and the same
//                       for a later 開始 (November), in nanoseconds.
//   entry_probe rss N   opens the Decembers of N employees and prints the
//                       resident set in bytes once all of them are painted.
#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <string>

#include "bench/FirstPaintQuit.h"
#include "gui/app/Main.h"
#include "gui/app/MainFrom.h"
#include "gui/app/SingleInstance.h"
#include "gui/timecard/InputWork.h"

namespace {

class EntryPaints : public QObject {
  public:
    EntryPaints() { qApp->installEventFilter(this); }
    ~EntryPaints() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && qobject_cast<pb::TInputW*>(watched) != nullptr)
            painted.insert(watched);
        return false;
    }
    std::set<QObject*> painted;
};

void Select(pb::TMainFrom& main, int employee, int month) {
    auto* ids = main.findChild<QComboBox*>(QStringLiteral("ComboBox1"));
    auto* years = main.findChild<QComboBox*>(QStringLiteral("ComboBox2"));
    auto* months = main.findChild<QComboBox*>(QStringLiteral("ComboBox3"));
    ids->setCurrentIndex(ids->findText(QString::number(employee).rightJustified(3, u'0')));
    years->setCurrentIndex(years->count() - 1);
    months->setCurrentIndex(month - 1);
}

// 開始 until `count` entry windows more are painted; nanoseconds.
long long Start(pb::TMainFrom& main, std::size_t count = 1) {
    EntryPaints paints;
    QElapsedTimer timer;
    timer.start();
    main.PanelButton10Click();
    while (paints.painted.size() < count)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    return timer.nsecsElapsed();
}

long long ResidentBytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stoll(line.substr(6)) * 1024;
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const bool rss = argc > 1 && std::strcmp(argv[1], "rss") == 0;
    const int windows = rss && argc > 2 ? std::atoi(argv[2]) : 10;
    pb::SingleInstance instance(pb::SingleInstance::DefaultName());
    const std::unique_ptr<pb::TMainFrom> main = pb::StartProgram(app, instance);
    if (main == nullptr)
        return 2;
    pb::TMainFrom& m = *main;
    FirstPaintCall painted(&m, [&] {
        QTimer::singleShot(300, &m, [&] {
            if (rss) {
                for (int e = 0; e < windows; ++e) {
                    Select(m, 999 - e, 12);
                    Start(m);
                }
                const QDeadlineTimer settle(200);
                while (!settle.hasExpired())
                    QApplication::processEvents(QEventLoop::AllEvents, 5);
                std::printf("%lld\n", ResidentBytes());
            } else {
                Select(m, 999, 12);
                const long long first = Start(m);
                m.ClientArea()->closeAllSubWindows();
                QApplication::processEvents();
                Select(m, 999, 11);
                const long long later = Start(m);
                std::printf("%lld %lld\n", first, later);
            }
            std::fflush(stdout);
            QApplication::quit();
        });
    });
    return QApplication::exec();
}
