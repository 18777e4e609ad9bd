// Start to first paint: the program's start-up (startup_punchbook) beside a
// process that shows an empty QMainWindow (startup_empty), both started the
// same way; timed from starting the process to the first paint of its window. Offscreen unless
// QT_QPA_PLATFORM says otherwise (e.g. xcb under xvfb-run). The programs run in a temporary program
// folder holding the sample data files.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QUuid>
#include <ctime>

namespace {

QString CopyIntoFolder(const QTemporaryDir& folder, const QString& program) {
    const QString source = QCoreApplication::applicationDirPath() + QLatin1Char('/') + program;
    const QString copy = folder.filePath(program);
    QFile::copy(source, copy);
    return copy;
}

void TimeStarts(benchmark::State& state, const QString& program,
                const QStringList& arguments = {}) {
    QTemporaryDir folder;
    const QDir samples(QFileInfo(QStringLiteral(__FILE__))
                           .dir()
                           .filePath(QStringLiteral("../tests/data/samples/folder")));
    for (const QString& name : samples.entryList(QDir::Files))
        QFile::copy(samples.filePath(name), folder.filePath(name));
    const QString path = CopyIntoFolder(folder, program);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!environment.contains(QStringLiteral("QT_QPA_PLATFORM")))
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("PUNCHBOOK_INSTANCE_NAME"),
                       QStringLiteral("pbbench-") + QUuid::createUuid().toString());
    for (auto _ : state) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(folder.path());
        timespec started{};
        clock_gettime(CLOCK_MONOTONIC, &started);
        process.start(path, arguments);
        if (!process.waitForFinished(30000) || process.exitCode() != 0) {
            state.SkipWithError("the program did not end at its first paint");
            break;
        }
        // The child printed the moment of its first paint; its exit is not counted.
        const long long painted = process.readAllStandardOutput().trimmed().toLongLong();
        const long long start =
            static_cast<long long>(started.tv_sec) * 1000000000LL + started.tv_nsec;
        state.SetIterationTime(static_cast<double>(painted - start) / 1e9);
    }
}

void BM_StartEmptyMainWindow(benchmark::State& state) {
    TimeStarts(state, QStringLiteral("startup_empty"));
}
BENCHMARK(BM_StartEmptyMainWindow)->Unit(benchmark::kMillisecond)->UseManualTime();

void BM_StartMainWindowWithJapaneseText(benchmark::State& state) {
    TimeStarts(state, QStringLiteral("startup_empty"), {QStringLiteral("--label")});
}
BENCHMARK(BM_StartMainWindowWithJapaneseText)->Unit(benchmark::kMillisecond)->UseManualTime();

void BM_StartPunchbook(benchmark::State& state) {
    TimeStarts(state, QStringLiteral("startup_punchbook"));
}
BENCHMARK(BM_StartPunchbook)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace
