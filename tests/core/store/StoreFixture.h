#pragma once
// A program folder of its own for each test, with helpers to fill it and to
// take a byte-for-byte picture of every file in it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "core/store/DataFiles.h"
#include "core/store/EmployeeFiles.h"
#include "core/store/Records.h"

namespace pb {

using FolderPicture = std::map<std::string, Bytes>;

class StoreFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "pbstoreXXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern + "/";
        files_ = AssignDataFiles(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    void CopySamples() {
        for (const auto& entry :
             std::filesystem::directory_iterator(std::string(PUNCHBOOK_SAMPLES_DIR) + "/folder")) {
            std::filesystem::copy_file(entry.path(), folder_ + entry.path().filename().string());
        }
    }

    std::string Path(const std::string& name) const { return folder_ + name; }
    bool Has(const std::string& name) const { return std::filesystem::exists(Path(name)); }
    Bytes Read(const std::string& name) const { return RealFileSystem().ReadAll(Path(name)); }
    // Written plainly, without the flushes of the program's own writes: tests
    // rebuild folders thousands of times.
    void Write(const std::string& name, const Bytes& content) {
        std::ofstream out(Path(name), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(content.data()),
                  static_cast<std::streamsize>(content.size()));
        ASSERT_TRUE(out.good()) << name;
    }

    FolderPicture Picture() const {
        FolderPicture picture;
        for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
            if (entry.is_regular_file()) {
                picture[entry.path().filename().string()] =
                    RealFileSystem().ReadAll(entry.path().string());
            }
        }
        return picture;
    }

    static NameRecord Name(const std::string& id, const std::string& name, int wagesCode,
                           int linked = 0) {
        return NameRecord{id, name, linked, wagesCode};
    }
    static DailyWagesRecord Daily(const std::string& id, int generation, int overPay = 1200,
                                  bool current = true) {
        DailyWagesRecord r;
        r.ID = id;
        r.Current = current ? 1 : 0;
        r.Generation = generation;
        r.WorkType = 7;
        r.ClosingDay = 20;
        r.WeekdayOverPay = overPay;
        r.TimeToStartWork = 0.375;
        r.TimeToFinishWork = 0.75;
        return r;
    }
    static TimeWagesRecord Time(const std::string& id, int generation, int timePay = 900,
                                bool current = true) {
        TimeWagesRecord r;
        r.ID = id;
        r.Current = current ? 1 : 0;
        r.Generation = generation;
        r.WorkType = 19;
        r.TimePay = timePay;
        r.Band1Pays.fill(timePay);
        r.ChargeDivideTime1 = 108;
        return r;
    }
    static MonthRecord Month(const std::string& id, int month, int workDays = 20) {
        MonthRecord m;
        m.ID = id;
        m.PayScheme = 1;
        m.Month = static_cast<std::uint16_t>(month);
        m.DayCount = 31;
        m.Cells[0][0] = "08:30";
        m.WorkDays = workDays;
        return m;
    }

    template <typename Record>
    static Bytes Join(std::initializer_list<Record> records) {
        Bytes all;
        for (const auto& r : records) {
            const Bytes b = ToBytes(r);
            all.insert(all.end(), b.begin(), b.end());
        }
        return all;
    }

    std::string folder_;
    DataFiles files_;
};

}  // namespace pb
