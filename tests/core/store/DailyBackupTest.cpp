#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "FaultSweep.h"
#include "core/common/Routines.h"
#include "core/store/DailyBackup.h"
#include "core/store/WorkDataFiles.h"

namespace pb {
namespace {

namespace fs = std::filesystem;

class DailyBackup : public FaultSweep {
  protected:
    std::string Day(const std::string& day) const { return folder_ + "backup/" + day + "/"; }
    std::vector<std::string> Days() const { return BackupNames(files_); }
    FolderPicture PictureOf(const std::string& folder) const {
        FolderPicture picture;
        for (const auto& entry : fs::directory_iterator(folder)) {
            const std::string name = entry.path().filename().string();
            if (name != "Punchbook.stamps" && name != "Punchbook.whole")
                picture[entry.path().filename().string()] = RealFileSystem().ReadAll(entry.path());
        }
        return picture;
    }
    void SomeData() {
        CopySamples();
        Write("2000_fv2.pbk", Join({Month("001", 1)}));
    }
};

TEST_F(DailyBackup, TheFirstChangeOfADayCopiesTheDataFilesOnce) {
    // Nothing to keep: no backup, no folder.
    EXPECT_FALSE(BackUpBeforeChange(files_, "2024-05-01", 14));
    EXPECT_FALSE(fs::exists(folder_ + "backup"));

    SomeData();
    EXPECT_FALSE(BackUpBeforeChange(files_, "2024-05-01", 0));  // turned off
    FaultyFileSystem watched;
    EXPECT_TRUE(BackUpBeforeChange(AssignDataFiles(folder_, watched), "2024-05-01", 14));
    // The day is named only once its files are on the disk.
    const auto& log = watched.Log();
    const auto named = std::find_if(log.begin(), log.end(), [&](const std::string& line) {
        return line.starts_with("rename ") &&
               line.ends_with(" -> " + folder_ + "backup/2024-05-01");
    });
    ASSERT_NE(named, log.end());
    const std::string scratch = named->substr(7, named->find(" -> ") - 7);
    EXPECT_EQ(*(named - 1), "flush " + scratch);
    FolderPicture data = Picture();
    data.erase("PBOOK2.INI");
    EXPECT_EQ(PictureOf(Day("2024-05-01")), data);
    // The same day again: the backup keeps the state before the day's first change.
    Write("2000_fv2.pbk", Join({Month("001", 1), Month("001", 2)}));
    EXPECT_FALSE(BackUpBeforeChange(files_, "2024-05-01", 14));
    EXPECT_EQ(PictureOf(Day("2024-05-01")), data);
}

TEST_F(DailyBackup, OnlyTheNewestDaysAreKept) {
    SomeData();
    fs::create_directories(folder_ + "backup/2024-04-30-101500");      // before a restore
    fs::create_directories(folder_ + "backup/2024-05-01.1-2-3.new~");  // a backup cut short
    fs::create_directories(folder_ + "backup/手で作ったフォルダ");
    for (int day = 1; day <= 16; ++day) {
        BackUpBeforeChange(files_, "2024-05-" + PadNumber(day, 2), 14);
        if (day == 15)
            BackUpNow(files_, "2024-05-15-103000");  // before a restore: of the 15th
    }
    const std::vector<std::string> days = Days();
    ASSERT_EQ(days.size(), 15u);
    EXPECT_EQ(days.front(), "2024-05-16");
    EXPECT_EQ(days[1], "2024-05-15-103000");
    EXPECT_EQ(days.back(), "2024-05-03");
    EXPECT_FALSE(fs::exists(folder_ + "backup/2024-04-30-101500"));
    EXPECT_FALSE(fs::exists(folder_ + "backup/2024-05-01.1-2-3.new~"));
    EXPECT_TRUE(fs::exists(folder_ + "backup/手で作ったフォルダ"));
}

// Every change goes through a transaction, and each makes the day's backup
// first: once a day, through the program's runner, telling its progress.
TEST_F(DailyBackup, AChangeBacksUpTheFolderAsItWasBeforeIt) {
    SomeData();
    const FolderPicture before = Picture();
    KeepDailyBackups(files_, 14);
    int runs = 0;
    files_.backup->run = [&](const std::function<void()>& work) {
        ++runs;
        work();
    };
    std::uint64_t done = 0, total = 1;
    files_.backup->progress = [&](std::uint64_t d, std::uint64_t t) {
        EXPECT_GE(d, done);
        done = d;
        total = t;
    };
    ScriptedOperator op;
    ASSERT_TRUE(WriteMonthRecord(files_, 1999, Month("001", 4), op));
    ASSERT_TRUE(WriteMonthRecord(files_, 1999, Month("001", 5), op));
    EXPECT_EQ(Days(), std::vector<std::string>{TodayText()});
    EXPECT_EQ(PictureOf(Day(TodayText()))["1999_fv2.pbk"], before.at("1999_fv2.pbk"));
    std::uint64_t copied = 0;
    for (const auto& [name, bytes] : before)
        copied += name == "PBOOK2.INI" ? 0 : bytes.size();
    EXPECT_EQ(done, copied);
    EXPECT_EQ(total, copied);
    // Not again that day, also when the day's folder went meanwhile.
    fs::remove_all(folder_ + "backup");
    ASSERT_TRUE(WriteMonthRecord(files_, 1999, Month("001", 6), op));
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(Days().empty());

    // The setting is shared by every copy of the file names.
    const DataFiles copy = files_;
    KeepDailyBackups(files_, 0);
    EXPECT_EQ(copy.backup->keepDays, 0);
}

// A backup that fails stops the change, tells why, and leaves no half backup.
TEST_F(DailyBackup, AFailedBackupLeavesNothingHalfDoneAndStopsTheChange) {
    SomeData();
    const FolderPicture before = Picture();
    for (int n = 1;; ++n) {
        fs::remove_all(folder_ + "backup");
        Reset(before);
        FaultyFileSystem faulty;
        faulty.FailAt(n);
        DataFiles f = AssignDataFiles(folder_, faulty);
        KeepDailyBackups(f, 14);
        ScriptedOperator op;
        const bool written = WriteMonthRecord(f, 1999, Month("001", 4), op);
        if (!faulty.Failed()) {
            EXPECT_TRUE(written);
            break;
        }
        SCOPED_TRACE("failing at " + faulty.Log()[n - 1]);
        const bool inBackup = faulty.Log()[n - 1].find("/backup") != std::string::npos;
        if (inBackup) {
            EXPECT_FALSE(written);
            ASSERT_TRUE(op.Saw("error"));
            // The operator saved the year file and hears of it, not of the backup.
            const std::string& said = op.calls.back().text;
            EXPECT_EQ(said.find(folder_ + "1999_fv2.pbk に書き込めません。\n"), 0u) << said;
            EXPECT_EQ(said.find("backup"), std::string::npos) << said;
            EXPECT_EQ(Picture(), before);
            EXPECT_TRUE(Days().empty());
            if (fs::exists(folder_ + "backup")) {
                for (const auto& entry : fs::directory_iterator(folder_ + "backup")) {
                    ADD_FAILURE() << "left behind: " << entry.path();
                }
            }
        } else {
            // The backup is whole; the change's own failure is the transaction's.
            EXPECT_EQ(PictureOf(Day(TodayText())).at("1999_fv2.pbk"), before.at("1999_fv2.pbk"));
        }
    }
}

// The stamps of files last changed an hour ago, as they are on most days.
class SettledFiles final : public ForwardingFileSystem {
  public:
    std::optional<FileStamp> Stamp(const std::string& path) const override {
        std::optional<FileStamp> stamp = inner_.Stamp(path);
        if (stamp) {
            stamp->modified -= 3'600'000'000'000;
            stamp->changed -= 3'600'000'000'000;
        }
        return stamp;
    }
};

ino_t Inode(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

// A year file nobody changed costs a backup no copy: it is the same file as
// in the day before's backup. A file changed in place, at the same size, is
// copied again; one whose last change is too recent to be told apart is too.
TEST_F(DailyBackup, OnlyChangedFilesAreCopiedTheOthersAreLinked) {
    SomeData();
    auto same = [&](const std::string& a, const std::string& b, const std::string& file) {
        return Inode(Day(a) + file) == Inode(Day(b) + file);
    };
    // Files written a moment ago: their stamps do not count.
    BackUpBeforeChange(files_, "2024-05-01", 14);
    BackUpBeforeChange(files_, "2024-05-02", 14);
    EXPECT_FALSE(same("2024-05-01", "2024-05-02", "Name.dat"));

    SettledFiles settled;
    const DataFiles f = AssignDataFiles(folder_, settled);
    BackUpBeforeChange(f, "2024-05-03", 14);
    BackUpBeforeChange(f, "2024-05-04", 14);
    for (const char* file : {"Name.dat", "DailyWages.dat", "2000_fv2.pbk"})
        EXPECT_TRUE(same("2024-05-03", "2024-05-04", file)) << file;

    Bytes year = Read("2000_fv2.pbk");
    const Bytes before = year;
    year[40] ^= 1;
    RealFileSystem().WriteAt(folder_ + "2000_fv2.pbk", 0, year);
    BackUpBeforeChange(f, "2024-05-05", 14);
    EXPECT_TRUE(same("2024-05-04", "2024-05-05", "Name.dat"));
    EXPECT_FALSE(same("2024-05-04", "2024-05-05", "2000_fv2.pbk"));
    EXPECT_EQ(PictureOf(Day("2024-05-05"))["2000_fv2.pbk"], year);
    EXPECT_EQ(PictureOf(Day("2024-05-04"))["2000_fv2.pbk"], before);
    // A restore takes the backup's copy, leaving the backup as it was, also
    // when the next save writes into the restored file.
    RestoreBackup(f, "2024-05-04");
    EXPECT_EQ(Read("2000_fv2.pbk"), before);
    EXPECT_EQ(PictureOf(Day("2024-05-05"))["2000_fv2.pbk"], year);
    ScriptedOperator op;
    ASSERT_TRUE(WriteMonthRecord(f, 2000, Month("001", 1, 7), op));
    EXPECT_NE(Read("2000_fv2.pbk"), before);
    EXPECT_EQ(PictureOf(Day("2024-05-04"))["2000_fv2.pbk"], before);
}

// When the day's backup cannot be made, the operator decides: go on without
// one (asked once that day), or leave the change undone.
TEST_F(DailyBackup, AFailedBackupAsksWhetherToGoOnWithoutOne) {
    SomeData();
    for (const bool goOn : {false, true}) {
        fs::remove_all(folder_ + "backup");
        Write("backup", Bytes{'x'});  // a file where the folder would be
        const FolderPicture before = Picture();
        DataFiles f = AssignDataFiles(folder_);
        KeepDailyBackups(f, 14);
        std::vector<std::string> asked;
        f.backup->goOnWithout = [&](const std::string& failure) {
            asked.push_back(failure);
            return goOn;
        };
        ScriptedOperator op;
        EXPECT_EQ(WriteMonthRecord(f, 1999, Month("001", 4), op), goOn);
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_NE(asked[0].find("バックアップ"), std::string::npos) << asked[0];
        if (!goOn) {
            ASSERT_EQ(op.Kinds(), std::vector<std::string>{"error"});
            EXPECT_NE(op.calls[0].text.find("変更の前のバックアップを作れません"),
                      std::string::npos);
            EXPECT_EQ(Picture(), before);
            continue;
        }
        EXPECT_TRUE(WriteMonthRecord(f, 1999, Month("001", 5), op));
        EXPECT_EQ(asked.size(), 1u);
        fs::remove(folder_ + "backup");
    }
}

TEST_F(DailyBackup, ARestoreBringsBackTheDayAsAWhole) {
    SomeData();
    const FolderPicture day = Picture();
    BackUpNow(files_, "2024-05-01");
    ScriptedOperator op;
    ASSERT_TRUE(WriteMonthRecord(files_, 1999, Month("001", 4), op));
    ASSERT_TRUE(WriteMonthRecord(files_, 2001, Month("001", 4), op));
    fs::remove(folder_ + "2000_fv2.pbk");
    const std::string ini = "[Common]\r\nClosingDay=5\r\n";
    Write("PBOOK2.INI", Bytes(ini.begin(), ini.end()));
    FolderPicture expected = day;
    expected["PBOOK2.INI"] = Read("PBOOK2.INI");  // the settings are no data file
    const FolderPicture changed = Picture();
    RestoreBackup(files_, "2024-05-01");
    EXPECT_EQ(Picture(), expected);

    // All or nothing, whatever fails or stops on the way.
    Reset(changed);
    Sweep([](const DataFiles& f, ScriptedOperator& op) {
        try {
            RestoreBackup(f, "2024-05-01");
            return true;
        } catch (const FileError& e) {
            op.Error(e.what());
            return false;
        }
    });

    const FolderPicture restored = Picture();
    EXPECT_THROW(RestoreBackup(files_, "2024-05-02"), FileError);
    EXPECT_THROW(RestoreBackup(files_, "../.."), FileError);
    EXPECT_EQ(Picture(), restored);

    // A day that lost a file is neither offered nor restored, and says what it lacks.
    fs::remove(Day("2024-05-01") + "2000_fv2.pbk");
    EXPECT_TRUE(Days().empty());
    try {
        RestoreBackup(files_, "2024-05-01");
        ADD_FAILURE() << "restored";
    } catch (const FileError& e) {
        EXPECT_NE(std::string(e.what()).find("2000_fv2.pbk"), std::string::npos) << e.what();
    }
    EXPECT_EQ(Picture(), restored);
}

}  // namespace
}  // namespace pb
