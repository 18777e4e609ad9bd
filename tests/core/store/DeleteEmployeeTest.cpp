#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>

#include "ScriptedOperator.h"
#include "StoreFixture.h"
#include "core/store/EmployeeFiles.h"
#include "core/store/PayrollFiles.h"
#include "core/store/WorkDataFiles.h"
#include "support/FaultyFileSystem.h"

namespace pb {
namespace {

// A file system on which reading one file fails.
class UnreadableFile final : public ForwardingFileSystem {
  public:
    explicit UnreadableFile(std::string path) : path_(std::move(path)) {}
    Bytes ReadAll(const std::string& p) const override {
        Check(p);
        return inner_.ReadAll(p);
    }
    Bytes ReadAt(const std::string& p, std::uint64_t o, std::size_t n) const override {
        Check(p);
        return inner_.ReadAt(p, o, n);
    }
    void ReadPieces(const std::string& p, std::uint64_t o, std::size_t n,
                    const PieceReader& read) const override {
        Check(p);
        inner_.ReadPieces(p, o, n, read);
    }

  private:
    void Check(const std::string& p) const {
        if (p == path_)
            throw FileError(p, EIO, p + " を読み込めません。\n" + ErrorReason(EIO));
    }
    std::string path_;
};

// Year files may only be read through a buffer (one record at a time aside);
// the `failPass`th pass over `failing` breaks off after its first piece.
class PiecesOnly final : public ForwardingFileSystem {
  public:
    std::string failing;
    int failPass = 0;

    Bytes ReadAll(const std::string& p) const override {
        EXPECT_FALSE(YearOfWorkFile(p)) << p << " read whole";
        return inner_.ReadAll(p);
    }
    Bytes ReadAt(const std::string& p, std::uint64_t o, std::size_t n) const override {
        EXPECT_FALSE(YearOfWorkFile(p) && n > kMonthRecordSize) << p << " read whole";
        return inner_.ReadAt(p, o, n);
    }
    void ReadPieces(const std::string& p, std::uint64_t o, std::size_t n,
                    const PieceReader& read) const override {
        if (p != failing || ++passes_ != failPass)
            return inner_.ReadPieces(p, o, n, read);
        bool first = true;
        inner_.ReadPieces(p, o, n, [&](const std::uint8_t* data, std::size_t size) {
            if (!first)
                throw FileError(p, EIO, p + " を読み込めません。\n" + ErrorReason(EIO));
            first = false;
            return read(data, size);
        });
    }

