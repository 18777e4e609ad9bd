// punchbook-export end to end: the program is run on program folders built in
// temporary directories, and its output, exit code and messages are checked.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "JsonValue.h"
#include "core/TempFolder.h"
#include "core/common/Routines.h"
#include "core/common/ShiftJis.h"
#include "core/export/CsvText.h"
#include "core/store/DataFiles.h"
#include "core/store/EmployeeFiles.h"
#include "core/store/ScriptedOperator.h"
#include "core/store/WorkDataFiles.h"

namespace pb {
namespace {

using test::JsonValue;
using test::ParseJson;
using test::TempFolder;

struct ProgramRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// `environment`: "NAME='value' " assignments put before the command.
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const TempFolder& scratch, const std::string& environment = "") {
    std::string command = environment + "'" + program + "'";
    for (const std::string& arg : args) {
        command += " '" + arg + "'";
    }
    command += " >'" + scratch / "out.txt" + "' 2>'" + scratch / "err.txt" + "'";
    const int status = std::system(command.c_str());
    ProgramRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = Slurp(scratch / "out.txt");
    run.err = Slurp(scratch / "err.txt");
    return run;
}

const std::string kExporter = std::string(PUNCHBOOK_BINARY_DIR) + "/punchbook-export";

ProgramRun Export(const std::vector<std::string>& args, const std::string& environment = "") {
    const TempFolder scratch;
    return RunProgram(kExporter, args, scratch, environment);
}

void CopySamples(const TempFolder& folder) {
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(PUNCHBOOK_SAMPLES_DIR) + "/folder")) {
        std::filesystem::copy_file(entry.path(), folder / entry.path().filename().string());
    }
}

TEST(ExportTool, SampleMonthsMatchTheirExpectedJson) {
    const TempFolder folder;
    CopySamples(folder);
    for (const std::string id : {"001", "002"}) {
        const ProgramRun run = Export({"--folder", folder.path(), "--id", id, "--year", "1999",
                                       "--month", "3", "--format", "json"});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.err, "");
        const JsonValue expected = ParseJson(
            Slurp(std::string(PUNCHBOOK_SAMPLES_DIR) + "/expected-" + id + "-1999-03.json"));
        const JsonValue actual = ParseJson(run.out);
        // Member by member first, so a difference names its key.
        ASSERT_EQ(actual.members.size(), expected.members.size());
        for (std::size_t i = 0; i < expected.members.size(); ++i) {
            EXPECT_EQ(actual.members[i].first, expected.members[i].first);
            EXPECT_TRUE(actual.members[i].second == expected.members[i].second)
                << id << ": " << expected.members[i].first;
        }
    }
}

TEST(ExportTool, TraceAddsHowEachFigureCameAbout) {
    const TempFolder folder;
    CopySamples(folder);
    const std::vector<std::string> args{"--folder", folder.path(), "--id", "001",      "--year",
                                        "1999",     "--month",     "3",    "--format", "json"};
    std::vector<std::string> withTrace = args;
    withTrace.push_back("--trace");
    const ProgramRun run = Export(withTrace);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const JsonValue json = ParseJson(run.out);
    // The first day, 04:10 to 23:40 on the weekly holiday.
    const JsonValue& night = json["days"].items[0]["trace"]["cells"].items[3];
    EXPECT_EQ(night["name"].text, "深夜");
    EXPECT_EQ(night["spans"].items[0]["text"].text, "22:00–23:40");
    EXPECT_EQ(night["spans"].items[0]["from"].text, "1320");
    EXPECT_EQ(night["counted"].text, "100");
    EXPECT_EQ(night["minutes"].text, "105");
    EXPECT_EQ(json["trace"]["rounding"].text, "15分単位・四捨五入・日毎に丸め");
    // Nothing else changes: without the trace members it is the plain export.
    JsonValue plain = json;
    plain.members.pop_back();
    for (auto& [key, value] : plain.members) {
        if (key == "days") {
            for (JsonValue& day : value.items) {
                day.members.pop_back();
            }
        }
    }
    EXPECT_TRUE(plain == ParseJson(Export(args).out));
}

// Splits a CSV text (no quoted commas in it) into rows of fields.
std::vector<std::vector<std::string>> CsvRows(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.ends_with("\r")) {
            line.pop_back();
        }
        std::vector<std::string> fields;
        std::istringstream cells(line);
        for (std::string field; std::getline(cells, field, ',');) {
            fields.push_back(field);
        }
        if (line.ends_with(",")) {
            fields.push_back("");
        }
        rows.push_back(fields);
    }
    return rows;
}

TEST(ExportTool, AllEmployeesOfAMonthOneRowEach) {
    const TempFolder folder;
    CopySamples(folder);
    const std::vector<std::string> all{"--folder", folder.path(), "--all", "--year",
                                       "1999",     "--month",     "3"};
    const ProgramRun run = Export(all);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ASSERT_TRUE(run.out.starts_with("\xEF\xBB\xBF"));
    const auto rows = CsvRows(run.out.substr(3));
    ASSERT_EQ(rows.size(), 3u);
    // 7 leading columns, 16 of the classes, 6 of the bands, 2 totals.
    EXPECT_EQ(rows[0].size(), 31u);
    EXPECT_EQ(rows[0][7], "早朝残業(平日)時間");
    EXPECT_EQ(rows[0][23], "区分1時間");
    for (std::size_t r = 1; r <= 2; ++r) {
        const std::string id = r == 1 ? "001" : "002";
        ASSERT_EQ(rows[r].size(), 31u) << id;
        EXPECT_EQ(rows[r][2], id);
        // The same figures as the month's own export.
        const JsonValue month = ParseJson(Export({"--folder", folder.path(), "--id", id, "--year",
                                                  "1999", "--month", "3", "--format", "json"})
                                              .out);
        EXPECT_EQ(rows[r][5], month["totals"]["work_days"].text);
        EXPECT_EQ(rows[r][30], month["totals"]["total_yen"].text);
        EXPECT_EQ(rows[r][29], MinutesToText(std::stoi(month["totals"]["total_minutes"].text)));
        for (std::size_t k = 0; r == 1 && k < 4; ++k) {
            // Each class's weekday and holiday figures under their own headings.
            const JsonValue& sum = month["classes"].items.at(k);
            const std::size_t at = 7 + 4 * k;
            EXPECT_EQ(rows[r][at], MinutesToText(std::stoi(sum["weekday_minutes"].text)));
            EXPECT_EQ(rows[r][at + 1], sum["weekday_yen"].text);
            EXPECT_EQ(rows[r][at + 2], MinutesToText(std::stoi(sum["holiday_minutes"].text)));
            EXPECT_EQ(rows[r][at + 3], sum["holiday_yen"].text) << rows[0][at + 3];
        }
    }
    EXPECT_EQ(rows[1][4], "日給制");
    EXPECT_EQ(rows[1][23], "");  // no bands for daily wage
    EXPECT_EQ(rows[2][4], "時給制");
    EXPECT_EQ(rows[2][7], "");
    EXPECT_EQ(rows[2][23], "23:30");
    EXPECT_EQ(rows[2][24], "23500");

    // One scheme: its own columns only; Shift-JIS on request.
    std::vector<std::string> hourly = all;
    hourly.insert(hourly.end(), {"--scheme", "2", "--encoding", "sjis"});
    const ProgramRun sjis = Export(hourly);
    ASSERT_EQ(sjis.exitCode, 0) << sjis.err;
    const auto hourlyRows = CsvRows(DecodeSjis(sjis.out).text);
    ASSERT_EQ(hourlyRows.size(), 2u);
    EXPECT_EQ(hourlyRows[0].size(), 15u);
    EXPECT_EQ(hourlyRows[1][2], "002");

    // A month nobody has is not found.
    std::vector<std::string> april = all;
    april[6] = "4";
    EXPECT_EQ(Export(april).exitCode, 1);
}

TEST(ExportTool, CsvFieldsAreQuotedWhereTheyMustBe) {
    EXPECT_EQ(CsvRow({"鈴木,次郎", "say \"hi\"", "two\r\nlines", "plain"}),
              "\"鈴木,次郎\",\"say \"\"hi\"\"\",\"two\r\nlines\",plain\r\n");
}

