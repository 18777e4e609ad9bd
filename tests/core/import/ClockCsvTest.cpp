// Clock times read from CSV: the formats recorders and spreadsheets write, and
// the files and rows refused.
#include "core/import/ClockCsv.h"

#include <gtest/gtest.h>

#include "core/common/ShiftJis.h"

namespace pb {
namespace {

const ClockLayout kLayout{};  // ID, date, clock-in, clock-out, break start, break end

TEST(ClockCsv, TimesIdsAndDatesInTheirWrittenForms) {
    const struct {
        const char* text;
        const char* cell;  // nullptr: refused
    } times[] = {
        {"8:05", "08:05"},    {"08:05", "08:05"},  {"0805", "08:05"},    {"805", "08:05"},
        {"25:30", "01:30"},   {"翌1:30", "01:30"}, {"24:00", "00:00"},   {"08:05:59", "08:05"},
        {"47:59", "23:59"},   {"48:00", nullptr},  {"翌25:00", nullptr}, {"8:60", nullptr},
        {"8:5", nullptr},     {"08.05", nullptr},  {"80", nullptr},      {"12345", nullptr},
        {"8:05:60", nullptr}, {"-1:00", nullptr},
    };
    for (const auto& t : times) {
        const auto cell = ReadClockTime(t.text);
        EXPECT_EQ(cell.has_value(), t.cell != nullptr) << t.text;
        if (cell && t.cell) {
            EXPECT_EQ(*cell, t.cell) << t.text;
        }
    }
    EXPECT_EQ(ReadEmployeeId("7"), "007");
    EXPECT_EQ(ReadEmployeeId("0007"), "007");
    EXPECT_EQ(ReadEmployeeId("999"), "999");
    EXPECT_EQ(ReadEmployeeId("0"), std::nullopt);
    EXPECT_EQ(ReadEmployeeId("1000"), std::nullopt);
    EXPECT_EQ(ReadEmployeeId("A01"), std::nullopt);

    const struct {
        const char* date;
        int year, month, day;  // year -1: refused
    } dates[] = {
        {"2024-04-01", 2024, 4, 1}, {"2024/04/01", 2024, 4, 1}, {"2024/4/1", 2024, 4, 1},
        {"2024/2/29", 2024, 2, 29}, {"2023/2/29", -1, 0, 0},    {"2024/13/1", -1, 0, 0},
        {"2024/4/31", -1, 0, 0},    {"24/4/1", -1, 0, 0},       {"2024-4", -1, 0, 0},
        {"04/01(月)", 0, 4, 1},     {"2024.04.01", -1, 0, 0},   {"2024/04/00", -1, 0, 0},
    };
    for (const auto& d : dates) {
        const std::string csv = std::string("1,") + d.date + ",8:00,17:00,,\n";
        const ClockFile file = ReadClockCsv(csv, kLayout);
        ASSERT_EQ(file.rows.size(), 1u) << d.date;
        const ClockRow& row = file.rows[0];
        if (d.year < 0) {
            EXPECT_NE(row.problem.find("日付"), std::string::npos) << d.date;
        } else {
            EXPECT_EQ(row.problem, "") << d.date;
            EXPECT_EQ(std::tie(row.year, row.month, row.day), std::tie(d.year, d.month, d.day))
                << d.date;
        }
    }
}

TEST(ClockCsv, EncodingsHeadingsAndQuotesReadAlike) {
    const std::string body =
        "社員,日付,出勤,退勤,休憩開始,休憩終了\r\n"
        "\"001\",2024/4/1,\"8:00\",翌1:30,12:00,\r\n"
        "2,2024-04-02,,,,\r\n";
    const std::pair<std::string, bool> files[] = {{body, true},
                                                  {"\xEF\xBB\xBF" + body, true},
                                                  {EncodeSjis(body), true},
                                                  {body.substr(body.find('\n') + 1), false}};
    for (const auto& [bytes, heading] : files) {
        const ClockFile file = ReadClockCsv(bytes, kLayout);
        ASSERT_EQ(file.rows.size(), 2u);
        EXPECT_EQ(file.heading, heading);
        const ClockRow& row = file.rows[0];
        EXPECT_EQ(row.problem, "");
        EXPECT_EQ(row.id, "001");
        EXPECT_EQ(row.line, file.heading ? 2 : 1);
        EXPECT_EQ(row.cells[1], "08:00");
        EXPECT_EQ(row.cells[2], "12:00");
        EXPECT_EQ(row.cells[3], "");
        EXPECT_EQ(row.cells[4], "01:30");
        EXPECT_TRUE(file.rows[1].IsEmpty());
    }
    EXPECT_EQ(ReadClockCsv(EncodeSjis(body), kLayout).encoding, CsvEncoding::ShiftJis);

    // A quoted field may hold commas, quotes and line breaks; lines count on.
    ClockLayout noBreaks = kLayout;
    noBreaks.BreakStartColumn = noBreaks.BreakEndColumn = 0;
    const ClockFile quoted = ReadClockCsv(
        "1,2024/4/1,8:00,17:00,\"a,\"\"b\"\"\nc\"\n"
        "x,2024/4/2,8:00,1700,\n",
        noBreaks);
    ASSERT_EQ(quoted.rows.size(), 2u);
    EXPECT_EQ(quoted.rows[0].problem, "");
    EXPECT_EQ(quoted.rows[1].line, 3);
    EXPECT_EQ(quoted.rows[1].problem, "従業員番号「x」が正しくありません。");
}

TEST(ClockCsv, FilesThatAreNoTableAreRefusedNamingTheLine) {
    const struct {
        std::string bytes;
        int line;
        const char* words;
    } cases[] = {
        {"", 0, "ファイルが空です"},
        {"\r\n\r\n", 0, "ファイルが空です"},
        {"ID,日付,出勤,退勤,休憩開始,休憩終了\r\n", 1, "見出しの行のほかにデータがありません"},
        {"1,2024/4/1,8:00,17:00,,\n2,2024/4/1,8:00,17:00\n", 2,
         "列の数（4）が 1 行目（6）と違います"},
        {"1,2024/4/1,8:00,17:00,,\n2,2024/4/1,\"8:00,17:00,,\n3,2024/4/2,,,,\n", 2,
         "引用符（\"）が閉じられていません"},
        {"1,2024/4/1,8:00\n", 1, "3 列しかありません"},
        {"1,2024/4/1,8:00,17:00,,\n" + std::string("\x7f"
                                                   "ELF\x02\x01\x01\0\0",
                                                   9),
         2, "文字ではないデータ"},
        {"1,2024/4/1,8:00,17:00,,\n1,2024/4/2,\xff\xfe,,,\n", 2, "UTF-8 でも Shift-JIS でも"},
        {std::string(kMaxClockCsvBytes + 1, 'x'), 0, "大きすぎます"},
    };
    for (const auto& c : cases) {
        try {
            ReadClockCsv(c.bytes, kLayout);
            ADD_FAILURE() << c.words;
        } catch (const ClockCsvError& error) {
            EXPECT_EQ(error.line(), c.line) << c.words;
            EXPECT_NE(std::string(error.what()).find(c.words), std::string::npos) << error.what();
            if (c.line > 0) {
                EXPECT_TRUE(std::string(error.what()).starts_with(std::to_string(c.line) + "行目"));
            }
        }
    }
}

TEST(ClockCsv, TheMonthCsvReadsByItsOwnHeading) {
    // As the month export writes it, with and without the date column.
    const std::string dated =
        "年月日,日付,出社時間,休憩開始,休憩終了,退社時間,区分１,区分２,区分３,合計\r\n"
        "2024-03-21,03/21(木),09:00,12:00,13:00,18:00,08:00,,,08:00\r\n"
        "2024-03-22,03/22(金),,,,,,,,\r\n"
        "\r\n"
        "区分,勤務時間,賃金\r\n";
    const std::string labelled =
        "日付,出社時間,退社時間,早朝残業,早出残業,普通残業,深夜残業,合　　計\r\n"
        "03/21(木),07:00,01:30,,01:00,,,01:00\r\n"
        "\r\n"
        "区分,平日残業,休日残業,平日賃金,休日賃金\r\n";
    const ClockFile a = ReadClockCsv("\xEF\xBB\xBF" + dated, kLayout);
    ASSERT_TRUE(a.monthCsv);
    ASSERT_EQ(a.rows.size(), 2u);
    EXPECT_EQ(std::tie(a.rows[0].year, a.rows[0].month, a.rows[0].day),
              std::make_tuple(2024, 3, 21));
    EXPECT_EQ(a.rows[0].cells[2], "12:00");
    EXPECT_EQ(a.rows[0].cells[4], "18:00");
    const ClockFile b = ReadClockCsv(EncodeSjis(labelled), kLayout);
    ASSERT_TRUE(b.monthCsv);
    ASSERT_EQ(b.rows.size(), 1u);
    EXPECT_EQ(b.rows[0].year, 0);
    EXPECT_EQ(b.rows[0].cells[1], "07:00");
    EXPECT_EQ(b.rows[0].cells[2], std::nullopt);
    EXPECT_EQ(b.rows[0].cells[4], "01:30");
}

}  // namespace
}  // namespace pb
