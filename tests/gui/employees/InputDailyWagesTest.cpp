// The daily-wage registration form.

#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>
#include <QInputMethodEvent>

#include "EmployeeFormFixture.h"
#include "core/common/Routines.h"
#include "gui/employees/CheckWorkType.h"
#include "gui/employees/InputDailyWages.h"
#include "gui/shared/DropDown.h"
#include "support/GuiTestSupport.h"

namespace pb::test {
namespace {

class InputDailyWagesTest : public EmployeeFormTest {
  protected:
    std::unique_ptr<TInputD> Open() {
        auto form = std::make_unique<TInputD>(Context());
        form->show();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        return form;
    }

    // Registers what the form shows under `id` and `name`.
    void RegisterShown(TInputD& form, const QString& id, const QString& name) {
        TypeId(&form, id);
        Find<QLineEdit>(&form, "NameEdit")->setText(name);
        Click(&form, "PanelButton1");
    }

    DailyWagesRecord Stored(const std::string& id) {
        const auto record = ReadDailyRecord(files_, id, 0);
        EXPECT_TRUE(record.has_value()) << id;
        return record.value_or(DailyWagesRecord{});
    }

    static QCheckBox* Box(QWidget* form, const char* name) { return Find<QCheckBox>(form, name); }
    static void SetChecked(QWidget* form, const char* name, bool on) {
        QCheckBox* box = Box(form, name);
        if (box->isChecked() != on)
            box->click();
    }
    static QStringList Items(QComboBox* box) {
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items << box->itemText(i);
        return items;
    }
};

TEST_F(InputDailyWagesTest, EmptyFolderShowsTheDefaults) {
    auto form = Open();
    EXPECT_EQ(Find<QComboBox>(form.get(), "IDCB")->count(), 0);
    EXPECT_EQ(Find<QLabel>(form.get(), "Label11")->text(), "未登録です。");
    EXPECT_TRUE(Find<QLineEdit>(form.get(), "NameEdit")->text().isEmpty());
    EXPECT_FALSE(Find<TPanelButton>(form.get(), "PanelButton5")->isEnabled());
    for (const char* name : {"CheckBox1", "CheckBox2", "CheckBox3", "CheckBox4", "HolidayCB",
                             "CheckBox7", "HalfHolidayCB"})
        EXPECT_TRUE(Box(form.get(), name)->isChecked()) << name;
    EXPECT_FALSE(Box(form.get(), "CheckBox13")->isChecked());
    EXPECT_EQ(Find<QComboBox>(form.get(), "HalfHolidayCombo")->currentText(), "土");
    EXPECT_EQ(Find<TNumEdit>(form.get(), "NumEdit1")->value(), 1000);
    EXPECT_EQ(Find<TNumEdit>(form.get(), "NumEdit8")->value(), 1200);
    EXPECT_EQ(Find<QScrollBar>(form.get(), "ScrollBar8")->value(), 32000 - 1200);
    EXPECT_EQ(Find<QLineEdit>(form.get(), "Memo1")->text(), "08:00");
    EXPECT_EQ(Find<QSlider>(form.get(), "TrackBar4")->value(), 264);
    EXPECT_EQ(Find<QLineEdit>(form.get(), "Memo5")->text(), "12:00");
    EXPECT_EQ(Find<TNumEdit>(form.get(), "ClosingDayEdit")->value(), 20);
    EXPECT_EQ(Find<QScrollBar>(form.get(), "ClosingDaySB")->value(), 20);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return form->windowTitle() == "日給制データ入力   勤務体系 7"; }, 20000));
}

