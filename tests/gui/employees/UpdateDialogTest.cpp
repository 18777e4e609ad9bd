// The update confirmation dialogs: the stored and new values side by side, the
// colours of the rows, the answers and the size rules.

#include <QTableWidget>
#include <QTimer>

#include "EmployeeFormFixture.h"
#include "core/common/Routines.h"
#include "gui/employees/DailyUpdateDialog.h"
#include "gui/employees/HourlyUpdateDialog.h"
#include "support/GuiTestSupport.h"

namespace pb::test {
namespace {

DailyWagesRecord DailySample() {
    DailyWagesRecord r;
    r.WorkType = 7;
    r.ClosingDay = 20;
    r.Holiday = 1;
    r.Holiday1 = 1;
    r.HalfHoliday = 7;
    r.WeekdayMorningPay = 1000;
    r.WeekdayOverPay = 1000;
    r.WeekdayEarMornPay = 1100;
    r.WeekdayNightPay = 1100;
    r.HolidayMorningPay = 1100;
    r.HolidayOverPay = 1100;
    r.HolidayEarMornPay = 1200;
    r.HolidayNightPay = 1200;
    r.TimeToStartWork = StepsToTime(96);
    r.TimeToFinishWork = StepsToTime(204);
    r.TimeToFinishMorning = StepsToTime(60);
    r.TimeToStartNight = StepsToTime(264);
    r.TimeToFinishWorkHH = StepsToTime(144);
    return r;
}

class UpdateDialogTest : public EmployeeFormTest {
  protected:
    QColor Valid() const { return QColor(0, 0, 128); }
    QColor Invalid() const { return QColor(128, 128, 128); }

    void SetUp() override {
        settings_.FontColor.ValidColor = 0x800000;
        settings_.FontColor.InvalidColor = 0x808080;
        RegisterDaily("001", "山田太郎", DailySample());
    }

    PendingDailyRegistration Pending(const std::string& name, DailyWagesRecord record) {
        record.ID = "001";
        record.Current = 1;
        record.Generation = 1;
        return {"001", name, record};
    }

