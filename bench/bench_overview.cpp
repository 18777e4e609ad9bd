// The month overview of 999 employees: opened (no index yet, as when the
// window opens on a year first looked at) and refreshed (the year's index
// kept, as when a save makes the window read again). Beside the time, the
// bytes read against what the table uses: the master files and that pay
// month's record of each employee.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "bench/LargeFolder.h"
#include "bench/RawFiles.h"
#include "core/overview/MonthOverview.h"
#include "core/store/Records.h"

namespace {

constexpr int kEmployees = 999;
constexpr int kYear = 1999;
constexpr int kMonth = 12;

struct Folder {
    std::string path = bench::MakeTempFolder("pbbench-overview");
    Folder() { bench::WriteLargeFolder(path, kEmployees, 1, kYear); }
    ~Folder() { std::filesystem::remove_all(path); }
    std::string File(const char* name) const { return path + name; }
};

const Folder& TheFolder() {
    static Folder folder;
    return folder;
}

void Counters(benchmark::State& state, std::uint64_t start, std::size_t rows) {
    const Folder& f = TheFolder();
    const double iterations =
        static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
    state.counters["read_per_op"] =
        benchmark::Counter(static_cast<double>(raw::BytesReadByProcess() - start) / iterations,
                           benchmark::Counter::kDefaults, benchmark::Counter::kIs1024);
    state.counters["records_used"] = benchmark::Counter(
        static_cast<double>(raw::Size(f.File("Name.dat")) + raw::Size(f.File("DailyWages.dat")) +
                            rows * pb::kMonthRecordSize),
        benchmark::Counter::kDefaults, benchmark::Counter::kIs1024);
    if (rows != static_cast<std::size_t>(kEmployees))
        state.SkipWithError("a row is missing");
}

// Every row and every cell the window shows.
std::size_t Table(const pb::DataFiles& files) {
    const pb::MonthOverview overview =
        pb::CollectMonthOverview(files, pb::CalcSetSettings{}, pb::PayScheme::Daily, kYear, kMonth);
    for (const pb::OverviewRow& row : overview.rows)
        benchmark::DoNotOptimize(pb::OverviewCells(row, overview.scheme));
    return overview.rows.size();
}

void BM_OverviewOpened(benchmark::State& state) {
    const Folder& f = TheFolder();
    const std::uint64_t start = raw::BytesReadByProcess();
    std::size_t rows = 0;
    for (auto _ : state) {
        const pb::DataFiles files = pb::AssignDataFiles(f.path);
        rows = Table(files);
    }
    Counters(state, start, rows);
}
BENCHMARK(BM_OverviewOpened)->Unit(benchmark::kMillisecond);

void BM_OverviewRefreshed(benchmark::State& state) {
    const Folder& f = TheFolder();
    const pb::DataFiles files = pb::AssignDataFiles(f.path);
    Table(files);  // the window has read the month once
    const std::uint64_t start = raw::BytesReadByProcess();
    std::size_t rows = 0;
    for (auto _ : state)
        rows = Table(files);
    Counters(state, start, rows);
}
BENCHMARK(BM_OverviewRefreshed)->Unit(benchmark::kMillisecond);

}  // namespace
