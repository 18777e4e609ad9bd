// The hourly-wage registration form.

#include <QAccessible>
#include <QMenu>
#include <QRadioButton>

#include "EmployeeFormFixture.h"
#include "core/common/Routines.h"
#include "gui/employees/InputTimeWages.h"
#include "support/GuiTestSupport.h"

namespace pb::test {
namespace {

class InputTimeWagesTest : public EmployeeFormTest {
  protected:
    std::unique_ptr<TInputT> Open() {
        auto form = std::make_unique<TInputT>(Context());
        form->show();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        return form;
    }

    // Sets the three divisions as the operator would.
    static void Divide(QWidget* form, bool time, bool weekday, bool rest, bool twoBands) {
        for (const auto& [name, on] :
             {std::pair{"CheckBox1", time}, std::pair{"CheckBox2", weekday},
              std::pair{"CheckBox3", rest}}) {
            auto* box = Find<QCheckBox>(form, name);
            if (box->isChecked() != on)
                box->click();
        }
        if (time)
            Find<QRadioButton>(form, twoBands ? "RadioButton1" : "RadioButton2")->click();
    }

    // Every slot gets its own amount so that the stored ones can be told apart.
    static void FillSlots(TInputT& form) {
        for (int slot = 0; slot < TInputT::kSlots; ++slot) {
            const QString edit =
                slot == 0 ? QStringLiteral("StandardPay") : QStringLiteral("NumEdit%1").arg(slot);
            form.findChild<TNumEdit*>(edit)->setValue(1000 + slot);
            form.PayEditExit(slot);
        }
    }

    TimeWagesRecord RegisterAs(TInputT& form, const QString& id) {
        TypeId(&form, id);
        Find<QLineEdit>(&form, "NameEdit")->setText("鈴木");
        Click(&form, "PanelButton1");
        const auto record = ReadTimeRecord(files_, PadNumber(ParseYen(id.toStdString()), 3), 0);
        EXPECT_TRUE(record.has_value());
        return record.value_or(TimeWagesRecord{});
    }

