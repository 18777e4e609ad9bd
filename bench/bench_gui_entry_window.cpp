// The main window and the month entry window on a folder of 999 employees with
// ten year files (12 months each, 188 MB): a selection step in the panel, 開始
// until the entry window is painted, a recalculation, and a refresh of the
// employee viewer. These are later steps in a warm process; the first 開始
// after a start is measured in a fresh process by bench_gui_startup.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QWindow>
#include <filesystem>
#include <memory>

#include "bench/LargeFolder.h"
#include "bench/RawFiles.h"
#include "gui/app/MainWindow.h"
#include "gui/employees/ViewRegistData.h"
#include "gui/timecard/EntryGridView.h"
#include "gui/timecard/EntryWindow.h"

namespace {

using namespace pb;

constexpr int kEmployees = 999;
constexpr int kYears = 10;
constexpr int kLastYear = 1999;

struct LargeFolder {
    std::string path = bench::MakeTempFolder("pbbench-entry");
    LargeFolder() {
        bench::WriteLargeFolder(
            path, kEmployees, kYears, kLastYear - kYears + 1,
            QCoreApplication::applicationDirPath().toStdString() + "/NextCell.dat");
    }
    ~LargeFolder() { std::filesystem::remove_all(path); }
};

LargeFolder& Folder() {
    static LargeFolder folder;
    return folder;
}

// Runs the event loop until `done` holds (at most a few seconds).
template <typename Done>
bool ProcessEventsUntil(Done done) {
    for (int i = 0; i < 100000 && !done(); ++i)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

void ProcessEventsFor(int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
}

// Notes the first paint of each entry window.
class EntryPaints : public QObject {
  public:
    EntryPaints() { qApp->installEventFilter(this); }
    ~EntryPaints() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && qobject_cast<EntryWindow*>(watched) != nullptr)
            painted = true;
        return false;
    }
    bool painted = false;
};

struct Main {
    MainWindow window{QString::fromStdString(Folder().path)};
    QComboBox* ids = window.findChild<QComboBox*>(QStringLiteral("ComboBox1"));
    QComboBox* years = window.findChild<QComboBox*>(QStringLiteral("ComboBox2"));
    QComboBox* months = window.findChild<QComboBox*>(QStringLiteral("ComboBox3"));

    Main() {
        window.show();
        ProcessEventsUntil(
            [&] { return window.windowHandle() != nullptr && window.windowHandle()->isExposed(); });
        // The warm-up and the first year's index after the first paint.
        ProcessEventsUntil([&] { return window.Settled(); });
    }
    // The selection, once the year box has settled and the year is indexed.
    void Select(int employee, int yearIndex, int month) {
        ids->setCurrentIndex(employee - 1);
        years->setCurrentIndex(yearIndex);
        months->setCurrentIndex(month - 1);
        ProcessEventsUntil([&] { return window.Settled(); });
    }
};

// Never destroyed: its windows must not outlive the application object.
Main& TheMain() {
    static Main* main = new Main;
    return *main;
}

void CountReads(benchmark::State& state, std::uint64_t start) {
    state.counters["read_per_op"] = benchmark::Counter(
        static_cast<double>(raw::BytesReadByProcess() - start) /
            static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1)),
        benchmark::Counter::kDefaults, benchmark::Counter::kIs1024);
}

// One notch of the mouse wheel on the ID box: the name and the stored-data
// indicator follow.
void BM_SelectionStepOfTheEmployee(benchmark::State& state) {
    Main& main = TheMain();
    main.Select(1, kYears - 1, 12);
    int index = 0;
    const std::uint64_t start = raw::BytesReadByProcess();
    for (auto _ : state) {
        index = (index + 1) % kEmployees;
        main.ids->setCurrentIndex(index);
    }
    CountReads(state, start);
}
BENCHMARK(BM_SelectionStepOfTheEmployee)->Unit(benchmark::kMicrosecond);