    // Rows drawn in ValidColor.
    static std::vector<int> ValidRows(const UpdateDialog& dialog, QColor valid) {
        std::vector<int> rows;
        for (int row = 0; row < dialog.Grid()->rowCount(); ++row)
            if (dialog.RowColour(row) == valid)
                rows.push_back(row);
        return rows;
    }
};

TEST_F(UpdateDialogTest, ChangedRowsAreDrawnInValidColour) {
    struct Case {
        const char* what;
        std::string name;
        void (*change)(DailyWagesRecord&);
        std::vector<int> validRows;
    };
    const Case cases[] = {
        {"overtime rate",
         "山田太郎",
         [](DailyWagesRecord& r) { r.WeekdayOverPay = 1250; },
         {0, 10}},
        {"name", "山田花子", [](DailyWagesRecord&) {}, {0, 1}},
        {"nothing", "山田太郎", [](DailyWagesRecord&) {}, {0}},
        // 0.5 s more is the same clock text, so the row counts as unchanged.
        {"same text",
         "山田太郎",
         [](DailyWagesRecord& r) { r.TimeToStartWork += 0.5 / 86400.0; },
         {0}},
    };
    for (const Case& c : cases) {
        DailyWagesRecord fresh = DailySample();
        c.change(fresh);
        DailyUpdateDialog dialog(files_, settings_, Pending(c.name, fresh));
        dialog.FormActivate();
        EXPECT_EQ(ValidRows(dialog, Valid()), c.validRows) << c.what;
        EXPECT_EQ(dialog.RowColour(2), Invalid()) << c.what;
    }
}

TEST_F(UpdateDialogTest, DailyTableShowsStoredAndNewTexts) {
    DailyWagesRecord fresh = DailySample();
    fresh.ClosingDay = 0;
    fresh.HalfHoliday = -1;
    fresh.TimeToFinishWorkHH = -1.0;
    fresh.WeekdayOverPay = 1250;
    DailyUpdateDialog dialog(files_, settings_, Pending("山田太郎", fresh));
    dialog.FormActivate();
    QTableWidget* grid = dialog.Grid();
    ASSERT_EQ(grid->rowCount(), 22);
    auto cell = [grid](int row, int column) { return grid->item(row, column)->text(); };
    const struct {
        int row;
        QString label, stored, fresh;
    } rows[] = {
        {0, "", "登録済データ", "新しいデータ"},
        {1, "氏名", "山田太郎", "山田太郎"},
        {2, "勤務体系", "7", "7"},
        {3, "締日", "20日", "月末"},
        {4, "休日区分", "設定", "設定"},
        {5, "休日曜日1", "日曜日", "日曜日"},
        {6, "休日曜日2", "無し", "無し"},
        {8, "半日勤務曜日", "土曜日", "無し"},
        {10, "残業時給", "¥1,000", "¥1,250"},
        {17, "規定出社時刻", "08:00", "08:00"},
        {19, "規定退社時刻(半日)", "12:00", "00:00"},
        {20, "深夜区分開始時刻", "22:00", "22:00"},
        {21, "早朝区分終了時刻", "05:00", "05:00"},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(cell(r.row, 0), r.label) << r.row;
        EXPECT_EQ(cell(r.row, 1), r.stored) << r.row;
        EXPECT_EQ(cell(r.row, 2), r.fresh) << r.row;
    }
    EXPECT_EQ(Find<QLabel>(dialog, "Label1")->text(),
              "従業員番号 001 は既に登録されています。\nデータを更新しますか？");
    EXPECT_EQ(dialog.windowTitle(), "登録確認");
}

TEST_F(UpdateDialogTest, ClosingDayTexts) {
    const struct {
        int day;
        QString text;
    } cases[] = {{0, "月末"}, {15, "15日"}, {1, "1日"}, {28, "28日"}};
    for (const auto& c : cases) {
        DailyWagesRecord r = DailySample();
        r.ClosingDay = c.day;
        EXPECT_EQ(DailyUpdateDialog::RowValues(r)[1], c.text);
        TimeWagesRecord t;
        t.ClosingDay = c.day;
        EXPECT_EQ(HourlyUpdateDialog::RowValues(t)[1], c.text);
    }
}

TEST_F(UpdateDialogTest, AnswersAreTheModalResults) {
    const struct {
        const char* what;
        std::function<void(UpdateDialog&)> answer;
        int result;
    } cases[] = {
        {"更新", [](UpdateDialog& d) { Find<TPanelButton>(d, "PanelButton1")->click(); },
         UpdateDialog::kUpdate},
        {"中止", [](UpdateDialog& d) { Find<TPanelButton>(d, "PanelButton2")->click(); },
         UpdateDialog::kCancel},
        {"close box", [](UpdateDialog& d) { d.close(); }, UpdateDialog::kCancel},
        {"Esc", [](UpdateDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); },
         UpdateDialog::kCancel},
    };
    for (const auto& c : cases) {
        DailyUpdateDialog dialog(files_, settings_, Pending("山田太郎", DailySample()));
        QTimer::singleShot(50, &dialog, [&dialog, &c] { c.answer(dialog); });
        EXPECT_EQ(dialog.exec(), c.result) << c.what;
    }
}

TEST_F(UpdateDialogTest, QuestionFlashesSevenTimesAndStaysBlack) {
    DailyUpdateDialog dialog(files_, settings_, Pending("山田太郎", DailySample()));
    auto* label = dialog.findChild<QLabel*>("Label1");
    auto* timer = dialog.findChild<QTimer*>("Timer1");
    ASSERT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 300);
    std::vector<QColor> seen;
    while (timer->isActive() && seen.size() < 20) {
        dialog.Flash();
        seen.push_back(label->palette().color(QPalette::WindowText));
    }
    const QColor black(Qt::black), maroon(128, 0, 0);
    EXPECT_EQ(seen, (std::vector<QColor>{black, maroon, black, maroon, black, maroon, black}));
}