TEST(ExportTool, CheckIsExitZeroWhenSoundAndThreeOtherwise) {
    const TempFolder folder;
    CopySamples(folder);
    const ProgramRun sound = Export({"--folder", folder.path(), "--check"});
    EXPECT_EQ(sound.exitCode, 0) << sound.out << sound.err;
    EXPECT_TRUE(sound.out.starts_with("異常はありません。")) << sound.out;

    std::ofstream(folder / "1999_fv2.pbk", std::ios::app | std::ios::binary) << "xx";
    const ProgramRun damaged = Export({"--folder", folder.path(), "--check"});
    EXPECT_EQ(damaged.exitCode, 3);
    EXPECT_TRUE(damaged.out.starts_with("1999_fv2.pbk: 大きさ")) << damaged.out;
    EXPECT_NE(damaged.out.find("1 件の問題が見つかりました。"), std::string::npos);
}

TEST(ExportTool, HourlyCsvListsTheBandsAndTotals) {
    const TempFolder folder;
    CopySamples(folder);
    const ProgramRun run =
        Export({"--folder", folder.path(), "--id", "002", "--year", "1999", "--month", "3"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("\r\n1999-03-01,03/01(月),07:00,12:00,13:00,21:00,01:45,08:00,03:15,"
                           "13:00\r\n"),
              std::string::npos);
    EXPECT_NE(run.out.find("\r\n区分,勤務時間,賃金\r\n区分１,23:30,23500\r\n"
                           "区分２,18:00,18000\r\n区分３,06:30,6825\r\n"),
              std::string::npos);
    EXPECT_TRUE(run.out.ends_with("\r\n4,0,48:00,48325,00:00,0\r\n"));

    // Without --folder the exporter reads the folder the program would use.
    const ProgramRun byVariable = Export({"--id", "002", "--year", "1999", "--month", "3"},
                                         "PUNCHBOOK_FOLDER='" + folder.path() + "' ");
    EXPECT_EQ(byVariable.exitCode, 0) << byVariable.err;
    EXPECT_EQ(byVariable.out, run.out);
}

// A folder written by the store code: an employee named with ソ whose month is
// pinned to an older wage generation, and one whose month holds damaged texts.
class ExportFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        files_ = AssignDataFiles(folder_.path());
        WriteNameRecord(files_, NameRecord{"007", "ソ連 表子", 0, 1002});
        DailyWagesRecord first = Wages(1, 1000);
        first.Current = 0;
        WriteDailyRecord(files_, first, -1);
        WriteDailyRecord(files_, Wages(2, 2000), -1);
        WriteNameRecord(files_, NameRecord{"008", "新 月", 0, 1001});
        WriteDailyRecord(
            files_,
            [] {
                DailyWagesRecord w = Wages(1, 1000);
                w.ID = "008";
                return w;
            }(),
            -1);
    }

    static DailyWagesRecord Wages(int generation, std::int32_t overPay) {
        DailyWagesRecord w;
        w.ID = "007";
        w.Current = 1;
        w.Generation = generation;
        w.WorkType = 2;
        w.ClosingDay = 0;
        w.HalfHoliday = -1;
        w.Holiday1 = 1;
        w.WeekdayMorningPay = 1000;
        w.WeekdayOverPay = overPay;
        w.TimeToStartWork = TextToTime("08:00");
        w.TimeToFinishWork = TextToTime("17:00");
        w.TimeToStartNight = TextToTime("22:00");
        w.TimeToFinishMorning = TextToTime("05:00");
        return w;
    }

    // April 2001 paid next month: March 2001, which begins on a Thursday.
    void StoreMonth(const std::string& id, int generation,
                    const std::vector<std::pair<std::string, std::string>>& days) {
        MonthRecord month;
        month.ID = id;
        month.PayScheme = 1;
        month.WagesGeneration = generation;
        month.Month = 4;
        month.DayCount = 31;
        for (std::size_t row = 0; row < days.size(); ++row) {
            month.Cells[0][row] = days[row].first;
            month.Cells[1][row] = days[row].second;
        }
        ScriptedOperator op;
        ASSERT_TRUE(WriteMonthRecord(files_, 2001, month, op));
    }

    ProgramRun ExportApril(const std::string& id, std::vector<std::string> more = {}) {
        std::vector<std::string> args{"--folder", folder_.path(), "--id",    id,
                                      "--year",   "2001",         "--month", "4"};
        args.insert(args.end(), more.begin(), more.end());
        return Export(args);
    }

    TempFolder folder_;
    DataFiles files_;
};