TEST_F(InputDailyWagesTest, TypedIdsArePaddedSortedAndLookedUp) {
    RegisterDaily("003", "佐藤", DailyWagesRecord{});
    RegisterDaily("010", "田中", DailyWagesRecord{});
    auto form = Open();
    auto* idcb = Find<QComboBox>(form.get(), "IDCB");
    EXPECT_EQ(Items(idcb), (QStringList{"003", "010"}));
    EXPECT_EQ(Find<QLineEdit>(form.get(), "NameEdit")->text(), "佐藤");
    TypeId(form.get(), "5");
    EXPECT_EQ(idcb->currentText(), "005");
    EXPECT_EQ(Items(idcb), (QStringList{"003", "005", "010"}));
    EXPECT_EQ(form->SelectedId(), "005");
    EXPECT_EQ(Find<QLabel>(form.get(), "Label11")->text(), "未登録です。");
    TypeId(form.get(), "10");
    EXPECT_EQ(form->SelectedId(), "010");
    EXPECT_EQ(Find<QLineEdit>(form.get(), "NameEdit")->text(), "田中");
    EXPECT_EQ(idcb->count(), 3);
    // The field takes three characters: a typed 1000 is 100.
    TypeId(form.get(), "1000");
    EXPECT_EQ(form->SelectedId(), "100");
    TypeId(form.get(), "10");
    for (const QString typed : {"0", "abc", "-5", "+"}) {
        TypeId(form.get(), typed);
        EXPECT_EQ(form->SelectedId(), "010") << typed.toStdString();
        form->IDCBExit();
        EXPECT_EQ(idcb->currentText(), "010") << typed.toStdString();
        EXPECT_EQ(idcb->count(), 4);
    }
}

TEST_F(InputDailyWagesTest, ANewIdStartsFromTheDefaultsAndUnregisteredChangesAskOnClose) {
    DailyWagesRecord early;  // 早出 only, at its own rate
    early.WorkType = 1;
    early.WeekdayMorningPay = 1500;
    RegisterDaily("001", "山田", early);
    auto form = Open();
    ASSERT_EQ(Find<TNumEdit>(form.get(), "NumEdit1")->value(), 1500);
    TypeId(form.get(), "5");
    EXPECT_EQ(Find<TNumEdit>(form.get(), "NumEdit1")->value(), 1000) << "not 001's rate";
    EXPECT_TRUE(Box(form.get(), "CheckBox2")->isChecked()) << "the default pattern 7";
    form->close();
    EXPECT_TRUE(Shown("question").empty()) << "nothing was changed";

    form = Open();
    SetChecked(form.get(), "CheckBox3", true);  // 早朝 as well
    TypeId(form.get(), "6");                    // what the operator set before the ID stays
    EXPECT_TRUE(Box(form.get(), "CheckBox3")->isChecked());
    EXPECT_FALSE(Box(form.get(), "CheckBox2")->isChecked());
    op_.answers = {false};
    form->close();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(Shown("question"),
              (std::vector<std::string>{"変更されたデータは登録されていません。\r\n"
                                        "登録せずに終了しますか？"}));
    op_.answers = {true};
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(FindWagesCode(files_, "006"));
}

TEST_F(InputDailyWagesTest, UntakenTextIsEmptiedWhenNothingIsSelected) {
    auto form = Open();
    auto* idcb = Find<QComboBox>(form.get(), "IDCB");
    TypeId(form.get(), "abc");
    EXPECT_EQ(idcb->count(), 0);
    form->IDCBExit();
    EXPECT_EQ(idcb->currentText(), "");
}

TEST_F(InputDailyWagesTest, ClassBoxesFollowTheirRulesAndGiveThePattern) {
    struct Case {
        int start;
        const char* click;
        int pattern;
    };
    const Case cases[] = {
        {7, "CheckBox2", 4},  // 残業 off: 深夜 off, 早出 on, 早朝 stays
        {5, "CheckBox2", 1},  // without 早朝
        {1, "CheckBox4", 5},  // 深夜 needs 残業
        {0, "CheckBox3", 6},  // 早朝 needs 早出
        {0, "CheckBox2", 1},  // the last of 早出 / 残業 cannot go
        {1, "CheckBox1", 0}, {6, "CheckBox1", 0},  // 早出 off takes 早朝 with it
        {2, "CheckBox3", 6},
    };
    auto form = Open();
    for (const Case& c : cases) {
        form->ShowWorkType(c.start);
        Box(form.get(), c.click)->click();
        EXPECT_EQ(form->CollectDailyWages().WorkType, c.pattern) << c.start << " " << c.click;
        EXPECT_EQ(form->windowTitle(),
                  QStringLiteral("日給制データ入力   勤務体系 %1").arg(c.pattern));
    }
    // A record collected before the worker's next pass has the boxes' pattern,
    // not the last one shown in the title.
    form->ShowWorkType(1);
    EXPECT_EQ(form->CollectDailyWages().WorkType, 1);
}

