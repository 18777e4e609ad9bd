// The table of one month of every employee (punchbook-export --all, the
// window's export of all employees) at 10, 100 and 999 employees, each beside
// its floors: a plain read of the files it needs (Name.dat, the wage file, the
// year file) and the bytes of what it uses (the master files and one month
// record per employee). Each run starts without indexes, as the exporter does.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <string>

#include "bench/LargeFolder.h"
#include "bench/RawFiles.h"
#include "core/export/SummaryExport.h"
#include "core/store/Records.h"

namespace {

constexpr int kYear = 1999;
constexpr int kMonth = 12;

struct Folder {
    std::string path = bench::MakeTempFolder("pbbench-export");
    explicit Folder(int employees) { bench::WriteLargeFolder(path, employees, 1, kYear); }
    ~Folder() { std::filesystem::remove_all(path); }
    std::string File(const char* name) const { return path + name; }
};

const Folder& FolderOf(int employees) {
    static std::map<int, Folder> folders;
    return folders.try_emplace(employees, employees).first->second;
}

void PerOp(benchmark::State& state, const char* name, double bytes) {
    state.counters[name] =
        benchmark::Counter(bytes, benchmark::Counter::kDefaults, benchmark::Counter::kIs1024);
}

void BM_ExportAllOfAMonth(benchmark::State& state) {
    const int employees = static_cast<int>(state.range(0));
    const Folder& f = FolderOf(employees);
    const pb::CalcSetSettings rules;
    const std::uint64_t start = raw::BytesReadByProcess();
    std::size_t rows = 0;
    for (auto _ : state) {
        const pb::DataFiles files = pb::AssignDataFiles(f.path);
        const pb::SummaryTable table =
            pb::CollectSchemeMonth(files, rules, pb::kBothSchemes, kYear, kMonth);
        rows = table.rows.size();
        benchmark::DoNotOptimize(pb::SummaryCsv(table));
    }
    if (rows != static_cast<std::size_t>(employees))
        state.SkipWithError("a row is missing");
    const double iterations =
        static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
    PerOp(state, "read_per_op",
          static_cast<double>(raw::BytesReadByProcess() - start) / iterations);
    // What it uses: the master files and one month record per employee.
    PerOp(state, "records_used",
          static_cast<double>(raw::Size(f.File("Name.dat")) + raw::Size(f.File("DailyWages.dat")) +
                              rows * pb::kMonthRecordSize));
}
BENCHMARK(BM_ExportAllOfAMonth)->Arg(10)->Arg(100)->Arg(999)->Unit(benchmark::kMillisecond);

// `cat Name.dat DailyWages.dat 1999_fv2.pbk`.
void BM_RawCatOfTheFilesItNeeds(benchmark::State& state) {
    const Folder& f = FolderOf(static_cast<int>(state.range(0)));
    const std::uint64_t start = raw::BytesReadByProcess();
    for (auto _ : state) {
        for (const char* name : {"Name.dat", "DailyWages.dat", "1999_fv2.pbk"})
            benchmark::DoNotOptimize(raw::ReadThrough(f.File(name)));
    }
    PerOp(state, "read_per_op",
          static_cast<double>(raw::BytesReadByProcess() - start) /
              static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1)));
}
BENCHMARK(BM_RawCatOfTheFilesItNeeds)->Arg(10)->Arg(100)->Arg(999)->Unit(benchmark::kMillisecond);

}  // namespace
