// Typing into the entry grid: the figures follow the typed times, bad times
// cannot be left, and the cursor keeps to the columns a work pattern uses.

#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "core/common/Routines.h"
#include "core/store/EmployeeFiles.h"
#include "core/timecard/FigureTrace.h"
#include "core/timecard/MonthCalc.h"
#include "gui/controls/Pbutton.h"
#include "gui/timecard/EntryGridView.h"
#include "support/GuiTestSupport.h"
#include "timecard/EntryFixture.h"

namespace pb::test {
namespace {

const QString kWarning = QStringLiteral("時間データが不正です。\r\n\r\n《 25:00 》");

TEST(EntryWindowEdit, TypedTimesGiveTheFiguresOfTheCalculation) {
    EntryFolder folder;
    auto window = folder.Open("001", 1999, 4, true);
    // 22 March 1999 is a Monday, neither holiday nor half holiday.
    ClickCell(*window, 1, 2);
    TypeKeys(*window, QStringLiteral("0410"));
    ClickCell(*window, 2, 2);
    TypeKeys(*window, QStringLiteral("2340"));
    ClickCell(*window, 1, 3);

    EXPECT_EQ(Cell(*window, 1, 2), QStringLiteral("04:10"));
    EXPECT_EQ(Cell(*window, 2, 2), QStringLiteral("23:40"));
    const QStringList expected = {"00:45", "03:00", "05:00", "01:45", "10:30"};
    for (int c = 3; c <= 7; ++c)
        EXPECT_EQ(Cell(*window, c, 2), expected[c - 3]) << c;
    EXPECT_TRUE(window->Modified());
    EXPECT_EQ(Find<TPanelButton>(window, QStringLiteral("ClosePB"))->caption(),
              QStringLiteral("中止"));

    // The same day through the calculation itself.
    MonthInput input;
    input.payScheme = PayScheme::Daily;
    input.daily = *ReadDailyRecord(folder.Files(), "001", 0);
    input.rules.OvertimeWorkFigure = 15;
    input.period = MakePayPeriod(1999, 4, input.daily.ClosingDay, 1);
    input.cells.resize(input.period.size());
    input.cells[1][1] = "04:10";
    input.cells[1][2] = "23:40";
    const MonthResult result = CalcMonth(input);
    EXPECT_EQ(LabelText(*window, "TotalOverMinutesLabel"),
              QString::fromStdString(result.totalsTexts.totalMinutes));
    EXPECT_EQ(LabelText(*window, "TotalOverPayLabel"),
              QString::fromStdString(result.totalsTexts.totalYen));
    EXPECT_EQ(LabelText(*window, "WorkDaysLabel"), QStringLiteral("01"));
    EXPECT_EQ(ViewCell(*window, 7, 3), QStringLiteral("10:30"));

    // Each figure explains itself in the core's words: the late-night cell
    // names its stretch, the totals their classes.
    const MonthTrace trace = TraceMonth(input, result);
    const QString night = CellHint(*window, 6, 2);
    EXPECT_TRUE(night.contains(QStringLiteral("22:00–23:40"))) << night.toStdString();
    EXPECT_EQ(night, QString::fromStdString(CellTraceText(trace, 2, 6)));
    EXPECT_EQ(Find<QLabel>(window, QStringLiteral("TotalOverPayLabel"))->toolTip(),
              QString::fromStdString(SumTraceText(trace, 7)));
    EXPECT_EQ(ViewCellHint(*window, 6, 3), QString::fromStdString(SumTraceText(trace, 6)));
    // Fifteen-minute units rounded day by day are noted beside the totals.
    EXPECT_EQ(LabelText(*window, "NotesLabel"), QStringLiteral("日毎に丸め"));
}

TEST(EntryWindowEdit, LateClockInAndLongMonthsAreNoted) {
    EntryFolder folder;
    folder.CurrentSettings().Calc_Set.FractionsHandle = 1;  // rounded on the month
    auto window = folder.Open("001", 1999, 4, true);
    // 09:00 on an 08:00 day counts as 09:00 the evening before.
    ClickCell(*window, 1, 3);
    TypeKeys(*window, QStringLiteral("0900"));
    ClickCell(*window, 2, 3);
    TypeKeys(*window, QStringLiteral("1700"));
    ClickCell(*window, 1, 4);
    EXPECT_TRUE(CellHint(*window, 1, 3).contains(QStringLiteral("前日")));
    EXPECT_EQ(InputGrid(*window)->model()->index(2, 1).data(Qt::ToolTipRole).toString(), QString());
    EXPECT_EQ(LabelText(*window, "NotesLabel"), QString());

    // Typed right, the mark goes.
    ClickCell(*window, 1, 3);
    TypeKeys(*window, QStringLiteral("0800"));
    ClickCell(*window, 1, 4);
    EXPECT_EQ(CellHint(*window, 1, 3), QString());

    // 10:30 of overtime on each weekday: the fifth passes 45 hours, the sixth 60.
    const std::vector<int> weekdays = {4, 5, 6, 9, 10, 11};  // 24 – 26 and 29 – 31 March
    for (std::size_t i = 0; i < weekdays.size(); ++i) {
        ClickCell(*window, 1, weekdays[i]);
        TypeKeys(*window, QStringLiteral("0410"));
        ClickCell(*window, 2, weekdays[i]);
        TypeKeys(*window, QStringLiteral("2340"));
        ClickCell(*window, 1, 12);
        if (i == 3) {
            EXPECT_EQ(LabelText(*window, "NotesLabel"), QString());
        } else if (i == 4) {
            EXPECT_EQ(LabelText(*window, "NotesLabel"), QStringLiteral("月45時間超"));
        }
    }
    EXPECT_EQ(LabelText(*window, "NotesLabel"), QStringLiteral("月60時間超"));
}

// How many pixels of the cell are tinted like `colour` (pure red or green;
// text is antialiased, so few pixels carry the exact colour).
int PixelsOf(EntryWindow& window, int col, int row, QColor colour) {
    EntryGridView* grid = InputGrid(window);
    const QImage image = grid->grab(grid->CellRect(col, row)).toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor p = image.pixelColor(x, y);
            const int tint = colour.red() > 0 ? p.red() - std::max(p.green(), p.blue())
                                              : p.green() - std::max(p.red(), p.blue());
            count += tint > 60 ? 1 : 0;
        }
    return count;
}

TEST(EntryWindowEdit, NationalHolidayDatesAreRedAndNamed) {
    EntryFolder folder;
    auto window = folder.Open("001", 1999, 4, true);
    // 22 March 1999 is 振替休日 for 春分の日 on the Sunday before; the 23rd is
    // an ordinary Tuesday.
    QAbstractItemModel* cells = InputGrid(*window)->model();
    EXPECT_EQ(cells->headerData(2, Qt::Vertical, Qt::ToolTipRole).toString(),
              QStringLiteral("振替休日"));
    EXPECT_EQ(cells->headerData(3, Qt::Vertical, Qt::ToolTipRole).toString(), QString());
    EXPECT_GT(PixelsOf(*window, 0, 2, Qt::red), 0);
    EXPECT_EQ(PixelsOf(*window, 0, 3, Qt::red), 0);
}

TEST(EntryWindowEdit, UnusedColumnsAreDrawnInTheInvalidColour) {
    EntryFolder folder;
    folder.AddDaily("003", "残業のみ", DailyRecord(0));
    folder.CurrentSettings().FontColor.ValidColor = 0x0000FF;    // red, as 0x00BBGGRR
    folder.CurrentSettings().FontColor.InvalidColor = 0x00FF00;  // green
    auto window = folder.Open("003", 1999, 4, true);
    const QColor valid(255, 0, 0), invalid(0, 255, 0);
    EXPECT_GT(PixelsOf(*window, 1, 0, invalid), 0);  // 出社時間: not entered for pattern 0
    EXPECT_EQ(PixelsOf(*window, 1, 0, valid), 0);
    EXPECT_GT(PixelsOf(*window, 2, 0, valid), 0);
    EXPECT_EQ(PixelsOf(*window, 2, 0, invalid), 0);
    EXPECT_GT(PixelsOf(*window, 5, 0, valid), 0);  // 普通残業 is measured
    EXPECT_GT(PixelsOf(*window, 6, 0, invalid), 0);
}

// A table of our own: from column 1 to column 2, from column 2 to the next row.
NextCellRecord ClockInOutTable() {
    NextCellRecord table;
    table.Pattern = 0;
    for (int mask = 0; mask < 16; ++mask) {
        table.Moves[mask] = 2;
        table.Moves[16 + mask] = 5;
    }
    return table;
}

TEST(EntryWindowEdit, AnInvalidTimeCannotBeLeft) {
    EntryFolder folder;
    folder.WriteNextCell({ClockInOutTable()});
    auto window = folder.Open("001", 1999, 4, true);
    struct Leave {
        const char* how;
        std::function<void()> move;
    };
    const Leave leaves[] = {
        {"mouse", [&] { ClickCell(*window, 2, 1); }},
        {"arrow key", [&] { PressKey(*window, Qt::Key_Down); }},
        {"Enter", [&] { PressKey(*window, Qt::Key_Return); }},
        {"Tab", [&] { PressKey(*window, Qt::Key_Tab); }},
    };
    EntryGridView* grid = InputGrid(*window);
    ClickCell(*window, 1, 1);
    TypeKeys(*window, QStringLiteral("2500"));
    for (const Leave& leave : leaves) {
        SCOPED_TRACE(leave.how);
        QString shown;
        AnswerNextModal([&shown](QWidget* box) {
            shown = MessageText(box);
            ClickButton(box, QStringLiteral("OK"));
        });
        leave.move();
        ProcessEvents(50);
        EXPECT_EQ(shown, kWarning);
        EXPECT_EQ(CurrentCell(*window), std::make_pair(1, 1));
        EXPECT_EQ(Cell(*window, 1, 1), QStringLiteral("25:00"));
        // Highlight and editor stay together on the cell with the bad time.
        EXPECT_EQ(grid->selectionModel()->selectedIndexes(), QModelIndexList{grid->currentIndex()});
        auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(grid->currentIndex()));
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(editor->displayText(), QStringLiteral("25:00"));
    }
    // Escape takes the bad time back: the cell is empty again, and can be left.
    PressKey(*window, Qt::Key_Escape);
    EXPECT_EQ(Cell(*window, 1, 1), QString());
    EXPECT_FALSE(window->Modified());
    ClickCell(*window, 2, 1);
    EXPECT_EQ(CurrentCell(*window), std::make_pair(2, 1));

