// Processes of their own, timed from their start: the program's start-up
// (startup_punchbook) beside a process that shows an empty QMainWindow and one
// that shows one line of Japanese text (startup_empty [--label]), each until
// its first paint; the first 開始 after a start and a later one (entry_probe
// open); and the resident set of the one-label window beside the program with
// none, one or ten entry windows open (entry_probe rss N). Offscreen unless QT_QPA_PLATFORM
// says otherwise. The programs run in a temporary program folder holding the
// sample data files, or 999 employees with ten year files (…999x10). The
// Settle… benchmarks run each until the work after its first paint is done.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QUuid>
#include <algorithm>
#include <ctime>
#include <filesystem>
#include <vector>

#include "bench/LargeFolder.h"

namespace {

const QStringList kPrograms = {QStringLiteral("startup_empty"), QStringLiteral("startup_punchbook"),
                               QStringLiteral("entry_probe")};

// A program folder with the programs beside the data, as installed.
struct ProgramFolder {
    QTemporaryDir dir;
    explicit ProgramFolder(bool large) {
        const std::string path = dir.path().toStdString() + "/";
        const QString built = QCoreApplication::applicationDirPath() + QLatin1Char('/');
        if (large) {
            bench::WriteLargeFolder(path, 999, 10, 1990, (built + "NextCell.dat").toStdString());
        } else {
            const QDir samples(QFileInfo(QStringLiteral(__FILE__))
                                   .dir()
                                   .filePath(QStringLiteral("../tests/data/samples/folder")));
            for (const QString& name : samples.entryList(QDir::Files))
                QFile::copy(samples.filePath(name), dir.filePath(name));
        }
        for (const QString& program : kPrograms)
            QFile::copy(built + program, dir.filePath(program));
    }
};

ProgramFolder& Samples() {
    static ProgramFolder folder(false);
    return folder;
}
ProgramFolder& Large() {
    static ProgramFolder folder(true);
    return folder;
}

// Runs the program in the folder and returns the numbers it printed; empty
// when it failed. `started` is the moment of its start on the monotonic clock.
QList<long long> Run(const ProgramFolder& folder, const QString& program,
                     const QStringList& arguments, long long& started) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!environment.contains(QStringLiteral("QT_QPA_PLATFORM")))
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("PUNCHBOOK_INSTANCE_NAME"),
                       QStringLiteral("pbbench-") + QUuid::createUuid().toString());
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder.dir.path());
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    started = static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
    process.start(folder.dir.filePath(program), arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    QList<long long> numbers;
    for (const QByteArray& word : process.readAllStandardOutput().simplified().split(' '))
        numbers << word.toLongLong();
    return numbers;
}

// The median of what was counted in each iteration, as a counter: on a machine
// shared with other work, CPU time says what the program costs where the time
// from start to paint also says how long it waited for a processor.
void MedianCounter(benchmark::State& state, const char* name, std::vector<double> values,
                   bool bytes = false) {
    if (values.empty())
        return;
    std::sort(values.begin(), values.end());
    state.counters[name] =
        benchmark::Counter(values[values.size() / 2], benchmark::Counter::kDefaults,
                           bytes ? benchmark::Counter::kIs1024 : benchmark::Counter::kIs1000);
}

// Start until the first paint; the resident set then and the CPU time until
// then ("cpu_ms") as counters.
void TimeStarts(benchmark::State& state, const ProgramFolder& folder, const QString& program,
                const QStringList& arguments = {}) {
    std::vector<double> resident, cpu;
    for (auto _ : state) {
        long long started = 0;
        const QList<long long> printed = Run(folder, program, arguments, started);
        if (printed.size() < 3) {
            state.SkipWithError("the program did not end at its first paint");
            break;
        }
        state.SetIterationTime(static_cast<double>(printed[0] - started) / 1e9);
        resident.push_back(static_cast<double>(printed[1]));
        cpu.push_back(static_cast<double>(printed[2]) / 1e6);
    }
    MedianCounter(state, "rss", resident, true);
    MedianCounter(state, "cpu_ms", cpu);
}

void BM_StartEmptyMainWindow(benchmark::State& state) {
    TimeStarts(state, Samples(), QStringLiteral("startup_empty"));
}
BENCHMARK(BM_StartEmptyMainWindow)->Unit(benchmark::kMillisecond)->UseManualTime();

void BM_StartMainWindowWithJapaneseText(benchmark::State& state) {
    TimeStarts(state, Samples(), QStringLiteral("startup_empty"), {QStringLiteral("--label")});
}
BENCHMARK(BM_StartMainWindowWithJapaneseText)->Unit(benchmark::kMillisecond)->UseManualTime();