TEST_F(InputDailyWagesTest, TheWorkerKeepsTheTitleOnThePattern) {
    auto form = Open();
    Box(form.get(), "CheckBox2")->click();  // 残業 off on pattern 7
    // The worker runs at idle priority: give a busy machine time.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return form->windowTitle() == "日給制データ入力   勤務体系 4"; }, 20000))
        << form->windowTitle().toStdString();
    EXPECT_EQ(form->CurrentDailyWorkType(), 4);
}

TEST_F(InputDailyWagesTest, AnUncheckedClassIsDisabledAndStoredAsZero) {
    auto form = Open();
    SetChecked(form.get(), "CheckBox1", false);  // 早出
    for (const char* name : {"NumEdit1", "ScrollBar1", "TrackBar1", "Memo1", "NumEdit5"})
        EXPECT_FALSE(Find<QWidget>(form.get(), name)->isEnabled()) << name;
    EXPECT_TRUE(Find<QWidget>(form.get(), "NumEdit2")->isEnabled());
    EXPECT_EQ(Find<QLabel>(form.get(), "Label5")->palette().color(QPalette::WindowText),
              QColor(128, 128, 128));
    EXPECT_EQ(Find<QLabel>(form.get(), "Label6")->palette().color(QPalette::WindowText),
              QColor(0, 0, 128));
    // The disabled field keeps its amount on screen.
    EXPECT_EQ(Find<TNumEdit>(form.get(), "NumEdit1")->value(), 1000);
    RegisterShown(*form, "1", "山田");
    const DailyWagesRecord r = Stored("001");
    EXPECT_EQ(r.WorkType, 3);
    EXPECT_EQ(r.WeekdayMorningPay, 0);
    EXPECT_EQ(r.HolidayMorningPay, 0);
    EXPECT_EQ(r.HolidayEarMornPay, 0);
    EXPECT_EQ(r.WeekdayOverPay, 1000);
    EXPECT_EQ(r.HolidayOverPay, 1100);
    EXPECT_EQ(r.TimeToStartWork, 0.0);
    EXPECT_EQ(r.TimeToFinishMorning, 0.0);
    EXPECT_EQ(TimeToSteps(r.TimeToFinishWork), 204);
    EXPECT_EQ(Shown("information"), (std::vector<std::string>{"登録完了"}));
}