    // Corrected, the cell can be left and the figures follow.
    ClickCell(*window, 1, 1);
    TypeKeys(*window, QStringLiteral("0800"));
    ClickCell(*window, 2, 1);
    EXPECT_EQ(CurrentCell(*window), std::make_pair(2, 1));
    EXPECT_EQ(Cell(*window, 1, 1), QStringLiteral("08:00"));
}

TEST(EntryWindowEdit, AClickIntoAnEmptyEditorTypesFromTheFirstDigitAndEscapeTakesItBack) {
    EntryFolder folder;
    auto window = folder.Open("001", 1999, 4, true);
    window->resize(700, 600);
    window->show();
    EntryGridView* grid = InputGrid(*window);
    struct Case {
        int row;
        const char* typed;
        QString shown;
    };
    for (const Case& c :
         {Case{3, "1730", QStringLiteral("17:30")}, Case{5, "25", QStringLiteral("25:  ")}}) {
        SCOPED_TRACE(c.typed);
        ClickCell(*window, 1, c.row);
        grid->edit(grid->currentIndex());
        auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(grid->currentIndex()));
        ASSERT_NE(editor, nullptr);
        QTest::mouseClick(editor, Qt::LeftButton, {}, editor->rect().center());
        ProcessEvents();
        TypeKeys(*window, QString::fromLatin1(c.typed));
        EXPECT_EQ(editor->displayText(), c.shown);
    }
    // The bad time goes with Escape, after the warning about it as well.
    AnswerNextModal([](QWidget* box) { ClickButton(box, QStringLiteral("OK")); });
    ClickCell(*window, 2, 6);
    ProcessEvents(50);
    ASSERT_EQ(CurrentCell(*window), std::make_pair(1, 5));
    PressKey(*window, Qt::Key_Escape);
    EXPECT_EQ(Cell(*window, 1, 5), QString());
    EXPECT_EQ(Cell(*window, 1, 3), QStringLiteral("17:30"));
}