void BM_SelectionStepOfTheMonth(benchmark::State& state) {
    Main& main = TheMain();
    main.Select(kEmployees, kYears - 1, 1);
    int index = 0;
    const std::uint64_t start = raw::BytesReadByProcess();
    for (auto _ : state) {
        index = (index + 1) % 12;
        main.months->setCurrentIndex(index);
    }
    CountReads(state, start);
}
BENCHMARK(BM_SelectionStepOfTheMonth)->Unit(benchmark::kMicrosecond);

// The year box stepped nine times, as the arrow key steps it, a step every
// 100 ms (before the box settles): the time the steps take, the bytes read
// meanwhile, by any thread ("read_until_settled"), and those read once the
// box has settled on the last year ("read_when_settled": its index). Each
// time in a window of its own, which has indexed no year but the first.
void BM_NineYearStepsUntilSettled(benchmark::State& state) {
    double until = 0, when = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Main main;
        main.years->setFocus();
        const std::uint64_t start = raw::BytesReadByProcess();
        double spent = 0;
        for (int step = 1; step <= 9; ++step) {
            QElapsedTimer timer;
            timer.start();
            main.years->setCurrentIndex(step);
            spent += static_cast<double>(timer.nsecsElapsed()) / 1e9;
            ProcessEventsFor(100);
        }
        const std::uint64_t stepped = raw::BytesReadByProcess();
        ProcessEventsUntil([&] { return main.window.Settled(); });
        until = std::max(until, static_cast<double>(stepped - start));
        when = std::max(when, static_cast<double>(raw::BytesReadByProcess() - stepped));
        state.SetIterationTime(spent);
        main.window.close();
        state.ResumeTiming();
    }
    state.counters["read_until_settled"] =
        benchmark::Counter(until, benchmark::Counter::kDefaults, benchmark::Counter::kIs1024);
    state.counters["read_when_settled"] =
        benchmark::Counter(when, benchmark::Counter::kDefaults, benchmark::Counter::kIs1024);
}
BENCHMARK(BM_NineYearStepsUntilSettled)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);