TEST_F(ExportFolder, APinnedGenerationPricesWithItsOwnRates) {
    StoreMonth("007", 1, {{"08:00", "19:00"}, {"07:00", "17:00"}});
    const ProgramRun run = ExportApril("007", {"--format", "json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const JsonValue json = ParseJson(run.out);
    EXPECT_EQ(json["name"].text, "ソ連 表子");
    EXPECT_EQ(json["wages_generation"].text, "1");
    EXPECT_EQ(json["work_type"].text, "2");
    EXPECT_EQ(json["days"].items.size(), 31u);
    EXPECT_EQ(json["days"].items[0]["label"].text, "03/01(木)");
    EXPECT_EQ(json["days"].items[0]["cells"].items[4].text, "02:00");
    // Generation 1 pays 1,000 an hour of ordinary overtime, not generation 2's 2,000.
    EXPECT_EQ(json["classes"].items[2]["weekday_yen"].text, "2000");
    EXPECT_EQ(json["classes"].items[0]["used"].boolean, false);
    EXPECT_EQ(json["totals"]["total_yen"].text, "3000");
    EXPECT_EQ(json["totals"]["work_days"].text, "2");
    EXPECT_EQ(json["bands"].items.size(), 0u);

    // Generation 0 follows whichever record is in force.
    StoreMonth("007", 0, {{"08:00", "19:00"}});
    EXPECT_EQ(ParseJson(ExportApril("007", {"--format", "json"}).out)["totals"]["total_yen"].text,
              "4000");
}

TEST_F(ExportFolder, CsvIsUtf8WithABomOrShiftJis) {
    StoreMonth("007", 0, {{"08:00", "19:00"}});
    const ProgramRun utf8 = ExportApril("007");
    ASSERT_EQ(utf8.exitCode, 0) << utf8.err;
    ASSERT_TRUE(utf8.out.starts_with("\xEF\xBB\xBF"));
    const std::string text = utf8.out.substr(3);
    EXPECT_TRUE(text.starts_with(
        "年月日,日付,出社時間,退社時間,早朝残業,早出残業,普通残業,深夜残業,合計\r\n"));
    // April paid next month is March: the date says which year and month a day is.
    EXPECT_NE(text.find("\r\n2001-03-01,03/01(木),08:00,19:00,,00:00,02:00,,02:00\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("\r\n普通残業,02:00,00:00,4000,0\r\n"), std::string::npos);
    EXPECT_TRUE(text.ends_with("\r\n1,0,02:00,4000,00:00,0\r\n"));

    const ProgramRun sjis = ExportApril("007", {"--encoding", "sjis"});
    ASSERT_EQ(sjis.exitCode, 0) << sjis.err;
    EXPECT_EQ(sjis.out, EncodeSjis(text));
    EXPECT_EQ(DecodeSjis(sjis.out).text, text);
}

TEST_F(ExportFolder, StoredTextsThatAreNotTimesAreExportedEmpty) {
    StoreMonth("007", 0, {{"08:00", "25:00"}, {"1 :3 ", "19:00"}, {"  :  ", "18:00"}});
    const ProgramRun run = ExportApril("007", {"--format", "json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const JsonValue days = ParseJson(run.out)["days"];
    for (int row = 0; row < 3; ++row) {
        const JsonValue& cells = days.items[row]["cells"];
        EXPECT_EQ(cells.items[4].text, "") << row;  // not a working day
    }
    EXPECT_EQ(days.items[0]["cells"].items[1].text, "");
    EXPECT_EQ(days.items[1]["cells"].items[0].text, "");
    EXPECT_EQ(ParseJson(run.out)["totals"]["work_days"].text, "0");
}

TEST_F(ExportFolder, AllNamesTheEmployeesWithoutTheMonth) {
    StoreMonth("007", 0, {{"08:00", "19:00"}});
    const ProgramRun run = Export(
        {"--folder", folder_.path(), "--all", "--year", "2001", "--month", "4", "--scheme", "1"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("\r\n2001,4,007,ソ連 表子,日給制,1,0,"), std::string::npos);
    EXPECT_EQ(run.out.find(",008,"), std::string::npos);
    EXPECT_NE(run.err.find("008 新 月: この月の記録がありません"), std::string::npos) << run.err;
}

TEST_F(ExportFolder, NotFoundIsExitOneWithAMessage) {
    StoreMonth("007", 5, {{"08:00", "19:00"}});
    struct Case {
        std::vector<std::string> args;
        std::string mentions;
    };
    const Case cases[] = {
        {{"--folder", folder_.path(), "--id", "9", "--year", "2001", "--month", "4"}, "009"},
        {{"--folder", folder_.path(), "--id", "8", "--year", "2001", "--month", "4"},
         "2001_fv2.pbk"},
        {{"--folder", folder_.path(), "--id", "7", "--year", "2001", "--month", "5"}, "5月分"},
        {{"--folder", folder_.path(), "--id", "7", "--year", "2001", "--month", "4"}, "第5世代"},
    };
    for (const Case& c : cases) {
        const ProgramRun run = Export(c.args);
        EXPECT_EQ(run.exitCode, 1) << c.mentions;
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(c.mentions), std::string::npos) << run.err;
    }
}

TEST_F(ExportFolder, ADamagedYearFileIsExitThreeNamingTheFile) {
    StoreMonth("007", 0, {{"08:00", "19:00"}});
    std::ofstream(folder_ / "2001_fv2.pbk", std::ios::app | std::ios::binary) << "xx";
    const ProgramRun run = ExportApril("007");
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(folder_ / "2001_fv2.pbk"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("壊れています"), std::string::npos) << run.err;

    // A month record naming no pay scheme is damaged too.
    std::filesystem::remove(folder_ / "2001_fv2.pbk");
    MonthRecord month;
    month.ID = "007";
    month.PayScheme = 0;
    month.Month = 4;
    ScriptedOperator op;
    ASSERT_TRUE(WriteMonthRecord(files_, 2001, month, op));
    EXPECT_EQ(ExportApril("007").exitCode, 3);

    // So is a wage record that no form writes, and --all stops at it too.
    std::filesystem::remove(folder_ / "2001_fv2.pbk");
    StoreMonth("007", 0, {{"08:00", "19:00"}});
    DailyWagesRecord wages = Wages(2, 2147483647);
    WriteDailyRecord(files_, wages, 1);
    for (const ProgramRun& refused :
         {ExportApril("007"), Export({"--folder", folder_.path(), "--all", "--year", "2001",
                                      "--month", "4", "--scheme", "1"})}) {
        EXPECT_EQ(refused.exitCode, 3);
        EXPECT_EQ(refused.out, "");
        EXPECT_NE(refused.err.find(folder_ / "DailyWages.dat" + " は壊れています。"),
                  std::string::npos)
            << refused.err;
        EXPECT_NE(refused.err.find("007（ソ連 表子）の賃金データ（第2世代）の値が範囲外です（時給 "
                                   "2147483647）"),
                  std::string::npos)
            << refused.err;
    }
    // A NUL inside the stored name cuts nothing of the message.
    WriteNameRecord(files_, NameRecord{"007", std::string("ソ連\0表子", 13), 0, 1001});
    EXPECT_NE(ExportApril("007").err.find("007（ソ連\uFFFD表子）の賃金データ（第2世代）の値が範囲外"
                                          "です（時給 2147483647）"),
              std::string::npos);

    // A Name.dat shorter than one record is damaged, not empty.
    std::filesystem::resize_file(folder_ / "Name.dat", 20);
    const ProgramRun all =
        Export({"--folder", folder_.path(), "--all", "--year", "2001", "--month", "4"});
    EXPECT_EQ(all.exitCode, 3);
    EXPECT_NE(all.err.find(folder_ / "Name.dat" + " は壊れています。"), std::string::npos)
        << all.err;
}

// A change cut short is reported, not read half made, and nothing is written.
TEST_F(ExportFolder, AFolderThatNeedsRepairIsExitThreeAndLeftAlone) {
    StoreMonth("007", 0, {{"08:00", "19:00"}});
    const std::string journal =
        "Punchbook journal 1\noperation 従業員 007 の削除\nfile Name.dat\nbefore - -\n"
        "after 36 Name.dat.1-00000000-1.new~\nend\n";
    std::ofstream(folder_ / "Punchbook.jnl", std::ios::binary) << journal;
    const ProgramRun run = ExportApril("007");
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("「従業員 007 の削除」が途中で終わっています"), std::string::npos)
        << run.err;
    EXPECT_TRUE(std::filesystem::exists(folder_ / "Punchbook.jnl"));
}

TEST_F(ExportFolder, TheProgramFolderIsTheDefault) {
    StoreMonth("007", 0, {{"08:00", "19:00"}});
    std::filesystem::copy_file(kExporter, folder_ / "punchbook-export");
    const TempFolder scratch;
    const ProgramRun run =
        RunProgram(folder_ / "punchbook-export",
                   {"--id", "007", "--year", "2001", "--month", "4", "--format=json"}, scratch);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(ParseJson(run.out)["name"].text, "ソ連 表子");
}

TEST(ExportTool, HolidaysOfAYearOneALine) {
    const ProgramRun run = Export({"--holidays", "2021"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(run.out.starts_with("2021-01-01\t元日\n2021-01-11\t成人の日\n"));
    EXPECT_NE(run.out.find("\n2021-07-23\tスポーツの日\n2021-08-08\t山の日\n"
                           "2021-08-09\t振替休日\n"),
              std::string::npos);
    EXPECT_TRUE(run.out.ends_with("\n2021-11-23\t勤労感謝の日\n"));
    EXPECT_EQ(Export({"--holidays=2021"}).out, run.out);
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--holidays"},
                                                 {"--holidays", "1947"},
                                                 {"--holidays", "2100"},
                                                 {"--holidays", "2021", "--id", "001"}}) {
        EXPECT_EQ(Export(args).exitCode, 2) << ::testing::PrintToString(args);
    }
}

TEST(ExportTool, UsageErrorsAreExitTwo) {
    const TempFolder folder;
    const std::string dir = folder.path();
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"--folder", dir, "--id", "001", "--year", "1999"},
        {"--folder", dir, "--id", "001", "--year", "1999", "--month", "13"},
        {"--folder", dir, "--id", "001", "--year", "1999", "--month", "0"},
        {"--folder", dir, "--id", "1000", "--year", "1999", "--month", "3"},
        {"--folder", dir, "--id", "abc", "--year", "1999", "--month", "3"},
        {"--folder", dir, "--id", "001", "--year", "99x", "--month", "3"},
        {"--folder", dir, "--id", "001", "--year", "1999", "--month", "3", "--format", "xml"},
        {"--folder", dir, "--id", "001", "--year", "1999", "--month", "3", "--encoding", "latin1"},
        {"--folder", dir, "--id", "001", "--year", "1999", "--month", "3", "--format", "json",
         "--encoding", "sjis"},
        {"--folder", dir, "--id", "001", "--year", "1999", "--month", "3", "--verbose"},
        {"--folder", dir, "--id", "001", "--year", "1999", "--month", "3", "--trace"},
        {"--folder", dir, "--id", "001", "--year", "1999", "--month", "3", "--scheme", "1"},
        {"--folder", dir, "--all", "--id", "001", "--year", "1999", "--month", "3"},
        {"--folder", dir, "--all", "--year", "1999", "--month", "3", "--format", "json"},
        {"--folder", dir, "--all", "--year", "1999", "--month", "3", "--scheme", "3"},
        {"--folder", dir, "--all", "--year", "1999"},
        {"--folder", dir, "--check", "--id", "001"},
        {"--folder", dir, "--check", "--all", "--year", "1999", "--month", "3"},
        {"--folder", dir + "missing", "--id", "001", "--year", "1999", "--month", "3"},
        {"--folder", dir, "--id", "001", "--year", "1999", "--month"},
    };
    for (const auto& args : cases) {
        const ProgramRun run = Export(args);
        EXPECT_EQ(run.exitCode, 2) << ::testing::PrintToString(args);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("使い方: punchbook-export"), std::string::npos) << run.err;
    }
}

}  // namespace
}  // namespace pb
