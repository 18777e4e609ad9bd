// The store's operations on a large program folder — a year file of 999
// employees × 12 months (18.8 MB) and 999 registered employees — each beside the
// raw file-system work on the same bytes, so the ratio shows what the record
// handling costs on top of the I/O.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/common/Routines.h"
#include "core/store/EmployeeFiles.h"
#include "core/store/WorkDataFiles.h"

namespace {

constexpr int kEmployees = 999;
constexpr int kYear = 2024;

class QuietOperator final : public pb::Operator {
  public:
    pb::Reply Warning(const std::string&, pb::Buttons) override { return pb::Reply::Yes; }
    void Information(const std::string&) override {}
    bool Question(const std::string&) override { return true; }
    void Error(const std::string& text) override { throw std::runtime_error(text); }
    bool ConfirmDailyUpdate(const pb::PendingDailyRegistration&) override { return true; }
    bool ConfirmTimeUpdate(const pb::PendingTimeRegistration&) override { return true; }
};

std::string Id(int n) {
    return pb::PadNumber(n, 3);
}

pb::Bytes Join(const std::vector<pb::Bytes>& parts) {
    pb::Bytes all;
    for (const auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

pb::DailyWagesRecord Daily(int n, int overPay) {
    pb::DailyWagesRecord r;
    r.ID = Id(n);
    r.Current = 1;
    r.Generation = 1;
    r.WorkType = 7;
    r.WeekdayOverPay = overPay;
    return r;
}

// One program folder for the whole run, with pristine copies to restore from.
struct Folder {
    std::string path;
    pb::DataFiles files;
    pb::Bytes year, names, daily;

    Folder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "pbbenchXXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort();
        path = pattern + "/";
        files = pb::AssignDataFiles(path);
        std::vector<pb::Bytes> months, nameRecords, dailyRecords;
        for (int month = 1; month <= 12; ++month) {
            for (int n = 1; n <= kEmployees; ++n) {
                pb::MonthRecord m;
                m.ID = Id(n);
                m.PayScheme = 1;
                m.Month = static_cast<std::uint16_t>(month);
                m.DayCount = 31;
                for (int row = 0; row < 31; ++row) {
                    m.Cells[0][row] = "08:30";
                    m.Cells[1][row] = "17:45";
                }
                months.push_back(pb::ToBytes(m));
            }
        }
        for (int n = 1; n <= kEmployees; ++n) {
            nameRecords.push_back(pb::ToBytes(pb::NameRecord{Id(n), "従業員", 0, 1001}));
            dailyRecords.push_back(pb::ToBytes(Daily(n, 1200)));
        }
        year = Join(months);
        names = Join(nameRecords);
        daily = Join(dailyRecords);
        Restore();
    }
    ~Folder() { std::filesystem::remove_all(path); }

    void Restore() {
        pb::RealFileSystem().Replace(files.WorkFile(kYear), year);
        pb::RealFileSystem().Replace(files.NameFile, names);
        pb::RealFileSystem().Replace(files.DailyWagesFile, daily);
    }
};

Folder& TheFolder() {
    static Folder folder;
    return folder;
}

void BM_FindMonthIndexOfTheLastRecord(benchmark::State& state) {
    Folder& f = TheFolder();
    for (auto _ : state)
        benchmark::DoNotOptimize(pb::FindMonthIndex(f.files, Id(kEmployees), kYear, 12));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(f.year.size()));
}
BENCHMARK(BM_FindMonthIndexOfTheLastRecord)->Unit(benchmark::kMillisecond);

void BM_RawReadOfTheYearFile(benchmark::State& state) {
    Folder& f = TheFolder();
    for (auto _ : state)
        benchmark::DoNotOptimize(pb::RealFileSystem().ReadAll(f.files.WorkFile(kYear)));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(f.year.size()));
}
BENCHMARK(BM_RawReadOfTheYearFile)->Unit(benchmark::kMillisecond);

void BM_WriteMonthRecordReplacingTheLast(benchmark::State& state) {
    Folder& f = TheFolder();
    QuietOperator op;
    pb::MonthRecord m = pb::MonthRecordFromBytes(f.year, f.year.size() - pb::kMonthRecordSize);
    for (auto _ : state) {
        m.WorkDays = (m.WorkDays + 1) % 31;
        pb::WriteMonthRecord(f.files, kYear, m, op);
    }
}
BENCHMARK(BM_WriteMonthRecordReplacingTheLast)->Unit(benchmark::kMillisecond);