// 開始 on a stored month until the entry window is painted, then closed again.
void BM_StartEntryUntilPainted(benchmark::State& state) {
    Main& main = TheMain();
    int month = 0;
    for (auto _ : state) {
        state.PauseTiming();
        month = month % 12 + 1;
        main.Select(kEmployees, kYears - 1, month);
        EntryPaints paints;
        state.ResumeTiming();
        main.window.StartClicked();
        if (!ProcessEventsUntil([&] { return paints.painted; }))
            state.SkipWithError("not painted");
        state.PauseTiming();
        main.window.ClientArea()->closeAllSubWindows();
        // Outside exec() nothing deletes a closed window unless asked to.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartEntryUntilPainted)->Unit(benchmark::kMillisecond);

void BM_RecalculateAfterOneEditedCell(benchmark::State& state) {
    LargeFolder& folder = Folder();
    const DataFiles files = AssignDataFiles(folder.path);
    Settings settings;
    settings.ProgramFolder = folder.path;
    EntryWindow window(EntrySelection{"999", kLastYear, 12, false}, files, settings);
    window.show();
    ProcessEventsUntil([&] { return window.windowHandle() && window.windowHandle()->isExposed(); });
    auto* grid = window.findChild<EntryGridView*>(QStringLiteral("InputGrid"));
    bool late = false;
    for (auto _ : state) {
        late = !late;
        grid->model()->setData(grid->model()->index(10, 2),
                               late ? QStringLiteral("23:55") : QStringLiteral("18:00"));
        window.CalculateClicked();
    }
}
BENCHMARK(BM_RecalculateAfterOneEditedCell)->Unit(benchmark::kMicrosecond);

// Counts the paints of one widget.
class Paints : public QObject {
  public:
    explicit Paints(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
    int count = 0;
};

// A time typed into a cell until the figures it changes are on the screen:
// the keystroke, the calculation and the repaint of the grids and totals.
void BM_TypedCellUntilFiguresPainted(benchmark::State& state) {
    LargeFolder& folder = Folder();
    const DataFiles files = AssignDataFiles(folder.path);
    Settings settings;
    settings.ProgramFolder = folder.path;
    EntryWindow window(EntrySelection{"999", kLastYear, 12, false}, files, settings);
    window.resize(700, 1000);
    window.show();
    ProcessEventsUntil([&] { return window.windowHandle() && window.windowHandle()->isExposed(); });
    ProcessEventsFor(100);
    auto* grid = window.findChild<EntryGridView*>(QStringLiteral("InputGrid"));
    const Paints paints(grid->viewport());
    bool late = false;
    for (auto _ : state) {
        late = !late;
        const int before = paints.count;
        grid->model()->setData(grid->model()->index(10, 2),
                               late ? QStringLiteral("23:55") : QStringLiteral("18:00"));
        window.CalculateClicked();
        QApplication::processEvents();
        if (paints.count == before)
            state.SkipWithError("not repainted");
    }
}
BENCHMARK(BM_TypedCellUntilFiguresPainted)->Unit(benchmark::kMicrosecond);

// The yardstick of 開始: a plain QTableView of the entry grid's rows, columns,
// texts and font in a child window of the same main window, until painted.
void BM_PlainTableViewUntilPainted(benchmark::State& state) {
    Main& main = TheMain();
    QFont font(QStringLiteral("ＭＳ ゴシック"));
    font.setPixelSize(12);
    for (auto _ : state) {
        auto* view = new QTableView;
        auto* cells = new QStandardItemModel(31, 8, view);  // 21 November … 20 December
        for (int row = 0; row < 31; ++row)
            for (int col = 0; col < 8; ++col)
                cells->setItem(row, col, new QStandardItem(QStringLiteral("08:00")));
        view->setFont(font);
        view->setModel(cells);
        const Paints paints(view->viewport());
        main.window.ClientArea()->addSubWindow(view)->showMaximized();
        if (!ProcessEventsUntil([&] { return paints.count > 0; }))
            state.SkipWithError("not painted");
        state.PauseTiming();
        main.window.ClientArea()->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PlainTableViewUntilPainted)->Unit(benchmark::kMillisecond);

// The viewer on screen with the daily scheme of 999 employees chosen; each
// step is followed by the layout and the repaint it leaves to the event loop.
struct ShownViewer {
    DataFiles files = AssignDataFiles(Folder().path);
    Settings settings;
    std::unique_ptr<TViewRD> viewer;
    ShownViewer() {
        settings.ProgramFolder = Folder().path;
        viewer = std::make_unique<TViewRD>(files, settings);
        viewer->resize(1280, 800);
        viewer->show();
        Choose("RadioButton1");
    }
    void Choose(const char* radio) {
        viewer->findChild<QRadioButton*>(QString::fromLatin1(radio))->click();
        Shown();
    }
    // Until the files read beside the window are shown.
    void Shown() const {
        ProcessEventsUntil([&] { return !viewer->Reading(); });
        QApplication::processEvents();
    }
};

// The reload on every activation of the viewer, the files as they were.
void BM_ViewerRefreshOf999(benchmark::State& state) {
    ShownViewer shown;
    const std::uint64_t start = raw::BytesReadByProcess();
    for (auto _ : state) {
        shown.viewer->RefreshView();
        shown.Shown();
    }
    CountReads(state, start);
}
BENCHMARK(BM_ViewerRefreshOf999)->Unit(benchmark::kMillisecond);

// The hourly scheme (nobody) and the daily one again: all 999 columns and the
// rows built anew, the most a reload can have to do.
void BM_ViewerSchemeSwitchOf999(benchmark::State& state) {
    ShownViewer shown;
    for (auto _ : state) {
        shown.Choose("RadioButton2");
        shown.Choose("RadioButton1");
    }
}
BENCHMARK(BM_ViewerSchemeSwitchOf999)->Unit(benchmark::kMillisecond);

}  // namespace
