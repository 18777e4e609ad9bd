// The store's operations on a large program folder — a year file of 999
// employees × 12 months (18.8 MB) and 999 registered employees — each beside
// its yardstick: the same file work done with plain POSIX calls and the same
// flushes (RawFiles.h). Run with --benchmark_enable_random_interleaving=true
// and repetitions, and compare medians of one run (scripts/bench.sh).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <thread>

#include "bench/LargeFolder.h"
#include "bench/RawFiles.h"
#include "bench/StoreBench.h"
#include "core/check/FolderCheck.h"
#include "core/month/MonthLoader.h"
#include "core/store/DailyBackup.h"
#include "core/store/EmployeeFiles.h"
#include "core/store/WorkDataFiles.h"

namespace {

constexpr int kEmployees = 999;
constexpr int kYear = 1999;

using bench::QuietOperator;
using Folder = bench::LargeStoreFolder;

// The folder as written, whatever the benchmark before changed in it.
Folder& TheFolder() {
    static Folder folder("pbbench", kEmployees, kYear);
    folder.Restore();
    return folder;
}

// Bytes read per iteration, counted by the kernel for the whole process.
class ReadCounter {
  public:
    explicit ReadCounter(benchmark::State& state)
        : state_(state), start_(raw::BytesReadByProcess()) {}
    ~ReadCounter() {
        state_.counters["read_per_op"] = benchmark::Counter(
            static_cast<double>(raw::BytesReadByProcess() - start_) /
                static_cast<double>(std::max<benchmark::IterationCount>(state_.iterations(), 1)),
            benchmark::Counter::kDefaults, benchmark::Counter::kIs1024);
    }