// What any writer must do: read the file to find the record, write it in place.
void BM_RawReadAndWriteOfOneRecord(benchmark::State& state) {
    Folder& f = TheFolder();
    const pb::Bytes record(f.year.end() - pb::kMonthRecordSize, f.year.end());
    for (auto _ : state) {
        benchmark::DoNotOptimize(pb::RealFileSystem().ReadAll(f.files.WorkFile(kYear)));
        pb::RealFileSystem().WriteAt(f.files.WorkFile(kYear), f.year.size() - record.size(),
                                     record);
    }
}
BENCHMARK(BM_RawReadAndWriteOfOneRecord)->Unit(benchmark::kMillisecond);

void BM_PurgeMonthRecordsOfOneMonth(benchmark::State& state) {
    Folder& f = TheFolder();
    QuietOperator op;
    for (auto _ : state) {
        state.PauseTiming();
        pb::RealFileSystem().Replace(f.files.WorkFile(kYear), f.year);
        state.ResumeTiming();
        pb::PurgeMonthRecords(f.files, Id(500), kYear, 6, op);
    }
}
BENCHMARK(BM_PurgeMonthRecordsOfOneMonth)->Unit(benchmark::kMillisecond);

// A purge reads the file and writes it anew beside it: a raw copy.
void BM_RawCopyOfTheYearFile(benchmark::State& state) {
    Folder& f = TheFolder();
    for (auto _ : state) {
        state.PauseTiming();
        pb::RealFileSystem().Replace(f.files.WorkFile(kYear), f.year);
        state.ResumeTiming();
        pb::RealFileSystem().Copy(f.files.WorkFile(kYear), f.files.WorkTempFile(kYear));
        pb::RealFileSystem().Rename(f.files.WorkTempFile(kYear), f.files.WorkFile(kYear));
    }
}
BENCHMARK(BM_RawCopyOfTheYearFile)->Unit(benchmark::kMillisecond);

void BM_RegisterEmployeeChangedOf999(benchmark::State& state) {
    Folder& f = TheFolder();
    QuietOperator op;
    pb::EmployeeEntry entry;
    entry.Daily = Daily(kEmployees, 1500);
    entry.Name = pb::NameRecord{Id(kEmployees), "従業員", 0, 1001};
    for (auto _ : state) {
        state.PauseTiming();
        f.Restore();
        state.ResumeTiming();
        if (!pb::RegisterEmployee(f.files, entry, 1, op))
            state.SkipWithError("not registered");
    }
}
BENCHMARK(BM_RegisterEmployeeChangedOf999)->Unit(benchmark::kMillisecond);

// The file work of a registration without its record handling: save the two
// files, read them, write one record, append one, drop the saved copies.
void BM_RawRegistrationFileWork(benchmark::State& state) {
    Folder& f = TheFolder();
    pb::FileSystem& fs = pb::RealFileSystem();
    const pb::Bytes nameRecord(f.names.end() - pb::kNameRecordSize, f.names.end());
    const pb::Bytes dailyRecord(f.daily.end() - pb::kDailyWagesRecordSize, f.daily.end());
    for (auto _ : state) {
        state.PauseTiming();
        f.Restore();
        state.ResumeTiming();
        fs.Copy(f.files.NameFile, f.files.NameBackup);
        fs.Copy(f.files.DailyWagesFile, f.files.DailyWagesBackup);
        benchmark::DoNotOptimize(fs.ReadAll(f.files.NameFile));
        benchmark::DoNotOptimize(fs.ReadAll(f.files.DailyWagesFile));
        fs.WriteAt(f.files.DailyWagesFile, f.daily.size() - dailyRecord.size(), dailyRecord);
        fs.WriteAt(f.files.NameFile, f.names.size() - nameRecord.size(), nameRecord);
        fs.Append(f.files.DailyWagesFile, dailyRecord);
        fs.Remove(f.files.NameBackup);
        fs.Remove(f.files.DailyWagesBackup);
    }
}
BENCHMARK(BM_RawRegistrationFileWork)->Unit(benchmark::kMillisecond);

}  // namespace
