// The program in a process of its own, for bench_gui_startup, which starts it
// in a program folder of 999 employees with ten year files:
//   entry_probe open [N]  the program starts; at its first paint 入力 shows the
//                       selection panel, and 300 ms later (the operator reads
//                       the window) the last employee's December
//                       of the last year is started with 開始. Prints the time
//                       from 開始 to the entry window's first paint and the same
//                       for N - 1 later 開始 (November, …), in nanoseconds;
//                       on a second line the CPU time of each.
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
#include <vector>

#include "bench/FirstPaintQuit.h"
#include "gui/app/Main.h"
#include "gui/app/MainWindow.h"
#include "gui/app/SingleInstance.h"
#include "gui/timecard/EntryWindow.h"

namespace {

class EntryPaints : public QObject {
  public:
    EntryPaints() { qApp->installEventFilter(this); }
    ~EntryPaints() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && qobject_cast<pb::EntryWindow*>(watched) != nullptr)
            painted.insert(watched);
        return false;
    }
    std::set<QObject*> painted;
};

void Select(pb::MainWindow& main, int employee, int month) {
    auto* ids = main.findChild<QComboBox*>(QStringLiteral("ComboBox1"));
    auto* years = main.findChild<QComboBox*>(QStringLiteral("ComboBox2"));
    auto* months = main.findChild<QComboBox*>(QStringLiteral("ComboBox3"));
    ids->setCurrentIndex(ids->findText(QString::number(employee).rightJustified(3, u'0')));
    years->setCurrentIndex(years->count() - 1);
    months->setCurrentIndex(month - 1);
}

long long ThreadCpu() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

struct Opened {
    long long wall = 0;  // nanoseconds
    long long cpu = 0;   // of the program's thread: what the opening costs on a machine of its own
};

// 開始 until `count` entry windows more are painted.
Opened Start(pb::MainWindow& main, std::size_t count = 1) {
    EntryPaints paints;
    QElapsedTimer timer;
    timer.start();
    const long long cpu = ThreadCpu();
    main.StartClicked();
    while (paints.painted.size() < count)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    return {timer.nsecsElapsed(), ThreadCpu() - cpu};
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
    const int opens = !rss && argc > 2 ? std::atoi(argv[2]) : 2;
    pb::SingleInstance instance(pb::SingleInstance::DefaultName());
    const std::unique_ptr<pb::MainWindow> main = pb::StartProgram(app, instance);
    if (main == nullptr)
        return 2;
    pb::MainWindow& m = *main;
    FirstPaintCall painted(&m, [&] {
        // The operator shows the selection panel (入力) and reads it.
        m.SelectionPanelClicked();
        QTimer::singleShot(300, &m, [&] {
            // What the program does after its first paint and the panel's
            // showing is done by then, unless the machine is slow.
            while (!m.Settled())
                QApplication::processEvents(QEventLoop::AllEvents, 5);
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
                // The first 開始, then later ones on other months of the same employee.
                std::vector<Opened> opened;
                for (int month = 12; month >= 12 - opens + 1; --month) {
                    Select(m, 999, month);
                    opened.push_back(Start(m));
                    m.ClientArea()->closeAllSubWindows();
                    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                    QApplication::processEvents();
                }
                for (const Opened& o : opened)
                    std::printf("%lld ", o.wall);
                std::printf("\n");
                for (const Opened& o : opened)
                    std::printf("%lld ", o.cpu);
                std::printf("\n");
            }
            std::fflush(stdout);
            QApplication::quit();
        });
    });
    return QApplication::exec();
}