  private:
    mutable int passes_ = 0;
};

// A record of the payroll program: `size` bytes, the ID as a short string at 0
// or its number at offset 4, and a tag to tell records apart.
Bytes PayrollRecord(std::size_t size, const std::string& id, bool numeric, std::uint8_t tag) {
    Bytes r(size, 0);
    if (numeric) {
        PutInt32(r, 4, std::stoi(id));
    } else {
        PutShortStringRaw(r, 0, 3, id);
    }
    r[size - 1] = tag;
    return r;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

class DeleteEmployee : public StoreFixture {
  protected:
    bool Delete(const std::string& id, ScriptedOperator& op) {
        return pb::DeleteEmployee(files_, id, op);
    }
    // 150 employees' Januaries and Februaries: 470 KB, more than one piece.
    static Bytes ManyMonths(const std::string& except = {}) {
        Bytes all;
        for (int n = 1; n <= 150; ++n) {
            char id[4];
            std::snprintf(id, sizeof id, "%03d", n);
            for (const int month : {1, 2}) {
                if (id == except)
                    continue;
                const Bytes b = ToBytes(Month(id, month, n % 31));
                all.insert(all.end(), b.begin(), b.end());
            }
        }
        return all;
    }
};

TEST_F(DeleteEmployee, RemovesTheEmployeeEverywhereAndEmptiedFiles) {
    Write("Name.dat", Join({Name("001", "a", 1002), Name("002", "b", 2001)}));
    Write("DailyWages.dat", Join({Daily("001", 1, 1, false), Daily("001", 2)}));
    Write("TimeWages.dat", Join({Time("002", 1)}));
    Write("2023_fv2.pbk", Join({Month("001", 12), Month("002", 12), Month("001", 11)}));
    Write("2024_fv2.pbk", Join({Month("001", 1)}));
    Write("2024_FV2.PBK", Join({Month("001", 1)}));  // not a work-data file
    ScriptedOperator op;
    ASSERT_TRUE(Delete("001", op));
    EXPECT_TRUE(op.calls.empty());
    EXPECT_EQ(Read("Name.dat"), Join({Name("002", "b", 2001)}));
    EXPECT_FALSE(Has("DailyWages.dat"));  // the last daily-wage employee
    EXPECT_EQ(Read("TimeWages.dat"), Join({Time("002", 1)}));
    EXPECT_EQ(Read("2023_fv2.pbk"), Join({Month("002", 12)}));
    EXPECT_FALSE(Has("2024_fv2.pbk"));
    EXPECT_TRUE(Has("2024_FV2.PBK"));

    ASSERT_TRUE(Delete("002", op));
    for (const char* gone : {"Name.dat", "DailyWages.dat", "TimeWages.dat", "2023_fv2.pbk",
                             "Name.bak", "TimeWages.bak", "2023_PBK.tmp"}) {
        EXPECT_FALSE(Has(gone)) << gone;
    }
}

TEST_F(DeleteEmployee, TheLastEmployeeTakesBothWageFilesWithIt) {
    Write("Name.dat", Join({Name("001", "a", 1001)}));
    Write("DailyWages.dat", Join({Daily("001", 1)}));
    Write("TimeWages.dat", Join({Time("007", 1)}));  // an orphan of an earlier deletion
    ScriptedOperator op;
    ASSERT_TRUE(Delete("001", op));
    EXPECT_FALSE(Has("Name.dat"));
    EXPECT_FALSE(Has("DailyWages.dat"));
    EXPECT_FALSE(Has("TimeWages.dat"));
}

TEST_F(DeleteEmployee, ALinkedEmployeeLeavesThePayrollProgramsFilesToo) {
    const int year = CurrentYear();
    const std::string pay = std::to_string(year) + "_Pay.Dat";
    const std::string payLower = "1999_pay.dat";  // written by a case-blind system
    const std::string late = std::to_string(year + 3) + "_Pay.Dat";
    const std::string early = "1995_WRK.dat";
    const auto info = [](const char* id, std::uint8_t tag) {
        return PayrollRecord(272, id, false, tag);
    };
    const auto pay428 = [](const char* id, std::uint8_t tag) {
        return PayrollRecord(428, id, true, tag);
    };
    const auto wrk = [](const char* id, std::uint8_t tag) {
        return PayrollRecord(40, id, false, tag);
    };
    const auto rh = [](const char* id, std::uint8_t tag) {
        return PayrollRecord(32, id, false, tag);
    };

    Write("Name.dat", Join({Name("005", "a", 1001, 1), Name("006", "b", 1001)}));
    Write("DailyWages.dat", Join({Daily("005", 1), Daily("006", 1)}));
    Write("Info.dat", Concat({info("005", 1), info("006", 2), info("005", 3)}));
    Write(pay, Concat({pay428("5", 1), pay428("5", 2), pay428("6", 3), pay428("5", 4)}));
    Write(payLower, Concat({pay428("5", 1)}));
    Write(late, Concat({pay428("5", 1)}));
    Write("Salarium.Dat", Concat({pay428("6", 1), pay428("5", 2)}));
    Write("2000_WRK.dat", Concat({wrk("005", 1), wrk("05", 2), wrk("005", 3)}));
    Write(early, Concat({wrk("005", 1)}));
    Write("2001_RH.dat", Concat({rh("006", 1), rh("005", 2), rh("005", 3)}));
    const Bytes lateBefore = Read(late);
    const Bytes earlyBefore = Read(early);

    ScriptedOperator op;
    ASSERT_TRUE(Delete("005", op));
    EXPECT_TRUE(op.calls.empty());
    EXPECT_EQ(Read("Info.dat"), Concat({info("006", 2), info("005", 3)}));  // first match only
    EXPECT_EQ(Read(pay), Concat({pay428("6", 3)}));
    EXPECT_EQ(Read(payLower).size(), 0u);  // emptied files stay, empty
    EXPECT_EQ(Read("Salarium.Dat"), Concat({pay428("6", 1)}));
    EXPECT_EQ(Read("2000_WRK.dat"), Concat({wrk("05", 2)}));
    EXPECT_EQ(Read("2001_RH.dat"), Concat({rh("006", 1)}));
    EXPECT_EQ(Read(late), lateBefore);    // beyond this year + 2
    EXPECT_EQ(Read(early), earlyBefore);  // before 1996
    EXPECT_EQ(Read("DailyWages.dat"), Join({Daily("006", 1)}));

    // An employee that is not linked leaves them alone.
    const FolderPicture payroll = Picture();
    ASSERT_TRUE(Delete("006", op));
    EXPECT_EQ(Read("Info.dat"), payroll.at("Info.dat"));
    EXPECT_EQ(Read("Salarium.Dat"), payroll.at("Salarium.Dat"));
}

TEST_F(DeleteEmployee, YearFilesAreFilteredThroughABufferAndOnlyThoseHoldingTheEmployee) {
    Write("Name.dat", Join({Name("007", "a", 1001), Name("002", "b", 1001)}));
    Write("DailyWages.dat", Join({Daily("007", 1), Daily("002", 1)}));
    Write("2023_fv2.pbk", ManyMonths());
    Write("2024_fv2.pbk", Join({Month("002", 4)}));
    Write("2025_fv2.pbk", Join({Month("007", 1), Month("007", 2)}));
    const Bytes untouched = Read("2024_fv2.pbk");

    PiecesOnly pieces;
    FaultyFileSystem fs(pieces);
    const DataFiles files = AssignDataFiles(folder_, fs);
    EXPECT_EQ(CountStoredMonths(files, "007"), 4);
    ScriptedOperator op;
    ASSERT_TRUE(pb::DeleteEmployee(files, "007", op));
    EXPECT_EQ(Read("2023_fv2.pbk"), ManyMonths("007"));
    EXPECT_EQ(Read("2024_fv2.pbk"), untouched);
    EXPECT_FALSE(Has("2025_fv2.pbk"));
    for (const std::string& call : fs.Log())
        EXPECT_EQ(call.find("2024_fv2.pbk"), std::string::npos) << call;
}

TEST_F(DeleteEmployee, ACopyBrokenOffHalfWayOrAStaleIndexLosesNothing) {
    Write("Name.dat", Join({Name("007", "a", 1001), Name("002", "b", 1001)}));
    Write("DailyWages.dat", Join({Daily("007", 1), Daily("002", 1)}));
    Write("2023_fv2.pbk", ManyMonths());
    const FolderPicture before = Picture();

    // The year file cannot be read to its end the second time (the first is
    // the index): the deletion stops with every file as it was.
    PiecesOnly pieces;
    pieces.failing = Path("2023_fv2.pbk");
    pieces.failPass = 2;
    ScriptedOperator op;
    EXPECT_FALSE(pb::DeleteEmployee(AssignDataFiles(folder_, pieces), "007", op));
    ASSERT_EQ(op.Kinds(), std::vector<std::string>{"error"});
    EXPECT_NE(op.calls[0].text.find("2023_fv2.pbk"), std::string::npos) << op.calls[0].text;
    EXPECT_EQ(Picture(), before);

    // Another program adds a month within the clock's resolution, after the
    // index found only the deleted employee's: the file is not removed for it.
    Write("2024_fv2.pbk", Join({Month("007", 1)}));
    FaultyFileSystem fs;
    const DataFiles files = AssignDataFiles(folder_, fs);
    ASSERT_EQ(FindMonthIndex(files, "007", 2024, 1), 0);
    fs.HoldStamp(Path("2024_fv2.pbk"));
    Write("2024_fv2.pbk", Join({Month("007", 1), Month("002", 3)}));
    ASSERT_TRUE(pb::DeleteEmployee(files, "007", op));
    EXPECT_EQ(Read("2024_fv2.pbk"), Join({Month("002", 3)}));
}

TEST_F(DeleteEmployee, AnUnreadableOrDamagedNameFileIsLeftAsItWas) {
    Write("Name.dat", Join({Name("001", "a", 1001), Name("002", "b", 1001)}));
    Write("DailyWages.dat", Join({Daily("001", 1), Daily("002", 1)}));
    Write("2024_fv2.pbk", Join({Month("001", 1)}));
    const FolderPicture before = Picture();

    UnreadableFile unreadable(Path("Name.dat"));
    const DataFiles failing = AssignDataFiles(folder_, unreadable);
    ScriptedOperator op;
    EXPECT_FALSE(pb::DeleteEmployee(failing, "001", op));
    EXPECT_EQ(op.Kinds(), std::vector<std::string>{"error"});
    EXPECT_EQ(Picture(), before);

    Bytes ragged = Read("Name.dat");
    ragged.resize(ragged.size() - 1);
    Write("Name.dat", ragged);
    const FolderPicture damaged = Picture();
    ScriptedOperator op2;
    EXPECT_FALSE(Delete("001", op2));
    ASSERT_EQ(op2.Kinds(), std::vector<std::string>{"error"});
    EXPECT_NE(op2.calls[0].text.find("71"), std::string::npos) << op2.calls[0].text;
    EXPECT_EQ(Picture(), damaged);
}

}  // namespace
}  // namespace pb