  private:
    benchmark::State& state_;
    std::uint64_t start_;
};

// --- finding a month: what each selection step in the main window does ---

void BM_FindMonthIndex(benchmark::State& state) {
    Folder& f = TheFolder();
    pb::FindMonthIndex(f.files, bench::Id(kEmployees), kYear, 12);  // the year is known by now
    int n = 0;
    ReadCounter reads(state);
    for (auto _ : state) {
        n = n % kEmployees + 1;
        benchmark::DoNotOptimize(pb::FindMonthIndex(f.files, bench::Id(n), kYear, 12));
    }
}
BENCHMARK(BM_FindMonthIndex)->Unit(benchmark::kMicrosecond);

// What any lookup must do to notice that another program changed the file.
void BM_RawStatOfTheYearFile(benchmark::State& state) {
    Folder& f = TheFolder();
    for (auto _ : state)
        benchmark::DoNotOptimize(raw::Size(f.year));
}
BENCHMARK(BM_RawStatOfTheYearFile)->Unit(benchmark::kMicrosecond);

// The first look at a year: its index is built.
void BM_FindMonthIndexFirstLook(benchmark::State& state) {
    Folder& f = TheFolder();
    ReadCounter reads(state);
    for (auto _ : state) {
        const pb::DataFiles fresh = pb::AssignDataFiles(f.path);
        benchmark::DoNotOptimize(pb::FindMonthIndex(fresh, bench::Id(kEmployees), kYear, 12));
    }
}
BENCHMARK(BM_FindMonthIndexFirstLook)->Unit(benchmark::kMillisecond);

void BM_RawReadOfTheYearFile(benchmark::State& state) {
    Folder& f = TheFolder();
    for (auto _ : state)
        benchmark::DoNotOptimize(raw::ReadThrough(f.year));
}
BENCHMARK(BM_RawReadOfTheYearFile)->Unit(benchmark::kMillisecond);

// The check of the whole folder: every record of the master files and of the
// year file, read once in pieces; its yardstick is the raw read above.
void BM_CheckFolder(benchmark::State& state) {
    Folder& f = TheFolder();
    if (!pb::CheckFolder(f.files).Sound())
        state.SkipWithError("the large folder should be sound");
    ReadCounter reads(state);
    for (auto _ : state)
        benchmark::DoNotOptimize(pb::CheckFolder(f.files));
}
BENCHMARK(BM_CheckFolder)->Unit(benchmark::kMillisecond);

// --- reading and saving one month: 開始 and 記録 ---

void BM_ReadMonthRecord(benchmark::State& state) {
    Folder& f = TheFolder();
    pb::FindMonthIndex(f.files, bench::Id(kEmployees), kYear, 12);
    int n = 0;
    ReadCounter reads(state);
    for (auto _ : state) {
        n = n % kEmployees + 1;
        benchmark::DoNotOptimize(pb::ReadMonthRecord(f.files, bench::Id(n), kYear, 12));
    }
}
BENCHMARK(BM_ReadMonthRecord)->Unit(benchmark::kMicrosecond);

// What 開始 reads once the year is indexed: the month, its name and its wage record.
void BM_OpenMonthOnceIndexed(benchmark::State& state) {
    Folder& f = TheFolder();
    pb::IndexYear(f.files, kYear);
    const pb::CalcSetSettings rules;
    int n = 0;
    ReadCounter reads(state);
    for (auto _ : state) {
        n = n % kEmployees + 1;
        benchmark::DoNotOptimize(pb::OpenMonth(f.files, rules, bench::Id(n), kYear, 12, false));
    }
}
BENCHMARK(BM_OpenMonthOnceIndexed)->Unit(benchmark::kMicrosecond);

// The look-ups of a selection step in the panel: the name and whether the month is stored.
void BM_SelectionStepLookups(benchmark::State& state) {
    Folder& f = TheFolder();
    pb::IndexYear(f.files, kYear);
    int n = 0;
    ReadCounter reads(state);
    for (auto _ : state) {
        n = n % kEmployees + 1;
        benchmark::DoNotOptimize(pb::FindEmployeeName(f.files, bench::Id(n), pb::PayScheme::Daily));
        benchmark::DoNotOptimize(pb::FindMonthIndex(f.files, bench::Id(n), kYear, 12));
    }
}
BENCHMARK(BM_SelectionStepLookups)->Unit(benchmark::kMicrosecond);

void BM_RawReadOfOneRecord(benchmark::State& state) {
    Folder& f = TheFolder();
    int n = 0;
    for (auto _ : state) {
        n = n % kEmployees + 1;
        benchmark::DoNotOptimize(raw::Size(f.year));
        benchmark::DoNotOptimize(raw::ReadAt(
            f.year, (11 * kEmployees + n - 1) * pb::kMonthRecordSize, pb::kMonthRecordSize));
    }
}
BENCHMARK(BM_RawReadOfOneRecord)->Unit(benchmark::kMicrosecond);

void BM_WriteMonthRecordReplacingTheLast(benchmark::State& state) {
    Folder& f = TheFolder();
    QuietOperator op;
    pb::MonthRecord m = bench::Month(kEmployees, 12);
    ReadCounter reads(state);
    for (auto _ : state) {
        m.WorkDays = (m.WorkDays + 1) % 31;
        pb::WriteMonthRecord(f.files, kYear, m, op);
    }
}
BENCHMARK(BM_WriteMonthRecordReplacingTheLast)->Unit(benchmark::kMillisecond);

// A durable in-place write of a record that was read first.
void BM_RawWriteOfOneRecord(benchmark::State& state) {
    Folder& f = TheFolder();
    const std::uint64_t offset = raw::Size(f.year) - pb::kMonthRecordSize;
    for (auto _ : state) {
        benchmark::DoNotOptimize(raw::Size(f.year));
        const std::vector<char> record = raw::ReadAt(f.year, offset, pb::kMonthRecordSize);
        raw::WriteAt(f.year, offset, record);
    }
}
BENCHMARK(BM_RawWriteOfOneRecord)->Unit(benchmark::kMillisecond);

// The same with the journal that lets the next start take back a write cut
// short: the record's bytes before and after, in hex, in a small file that
// appears whole, removed after the write.
void BM_RawJournaledWriteOfOneRecord(benchmark::State& state) {
    Folder& f = TheFolder();
    const std::uint64_t offset = raw::Size(f.year) - pb::kMonthRecordSize;
    const std::vector<char> journal(2 * 2 * pb::kMonthRecordSize + 120, 'j');
    const std::string journalPath = f.path + "journal";
    for (auto _ : state) {
        benchmark::DoNotOptimize(raw::Size(f.year));
        const std::vector<char> record = raw::ReadAt(f.year, offset, pb::kMonthRecordSize);
        raw::CreateWhole(journalPath, journal);
        raw::WriteAt(f.year, offset, record);
        raw::Unlink(journalPath);
    }
}
BENCHMARK(BM_RawJournaledWriteOfOneRecord)->Unit(benchmark::kMillisecond);

// The floor of saving a month: its record's bytes written once in place, one flush.
void BM_FloorOfSavingAMonth(benchmark::State& state) {
    Folder& f = TheFolder();
    const std::uint64_t offset = raw::Size(f.year) - pb::kMonthRecordSize;
    pb::MonthRecord m = bench::Month(kEmployees, 12);
    for (auto _ : state) {
        m.WorkDays = (m.WorkDays + 1) % 31;
        const pb::Bytes bytes = pb::ToBytes(m);
        raw::WriteOnceFlushOnce(f.year, offset, std::vector<char>(bytes.begin(), bytes.end()));
    }
}
BENCHMARK(BM_FloorOfSavingAMonth)->Unit(benchmark::kMillisecond);

// --- deleting one stored month: the year file is rebuilt ---

void BM_PurgeMonthRecordsOfOneMonth(benchmark::State& state) {
    Folder& f = TheFolder();
    QuietOperator op;
    for (auto _ : state) {
        state.PauseTiming();
        f.Restore();
        state.ResumeTiming();
        pb::PurgeMonthRecords(f.files, bench::Id(500), kYear, 6, op);
    }
}
BENCHMARK(BM_PurgeMonthRecordsOfOneMonth)->Unit(benchmark::kMillisecond);

void BM_RawDurableCopyOfTheYearFile(benchmark::State& state) {
    Folder& f = TheFolder();
    for (auto _ : state) {
        state.PauseTiming();
        f.Restore();
        state.ResumeTiming();
        raw::CopyDurably(f.year, f.files.WorkFile(kYear) + ".tmp", f.year);
    }
}
BENCHMARK(BM_RawDurableCopyOfTheYearFile)->Unit(benchmark::kMillisecond);

// The floor of deleting that month: the records after it moved down in place
// (each byte that must change written once), the file cut and flushed once.
void BM_FloorOfDeletingOneMonth(benchmark::State& state) {
    Folder& f = TheFolder();
    const pb::Bytes key = pb::ToBytes(bench::Month(500, 6));
    for (auto _ : state) {
        state.PauseTiming();
        f.Restore();
        state.ResumeTiming();
        raw::CompactOnceFlushOnce(f.year, pb::kMonthRecordSize, [&](const char* record) {
            return std::memcmp(record, key.data(), 4) == 0 &&
                   std::memcmp(record + pb::kMonthOffset, key.data() + pb::kMonthOffset, 2) == 0;
        });
    }
}
BENCHMARK(BM_FloorOfDeletingOneMonth)->Unit(benchmark::kMillisecond);

// --- registering new conditions of an employee on file ---

void BM_RegisterEmployeeChangedOf999(benchmark::State& state) {
    Folder& f = TheFolder();
    QuietOperator op;
    pb::EmployeeEntry entry;
    entry.Daily = bench::DailyWages(kEmployees, 1500);
    entry.Name = pb::NameRecord{bench::Id(kEmployees), "社員 " + bench::Id(kEmployees), 0, 1001};
    for (auto _ : state) {
        state.PauseTiming();
        f.Restore();
        state.ResumeTiming();
        if (!pb::RegisterEmployee(f.files, entry, pb::PayScheme::Daily, op))
            state.SkipWithError("not registered");
    }
}
BENCHMARK(BM_RegisterEmployeeChangedOf999)->Unit(benchmark::kMillisecond);

// The file work of such a registration with its flushes: read both files,
// keep their present content under second names (links), write both anew
// under temporary names, write the journal, rename the new files into place,
// flush the folder, drop the second names and the journal.
void BM_RawRegistrationFileWork(benchmark::State& state) {
    Folder& f = TheFolder();
    const pb::DataFiles& d = f.files;
    const std::vector<char> journal(300, 'j');
    for (auto _ : state) {
        state.PauseTiming();
        f.Restore();
        state.ResumeTiming();
        const std::vector<char> names = raw::ReadWhole(d.NameFile);
        std::vector<char> wages = raw::ReadWhole(d.DailyWagesFile);
        const std::vector<char> wage(wages.end() - pb::kDailyWagesRecordSize, wages.end());
        wages.insert(wages.end(), wage.begin(), wage.end());
        for (const std::string* path : {&d.NameFile, &d.DailyWagesFile})
            raw::Link(*path, *path + ".old~");
        raw::Create(d.NameFile + ".new~", names);
        raw::Create(d.DailyWagesFile + ".new~", wages);
        raw::CreateWhole(f.path + "journal", journal);
        for (const std::string* path : {&d.NameFile, &d.DailyWagesFile})
            raw::Rename(*path + ".new~", *path);
        raw::SyncFolderOf(d.NameFile);
        for (const std::string* path : {&d.NameFile, &d.DailyWagesFile})
            raw::Unlink(*path + ".old~");
        raw::Unlink(f.path + "journal");
    }
}
BENCHMARK(BM_RawRegistrationFileWork)->Unit(benchmark::kMillisecond);

// The floor of that registration: the bytes that must change written once,
// one flush of each file: the name record's wage code (the last record), the
// wage record in force no longer in force and the new generation after it.
void BM_FloorOfRegistering(benchmark::State& state) {
    Folder& f = TheFolder();
    const pb::DataFiles& d = f.files;
    pb::DailyWagesRecord before = bench::DailyWages(kEmployees);
    before.Current = 0;
    pb::DailyWagesRecord after = bench::DailyWages(kEmployees, 1500);
    after.Generation = 2;
    pb::Bytes wages = pb::ToBytes(before);
    bench::AppendBytes(wages, pb::ToBytes(after));
    const pb::Bytes name = pb::ToBytes(
        pb::NameRecord{bench::Id(kEmployees), "社員 " + bench::Id(kEmployees), 0, 1002});
    for (auto _ : state) {
        state.PauseTiming();
        f.Restore();
        state.ResumeTiming();
        raw::WriteOnceFlushOnce(d.NameFile, raw::Size(d.NameFile) - pb::kNameRecordSize,
                                std::vector<char>(name.begin(), name.end()));
        raw::WriteOnceFlushOnce(d.DailyWagesFile,
                                raw::Size(d.DailyWagesFile) - pb::kDailyWagesRecordSize,
                                std::vector<char>(wages.begin(), wages.end()));
    }
}
BENCHMARK(BM_FloorOfRegistering)->Unit(benchmark::kMillisecond);

// --- the daily backup of a folder with thirty years of 999 employees ---

// Thirty year files of 18.8 MB (564 MB), last changed long enough ago for the
// backup to trust their stamps, as on any working day.
struct YearsFolder {
    std::string path = bench::MakeTempFolder("pbbench-years");
    pb::DataFiles files = pb::AssignDataFiles(path);
    YearsFolder() {
        bench::WriteLargeFolder(path, kEmployees, 30, kYear);
        std::this_thread::sleep_for(std::chrono::milliseconds(3100));
    }
    ~YearsFolder() { std::filesystem::remove_all(path); }
    void Forget(const char* day) const { std::filesystem::remove_all(path + "backup/" + day); }
};

YearsFolder& TheYears() {
    static YearsFolder folder;
    return folder;
}

// The first backup ever: every file copied.
void BM_FirstDailyBackupOf30Years(benchmark::State& state) {
    YearsFolder& f = TheYears();
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove_all(f.path + "backup");
        state.ResumeTiming();
        pb::BackUpBeforeChange(f.files, "2024-05-01", 14);
    }
}
BENCHMARK(BM_FirstDailyBackupOf30Years)->Unit(benchmark::kMillisecond)->Iterations(3);