TEST_F(UpdateDialogTest, DailyDialogIsNarrowExactlyWhenEveryRowFits) {
    DailyUpdateDialog dialog(files_, settings_, Pending("山田太郎", DailySample()));
    dialog.show();
    ProcessEvents();
    EXPECT_EQ(dialog.maximumHeight(), dialog.FullHeight());
    EXPECT_EQ(dialog.width(),
              dialog.height() >= dialog.FullHeight() ? dialog.NarrowWidth() : dialog.WideWidth());
    dialog.resize(dialog.width(), dialog.FullHeight());
    ProcessEvents();
    EXPECT_EQ(dialog.width(), dialog.NarrowWidth());
    EXPECT_FALSE(dialog.Grid()->verticalScrollBar()->isVisible());
    dialog.resize(dialog.width(), dialog.FullHeight() - 30);
    ProcessEvents();
    EXPECT_EQ(dialog.width(), dialog.WideWidth());
}

TEST_F(UpdateDialogTest, OpensCentredOnTheFormShowingEveryRowTheScreenHasRoomFor) {
    QWidget form;
    const QRect room = form.screen()->availableGeometry();
    form.setGeometry(QRect(0, 0, 500, 400).translated(room.center() - QPoint(250, 200)));
    form.show();
    TimeWagesRecord hourly;
    hourly.ID = "002";
    DailyUpdateDialog daily(files_, settings_, Pending("山田太郎", DailySample()), &form);
    HourlyUpdateDialog hourlyDialog(files_, settings_, {"002", "鈴木", hourly}, &form);
    for (UpdateDialog* dialog : std::initializer_list<UpdateDialog*>{&daily, &hourlyDialog}) {
        SCOPED_TRACE(dialog->objectName().toStdString());
        dialog->show();
        ProcessEvents();
        const QPoint offset = dialog->geometry().center() - form.geometry().center();
        EXPECT_LE(offset.manhattanLength(), 2);
        EXPECT_TRUE(room.contains(dialog->geometry()));
        // Rows below the table's end only where the screen has no more room.
        EXPECT_TRUE(!dialog->Grid()->verticalScrollBar()->isVisible() ||
                    dialog->height() >= room.height() - 40);
        dialog->hide();
    }
}

TEST_F(UpdateDialogTest, HourlyTableMapsSlotsToBandAndWeekdayRows) {
    TimeWagesRecord stored;
    stored.WorkType = 19;
    stored.ClosingDay = 20;
    stored.TimePay = 1000;
    for (int w = 0; w < 7; ++w) {
        stored.Band1Pays[w] = 1000 + w;
        stored.Band2Pays[w] = 2000 + w;
        stored.Band3Pays[w] = 3000 + w;
    }
    stored.ChargeDivideTime1 = 96;
    stored.ChargeDivideTime2 = 204;
    stored.ChargeDivideTime3 = 244;
    RegisterTime("002", "鈴木", stored);
    TimeWagesRecord fresh = stored;
    fresh.Band2Pays[6] = 2500;  // Saturday of band 2
    fresh.ID = "002";
    HourlyUpdateDialog dialog(files_, settings_, {"002", "鈴木", fresh});
    dialog.FormActivate();
    QTableWidget* grid = dialog.Grid();
    ASSERT_EQ(grid->rowCount(), 29);
    auto cell = [grid](int row, int column) { return grid->item(row, column)->text(); };
    EXPECT_EQ(cell(4, 0), " 標準時給");
    EXPECT_EQ(cell(5, 0), " 時給 区分１ 日曜日");
    EXPECT_EQ(cell(5, 1), "¥1,000");
    EXPECT_EQ(cell(11, 0), " 時給 区分１ 土曜日");
    EXPECT_EQ(cell(18, 0), " 時給 区分２ 土曜日");
    EXPECT_EQ(cell(18, 1), "¥2,006");
    EXPECT_EQ(cell(18, 2), "¥2,500");
    EXPECT_EQ(cell(25, 1), "¥3,006");
    EXPECT_EQ(cell(26, 0), " 区分１ 開始時刻");
    EXPECT_EQ(cell(28, 1), "20:20");
    EXPECT_EQ(ValidRows(dialog, Valid()), (std::vector<int>{0, 18}));
}

}  // namespace
}  // namespace pb::test