TEST(EntryWindowEdit, ComputedCellsTakeNoTypingAndDeleteEmptiesATypedCell) {
    EntryFolder folder;
    auto window = folder.Open("001", 1999, 4, true);
    EnterTime(*window, 1, 2, QStringLiteral("0410"));
    EnterTime(*window, 2, 2, QStringLiteral("2340"));
    ClickCell(*window, 1, 3);
    ASSERT_EQ(Cell(*window, 3, 2), QStringLiteral("00:45"));

    // However the editor is asked for, a computed figure stays what it is.
    EntryGridView* grid = InputGrid(*window);
    const QPoint figure = grid->visualRect(grid->model()->index(2, 3)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, figure);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, figure);
    ProcessEvents();
    EXPECT_EQ(CurrentCell(*window), std::make_pair(1, 3));
    grid->edit(grid->model()->index(2, 3));
    for (QLineEdit* editor : grid->findChildren<QLineEdit*>())
        EXPECT_FALSE(editor->isVisible()) << "an editor opened";
    EXPECT_EQ(Cell(*window, 3, 2), QStringLiteral("00:45"));

    // Delete empties a typed time and the day's figures go with it.
    ClickCell(*window, 2, 2);
    PressKey(*window, Qt::Key_Delete);
    EXPECT_EQ(Cell(*window, 2, 2), QString());
    EXPECT_EQ(Cell(*window, 3, 2), QString());
    EXPECT_EQ(LabelText(*window, "WorkDaysLabel"), QStringLiteral("00"));
    EXPECT_TRUE(window->Modified());
}