// The next day's backup with one year changed: that file copied, the others linked.
void BM_NextDailyBackupOf30YearsOneChanged(benchmark::State& state) {
    YearsFolder& f = TheYears();
    std::filesystem::remove_all(f.path + "backup");
    pb::BackUpBeforeChange(f.files, "2024-05-01", 14);
    const pb::MonthRecord month = bench::Month(1, 1);
    raw::WriteAt(f.files.WorkFile(kYear + 29), 0, [&] {
        const pb::Bytes bytes = pb::ToBytes(month);
        return std::vector<char>(bytes.begin(), bytes.end());
    }());
    for (auto _ : state) {
        state.PauseTiming();
        f.Forget("2024-05-02");
        state.ResumeTiming();
        pb::BackUpBeforeChange(f.files, "2024-05-02", 14);
    }
}
BENCHMARK(BM_NextDailyBackupOf30YearsOneChanged)->Unit(benchmark::kMillisecond)->Iterations(5);

// --- a working day's backup at 999 × 10: the year typed into changed ---

// Ten year files, settled, with yesterday's backup; the last year changed since.
struct TenYears {
    std::string path = bench::MakeTempFolder("pbbench-tenyears");
    pb::DataFiles files = pb::AssignDataFiles(path);
    std::string changed = files.WorkFile(kYear + 9);
    TenYears() {
        bench::WriteLargeFolder(path, kEmployees, 10, kYear);
        std::this_thread::sleep_for(std::chrono::milliseconds(3100));
        pb::BackUpBeforeChange(files, "2024-05-01", 14);
        const pb::Bytes bytes = pb::ToBytes(bench::Month(1, 1));
        raw::WriteAt(changed, 0, std::vector<char>(bytes.begin(), bytes.end()));
    }
    ~TenYears() { std::filesystem::remove_all(path); }
};