void BM_StartPunchbook(benchmark::State& state) {
    TimeStarts(state, Samples(), QStringLiteral("startup_punchbook"));
}
BENCHMARK(BM_StartPunchbook)->Unit(benchmark::kMillisecond)->UseManualTime();

void BM_StartPunchbook999x10(benchmark::State& state) {
    TimeStarts(state, Large(), QStringLiteral("startup_punchbook"));
}
BENCHMARK(BM_StartPunchbook999x10)->Unit(benchmark::kMillisecond)->UseManualTime();

// Start until the work after the first paint is done (--settled), beside the
// same for the first paint: "cpu_ms" the CPU time of every thread until
// idle, "paint_ms" the first paint, "longest_wait_ms" the longest a key press
// would have waited between the two, "rss" the resident set when idle.
void TimeSettles(benchmark::State& state, const ProgramFolder& folder, const QString& program,
                 QStringList arguments) {
    arguments << QStringLiteral("--settled");
    std::vector<double> resident, cpu, paint, wait;
    for (auto _ : state) {
        long long started = 0;
        const QList<long long> printed = Run(folder, program, arguments, started);
        if (printed.size() < 7) {
            state.SkipWithError("the program did not settle");
            break;
        }
        state.SetIterationTime(static_cast<double>(printed[3] - started) / 1e9);
        paint.push_back(static_cast<double>(printed[0] - started) / 1e6);
        resident.push_back(static_cast<double>(printed[4]));
        cpu.push_back(static_cast<double>(printed[5]) / 1e6);
        wait.push_back(static_cast<double>(printed[6]) / 1e6);
    }
    MedianCounter(state, "rss", resident, true);
    MedianCounter(state, "cpu_ms", cpu);
    MedianCounter(state, "paint_ms", paint);
    MedianCounter(state, "longest_wait_ms", wait);
    if (!wait.empty())
        state.counters["worst_wait_ms"] = *std::max_element(wait.begin(), wait.end());
}

void BM_SettleMainWindowWithJapaneseText(benchmark::State& state) {
    TimeSettles(state, Samples(), QStringLiteral("startup_empty"), {QStringLiteral("--label")});
}
BENCHMARK(BM_SettleMainWindowWithJapaneseText)->Unit(benchmark::kMillisecond)->UseManualTime();

void BM_SettlePunchbook999x10(benchmark::State& state) {
    TimeSettles(state, Large(), QStringLiteral("startup_punchbook"), {});
}
BENCHMARK(BM_SettlePunchbook999x10)->Unit(benchmark::kMillisecond)->UseManualTime();

// 開始 until the entry window is painted: the first after the start (`index`
// 0) or a later one (1), each from a fresh process.
void TimeEntry(benchmark::State& state, int index) {
    std::vector<double> cpu;
    for (auto _ : state) {
        long long started = 0;
        const QList<long long> printed =
            Run(Large(), QStringLiteral("entry_probe"), {QStringLiteral("open")}, started);
        if (printed.size() < 4) {
            state.SkipWithError("the entry window was not painted");
            break;
        }
        state.SetIterationTime(static_cast<double>(printed[index]) / 1e9);
        cpu.push_back(static_cast<double>(printed[2 + index]) / 1e6);
    }
    MedianCounter(state, "cpu_ms", cpu);
}

void BM_FirstEntryAfterStart999x10(benchmark::State& state) {
    TimeEntry(state, 0);
}
BENCHMARK(BM_FirstEntryAfterStart999x10)->Unit(benchmark::kMillisecond)->UseManualTime();

void BM_LaterEntry999x10(benchmark::State& state) {
    TimeEntry(state, 1);
}
BENCHMARK(BM_LaterEntry999x10)->Unit(benchmark::kMillisecond)->UseManualTime();

// The resident set with none, one and ten entry windows open (the first shows
// what the main window costs alone); the time is the whole run.
void BM_TenEntryWindows999x10(benchmark::State& state) {
    std::vector<double> resident;
    for (auto _ : state) {
        long long started = 0;
        const QList<long long> printed =
            Run(Large(), QStringLiteral("entry_probe"),
                {QStringLiteral("rss"), QString::number(state.range(0))}, started);
        if (printed.isEmpty()) {
            state.SkipWithError("the entry windows were not painted");
            break;
        }
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        state.SetIterationTime(
            static_cast<double>(static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec -
                                started) /
            1e9);
        resident.push_back(static_cast<double>(printed[0]));
    }
    MedianCounter(state, "rss", resident, true);
}
BENCHMARK(BM_TenEntryWindows999x10)
    ->Arg(0)
    ->Arg(1)
    ->Arg(10)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

}  // namespace
