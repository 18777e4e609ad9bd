// Deleting an employee from a folder of 999 employees × 30 year files (564 MB):
// its time beside one durable raw copy of every file the deletion rewrites, and
// the memory it needs above what the process held before (the peak of the
// resident set, reset before each deletion). Each iteration deletes another
// employee, so every year file holds months of the one deleted.
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "bench/LargeFolder.h"
#include "bench/RawFiles.h"
#include "bench/StoreBench.h"
#include "core/store/EmployeeFiles.h"

namespace {

constexpr int kEmployees = 999;
constexpr int kYears = 30;
constexpr int kFirstYear = 1990;

using bench::QuietOperator;

struct Folder {
    std::string path = bench::MakeTempFolder("pbbench-delete");
    pb::DataFiles files = pb::AssignDataFiles(path);
    int next = kEmployees;

    Folder() { bench::WriteLargeFolder(path, kEmployees, kYears, kFirstYear); }
    ~Folder() { std::filesystem::remove_all(path); }
};

Folder& TheFolder() {
    static Folder folder;
    return folder;
}

void BM_DeleteEmployeeOf999x30(benchmark::State& state) {
    Folder& f = TheFolder();
    QuietOperator op;
    double peakAbove = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::uint64_t idle = raw::ResidentMemory();
        raw::ResetPeakMemory();
        const std::string id = bench::Id(f.next--);
        state.ResumeTiming();
        if (!pb::DeleteEmployee(f.files, id, op))
            state.SkipWithError("not deleted");
        state.PauseTiming();
        peakAbove = std::max(peakAbove, static_cast<double>(raw::PeakMemory() - idle));
        state.ResumeTiming();
    }
    state.counters["peak_above_idle"] =
        benchmark::Counter(peakAbove, benchmark::Counter::kDefaults, benchmark::Counter::kIs1024);
}
BENCHMARK(BM_DeleteEmployeeOf999x30)->Unit(benchmark::kMillisecond)->Iterations(1);

// Every file the deletion rewrites, copied once durably.
void BM_RawDurableCopyOfTheAffectedFiles(benchmark::State& state) {
    Folder& f = TheFolder();
    double peakAbove = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::uint64_t idle = raw::ResidentMemory();
        raw::ResetPeakMemory();
        state.ResumeTiming();
        raw::CopyDurably(f.files.NameFile, f.files.NameFile + ".bak", f.files.NameFile);
        raw::CopyDurably(f.files.DailyWagesFile, f.files.DailyWagesFile + ".bak",
                         f.files.DailyWagesFile);
        for (int y = kFirstYear; y < kFirstYear + kYears; ++y)
            raw::CopyDurably(f.files.WorkFile(y), f.files.WorkFile(y) + ".tmp",
                             f.files.WorkFile(y));
        state.PauseTiming();
        peakAbove = std::max(peakAbove, static_cast<double>(raw::PeakMemory() - idle));
        state.ResumeTiming();
    }
    state.counters["peak_above_idle"] =
        benchmark::Counter(peakAbove, benchmark::Counter::kDefaults, benchmark::Counter::kIs1024);
}
BENCHMARK(BM_RawDurableCopyOfTheAffectedFiles)->Unit(benchmark::kMillisecond)->Iterations(1);

// The floor of such a deletion, done for the next employee: in each file the
// records after the employee's first move down in place (each byte that must
// change written once), the file is cut and flushed once.
void BM_FloorOfDeletingAnEmployee(benchmark::State& state) {
    Folder& f = TheFolder();
    for (auto _ : state) {
        state.PauseTiming();
        const std::string id = bench::Id(f.next--);
        state.ResumeTiming();
        // The stored ID: its length, then its three characters.
        const auto goes = [&](const char* record) {
            return record[0] == 3 && std::memcmp(record + 1, id.data(), 3) == 0;
        };
        raw::CompactOnceFlushOnce(f.files.NameFile, pb::kNameRecordSize, goes);
        raw::CompactOnceFlushOnce(f.files.DailyWagesFile, pb::kDailyWagesRecordSize, goes);
        for (int y = kFirstYear; y < kFirstYear + kYears; ++y)
            raw::CompactOnceFlushOnce(f.files.WorkFile(y), pb::kMonthRecordSize, goes);
    }
}
BENCHMARK(BM_FloorOfDeletingAnEmployee)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
