#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <functional>

#include "ScriptedOperator.h"
#include "StoreFixture.h"
#include "core/common/Routines.h"
#include "core/store/RecordFile.h"
#include "core/store/WorkDataFiles.h"
#include "support/FaultyFileSystem.h"

namespace pb {
namespace {

class WorkDataFiles : public StoreFixture {};

TEST_F(WorkDataFiles, FirstSaveCreatesTheYearFileAndSavingAgainReplacesInPlace) {
    ScriptedOperator op;
    EXPECT_EQ(FindMonthIndex(files_, "001", 2024, 4), -1);
    ASSERT_TRUE(WriteMonthRecord(files_, 2024, Month("001", 4, 20), op));
    EXPECT_EQ(Read("2024_fv2.pbk").size(), kMonthRecordSize);
    ASSERT_TRUE(WriteMonthRecord(files_, 2024, Month("002", 4, 5), op));
    ASSERT_TRUE(WriteMonthRecord(files_, 2024, Month("001", 4, 21), op));
    EXPECT_EQ(Read("2024_fv2.pbk").size(), 2 * kMonthRecordSize);
    EXPECT_EQ(FindMonthIndex(files_, "001", 2024, 4), 0);
    EXPECT_EQ(FindMonthIndex(files_, "002", 2024, 4), 1);
    EXPECT_EQ(ReadMonthRecord(files_, "001", 2024, 4)->WorkDays, 21);
    EXPECT_FALSE(ReadMonthRecord(files_, "001", 2024, 5).has_value());
    EXPECT_FALSE(ReadMonthRecord(files_, "001", 2023, 4).has_value());
    EXPECT_TRUE(op.calls.empty());
}

TEST_F(WorkDataFiles, PurgeKeepsTheOtherMonthsInOrderAndDeletesAnEmptiedFile) {
    ScriptedOperator op;
    Write("2024_fv2.pbk", Join({Month("001", 4), Month("002", 4), Month("003", 4), Month("002", 5),
                                Month("001", 5)}));
    ASSERT_TRUE(PurgeMonthRecords(files_, "002", 2024, 4, op));
    EXPECT_EQ(Read("2024_fv2.pbk"),
              Join({Month("001", 4), Month("003", 4), Month("002", 5), Month("001", 5)}));
    ASSERT_TRUE(PurgeMonthRecords(files_, "001", 2024, 0, op));
    EXPECT_EQ(Read("2024_fv2.pbk"), Join({Month("003", 4), Month("002", 5)}));
    ASSERT_TRUE(PurgeMonthRecords(files_, "003", 2024, 0, op));
    ASSERT_TRUE(PurgeMonthRecords(files_, "002", 2024, 5, op));
    EXPECT_FALSE(Has("2024_fv2.pbk"));
    EXPECT_FALSE(Has("2024_PBK.tmp"));
    // A year without a file has nothing to purge.
    EXPECT_TRUE(PurgeMonthRecords(files_, "002", 2024, 5, op));
    EXPECT_TRUE(op.calls.empty());
}

TEST_F(WorkDataFiles, StoredMonthsAreCountedOverEveryYear) {
    Write("2023_fv2.pbk", Join({Month("001", 11), Month("002", 11), Month("001", 12)}));
    Write("2024_fv2.pbk", Join({Month("002", 1), Month("001", 1)}));
    Write("2025_PBK.tmp", Join({Month("001", 1)}));  // no year file
    EXPECT_EQ(CountStoredMonths(files_, "001"), 3);
    EXPECT_EQ(CountStoredMonths(files_, "002"), 2);
    EXPECT_EQ(CountStoredMonths(files_, "003"), 0);
}

TEST_F(WorkDataFiles, IdsAreComparedByteForByte) {
    ScriptedOperator op;
    Write("2024_fv2.pbk", Join({Month("001", 4), Month("01", 4), Month("1", 4), Month("01", 4, 9),
                                Month("001", 4, 9), Month("001", 300), Month("A01", 4)}));
    EXPECT_EQ(FindMonthIndex(files_, "01", 2024, 4), 1);
    EXPECT_EQ(FindMonthIndex(files_, "1", 2024, 4), 2);
    EXPECT_EQ(FindMonthIndex(files_, "0011", 2024, 4), 0);  // cut to three characters like the file
    EXPECT_EQ(FindMonthIndex(files_, "001", 2024, 300), 5);  // a month no form offers
    EXPECT_EQ(FindMonthIndex(files_, "A01", 2024, 4), 6);
    // A month stored twice is the first of them, as a scan from the start finds it.
    EXPECT_EQ(ReadMonthRecord(files_, "01", 2024, 4)->WorkDays, 20);
    EXPECT_EQ(ReadMonthRecord(files_, "001", 2024, 4)->WorkDays, 20);
    ASSERT_TRUE(PurgeMonthRecords(files_, "01", 2024, 0, op));
    EXPECT_EQ(Read("2024_fv2.pbk"), Join({Month("001", 4), Month("1", 4), Month("001", 4, 9),
                                          Month("001", 300), Month("A01", 4)}));
}

TEST_F(WorkDataFiles, ARaggedYearFileIsReportedByNameAndSizeAndNeverWritten) {
    ScriptedOperator op;
    Bytes ragged = Join({Month("001", 4), Month("002", 4)});
    ragged.resize(ragged.size() + 100, 0xEE);
    Write("2024_fv2.pbk", ragged);

    // Readers still see the whole records.
    EXPECT_EQ(FindMonthIndex(files_, "002", 2024, 4), 1);
    EXPECT_EQ(ReadMonthRecord(files_, "002", 2024, 4)->ID, "002");

    EXPECT_FALSE(WriteMonthRecord(files_, 2024, Month("003", 4), op));
    EXPECT_FALSE(PurgeMonthRecords(files_, "001", 2024, 4, op));
    EXPECT_EQ(Read("2024_fv2.pbk"), ragged);
    ASSERT_EQ(op.calls.size(), 2u);
    for (const auto& call : op.calls) {
        EXPECT_EQ(call.kind, "error");
        EXPECT_NE(call.text.find(Path("2024_fv2.pbk")), std::string::npos) << call.text;
        EXPECT_NE(call.text.find(std::to_string(ragged.size())), std::string::npos) << call.text;
    }
}

// Another program writes record `index` of the year file in place.
void Overwrite(const std::string& path, std::size_t index, const MonthRecord& month) {
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(static_cast<std::streamoff>(index * kMonthRecordSize));
    const Bytes bytes = ToBytes(month);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

TEST_F(WorkDataFiles, FindingReadingAndWritingAMonthReadOnlyItsRecordOnceTheYearIsIndexed) {
    ScriptedOperator op;
    std::vector<Bytes> months;
    for (int m = 1; m <= 12; ++m)
        for (int e = 1; e <= 30; ++e)
            months.push_back(ToBytes(Month(PadNumber(e, 3), m, e)));
    Bytes year;
    for (const Bytes& b : months)
        year.insert(year.end(), b.begin(), b.end());
    Write("2024_fv2.pbk", year);
    FaultyFileSystem fs;
    const DataFiles files = AssignDataFiles(folder_, fs);

    auto bytesFor = [&](const std::function<void()>& step) {
        const std::uint64_t before = fs.BytesRead();
        step();
        return fs.BytesRead() - before;
    };
    // A look reads the file from the start in pieces of 41 records (64 KiB) only
    // as far as it must; the rest is read once, when the program is idle.
    const std::size_t piece = 41 * kMonthRecordSize;
    EXPECT_EQ(bytesFor([&] { EXPECT_EQ(FindMonthIndex(files, "001", 2024, 1), 0); }), piece);
    EXPECT_EQ(bytesFor([&] { EXPECT_EQ(FindMonthIndex(files, "012", 2024, 2), 41); }), piece);
    EXPECT_EQ(bytesFor([&] { IndexYear(files, 2024); }), year.size() - 2 * piece);
    EXPECT_EQ(bytesFor([&] { EXPECT_EQ(FindMonthIndex(files, "030", 2024, 12), 359); }), 0u);
    EXPECT_EQ(bytesFor([&] { EXPECT_EQ(FindMonthIndex(files, "031", 2024, 12), -1); }), 0u);
    EXPECT_EQ(bytesFor([&] { EXPECT_EQ(FindMonthIndex(files, "007", 2024, 3), 66); }), 0u);
    EXPECT_EQ(bytesFor([&] { EXPECT_EQ(ReadMonthRecord(files, "007", 2024, 3)->WorkDays, 7); }),
              kMonthRecordSize);
    EXPECT_EQ(bytesFor([&] { EXPECT_TRUE(WriteMonthRecord(files, 2024, Month("007", 3, 8), op)); }),
              kMonthRecordSize);
    EXPECT_EQ(bytesFor([&] { EXPECT_TRUE(WriteMonthRecord(files, 2024, Month("031", 1, 9), op)); }),
              0u);
    // The program's own writes keep the index: no second pass over the file.
    EXPECT_EQ(bytesFor([&] {
                  EXPECT_EQ(FindMonthIndex(files, "031", 2024, 1), 360);
                  EXPECT_EQ(FindMonthIndex(files, "007", 2024, 3), 66);
              }),
              0u);
    EXPECT_EQ(ReadMonthRecord(files, "007", 2024, 3)->WorkDays, 8);
    EXPECT_EQ(Read("2024_fv2.pbk").size(), year.size() + kMonthRecordSize);
    // Every copy of the file names shares the indexes.
    const DataFiles copy = files;
    EXPECT_EQ(bytesFor([&] { EXPECT_EQ(FindMonthIndex(copy, "031", 2024, 1), 360); }), 0u);
    EXPECT_TRUE(op.calls.empty());
}

// A selection step answers from the index or from a file small enough to read
// at once; a large year is read apart (by a worker) and taken over only while
// the file is as it was read.
TEST_F(WorkDataFiles, ASelectionStepReadsLittleAndAYearReadApartIsTakenOnlyWhileUnchanged) {
    ScriptedOperator op;
    Bytes year;
    for (int m = 1; m <= 12; ++m)
        for (int e = 1; e <= 30; ++e)
            for (const std::uint8_t b : ToBytes(Month(PadNumber(e, 3), m, e)))
                year.push_back(b);
    Write("2024_fv2.pbk", year);
    Write("2025_fv2.pbk", Join({Month("001", 4, 1), Month("002", 4, 2)}));
    FaultyFileSystem fs;
    const DataFiles files = AssignDataFiles(folder_, fs);
    const std::uint64_t step = 64 * 1024;
    const std::uint64_t before = fs.BytesRead();
    EXPECT_EQ(IsMonthStoredWithin(files, "012", 2024, 2, 0), std::nullopt);
    EXPECT_EQ(fs.BytesRead(), before);
    // One piece of 41 records a step: the 42nd record is in the second.
    EXPECT_EQ(IsMonthStoredWithin(files, "012", 2024, 2, step), std::nullopt);
    EXPECT_EQ(fs.BytesRead() - before, 41 * kMonthRecordSize);
    EXPECT_EQ(IsMonthStoredWithin(files, "012", 2024, 2, step), true);
    EXPECT_EQ(IsMonthStoredWithin(files, "002", 2025, 4, step), true);
    EXPECT_EQ(IsMonthStoredWithin(files, "003", 2025, 4, step), false);

    std::atomic<bool> stop = false;
    std::optional<YearIndex> apart = IndexYearApart(files, 2024, stop);
    ASSERT_TRUE(apart);
    ASSERT_TRUE(WriteMonthRecord(files, 2024, Month("031", 1, 9), op));
    EXPECT_FALSE(AdoptYearIndex(files, 2024, std::move(*apart)));  // written meanwhile
    apart = IndexYearApart(files, 2024, stop);
    ASSERT_TRUE(apart);
    EXPECT_TRUE(AdoptYearIndex(files, 2024, std::move(*apart)));
    const std::uint64_t adopted = fs.BytesRead();
    EXPECT_EQ(IsMonthStoredWithin(files, "030", 2024, 12, 0), true);
    EXPECT_EQ(IsMonthStoredWithin(files, "031", 2024, 1, 0), true);
    EXPECT_EQ(IsMonthStoredWithin(files, "031", 2024, 2, 0), false);
    EXPECT_EQ(fs.BytesRead(), adopted);

    stop = true;
    EXPECT_FALSE(IndexYearApart(files, 2024, stop));
}

TEST_F(WorkDataFiles, AYearFileChangedByAnotherProgramIsIndexedAgain) {
    ScriptedOperator op;
    const std::string path = Path("2024_fv2.pbk");
    const struct {
        const char* change;
        std::function<void()> apply;
        int found001, found004;
        std::size_t recordsAfterSaving001;
    } cases[] = {
        {"reordered",
         [&] {
             Write("2024_fv2.pbk",
                   Join({Month("003", 4, 3), Month("002", 4, 2), Month("001", 4, 1)}));
         },
         2, -1, 3},
        {"appended",
         [&] {
             std::ofstream file(path, std::ios::binary | std::ios::app);
             const Bytes b = ToBytes(Month("004", 4, 4));
             file.write(reinterpret_cast<const char*>(b.data()),
                        static_cast<std::streamsize>(b.size()));
         },
         0, 3, 4},
        {"shortened", [&] { Write("2024_fv2.pbk", Join({Month("002", 4, 2)})); }, -1, -1, 2},
        {"removed", [&] { std::filesystem::remove(path); }, -1, -1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.change);
        Write("2024_fv2.pbk", Join({Month("001", 4, 1), Month("002", 4, 2), Month("003", 4, 3)}));
        ASSERT_EQ(FindMonthIndex(files_, "001", 2024, 4), 0);
        c.apply();
        EXPECT_EQ(FindMonthIndex(files_, "001", 2024, 4), c.found001);
        EXPECT_EQ(FindMonthIndex(files_, "004", 2024, 4), c.found004);
        const auto read = ReadMonthRecord(files_, "001", 2024, 4);
        ASSERT_EQ(read.has_value(), c.found001 >= 0);
        if (read) {
            EXPECT_EQ(read->WorkDays, 1);
        }
        // Saving after the change replaces the month where it now is, or appends it.
        ASSERT_TRUE(WriteMonthRecord(files_, 2024, Month("001", 4, 11), op));
        EXPECT_EQ(ReadMonthRecord(files_, "001", 2024, 4)->WorkDays, 11);
        EXPECT_EQ(Read("2024_fv2.pbk").size(), c.recordsAfterSaving001 * kMonthRecordSize);
    }
    EXPECT_TRUE(op.calls.empty());
}

TEST_F(WorkDataFiles, ARecordMovedBehindAnUnchangedStampIsNeitherReadNorOverwritten) {
    ScriptedOperator op;
    Write("2024_fv2.pbk", Join({Month("001", 4, 1), Month("002", 4, 2)}));
    FaultyFileSystem fs;
    const DataFiles files = AssignDataFiles(folder_, fs);
    ASSERT_EQ(FindMonthIndex(files, "001", 2024, 4), 0);
    // Swapped in place within the clock's resolution: size, times and inode as before.
    fs.HoldStamp(Path("2024_fv2.pbk"));
    Overwrite(Path("2024_fv2.pbk"), 0, Month("002", 4, 2));
    Overwrite(Path("2024_fv2.pbk"), 1, Month("001", 4, 1));
    EXPECT_EQ(ReadMonthRecord(files, "001", 2024, 4)->WorkDays, 1);
    ASSERT_TRUE(WriteMonthRecord(files, 2024, Month("002", 4, 12), op));
    EXPECT_EQ(Read("2024_fv2.pbk"), Join({Month("002", 4, 12), Month("001", 4, 1)}));
    EXPECT_TRUE(op.calls.empty());
}

// A full disk in the middle of an append: the year file is cut back to what it
// was (which needs no space), the operator is told which file and why, and
// once there is room again the month saves.
TEST_F(WorkDataFiles, AFullDiskTearsNoAppend) {
    const Bytes year = Join({Month("001", 4), Month("002", 4)});
    Write("2024_fv2.pbk", year);
    FaultyFileSystem counting;
    ScriptedOperator op;
    ASSERT_TRUE(WriteMonthRecord(AssignDataFiles(folder_, counting), 2024, Month("003", 4), op));
    const auto& log = counting.Log();
    const auto append = std::find_if(log.begin(), log.end(), [&](const std::string& l) {
        return l == "write " + Path("2024_fv2.pbk");
    });
    ASSERT_NE(append, log.end());

    Write("2024_fv2.pbk", year);
    FaultyFileSystem full;
    full.FailAt(static_cast<int>(append - log.begin()) + 1, ENOSPC, true);
    ScriptedOperator told;
    EXPECT_FALSE(WriteMonthRecord(AssignDataFiles(folder_, full), 2024, Month("003", 4), told));
    ASSERT_EQ(told.Kinds(), std::vector<std::string>{"error"});
    EXPECT_NE(told.calls[0].text.find(Path("2024_fv2.pbk")), std::string::npos);
    EXPECT_NE(told.calls[0].text.find("空き容量"), std::string::npos);
    EXPECT_EQ(Picture(), (FolderPicture{{"2024_fv2.pbk", year}}));

    ASSERT_TRUE(WriteMonthRecord(files_, 2024, Month("003", 4), op));
    EXPECT_EQ(Read("2024_fv2.pbk"), Join({Month("001", 4), Month("002", 4), Month("003", 4)}));
}

// The same on a real file system that fills up, where the machine lets the test
// mount a small one.
TEST_F(WorkDataFiles, AFullFileSystemTearsNoAppend) {
    const std::string disk = Path("disk");
    std::filesystem::create_directory(disk);
    if (::geteuid() != 0 || ::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a small file system here";
    const DataFiles files = AssignDataFiles(disk);
    const Bytes year = Join({Month("001", 4), Month("002", 4)});
    RealFileSystem().Replace(files.WorkFile(2024), year);
    // Fill it up, then make room for the journal but not for the record.
    int chunks = 0;
    for (;; ++chunks) {
        std::ofstream out(disk + "/fill" + std::to_string(chunks), std::ios::binary);
        out << std::string(4096, 'x') << std::flush;
        if (!out)
            break;
    }
    std::filesystem::remove(disk + "/fill" + std::to_string(chunks));
    std::filesystem::remove(disk + "/fill0");
    ScriptedOperator told;
    EXPECT_FALSE(WriteMonthRecord(files, 2024, Month("003", 4), told));
    ASSERT_EQ(told.Kinds(), std::vector<std::string>{"error"});
    EXPECT_NE(told.calls[0].text.find(files.WorkFile(2024)), std::string::npos)
        << told.calls[0].text;
    EXPECT_EQ(RealFileSystem().ReadAll(files.WorkFile(2024)), year);
    EXPECT_EQ(RealFileSystem().List(disk).size(), static_cast<std::size_t>(chunks));

    std::filesystem::remove(disk + "/fill1");
    ScriptedOperator op;
    EXPECT_TRUE(WriteMonthRecord(files, 2024, Month("003", 4), op));
    EXPECT_EQ(RealFileSystem().ReadAll(files.WorkFile(2024)).size(), 3 * kMonthRecordSize);
    ::umount2(disk.c_str(), MNT_DETACH);
}

TEST_F(WorkDataFiles, YearOfWorkFileTakesOnlyExactNames) {
    const struct {
        std::string path;
        std::optional<std::string> year;
    } cases[] = {
        {"/pb/1999_fv2.pbk", "1999"},       {"1999_fv2.pbk", "1999"},
        {"/pb/1999_FV2.PBK", std::nullopt}, {"/pb/1999_fv2.pbk.bak", std::nullopt},
        {"/pb/abcd_fv2.pbk", std::nullopt}, {"/pb/x1999_fv2.pbk", std::nullopt},
        {"/19/99_fv2.pbk", std::nullopt},   {"/pb/1999_PBK.tmp", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(YearOfWorkFile(c.path), c.year) << c.path;
}

TEST_F(WorkDataFiles, ScanFolderListsFullPathsOfFilesOnly) {
    Write("2024_fv2.pbk", {});
    Write("Name.dat", {});
    std::filesystem::create_directory(Path("sub"));
    std::vector<std::string> list = {"stale"};
    ScanFolder(files_, folder_.substr(0, folder_.size() - 1), list);
    std::sort(list.begin(), list.end());
    EXPECT_EQ(list, (std::vector<std::string>{Path("2024_fv2.pbk"), Path("Name.dat")}));
}

TEST_F(WorkDataFiles, SampleMonthsReadBack) {
    CopySamples();
    const auto daily = ReadMonthRecord(files_, "001", 1999, 3);
    const auto hourly = ReadMonthRecord(files_, "002", 1999, 3);
    ASSERT_TRUE(daily && hourly);
    EXPECT_EQ(daily->PayScheme, 1);
    EXPECT_EQ(hourly->PayScheme, 2);
    // A daily-wage month has seven data columns; the eighth stays empty.
    for (const auto& cell : daily->Cells[7])
        EXPECT_EQ(cell, "");
    EXPECT_GT(daily->DayCount, 27);
    EXPECT_LE(daily->DayCount, 31);
}

TEST_F(WorkDataFiles, NextCellTableOfTheBuildMovesThroughTheInputColumns) {
    const DataFiles built = AssignDataFiles(PUNCHBOOK_BINARY_DIR);
    ASSERT_EQ(FileSizeOf(built, built.NextCellFile), 4 * static_cast<int>(kNextCellRecordSize));
    auto move = [&](int pattern, int column, int mask) {
        const NextCellRecord r = ReadNextCell(built, pattern);
        EXPECT_EQ(r.Pattern, pattern);
        return r.Moves[(column - 1) * 16 + mask];
    };
    for (int mask : {0, 8, 12, 15}) {
        EXPECT_EQ(move(0, 1, mask), 2);
        EXPECT_EQ(move(0, 2, mask), 5);
        EXPECT_EQ(move(1, 1, mask), 5);
        EXPECT_EQ(move(1, 2, mask), 5);
        EXPECT_EQ(move(2, 1, mask), 2);
        EXPECT_EQ(move(2, 2, mask), 3);
        EXPECT_EQ(move(2, 3, mask), 4);
        EXPECT_EQ(move(2, 4, mask), 5);
        EXPECT_EQ(move(3, 1, mask), 4);
        EXPECT_EQ(move(3, 4, mask), 5);
    }
    // Unknown patterns and a missing file keep the cursor where it is.
    EXPECT_EQ(ReadNextCell(built, 9), NextCellRecord{});
    EXPECT_EQ(ReadNextCell(files_, 0), NextCellRecord{});
}

}  // namespace
}  // namespace pb
