// The store's changes on the folder TMPDIR points at (a network share, mounted
// as tests/share/with_shares.sh mounts one), beside the same file work done
// with plain POSIX calls and the same flushes, as a share allows it: files that
// must appear whole are created exclusively and then written (no hard links),
// kept contents are copies.
//
//   TMPDIR=/mnt/share/ bench_share
//
// A folder of 999 daily-wage employees and one year of their months (18.8 MB).

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include "bench/LargeFolder.h"
#include "bench/RawFiles.h"
#include "bench/StoreBench.h"
#include "core/store/DailyBackup.h"
#include "core/store/EmployeeFiles.h"
#include "core/store/FolderLock.h"
#include "core/store/WorkDataFiles.h"

namespace {

constexpr int kEmployees = 999;
constexpr int kYear = 2024;

using bench::QuietOperator;

// The folder on the share, restored between the iterations that rebuild files.
struct Folder : bench::LargeStoreFolder {
    Folder() : LargeStoreFolder("pbshare", kEmployees, kYear) {
        files.backup->keepDays = 0;  // once a day; not what is measured here
    }
};

Folder& TheFolder() {
    static Folder folder;
    return folder;
}

// Created exclusively, then written and flushed: what appears whole where
// there are no hard links.
void CreateExclusive(const std::string& path, const std::vector<char>& bytes) {
    const int fd = raw::Open(path, O_WRONLY | O_CREAT | O_EXCL);
    if (::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
        ::fsync(fd) != 0)
        raw::Die(path);
    ::close(fd);
    raw::SyncFolderOf(path);
}

// --- saving a month: one record written in place, with its journal ---

void BM_SaveMonthOnShare(benchmark::State& state) {
    Folder& f = TheFolder();
    QuietOperator op;
    pb::MonthRecord m = bench::Month(kEmployees, 12);
    for (auto _ : state) {
        m.WorkDays = (m.WorkDays + 1) % 31;
        if (!pb::WriteMonthRecord(f.files, kYear, m, op))
            state.SkipWithError("not saved");
    }
}
BENCHMARK(BM_SaveMonthOnShare)->Unit(benchmark::kMillisecond);

void BM_RawSaveMonthOnShare(benchmark::State& state) {
    Folder& f = TheFolder();
    const std::uint64_t offset = raw::Size(f.year) - pb::kMonthRecordSize;
    const std::vector<char> journal(2 * 2 * pb::kMonthRecordSize + 120, 'j');
    const std::string journalPath = f.path + "journal";
    for (auto _ : state) {
        benchmark::DoNotOptimize(raw::Size(f.year));
        const std::vector<char> record = raw::ReadAt(f.year, offset, pb::kMonthRecordSize);
        CreateExclusive(journalPath, journal);
        raw::WriteAt(f.year, offset, record);
        raw::Unlink(journalPath);
    }
}
BENCHMARK(BM_RawSaveMonthOnShare)->Unit(benchmark::kMillisecond);

// --- registering new conditions of an employee on file ---

void BM_RegisterEmployeeOnShare(benchmark::State& state) {
    Folder& f = TheFolder();
    QuietOperator op;
    pb::EmployeeEntry entry;
    entry.Daily = bench::DailyWages(kEmployees, 1500);
    entry.Name = pb::NameRecord{bench::Id(kEmployees), "社員 " + bench::Id(kEmployees), 0, 1001};
    for (auto _ : state) {
        state.PauseTiming();
        f.Restore({"Name.dat", "DailyWages.dat"});
        state.ResumeTiming();
        if (!pb::RegisterEmployee(f.files, entry, pb::PayScheme::Daily, op))
            state.SkipWithError("not registered");
    }
}
BENCHMARK(BM_RegisterEmployeeOnShare)->Unit(benchmark::kMillisecond);

// Read both files, keep their contents (copies), write both anew, the
// journal, rename into place, flush the folder, drop the copies and the journal.
void BM_RawRegistrationOnShare(benchmark::State& state) {
    Folder& f = TheFolder();
    const pb::DataFiles& d = f.files;
    const std::vector<char> journal(300, 'j');
    for (auto _ : state) {
        state.PauseTiming();
        f.Restore({"Name.dat", "DailyWages.dat"});
        state.ResumeTiming();
        const std::vector<char> names = raw::ReadWhole(d.NameFile);
        std::vector<char> wages = raw::ReadWhole(d.DailyWagesFile);
        const std::vector<char> wage(wages.end() - pb::kDailyWagesRecordSize, wages.end());
        wages.insert(wages.end(), wage.begin(), wage.end());
        raw::Create(d.NameFile + ".old~", names);
        raw::Create(d.DailyWagesFile + ".old~",
                    std::vector<char>(wages.begin(), wages.end() - pb::kDailyWagesRecordSize));
        raw::Create(d.NameFile + ".new~", names);
        raw::Create(d.DailyWagesFile + ".new~", wages);
        CreateExclusive(f.path + "journal", journal);
        for (const std::string* path : {&d.NameFile, &d.DailyWagesFile})
            raw::Rename(*path + ".new~", *path);
        raw::SyncFolderOf(d.NameFile);
        for (const std::string* path : {&d.NameFile, &d.DailyWagesFile})
            raw::Unlink(*path + ".old~");
        raw::Unlink(f.path + "journal");
    }
}
BENCHMARK(BM_RawRegistrationOnShare)->Unit(benchmark::kMillisecond);

// --- deleting an employee: both master files and the year file rebuilt ---

void BM_DeleteEmployeeOnShare(benchmark::State& state) {
    Folder& f = TheFolder();
    QuietOperator op;
    for (auto _ : state) {
        state.PauseTiming();
        f.Restore();
        state.ResumeTiming();
        if (!pb::DeleteEmployee(f.files, bench::Id(500), op))
            state.SkipWithError("not deleted");
    }
}
BENCHMARK(BM_DeleteEmployeeOnShare)->Unit(benchmark::kMillisecond)->Iterations(3);

// The three files kept (copies) and written anew without the employee's
// records, the journal, the renames, the flush, the tidying.
void BM_RawDeletionOnShare(benchmark::State& state) {
    Folder& f = TheFolder();
    const pb::DataFiles& d = f.files;
    const std::vector<char> journal(400, 'j');
    const std::vector<std::pair<std::string, std::size_t>> files = {
        {d.NameFile, pb::kNameRecordSize},
        {d.DailyWagesFile, pb::kDailyWagesRecordSize},
        {f.year, pb::kMonthRecordSize}};
    for (auto _ : state) {
        state.PauseTiming();
        f.Restore();
        state.ResumeTiming();
        for (const auto& [path, size] : files) {
            const std::vector<char> all = raw::ReadWhole(path);
            raw::Create(path + ".old~", all);
            std::vector<char> kept;
            kept.reserve(all.size());
            for (std::size_t o = 0; o + size <= all.size(); o += size) {
                if (std::string(all.data() + o + 1, 3) != bench::Id(500))
                    kept.insert(kept.end(), all.begin() + static_cast<long>(o),
                                all.begin() + static_cast<long>(o + size));
            }
            raw::Create(path + ".new~", kept);
        }
        CreateExclusive(f.path + "journal", journal);
        for (const auto& [path, size] : files)
            raw::Rename(path + ".new~", path);
        raw::SyncFolderOf(f.year);
        for (const auto& [path, size] : files)
            raw::Unlink(path + ".old~");
        raw::Unlink(f.path + "journal");
    }
}
BENCHMARK(BM_RawDeletionOnShare)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