    static std::vector<int> NonZeroSlots(const TimeWagesRecord& r) {
        std::vector<int> kept;
        for (int slot = 0; slot < TInputT::kSlots; ++slot)
            if (TInputT::Slot(r, slot) != 0)
                kept.push_back(slot);
        return kept;
    }
};

TEST_F(InputTimeWagesTest, EachDivisionStoresItsOwnSlotsAndHeight) {
    struct Case {
        bool time, weekday, rest, two;
        int pattern, height;
        std::vector<int> kept;
        std::vector<int> times;
    };
    std::vector<int> band1{1, 2, 3, 4, 5, 6, 7}, bands12, bands123;
    for (int s = 1; s <= 14; ++s)
        bands12.push_back(s);
    for (int s = 1; s <= 21; ++s)
        bands123.push_back(s);
    const Case cases[] = {
        {false, false, true, false, 9, 180, {0}, {0, 0, 0}},
        {false, false, false, false, 8, 180, {0}, {0, 0, 0}},
        {true, false, false, true, 10, 270, {1, 8}, {96, 204, 0}},
        {true, false, true, false, 13, 270, {1, 8, 15}, {96, 204, 244}},
        {false, true, false, false, 14, 435, band1, {0, 0, 0}},
        {true, true, true, true, 17, 435, bands12, {96, 204, 0}},
        {true, true, false, false, 18, 435, bands123, {96, 204, 244}},
    };
    int id = 1;
    for (const Case& c : cases) {
        auto form = Open();
        Click(form.get(), "PanelButton3");  // the defaults, not the first employee's data
        Divide(form.get(), c.time, c.weekday, c.rest, c.two);
        FillSlots(*form);
        EXPECT_EQ(form->height(), c.height) << c.pattern;
        const TimeWagesRecord r = RegisterAs(*form, QString::number(id++));
        EXPECT_EQ(r.WorkType, c.pattern);
        EXPECT_EQ(NonZeroSlots(r), c.kept) << c.pattern;
        EXPECT_EQ((std::vector<int>{r.ChargeDivideTime1, r.ChargeDivideTime2, r.ChargeDivideTime3}),
                  c.times)
            << c.pattern;
        EXPECT_EQ(form->windowTitle(),
                  QStringLiteral("時給制データ入力   勤務体系 %1").arg(c.pattern));
    }
}

TEST_F(InputTimeWagesTest, WeekdayOnlyShowsBandOneAndHidesTheOtherLabels) {
    auto form = Open();
    Divide(form.get(), false, true, false, false);
    for (int slot = 8; slot <= 21; ++slot) {
        EXPECT_FALSE(Find<QWidget>(form.get(), QStringLiteral("NumEdit%1").arg(slot).toLatin1())
                         ->isEnabled())
            << slot;
        EXPECT_FALSE(Find<QWidget>(form.get(), QStringLiteral("Label%1").arg(8 + slot).toLatin1())
                         ->isVisible())
            << slot;
    }
    EXPECT_TRUE(Find<QWidget>(form.get(), "NumEdit7")->isEnabled());
    EXPECT_TRUE(Find<QWidget>(form.get(), "Label15")->isVisible());
    EXPECT_FALSE(Find<QWidget>(form.get(), "TrackBar1")->isEnabled());
    EXPECT_FALSE(Find<QWidget>(form.get(), "RadioButton1")->isEnabled());
    // Without the weekday division only the Sunday row of each band is left.
    Divide(form.get(), true, false, false, false);
    EXPECT_EQ(form->height(), 270);
    EXPECT_TRUE(Find<QWidget>(form.get(), "NumEdit15")->isVisible());
    EXPECT_FALSE(Find<QWidget>(form.get(), "NumEdit16")->isVisible());
    EXPECT_FALSE(Find<QWidget>(form.get(), "Label23")->isVisible());
}

TEST_F(InputTimeWagesTest, BandTimesMustRise) {
    auto form = Open();
    Divide(form.get(), true, false, false, false);
    Find<QSlider>(form.get(), "TrackBar1")->setValue(96);
    Find<QSlider>(form.get(), "TrackBar2")->setValue(96);
    TypeId(form.get(), "1");
    Find<QLineEdit>(form.get(), "NameEdit")->setText("鈴木");
    QString text;
    AnswerNextModal([&text](QWidget* box) {
        text = MessageText(box);
        ClickButton(box, "OK");
    });
    Click(form.get(), "PanelButton1");
    EXPECT_EQ(text, "時間区分の設定が不正です。");
    EXPECT_FALSE(files_.fs->Exists(files_.NameFile));
    // Band 3 not after band 2 is refused with three bands only.
    Find<QSlider>(form.get(), "TrackBar2")->setValue(204);
    Find<QSlider>(form.get(), "TrackBar3")->setValue(200);
    AnswerNextModal([](QWidget* box) { ClickButton(box, "OK"); });
    Click(form.get(), "PanelButton1");
    EXPECT_FALSE(files_.fs->Exists(files_.NameFile));
    Find<QRadioButton>(form.get(), "RadioButton1")->click();
    Click(form.get(), "PanelButton1");
    EXPECT_EQ(RegisteredScheme(files_, "001"), PayScheme::Hourly);
}

// A pattern without time bands clears both stage buttons. Dividing by time then
// counts three bands, so the third band's time is opened and stored with them.
TEST_F(InputTimeWagesTest, TimeDivisionWithoutAStageIsThreeBands) {
    auto form = Open();
    TimeWagesRecord none;
    none.WorkType = 9;
    none.ChargeDivideTime1 = 96;
    none.ChargeDivideTime2 = 204;
    none.ChargeDivideTime3 = 244;
    form->ShowTimeWages(none);
    auto* three = Find<QRadioButton>(form.get(), "RadioButton2");
    EXPECT_FALSE(three->isChecked());
    EXPECT_FALSE(Find<QRadioButton>(form.get(), "RadioButton1")->isChecked());
    Find<QCheckBox>(form.get(), "CheckBox1")->click();
    EXPECT_TRUE(three->isChecked());
    EXPECT_TRUE(Find<QSlider>(form.get(), "TrackBar3")->isEnabled());
    const TimeWagesRecord r = RegisterAs(*form, "6");
    EXPECT_EQ(r.WorkType, 13);
    EXPECT_EQ(r.ChargeDivideTime3, 244);
}

TEST_F(InputTimeWagesTest, UnifyCutsTheStandardRateAndCopiesIt) {
    auto form = Open();
    auto* standard = Find<TNumEdit>(form.get(), "StandardPay");
    standard->setFocus();
    QTest::keyClicks(standard, "35000");
    Click(form.get(), "PanelButton6");
    EXPECT_EQ(standard->value(), 32000);
    EXPECT_EQ(Shown("warning"),
              (std::vector<std::string>{"時給金額は ¥32,000 よりも多く設定する事は出来ません"}));
    for (int slot = 1; slot <= 21; ++slot)
        EXPECT_EQ(form->findChild<TNumEdit*>(QStringLiteral("NumEdit%1").arg(slot))->value(), 32000)
            << slot;
    // K1 copies without the check; the menu is on once the window is shown.
    standard->setValue(900);
    Find<QAction>(form.get(), "K1")->trigger();
    EXPECT_EQ(Find<TNumEdit>(form.get(), "NumEdit21")->value(),
              32000);  // the bar still says 32,000
    form->PayEditExit(0);
    Find<QAction>(form.get(), "K1")->trigger();
    EXPECT_EQ(Find<TNumEdit>(form.get(), "NumEdit21")->value(), 900);
    EXPECT_EQ(standard->contextMenuPolicy(), Qt::CustomContextMenu);
}

// Sound behaviour: an amount typed into a band field that still has the focus
// is taken when 登録 is clicked, not silently replaced by the old one.
TEST_F(InputTimeWagesTest, RegisterTakesTheAmountStillBeingTyped) {
    auto form = Open();
    Divide(form.get(), true, true, false, true);
    auto* edit = Find<TNumEdit>(form.get(), "NumEdit3");
    edit->setFocus();
    QTest::keyClicks(edit, "1234");
    EXPECT_EQ(RegisterAs(*form, "9").Band1Pays[2], 1234);
}

TEST_F(InputTimeWagesTest, TypedIdsAreAppendedInFileOrder) {
    TimeWagesRecord r;
    r.WorkType = 8;
    r.TimePay = 900;
    RegisterTime("010", "鈴木", r);
    RegisterTime("002", "佐藤", r);
    auto form = Open();
    auto* idcb = Find<QComboBox>(form.get(), "IDCB");
    TypeId(form.get(), "5");
    TypeId(form.get(), "2");
    QStringList items;
    for (int i = 0; i < idcb->count(); ++i)
        items << idcb->itemText(i);
    EXPECT_EQ(items, (QStringList{"010", "002", "005"}));
    EXPECT_EQ(Find<QLineEdit>(form.get(), "NameEdit")->text(), "佐藤");
    EXPECT_EQ(Find<TNumEdit>(form.get(), "StandardPay")->value(), 900);
    EXPECT_EQ(form->height(), 180);
}

TEST_F(InputTimeWagesTest, EveryRegistrationStatusFitsAndCoversNoOtherControl) {
    auto form = Open();
    auto* status = Find<QLabel>(form.get(), "Label31");
    for (const char* text : {"未登録です。", "時給制で登録されています。",
                             "日給制で登録されています。", "Salariumのみに登録されています。"}) {
        EXPECT_LE(status->fontMetrics().horizontalAdvance(QString::fromUtf8(text)), status->width())
            << text;
    }
    for (QWidget* other : form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (other != status && other->isVisibleTo(form.get()) &&
            qobject_cast<QMenu*>(other) == nullptr) {
            EXPECT_FALSE(status->geometry().intersects(other->geometry()))
                << other->objectName().toStdString();
        }
    }
}

TEST_F(InputTimeWagesTest, TheLayoutLeavesNoGapsAndNothingTouches) {
    auto form = Open();
    auto* two = Find<QRadioButton>(form.get(), "RadioButton1");
    auto* three = Find<QRadioButton>(form.get(), "RadioButton2");
    EXPECT_GE(two->width(), two->sizeHint().width()) << "the ２段階 text is cut";
    EXPECT_GE(three->x() - two->geometry().right(), 4) << "３段階 touches ２段階";
    EXPECT_LE(three->geometry().right(), form->width());
    // The band times follow the closing day without an empty band between.
    const int closingDayBottom = Find<QWidget>(form.get(), "ClosingDayEdit")->geometry().bottom();
    EXPECT_LE(Find<QLabel>(form.get(), "Label4")->y() - closingDayBottom, 16);
    // With 月末設定 the disabled day shows no highlighted text.
    auto* day = Find<TNumEdit>(form.get(), "ClosingDayEdit");
    auto* monthEnd = Find<QCheckBox>(form.get(), "ClosingDayCB");
    if (monthEnd->isChecked())
        monthEnd->click();
    day->setFocus();
    day->selectAll();
    ASSERT_TRUE(day->hasSelectedText());
    monthEnd->click();
    EXPECT_FALSE(day->isEnabled());
    EXPECT_FALSE(day->hasSelectedText());
}

TEST_F(InputTimeWagesTest, AfterRegisteringTheStatusAndDeleteFollow) {
    RegisterDaily("004", "山田", DailyWagesRecord{});
    auto form = Open();
    EXPECT_EQ(Find<QLabel>(form.get(), "Label31")->text(), "未登録です。");
    RegisterAs(*form, "3");
    EXPECT_EQ(Find<QLabel>(form.get(), "Label31")->text(), "時給制で登録されています。");
    EXPECT_TRUE(Find<TPanelButton>(form.get(), "PanelButton5")->isEnabled());
    EXPECT_EQ(WagesCodeOf("003"), 2001);
    TypeId(form.get(), "4");
    EXPECT_EQ(Find<QLabel>(form.get(), "Label31")->text(), "日給制で登録されています。");
    const std::string before = MasterFiles();
    Click(form.get(), "PanelButton1");
    EXPECT_EQ(Shown("warning").back().substr(0, 12),
              std::string("給料区分が変わる更新は出来ません。").substr(0, 12));
    EXPECT_EQ(MasterFiles(), before);
}

TEST_F(InputTimeWagesTest, ANameShiftJisCannotHoldIsRefusedBeforeAnythingIsWritten) {
    auto form = Open();
    TypeId(form.get(), "6");
    Find<QLineEdit>(form.get(), "NameEdit")->setText(QStringLiteral("𠮷野"));
    Click(form.get(), "PanelButton1");
    EXPECT_EQ(Shown("warning").back(),
              "氏名の「𠮷」は登録できない文字です。\r\n別の文字に置き換えて下さい");
    EXPECT_EQ(MasterFiles(), "<absent>|<absent>|<absent>");
}

TEST_F(InputTimeWagesTest, FieldsAreNamedAfterTheirLabelsAndTheStagesAreRadioButtons) {
    auto form = Open();
    const std::pair<const char*, const char*> spoken[] = {{"IDCB", "従業員番号"},
                                                          {"StandardPay", "時給金額"},
                                                          {"ScrollBar23", "時給金額"},
                                                          {"Memo3", "第３区分時間"},
                                                          {"TrackBar1", "第１区分時間"},
                                                          {"ClosingDayEdit", "締日"},
                                                          {"NumEdit1", "時給 区分１ 日曜日"},
                                                          {"NumEdit9", "時給 区分２ 月曜日"},
                                                          {"CheckBox1", "料金区分 時間"},
                                                          {"CheckBox2", "料金区分 曜日"},
                                                          {"CheckBox3", "休憩時間 有り"}};
    for (const auto& [object, words] : spoken) {
        auto* field = Find<QWidget>(form.get(), object);
        EXPECT_EQ(QAccessible::queryAccessibleInterface(field)->text(QAccessible::Name),
                  QString::fromUtf8(words));
        EXPECT_EQ(field->accessibleDescription(), object);
    }
    for (const char* radio : {"RadioButton1", "RadioButton2"})
        EXPECT_EQ(QAccessible::queryAccessibleInterface(Find<QWidget>(form.get(), radio))->role(),
                  QAccessible::RadioButton);
}

TEST_F(InputTimeWagesTest, DefaultsComeFromTheSettingsInKeyOrder) {
    auto form = Open();
    // The key named for Sunday carries the Saturday rate of band 1, the one for
    // Tuesday of band 3 the Monday rate.
    EXPECT_EQ(Find<TNumEdit>(form.get(), "NumEdit7")->value(), 2000);
    EXPECT_EQ(Find<TNumEdit>(form.get(), "NumEdit16")->value(), 1100);
    EXPECT_EQ(Find<QLineEdit>(form.get(), "Memo3")->text(), "20:20");
    EXPECT_EQ(form->height(), 435);
    EXPECT_EQ(form->CollectTimeWages().WorkType, 19);
    Divide(form.get(), true, false, false, true);
    Click(form.get(), "PanelButton4");
    Settings reread;
    reread.ProgramFolder = folder_;
    ReadSettings(*files_.fs, reread, 0);
    EXPECT_EQ(reread.TimeWages.WorkType, 10);
    EXPECT_EQ(reread.TimeWages.CDTime1MondayPay, 1000);
    EXPECT_EQ(reread.TimeWages.CDTime1SundayPay, 0);
    EXPECT_EQ(reread.TimeWages.ChargeDivideTime3, 0);
}

}  // namespace
}  // namespace pb::test
