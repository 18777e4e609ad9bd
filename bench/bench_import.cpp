// Importing clock times for 999 employees × 31 days into one pay month (the
// CSV read, the plan, 999 months recalculated and written in one transaction)
// beside its yardstick: the same 999 month records written with plain POSIX
// calls and the same flushes (RawFiles.h) — the year file written anew under
// a temporary name and flushed, a journal that appears whole, the rename, the
// folder flushed. The year file holds 999 employees × 12 months (18.8 MB);
// pay month January 1999 runs from December 21 to January 20 (closing day 20).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bench/LargeFolder.h"
#include "bench/RawFiles.h"
#include "core/import/ClockImport.h"
#include "core/store/Records.h"
#include "core/timecard/MonthCalc.h"
#include "core/timecard/PayPeriod.h"

namespace {

constexpr int kEmployees = 999;
constexpr int kYear = 1999;

struct Folder {
    std::string path = bench::MakeTempFolder("pbbench-import");
    std::string pristine = bench::MakeTempFolder("pbbench-import-pristine");
    std::string csv;

    Folder() {
        bench::WriteLargeFolder(pristine, kEmployees, 1, kYear);
        const std::vector<pb::PayDay> days = pb::MakePayPeriod(kYear, 1, 20, 0);
        csv = "社員番号,日付,出勤,退勤,休憩開始,休憩終了\r\n";
        for (int e = 1; e <= kEmployees; ++e) {
            for (std::size_t d = 0; d < days.size(); ++d) {
                const pb::PayDay& day = days[d];
                csv += std::to_string(e) + "," + std::to_string(day.year) + "/" +
                       std::to_string(day.month) + "/" + std::to_string(day.day) + "," +
                       (d % 3 == 0 ? "7:50,25:10," : "8:00,18:30,") + ",\r\n";
            }
        }
    }
    ~Folder() {
        std::filesystem::remove_all(path);
        std::filesystem::remove_all(pristine);
    }
    void Restore() const {
        std::filesystem::remove_all(path);
        std::filesystem::create_directory(path);
        for (const auto& entry : std::filesystem::directory_iterator(pristine))
            std::filesystem::copy_file(entry.path(), path + entry.path().filename().string());
    }
};

Folder& TheFolder() {
    static Folder folder;
    return folder;
}

void BM_ImportOf999x31Days(benchmark::State& state) {
    Folder& f = TheFolder();
    std::size_t written = 0;
    for (auto _ : state) {
        state.PauseTiming();
        f.Restore();
        const pb::DataFiles files = pb::AssignDataFiles(f.path);
        state.ResumeTiming();
        const pb::ClockFile file = pb::ReadClockCsv(f.csv, pb::ClockLayout{});
        const pb::ImportPlan plan = pb::PlanImport(files, pb::CalcSetSettings{}, file);
        written = pb::WriteImport(files, plan, pb::ImportChoice::Replace).months.size();
    }
    if (written != kEmployees)
        state.SkipWithError("not every month was written");
}
BENCHMARK(BM_ImportOf999x31Days)->Unit(benchmark::kMillisecond);

// The 999 records written over the first 999 of the year file (January's) in
// a new copy of it, flushed, then the journal, the rename and the tidying.
void BM_RawJournaledWriteOf999Months(benchmark::State& state) {
    Folder& f = TheFolder();
    std::vector<char> records;
    for (int e = 1; e <= kEmployees; ++e) {
        const pb::Bytes bytes = pb::ToBytes(bench::Month(e, 1));
        records.insert(records.end(), bytes.begin(), bytes.end());
    }
    const std::vector<char> journal(400, 'j');
    for (auto _ : state) {
        state.PauseTiming();
        f.Restore();
        const std::string year = f.path + std::to_string(kYear) + "_fv2.pbk";
        state.ResumeTiming();
        const std::string temp = year + ".new~";
        const int in = raw::Open(year, O_RDONLY);
        const int out = raw::Open(temp, O_WRONLY | O_CREAT | O_TRUNC);
        if (::write(out, records.data(), records.size()) != static_cast<ssize_t>(records.size()))
            raw::Die(temp);
        static char buffer[raw::kBuffer];
        ::lseek(in, static_cast<off_t>(records.size()), SEEK_SET);
        for (ssize_t n; (n = ::read(in, buffer, sizeof buffer)) > 0;)
            if (::write(out, buffer, static_cast<std::size_t>(n)) != n)
                raw::Die(temp);
        if (::fsync(out) != 0)
            raw::Die(temp);
        ::close(out);
        ::close(in);
        raw::Link(year, year + ".old~");
        raw::CreateWhole(f.path + "journal", journal);
        raw::Rename(temp, year);
        raw::SyncFolderOf(year);
        raw::Unlink(year + ".old~");
        raw::Unlink(f.path + "journal");
    }
}
BENCHMARK(BM_RawJournaledWriteOf999Months)->Unit(benchmark::kMillisecond);

}  // namespace