TEST(EntryWindowEdit, WorkPatternsRefuseTheColumnsTheyDoNotUse) {
    struct Case {
        const char* id;
        bool hourly;
        int workType;
        std::pair<int, int> opening;
        std::vector<int> refused;
        std::vector<int> allowed;
    };
    const Case cases[] = {
        {"003", false, 0, {2, 1}, {1, 3, 4, 5}, {2}},
        {"004", false, 1, {1, 1}, {2, 3}, {1}},
        {"005", false, 7, {1, 1}, {3, 4, 5, 6, 7}, {1, 2}},
        {"006", true, 18, {1, 1}, {2, 3, 5, 8}, {1, 4}},
        {"007", true, 19, {1, 1}, {5, 6, 7, 8}, {1, 2, 3, 4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.workType);
        EntryFolder folder;
        if (c.hourly)
            folder.AddHourly(c.id, "パターン", HourlyRecord(c.workType));
        else
            folder.AddDaily(c.id, "パターン", DailyRecord(c.workType));
        auto window = folder.Open(c.id, 1999, 4, true);
        EXPECT_EQ(window->WorkType(), c.workType);
        EXPECT_EQ(CurrentCell(*window), c.opening);
        for (int col : c.refused) {
            ClickCell(*window, col, 3);
            EXPECT_EQ(CurrentCell(*window), c.opening) << "column " << col;
        }
        for (int col : c.allowed) {
            ClickCell(*window, col, 3);
            EXPECT_EQ(CurrentCell(*window), std::make_pair(col, 3)) << "column " << col;
        }
    }
}

TEST(EntryWindowEdit, EnterMovesByTheTableAndWrapsToTheFirstRow) {
    EntryFolder folder;
    folder.WriteNextCell({ClockInOutTable()});
    auto window = folder.Open("001", 1999, 3, true);  // 28 days: rows 1 … 28
    const int last = InputGrid(*window)->rowCount() - 1;
    ASSERT_EQ(last, 28);

    EnterTime(*window, 1, 5, QStringLiteral("0800"));
    EXPECT_EQ(CurrentCell(*window), std::make_pair(2, 5));
    TypeKeys(*window, QStringLiteral("1800"));
    PressKey(*window, Qt::Key_Return);
    EXPECT_EQ(CurrentCell(*window), std::make_pair(1, 6));
    EXPECT_EQ(Cell(*window, 5, 5), QStringLiteral("01:00"));

    EnterTime(*window, 2, last, QStringLiteral("1700"));
    EXPECT_EQ(CurrentCell(*window), std::make_pair(1, 1));

    // Enter without typing follows the table as well.
    PressKey(*window, Qt::Key_Return);
    EXPECT_EQ(CurrentCell(*window), std::make_pair(2, 1));
}

TEST(EntryWindowEdit, EnterOnOneColumnPatternsOnlyChangesTheRow) {
    EntryFolder folder;
    NextCellRecord table;
    table.Pattern = 1;
    for (int i = 0; i < 64; ++i)
        table.Moves[i] = 5;
    folder.WriteNextCell({ClockInOutTable(), table});
    folder.AddDaily("003", "残業のみ", DailyRecord(0));
    auto window = folder.Open("003", 1999, 4, true);
    ASSERT_EQ(CurrentCell(*window), std::make_pair(2, 1));
    TypeKeys(*window, QStringLiteral("1900"));
    PressKey(*window, Qt::Key_Return);
    EXPECT_EQ(CurrentCell(*window), std::make_pair(2, 2));
    EXPECT_EQ(Cell(*window, 5, 1), QStringLiteral("02:00"));
}

TEST(EntryWindowEdit, MissingTableLeavesTheCursorWhereItIs) {
    EntryFolder folder;  // the sample folder has no "NextCell.dat"
    auto window = folder.Open("001", 1999, 4, true);
    EnterTime(*window, 1, 2, QStringLiteral("0800"));
    EXPECT_EQ(CurrentCell(*window), std::make_pair(1, 2));
    EXPECT_EQ(Cell(*window, 1, 2), QStringLiteral("08:00"));
}

TEST(EntryWindowEdit, HalfHolidayAndWeekdayRatesFollowTheCurrentRow) {
    EntryFolder folder;
    auto daily = folder.Open("001", 1999, 4, true);
    ClickCell(*daily, 1, 7);  // 27 March 1999, a Saturday: the half holiday
    EXPECT_EQ(ViewCell(*daily, 5, 0), QStringLiteral("12:00"));
    ClickCell(*daily, 1, 8);
    EXPECT_EQ(ViewCell(*daily, 5, 0), QStringLiteral("17:00"));

    folder.AddHourly("006", "時給", HourlyRecord(18));
    auto hourly = folder.Open("006", 1999, 3, true);  // 1 … 31 March
    ClickCell(*hourly, 1, 6);                         // 6 March 1999, a Saturday
    EXPECT_EQ(ViewCell(*hourly, 5, 1), QStringLiteral("¥1,260"));
    EXPECT_EQ(ViewCell(*hourly, 7, 1), QStringLiteral("¥1,160"));
}

}  // namespace
}  // namespace pb::test