TenYears& TheTenYears() {
    static TenYears folder;
    return folder;
}

// Times `work` with the memory it needs above what the process held before it.
template <typename Work>
void TimeWithPeak(benchmark::State& state, const Work& work) {
    double peakAbove = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::uint64_t idle = raw::ResidentMemory();
        raw::ResetPeakMemory();
        state.ResumeTiming();
        work(state);
        state.PauseTiming();
        peakAbove = std::max(peakAbove, static_cast<double>(raw::PeakMemory() - idle));
        state.ResumeTiming();
    }
    state.counters["peak_above_idle"] =
        benchmark::Counter(peakAbove, benchmark::Counter::kDefaults, benchmark::Counter::kIs1024);
}

// The first change of the day: the changed year copied, the rest linked.
void BM_DailyBackupOneYearChanged999x10(benchmark::State& state) {
    TenYears& f = TheTenYears();
    TimeWithPeak(state, [&](benchmark::State& s) {
        s.PauseTiming();
        std::filesystem::remove_all(f.path + "backup/2024-05-02");
        s.ResumeTiming();
        if (!pb::BackUpBeforeChange(f.files, "2024-05-02", 14))
            s.SkipWithError("no backup made");
    });
}
BENCHMARK(BM_DailyBackupOneYearChanged999x10)->Unit(benchmark::kMillisecond);

// Its floor: that one file copied durably through a 64 KiB buffer.
void BM_RawDurableCopyOfTheChangedYear(benchmark::State& state) {
    TenYears& f = TheTenYears();
    const std::string copy = f.path + "backup/raw-copy";
    TimeWithPeak(state,
                 [&](benchmark::State&) { raw::CopyDurably(f.changed, copy + ".tmp", copy); });
    std::filesystem::remove(copy);
}
BENCHMARK(BM_RawDurableCopyOfTheChangedYear)->Unit(benchmark::kMillisecond);

}  // namespace