TEST_F(InputDailyWagesTest, HolidaysOffStoreNoHolidayRatesOrDays) {
    auto form = Open();
    SetChecked(form.get(), "HolidayCB", false);
    EXPECT_FALSE(Find<QWidget>(form.get(), "NumEdit6")->isEnabled());
    EXPECT_FALSE(Box(form.get(), "CheckBox7")->isEnabled());
    RegisterShown(*form, "2", "山田");
    const DailyWagesRecord r = Stored("002");
    EXPECT_EQ(r.Holiday, 0);
    EXPECT_EQ((std::vector<int>{r.Holiday1, r.Holiday2, r.Holiday3}),
              (std::vector<int>{-1, -1, -1}));
    EXPECT_EQ((std::vector<int>{r.HolidayMorningPay, r.HolidayOverPay, r.HolidayEarMornPay,
                                r.HolidayNightPay}),
              (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(r.HalfHoliday, 7);
    EXPECT_EQ(TimeToSteps(r.TimeToFinishWorkHH), 144);
}

TEST_F(InputDailyWagesTest, HolidayWithoutWeekdayIsSwitchedOffOnRegister) {
    auto form = Open();
    SetChecked(form.get(), "CheckBox7", false);  // 日, the only holiday
    RegisterShown(*form, "3", "山田");
    EXPECT_EQ(Stored("003").Holiday, 0);
    EXPECT_FALSE(Box(form.get(), "HolidayCB")->isChecked());
}

TEST_F(InputDailyWagesTest, AtMostThreeHolidaysAndNoneOnTheHalfDay) {
    auto form = Open();
    auto* half = Find<QComboBox>(form.get(), "HalfHolidayCombo");
    // 日 is a holiday and 土 the half day: 土 cannot become a holiday.
    Box(form.get(), "CheckBox13")->click();
    EXPECT_FALSE(Box(form.get(), "CheckBox13")->isChecked());
    EXPECT_EQ(Shown("warning").back(), "休日設定日は半日勤務設定日との重複は出来ません");
    // With the half day on 月, 土 can; a fourth holiday cannot.
    half->setCurrentIndex(1);
    Box(form.get(), "CheckBox13")->click();
    Box(form.get(), "CheckBox10")->click();  // 水
    EXPECT_TRUE(Box(form.get(), "CheckBox13")->isChecked());
    Box(form.get(), "CheckBox11")->click();  // 木, the fourth
    EXPECT_FALSE(Box(form.get(), "CheckBox11")->isChecked());
    EXPECT_EQ(Shown("warning").back(), "休日設定日は３日以内にして下さい");
    // Choosing 日 as the half day while 日 and 土 are holidays steps back to 金.
    const std::size_t warnings = Shown("warning").size();
    half->setCurrentIndex(0);
    EXPECT_EQ(half->currentText(), "金");
    EXPECT_EQ(Shown("warning").size(), warnings + 1);
    EXPECT_EQ(Shown("warning").back(), "休日設定日は半日勤務設定日との重複は出来ません");
    RegisterShown(*form, "4", "山田");
    const DailyWagesRecord r = Stored("004");
    EXPECT_EQ((std::vector<int>{r.Holiday, r.Holiday1, r.Holiday2, r.Holiday3, r.HalfHoliday}),
              (std::vector<int>{1, 1, 4, 7, 6}));
}

TEST_F(InputDailyWagesTest, HalfDayComboWrapsWithTheArrowKeys) {
    auto form = Open();
    auto* half = Find<QComboBox>(form.get(), "HalfHolidayCombo");
    SetChecked(form.get(), "HolidayCB", false);
    half->setCurrentIndex(6);
    QTest::keyClick(half, Qt::Key_Down);
    EXPECT_EQ(half->currentText(), "日");
    QTest::keyClick(half, Qt::Key_Up);
    EXPECT_EQ(half->currentText(), "土");
    QTest::keyClick(half, Qt::Key_Delete);
    EXPECT_EQ(half->currentText(), "土");
}

TEST_F(InputDailyWagesTest, SlidersKeepStartBeforeFinish) {
    auto form = Open();
    auto* start = Find<QSlider>(form.get(), "TrackBar1");
    auto* finish = Find<QSlider>(form.get(), "TrackBar2");
    auto* half = Find<QSlider>(form.get(), "TrackBar5");
    const struct {
        QSlider* slider;
        int to;
        int expected;
    } moves[] = {
        {finish, 100, 100}, {start, 100, 96}, {start, 99, 99},  {start, 120, 99},
        {finish, 99, 100},  {half, 99, 144},  {half, 100, 100}, {finish, 287, 287},
    };
    for (const auto& m : moves) {
        m.slider->setValue(m.to);
        EXPECT_EQ(m.slider->value(), m.expected)
            << m.slider->objectName().toStdString() << " " << m.to;
    }
    EXPECT_EQ(Find<QLineEdit>(form.get(), "Memo1")->text(), "08:15");
    EXPECT_EQ(Find<QLineEdit>(form.get(), "Memo5")->text(), "08:20");
    // The keys wrap around midnight and pass the same check.
    auto* night = Find<QSlider>(form.get(), "TrackBar4");
    night->setValue(287);
    QTest::keyClick(night, Qt::Key_Right);
    EXPECT_EQ(night->value(), 0);
    EXPECT_EQ(Find<QLineEdit>(form.get(), "Memo4")->text(), "00:00");
    QTest::keyClick(night, Qt::Key_Up);
    EXPECT_EQ(night->value(), 287);
    EXPECT_EQ(Find<QLineEdit>(form.get(), "Memo4")->text(), "23:55");
    start->setValue(0);
    QTest::keyClick(start, Qt::Key_Left);  // 23:55 would pass the finish
    EXPECT_EQ(start->value(), 0);
}

TEST_F(InputDailyWagesTest, RateKeysStayStrictlyInsideTheRange) {
    auto form = Open();
    auto* edit = Find<TNumEdit>(form.get(), "NumEdit2");
    const struct {
        qint64 from;
        Qt::Key key;
        qint64 expected;
    } cases[] = {
        {31990, Qt::Key_Up, 31990}, {31890, Qt::Key_Up, 31900},   {31900, Qt::Key_PageUp, 31900},
        {500, Qt::Key_PageUp, 600}, {100, Qt::Key_PageDown, 100}, {101, Qt::Key_PageDown, 1},
        {10, Qt::Key_Down, 10},     {20, Qt::Key_Right, 10},      {20, Qt::Key_Home, 20},
    };
    edit->setFocus();
    for (const auto& c : cases) {
        edit->setValue(c.from);
        QTest::keyClick(edit, c.key);
        EXPECT_EQ(edit->value(), c.expected) << c.from << " key " << c.key;
    }
}

TEST_F(InputDailyWagesTest, TypedRateAboveTheLimitIsCutWhenLeft) {
    auto form = Open();
    auto* edit = Find<TNumEdit>(form.get(), "NumEdit2");
    edit->setFocus();
    QTest::keyClicks(edit, "32500");
    EXPECT_EQ(edit->value(), 32500);
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_EQ(edit->value(), 32000);
    EXPECT_EQ(Find<QScrollBar>(form.get(), "ScrollBar2")->value(), 0);
    EXPECT_EQ(Shown("warning"),
              (std::vector<std::string>{"時給金額は ¥32,000 よりも多く設定する事は出来ません"}));
    // The inverted bar: its upper arrow raises the amount.
    auto* bar = Find<QScrollBar>(form.get(), "ScrollBar3");
    const qint64 before = Find<TNumEdit>(form.get(), "NumEdit3")->value();
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(Find<TNumEdit>(form.get(), "NumEdit3")->value(), before + 10);

    // A stored rate beyond the range (a damaged record) shows as the nearer end:
    // 40,000 used to show as 24,000 and 2^31-1 as 0.
    DailyWagesRecord damaged;
    damaged.WeekdayMorningPay = 40000;
    damaged.WeekdayOverPay = 2147483647;
    damaged.WeekdayEarMornPay = -2147483647 - 1;
    form->ShowDailyWages(damaged);
    EXPECT_EQ(Find<TNumEdit>(form.get(), "NumEdit1")->value(), 32000);
    EXPECT_EQ(Find<TNumEdit>(form.get(), "NumEdit2")->value(), 32000);
    EXPECT_EQ(Find<TNumEdit>(form.get(), "NumEdit3")->value(), 0);
}

// Sound behaviour: an amount still being typed when 登録 is clicked goes
// through the field's leave check first, so the record holds what is shown.
TEST_F(InputDailyWagesTest, RegisterAppliesTheLimitToTheFocusedRateField) {
    auto form = Open();
    TypeId(form.get(), "7");
    Find<QLineEdit>(form.get(), "NameEdit")->setText("山田");
    auto* edit = Find<TNumEdit>(form.get(), "NumEdit2");
    edit->setFocus();
    QTest::keyClicks(edit, "32500");
    Click(form.get(), "PanelButton1");
    EXPECT_EQ(Stored("007").WeekdayOverPay, 32000);
    EXPECT_EQ(edit->value(), 32000);
    EXPECT_EQ(op_.Kinds(), (std::vector<std::string>{"warning", "information"}));
}

// The same for the closing day: a day typed beyond 28 is clamped, not stored.
TEST_F(InputDailyWagesTest, RegisterClampsTheFocusedClosingDay) {
    auto form = Open();
    TypeId(form.get(), "8");
    Find<QLineEdit>(form.get(), "NameEdit")->setText("山田");
    auto* edit = Find<TNumEdit>(form.get(), "ClosingDayEdit");
    edit->setFocus();
    QTest::keyClicks(edit, "40");
    Click(form.get(), "PanelButton1");
    EXPECT_EQ(Stored("008").ClosingDay, 28);
    EXPECT_EQ(edit->value(), 28);
}

TEST_F(InputDailyWagesTest, ClosingDayKeysAndLeavingClampTheDay) {
    auto form = Open();
    auto* edit = Find<TNumEdit>(form.get(), "ClosingDayEdit");
    auto* bar = Find<QScrollBar>(form.get(), "ClosingDaySB");
    const struct {
        qint64 from;
        Qt::Key key;
        qint64 expected;
    } cases[] = {{28, Qt::Key_PageDown, 28}, {3, Qt::Key_PageUp, 3}, {6, Qt::Key_PageUp, 1},
                 {23, Qt::Key_PageDown, 28}, {1, Qt::Key_Up, 1},     {27, Qt::Key_Down, 28},
                 {28, Qt::Key_Right, 28}};
    edit->setFocus();
    for (const auto& c : cases) {
        edit->setValue(c.from);
        QTest::keyClick(edit, c.key);
        EXPECT_EQ(edit->value(), c.expected) << c.from << " key " << c.key;
    }
    for (const auto& [typed, shown] :
         std::vector<std::pair<const char*, int>>{{"40", 28}, {"0", 1}, {"15", 15}}) {
        edit->setFocus();
        QTest::keyClicks(edit, typed);
        QTest::keyClick(edit, Qt::Key_Tab);
        EXPECT_EQ(edit->value(), shown) << typed;
        EXPECT_EQ(bar->value(), shown) << typed;
    }
    SetChecked(form.get(), "ClosingDayCB", true);
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_FALSE(bar->isEnabled());
    EXPECT_EQ(form->CollectDailyWages().ClosingDay, 0);
}

TEST_F(InputDailyWagesTest, RegisteringAgainAsksForConfirmationOfChanges) {
    auto form = Open();
    RegisterShown(*form, "1", "山田");
    EXPECT_EQ(WagesCodeOf("001"), 1001);
    EXPECT_EQ(Find<QLabel>(form.get(), "Label11")->text(), "日給制で登録されています。");
    EXPECT_TRUE(Find<TPanelButton>(form.get(), "PanelButton5")->isEnabled());

    // Unchanged: nothing to do.
    op_.calls.clear();
    const std::string before = MasterFiles();
    Click(form.get(), "PanelButton1");
    EXPECT_EQ(Shown("warning"), (std::vector<std::string>{"現在登録されているデータと同じです。"}));
    EXPECT_EQ(MasterFiles(), before);

    // Changed and cancelled: the files stay as they were.
    Find<TNumEdit>(form.get(), "NumEdit2")->setValue(1250);
    form->PayEditExit(2);
    op_.answers = {false};
    Click(form.get(), "PanelButton1");
    ASSERT_EQ(op_.dailyPending.size(), 1u);
    EXPECT_EQ(op_.dailyPending[0].Record.WeekdayOverPay, 1250);
    EXPECT_EQ(MasterFiles(), before);

    // Changed and confirmed: a new generation in force.
    Find<TNumEdit>(form.get(), "NumEdit2")->setValue(1250);
    form->PayEditExit(2);
    op_.answers = {true};
    Click(form.get(), "PanelButton1");
    EXPECT_EQ(WagesCodeOf("001"), 1002);
    const DailyWagesRecord r = Stored("001");
    EXPECT_EQ(r.Generation, 2);
    EXPECT_EQ(r.WeekdayOverPay, 1250);
    EXPECT_EQ(ReadDailyRecord(files_, "001", 1)->Current, 0);
}

TEST_F(InputDailyWagesTest, DeleteAsksAndKeepsTheIdInTheList) {
    RegisterDaily("001", "山田", DailyWagesRecord{});
    auto form = Open();
    op_.answers = {false};
    Click(form.get(), "PanelButton5");
    EXPECT_EQ(Shown("question"),
              (std::vector<std::string>{"従業員番号 001 のデータを削除しますか？"}));
    EXPECT_EQ(RegisteredScheme(files_, "001"), PayScheme::Daily);
    op_.answers = {true};
    Click(form.get(), "PanelButton5");
    EXPECT_FALSE(FindWagesCode(files_, "001"));
    EXPECT_FALSE(files_.fs->Exists(files_.NameFile));
    EXPECT_EQ(form->SelectedId(), "001");
    EXPECT_EQ(Find<QLabel>(form.get(), "Label11")->text(), "未登録です。");
    EXPECT_FALSE(Find<TPanelButton>(form.get(), "PanelButton5")->isEnabled());
}

TEST_F(InputDailyWagesTest, RefusesAnIdOfTheOtherSchemeOrWithoutName) {
    TimeWagesRecord hourly;
    hourly.WorkType = 8;
    hourly.TimePay = 900;
    RegisterTime("001", "鈴木", hourly);
    auto form = Open();
    TypeId(form.get(), "1");
    EXPECT_EQ(Find<QLabel>(form.get(), "Label11")->text(), "時給制で登録されています。");
    EXPECT_FALSE(Find<TPanelButton>(form.get(), "PanelButton5")->isEnabled());
    const std::string before = MasterFiles();
    Click(form.get(), "PanelButton1");
    EXPECT_EQ(Shown("warning"),
              (std::vector<std::string>{"給料区分が変わる更新は出来ません。\r\n\r\n従業員番号を変更"
                                        "するか、現在登録されている\r\n"
                                        "従業員情報を削除してから登録して下さい。"}));
    TypeId(form.get(), "2");
    Click(form.get(), "PanelButton1");
    EXPECT_EQ(Shown("warning").back(), "従業員番号と氏名は必ず入力して下さい");
    EXPECT_EQ(MasterFiles(), before);
}

TEST_F(InputDailyWagesTest, DefaultsAreStoredAndRestored) {
    auto form = Open();
    SetChecked(form.get(), "CheckBox3", false);
    Find<TNumEdit>(form.get(), "NumEdit2")->setValue(1500);
    form->PayEditExit(2);
    Find<QSlider>(form.get(), "TrackBar2")->setValue(210);
    Click(form.get(), "PanelButton4");
    Settings reread;
    reread.ProgramFolder = folder_;
    ReadSettings(*files_.fs, reread, 0);
    EXPECT_EQ(reread.DailyWages.WorkType, 5);
    EXPECT_EQ(reread.DailyWages.WeekdayOverPay, 1500);
    EXPECT_EQ(reread.DailyWages.WeekdayEarMornPay, 0);
    EXPECT_EQ(reread.DailyWages.TimeToFinishWork, 210);
    EXPECT_EQ(reread.Common.ClosingDay, 20);
    form->ShowWorkType(0);
    Click(form.get(), "PanelButton3");
    EXPECT_EQ(form->CollectDailyWages().WorkType, 5);
    EXPECT_EQ(Find<TNumEdit>(form.get(), "NumEdit2")->value(), 1500);
}

TEST_F(InputDailyWagesTest, ControlsCarryTheirTagsAndTabOrder) {
    auto form = Open();
    const char* const order[] = {
        "IDCB",       "NameEdit",       "CheckBox1",     "CheckBox2",
        "CheckBox3",  "CheckBox4",      "NumEdit1",      "ScrollBar1",
        "NumEdit2",   "ScrollBar2",     "NumEdit3",      "ScrollBar3",
        "NumEdit4",   "ScrollBar4",     "NumEdit5",      "ScrollBar5",
        "NumEdit6",   "ScrollBar6",     "NumEdit7",      "ScrollBar7",
        "NumEdit8",   "ScrollBar8",     "TrackBar1",     "TrackBar2",
        "TrackBar3",  "TrackBar4",      "HolidayCB",     "CheckBox8",
        "CheckBox9",  "CheckBox10",     "CheckBox11",    "CheckBox12",
        "CheckBox13", "CheckBox7",      "HalfHolidayCB", "HalfHolidayCombo",
        "TrackBar5",  "ClosingDayEdit", "ClosingDaySB",  "ClosingDayCB"};
    Find<QWidget>(form.get(), "IDCB")->setFocus();
    for (const char* name : order) {
        EXPECT_EQ(QApplication::focusWidget()->objectName(), name);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ProcessEvents();
    }
    EXPECT_EQ(Find<QWidget>(form.get(), "CheckBox13")->property("tag").toInt(), 7);
    EXPECT_EQ(Find<QWidget>(form.get(), "HalfHolidayCB")->property("tag").toInt(), 5);
    EXPECT_EQ(Find<QWidget>(form.get(), "HolidayCB")->property("tag").toInt(), 6);
    EXPECT_EQ(Find<QWidget>(form.get(), "ScrollBar8")->property("tag").toInt(), 8);
    // Screen readers hear each field by the label beside it; the form's name
    // for it stays its description.
    const std::pair<const char*, const char*> spoken[] = {
        {"IDCB", "従業員番号"},        {"NameEdit", "氏名"},
        {"NumEdit1", "早出区分 時給"}, {"ScrollBar6", "残業区分 時給(休日)"},
        {"Memo2", "規定退社時間"},     {"TrackBar5", "半勤日退社時間"},
        {"ClosingDayEdit", "締日"},    {"CheckBox10", "休日区分 水曜日"}};
    for (const auto& [object, words] : spoken) {
        auto* field = Find<QWidget>(form.get(), object);
        EXPECT_EQ(QAccessible::queryAccessibleInterface(field)->text(QAccessible::Name),
                  QString::fromUtf8(words));
        EXPECT_EQ(field->accessibleDescription(), object);
    }
    // Enter in the name moves on to the first class box.
    auto* name = Find<QLineEdit>(form.get(), "NameEdit");
    name->setFocus();
    QTest::keyClick(name, Qt::Key_Return);
    ProcessEvents(20);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "CheckBox1");
    // The drop-down rows are as tall as the main window's, not font-tall.
    auto* list = Find<QComboBox>(form.get(), "HalfHolidayCombo");
    ASSERT_GT(list->count(), 0);
    EXPECT_GE(list->view()->sizeHintForRow(0), RoomyRowDelegate::kRowHeight);
}

TEST_F(InputDailyWagesTest, TheNameTakesWhatNameDatHoldsAndNothingTheCodePageLacks) {
    auto form = Open();
    auto* name = Find<QLineEdit>(form.get(), "NameEdit");
    name->setFocus();
    // Names come through the input method. Twenty bytes of Shift-JIS: nine
    // full-width characters and two half-width ones fill them; a third is refused.
    auto commit = [name](const QString& text) {
        QInputMethodEvent composed;
        composed.setCommitString(text);
        QApplication::sendEvent(name, &composed);
    };
    commit(QStringLiteral("山田太郎花子一二三"));
    QTest::keyClicks(name, "ab");
    QTest::keyClicks(name, "c");
    commit(QStringLiteral("様"));
    EXPECT_EQ(name->text(), "山田太郎花子一二三ab");
    name->clear();
    commit(QStringLiteral("ｱｲｳｴｵｶｷｸｹｺｱｲｳｴｵｶｷｸｹｺ"));  // half-width: all 20 fit
    EXPECT_EQ(name->text().size(), 20);

    // A character Shift-JIS lacks is named, nothing is written, the name stays.
    const std::string before = MasterFiles();
    RegisterShown(*form, "5", QStringLiteral("山田😀"));
    EXPECT_EQ(Shown("warning").back(),
              "氏名の「😀」は登録できない文字です。\r\n別の文字に置き換えて下さい");
    EXPECT_EQ(MasterFiles(), before);
    EXPECT_EQ(name->text(), "山田😀");
}

TEST_F(InputDailyWagesTest, ClosingTheFormStopsItsWorker) {
    auto form = Open();
    TCheckWorkType* worker = form->Worker();
    ASSERT_TRUE(QTest::qWaitFor([&] { return worker->Passes() > 0; }, 20000));
    EXPECT_TRUE(worker->isRunning());
    form.reset();
    ProcessEvents(100);  // a pass still queued must not touch the destroyed form
}

}  // namespace
}  // namespace pb::test
