#include "gui/employees/InputTimeWages.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>

#include "core/common/Routines.h"
#include "core/model/PayScheme.h"
#include "core/store/EmployeeFiles.h"
#include "core/store/RecordRanges.h"
#include "core/timecard/WorkPattern.h"
#include "gui/controls/NumEdit.h"
#include "gui/controls/Pbutton.h"
#include "gui/shared/Images.h"
#include "gui/shared/Messages.h"
#include "gui/shared/Naming.h"
#include "gui/shared/Text.h"

namespace pb {

namespace {

constexpr int kBandX[] = {0, 24, 189, 354};  // left edge of each band's column
constexpr int kBandTopY = 164;               // the band times, just below the closing day
constexpr int kSundayRowY = kBandTopY + 54;
constexpr int kRowStep = 26;

int BandOf(int slot) {
    return (slot - 1) / 7 + 1;
}
int WeekdayOf(int slot) {
    return (slot - 1) % 7 + 1;
}

}  // namespace

std::int32_t& TInputT::Slot(TimeWagesRecord& r, int slot) {
    if (slot == 0)
        return r.TimePay;
    TimeWagesRecord::WeekPays* bands[] = {&r.Band1Pays, &r.Band2Pays, &r.Band3Pays};
    return (*bands[BandOf(slot) - 1])[WeekdayOf(slot) - 1];
}

std::int32_t TInputT::Slot(const TimeWagesRecord& r, int slot) {
    return Slot(const_cast<TimeWagesRecord&>(r), slot);
}

TInputT::TInputT(const WageFormContext& context, QWidget* parent)
    : TWageForm(context, /*sortedIds=*/false, parent) {
    Name(this, QStringLiteral("TInputT"));
    setWindowTitle(QStringLiteral("時給制データ入力"));
    setProperty("HelpContext", 7);
    setFixedSize(519, 408);
    move(219, 128);
    BuildWindow();
    SetTabOrder();

    // FormCreate.
    ReflectTimeDefaults();
    FillIdList(PayScheme::Hourly);
    for (const char* name : {"Label1", "Label2", "Label8", "Label3", "Label7", "Label30"})
        SetTextColour(findChild<QLabel*>(QString::fromLatin1(name)), true);
    StartWorker();
}

void TInputT::BuildWindow() {
    auto* register_ =
        MakeBarButton(QStringLiteral("PanelButton1"), QStringLiteral("登録"),
                      QStringLiteral("従業員データの登録"), Glyph(QStringLiteral("TimeWages")), 4,
                      QKeySequence(Qt::CTRL | Qt::Key_S));
    deleteButton_ =
        MakeBarButton(QStringLiteral("PanelButton5"), QStringLiteral("削除"), {},
                      Glyph(QStringLiteral("Delete")), 52, QKeySequence(Qt::ALT | Qt::Key_D));
    auto* close = MakeBarButton(QStringLiteral("PanelButton2"), QStringLiteral("終了"),
                                QStringLiteral("データ登録の終了"), Glyph(QStringLiteral("Exit")),
                                100, QKeySequence(Qt::Key_Escape));
    auto* revert = MakeBarButton(QStringLiteral("PanelButton3"), QStringLiteral("戻す"),
                                 QStringLiteral("デフォルトに戻す"), RevertGlyph(), 371,
                                 QKeySequence(Qt::ALT | Qt::Key_R));
    auto* store =
        MakeBarButton(QStringLiteral("PanelButton4"), QStringLiteral("設定"),
                      QStringLiteral("デフォルトに設定する"), Glyph(QStringLiteral("Settings")),
                      419, QKeySequence(Qt::ALT | Qt::Key_S));
    auto* unify = MakeBarButton(QStringLiteral("PanelButton6"), QStringLiteral("統一"),
                                QStringLiteral("時給金額を統一する"), UnifyGlyph(), 467,
                                QKeySequence(Qt::ALT | Qt::Key_U));
    connect(register_, &TPanelButton::clicked, this, &TInputT::RegisterClicked);
    connect(deleteButton_, &TPanelButton::clicked, this, &TInputT::DeleteClicked);
    connect(close, &TPanelButton::clicked, this, &TInputT::CloseClicked);
    connect(revert, &TPanelButton::clicked, this, &TInputT::RestoreDefaultsClicked);
    connect(store, &TPanelButton::clicked, this, &TInputT::StoreDefaultsClicked);
    connect(unify, &TPanelButton::clicked, this, &TInputT::UnifyClicked);

    MakeIdAndName(8, 96, 50);
    // The registration status goes on the closing-day row, the one row with room for
    // its longest text; beside the ID the band group leaves it 108 pixels.
    idStatusLabel_ = MakeLabel(QStringLiteral("Label31"), {}, 256, 131, 250);

    MakeLabel(QStringLiteral("Label30"), QStringLiteral("時給金額"), 8, 103, 84);
    MakeRateField(0, QStringLiteral("StandardPay"), QStringLiteral("ScrollBar23"), 96, 100, 70);
    NameAfter(payEdits_[0], {QStringLiteral("時給金額")});
    NameAfter(payBars_[0], {QStringLiteral("時給金額")});
    PopupMenu1 = new QMenu(this);
    Name(PopupMenu1, QStringLiteral("PopupMenu1"));
    QAction* k1 = PopupMenu1->addAction(QStringLiteral("全て同じ金額に設定"));
    Name(k1, QStringLiteral("K1"));
    QAction* k2 = PopupMenu1->addAction(QStringLiteral("デフォルト設定"));
    Name(k2, QStringLiteral("K2"));
    connect(k1, &QAction::triggered, this, &TInputT::K1Click);
    connect(k2, &QAction::triggered, this, &TInputT::K2Click);
    connect(payEdits_[0], &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu1->exec(payEdits_[0]->mapToGlobal(at)); });

    MakeClosingDay(8, 126, 88, QStringLiteral("締    日"));

    MakeLabel(QStringLiteral("Label3"), QStringLiteral("料金区分"), 272, 53, 64);
    CheckBox1 = MakeCheckBox(QStringLiteral("CheckBox1"), QStringLiteral("時間"), 336, 51, 54);
    RadioButton1 = new QRadioButton(QStringLiteral("２段階"), this);
    RadioButton2 = new QRadioButton(QStringLiteral("３段階"), this);
    Name(RadioButton1, QStringLiteral("RadioButton1"));
    Name(RadioButton2, QStringLiteral("RadioButton2"));
    // Apart, so the ３段階 button does not touch the ２段階 text.
    RadioButton1->setGeometry(391, 51, 62, 18);
    RadioButton2->setGeometry(457, 51, 62, 18);
    for (QRadioButton* radio : {RadioButton1, RadioButton2}) {
        EnterMovesFocus(radio);
        connect(radio, &QAbstractButton::clicked, this, [this, radio] {
            radio->setChecked(true);
            (radio == RadioButton1 ? RadioButton2 : RadioButton1)->setChecked(false);
            RadioButtonClick();
        });
    }
    RadioButton2->setChecked(true);
    CheckBox2 = MakeCheckBox(QStringLiteral("CheckBox2"), QStringLiteral("曜日"), 336, 77, 54);
    CheckBox2->setChecked(true);
    MakeLabel(QStringLiteral("Label7"), QStringLiteral("休憩時間"), 272, 105, 64);
    CheckBox3 = MakeCheckBox(QStringLiteral("CheckBox3"), QStringLiteral("有り"), 336, 103, 54);
    // Read alone, each choice names what it belongs to.
    NameAfter(CheckBox1, {QStringLiteral("料金区分"), QStringLiteral("時間")});
    NameAfter(RadioButton1, {QStringLiteral("料金区分 時間"), QStringLiteral("２段階")});
    NameAfter(RadioButton2, {QStringLiteral("料金区分 時間"), QStringLiteral("３段階")});
    NameAfter(CheckBox2, {QStringLiteral("料金区分"), QStringLiteral("曜日")});
    NameAfter(CheckBox3, {QStringLiteral("休憩時間"), QStringLiteral("有り")});
    connect(CheckBox1, &QCheckBox::toggled, this, &TInputT::DivideCheckBoxClick);
    connect(CheckBox2, &QCheckBox::toggled, this, &TInputT::DivideCheckBoxClick);
    connect(CheckBox3, &QCheckBox::toggled, this, &TInputT::CheckBox3Click);

    const char* const bandTitles[] = {"", "第１区分時間", "第２区分時間", "第３区分時間"};
    for (int band = 1; band <= 3; ++band) {
        const int x = kBandX[band];
        timeLabels_[band] = MakeLabel(QStringLiteral("Label%1").arg(3 + band),
                                      QString::fromUtf8(bandTitles[band]), x + 46, kBandTopY, 112);
        timeTexts_[band] = MakeTimeText(QStringLiteral("Memo%1").arg(band), x, kBandTopY + 18, 44);
        sliders_[band] =
            MakeSlider(QStringLiteral("TrackBar%1").arg(band), x + 46, kBandTopY + 14, 112);
        NameAfter(timeTexts_[band], {QString::fromUtf8(bandTitles[band])});
        NameAfter(sliders_[band], {QString::fromUtf8(bandTitles[band])});
        sliders_[band]->setProperty("tag", band);
        sliders_[band]->installEventFilter(this);
        timeTexts_[band]->setProperty("slider", QVariant::fromValue(sliders_[band]));
        SetSliderStep(band, 48);
        connect(sliders_[band], &QSlider::valueChanged, this,
                [this, band] { TimeTrackBarChange(band); });
    }

    for (int slot = 1; slot < kSlots; ++slot) {
        const int x = kBandX[BandOf(slot)];
        const int y = kSundayRowY + (WeekdayOf(slot) - 1) * kRowStep;
        weekLabels_[slot] = MakeLabel(QStringLiteral("Label%1").arg(8 + slot),
                                      Q(WeekdayText(WeekdayOf(slot))), x, y + 3, 44);
        MakeRateField(slot, QStringLiteral("NumEdit%1").arg(slot),
                      QStringLiteral("ScrollBar%1").arg(slot), x + 46, y, 70);
        // As the viewer labels the same rate: "時給 区分１ 日曜日".
        const QStringList name = {QStringLiteral("時給"),
                                  QStringLiteral("区分") + QChar(0xFF10 + BandOf(slot)),
                                  Q(WeekdayText(WeekdayOf(slot)))};
        NameAfter(payEdits_[slot], name);
        NameAfter(payBars_[slot], name);
    }
}

void TInputT::SetTabOrder() {
    std::vector<QWidget*> order{IDCB,      NameEdit,       payEdits_[0], payBars_[0],
                                CheckBox1, RadioButton1,   RadioButton2, CheckBox2,
                                CheckBox3, ClosingDayEdit, ClosingDaySB, ClosingDayCB};
    for (int band = 1; band <= 3; ++band) {
        order.push_back(timeTexts_[band]);
        order.push_back(sliders_[band]);
    }
    for (int slot = 1; slot < kSlots; ++slot) {
        order.push_back(payEdits_[slot]);
        order.push_back(payBars_[slot]);
    }
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

// --- the work pattern -------------------------------------------------------

void TInputT::SetStages(bool two, bool three) {
    // One choice of two, and so radio buttons to a screen reader; but patterns
    // without time bands clear both, which an exclusive pair refuses.
    for (QRadioButton* radio : {RadioButton1, RadioButton2})
        radio->setAutoExclusive(false);
    RadioButton1->setChecked(two);
    RadioButton2->setChecked(three);
    for (QRadioButton* radio : {RadioButton1, RadioButton2})
        radio->setAutoExclusive(true);
}

bool TInputT::TwoBands() const {
    return RadioButton1->isChecked();
}

void TInputT::UpdateWorkType() {
    const bool time = CheckBox1->isChecked();
    const bool weekday = CheckBox2->isChecked();
    const bool rest = CheckBox3->isChecked();
    const bool two = TwoBands();
    // "時間" with neither stage chosen divides into three bands.
    const int type = HourlyWorkType(time ? (two ? 2 : 3) : 1, weekday, rest);
    currentTimeWorkType_ = type;
    const QString title = QStringLiteral("時給制データ入力   勤務体系 %1").arg(type);
    if (windowTitle() != title)
        setWindowTitle(title);
}

int TInputT::RateMode() const {
    std::string digits = CheckBox2->isChecked() ? "1" : "0";
    if (!CheckBox1->isChecked())
        digits += "00";
    else
        digits += TwoBands() ? "10" : "11";
    return BinaryTextToInt(digits);
}

// --- the divisions ------------------------------------------------------------

void TInputT::DivideCheckBoxClick() {
    const bool time = CheckBox1->isChecked();
    const bool weekday = CheckBox2->isChecked();
    if (time && !RadioButton1->isChecked() && !RadioButton2->isChecked()) {
        // The pattern already counts three bands; the third band's time and
        // rates must be open to match, or a three-band record would be stored
        // without its third boundary.
        RadioButton2->setChecked(true);
    }
    const bool three = RadioButton2->isChecked();
    const int height = weekday ? 435 : (time ? 270 : 180);
    // Changing the size hints makes some window systems activate the window
    // again, which runs this once more.
    if (isVisible() && (this->height() != height || minimumHeight() != height))
        setFixedHeight(height);
    for (int slot = 1; slot < kSlots; ++slot) {
        const bool sunday = WeekdayOf(slot) == 1;
        weekLabels_[slot]->setVisible(weekday);
        payEdits_[slot]->setVisible(weekday || sunday);
        payBars_[slot]->setVisible(weekday || sunday);
        const int band = BandOf(slot);
        if (band >= 2) {
            const bool on = time && (band == 2 || three);
            payEdits_[slot]->setEnabled(on);
            payBars_[slot]->setEnabled(on);
            if (weekday)
                weekLabels_[slot]->setVisible(time);
        }
    }
    for (int band = 1; band <= 2; ++band) {
        sliders_[band]->setEnabled(time);
        timeTexts_[band]->setEnabled(time);
    }
    sliders_[3]->setEnabled(time && three);
    timeTexts_[3]->setEnabled(time && three);
    RadioButton1->setEnabled(time);
    RadioButton2->setEnabled(time);
    if (isVisible() && !popupOn_) {
        popupOn_ = true;
        payEdits_[0]->setContextMenuPolicy(Qt::CustomContextMenu);
    }
    RefreshColours();
}

void TInputT::RadioButtonClick() {
    DivideCheckBoxClick();
}

void TInputT::CheckBox3Click() {
    SetTextColour(CheckBox3, CheckBox3->isChecked());
}

void TInputT::RefreshColours() {
    const bool two = TwoBands();
    SetTextColour(RadioButton1, two);
    SetTextColour(RadioButton2, !two);
    const bool time = CheckBox1->isChecked();
    const bool three = RadioButton2->isChecked();
    SetTextColour(CheckBox1, time);
    SetTextColour(timeLabels_[1], time);
    SetTextColour(timeLabels_[2], time);
    SetTextColour(timeLabels_[3], time && three);
    SetTextColour(CheckBox2, CheckBox2->isChecked());
    if (CheckBox2->isChecked())
        for (int slot = 1; slot < kSlots; ++slot)
            SetTextColour(weekLabels_[slot], !(BandOf(slot) == 3 && two));
    SetTextColour(CheckBox3, CheckBox3->isChecked());
    SetTextColour(ClosingDayCB, ClosingDayCB->isChecked());
}

// --- sliders ------------------------------------------------------------------

void TInputT::SetSliderStep(int tag, int step) {
    sliders_[tag]->setValue(step);
    timeTexts_[tag]->setText(Q(StepsToText(step)));
}

void TInputT::TimeTrackBarChange(int tag) {
    timeTexts_[tag]->setText(Q(StepsToText(sliders_[tag]->value())));
}

// --- showing and collecting -----------------------------------------------------

void TInputT::ShowTimeWages(const TimeWagesRecord& r) {
    const int t = r.WorkType;
    CheckBox1->setChecked(BandCount(t) > 1);
    CheckBox2->setChecked(HasWeekdayRates(t));
    CheckBox3->setChecked(HasBreak(t));
    SetStages(BandCount(t) == 2, BandCount(t) == 3);
    DivideCheckBoxClick();
    ShowClosingDay(r.ClosingDay);
    for (int slot = 0; slot < kSlots; ++slot)
        SetBarAmount(slot, Slot(r, slot));
    const std::int32_t times[] = {0, r.ChargeDivideTime1, r.ChargeDivideTime2, r.ChargeDivideTime3};
    for (int band = 1; band <= 3; ++band)
        SetSliderStep(band, times[band]);
    RefreshColours();
}

TimeWagesRecord TInputT::CollectTimeWages() {
    // The worker refreshes the pattern every few dozen milliseconds; a box
    // clicked just before must not leave a stale one in the record.
    UpdateWorkType();
    TimeWagesRecord r;
    r.ID = S(SelectedId()).substr(0, 3);
    r.Current = 1;
    r.Generation = 1;
    r.WorkType = currentTimeWorkType_;
    r.ClosingDay = ClosingDayValue();
    for (int slot = 0; slot < kSlots; ++slot)
        Slot(r, slot) = BarAmount(slot);
    std::int32_t* times[] = {nullptr, &r.ChargeDivideTime1, &r.ChargeDivideTime2,
                             &r.ChargeDivideTime3};
    for (int band = 1; band <= 3; ++band)
        *times[band] = sliders_[band]->isEnabled() ? sliders_[band]->value() : 0;
    auto keep = [mode = RateMode()](int slot) {
        switch (mode) {
            case 0:
                return slot == 0;
            case 2:
                return slot == 1 || slot == 8;
            case 3:
                return slot == 1 || slot == 8 || slot == 15;
            case 4:
                return slot >= 1 && slot <= 7;
            case 6:
                return slot >= 1 && slot <= 14;
            case 7:
                return slot >= 1;
            default:
                return false;
        }
    };
    for (int slot = 0; slot < kSlots; ++slot)
        if (!keep(slot))
            Slot(r, slot) = 0;
    return r;
}

void TInputT::ReflectTimeDefaults() {
    Guard([this] {
        ReadSettings(*context_.files.fs, context_.settings, context_.invalidColorDefault);
        const TimeWagesSettings& s = context_.settings.TimeWages;
        TimeWagesRecord r;
        r.WorkType = s.WorkType;
        r.ClosingDay = context_.settings.Common.ClosingDay;
        const std::int32_t keys[kSlots] = {s.TimePay,
                                           s.CDTime1MondayPay,
                                           s.CDTime1TuesdayPay,
                                           s.CDTime1WednesdayPay,
                                           s.CDTime1ThursdayPay,
                                           s.CDTime1FridayPay,
                                           s.CDTime1SaturdayPay,
                                           s.CDTime1SundayPay,
                                           s.CDTime2MondayPay,
                                           s.CDTime2TuesdayPay,
                                           s.CDTime2WednesdayPay,
                                           s.CDTime2ThursdayPay,
                                           s.CDTime2FridayPay,
                                           s.CDTime2SaturdayPay,
                                           s.CDTime2SundayPay,
                                           s.CDTime3MondayPay,
                                           s.CDTime3TuesdayPay,
                                           s.CDTime3WednesdayPay,
                                           s.CDTime3ThursdayPay,
                                           s.CDTime3FridayPay,
                                           s.CDTime3SaturdayPay,
                                           s.CDTime3SundayPay};
        for (int slot = 0; slot < kSlots; ++slot)
            Slot(r, slot) = keys[slot];
        r.ChargeDivideTime1 = s.ChargeDivideTime1;
        r.ChargeDivideTime2 = s.ChargeDivideTime2;
        r.ChargeDivideTime3 = s.ChargeDivideTime3;
        ShowTimeWages(r);
    });
}

// --- the ID field -------------------------------------------------------------

void TInputT::IDCBChange() {
    const bool untouched = Untouched();
    std::optional<PayScheme> scheme;
    Guard([this, &scheme] {
        scheme = ShowIdStatus(idStatusLabel_, PayScheme::Hourly);
        if (scheme != PayScheme::Hourly)
            return;
        if (const auto record = ReadTimeRecord(context_.files, S(SelectedId()), 0))
            ShowTimeWages(*record);
    });
    AfterIdLookup(scheme, PayScheme::Hourly, untouched, [this] { ReflectTimeDefaults(); });
}

// --- buttons ------------------------------------------------------------------

void TInputT::RegisterClicked() {
    CommitFocusedField();
    Guard([this] {
        if (!CheckSchemeChange(PayScheme::Daily))
            return;
        const std::string id = S(SelectedId());
        const std::string name = S(NameEdit->text());
        if (!ValidateEmployeeInput(name, ParseYen(id), context_.op))
            return;
        // The name typed stays for the operator to mend.
        if (!ValidateNameToStore(name, context_.op))
            return;
        EmployeeEntry entry;
        entry.Time = CollectTimeWages();
        // Each band ends after the one before, or the core would refuse the record.
        if (!BandOrderOutOfRange(entry.Time, BandCount(entry.Time.WorkType)).empty()) {
            BandOrderWarning();
            return;
        }
        entry.Name =
            MakeNameRecord(context_.files, id, name,
                           WagesCode::Of(PayScheme::Hourly, entry.Time.Generation).Stored());
        RegisterEmployee(context_.files, entry, PayScheme::Hourly, context_.op);
        IDCBChange();
    });
}

void TInputT::BandOrderWarning() {
    QMessageBox box(QMessageBox::Warning, Messages::Title(Messages::Kind::Warning),
                    QStringLiteral("時間区分の設定が不正です。"), QMessageBox::NoButton, this);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    QAbstractButton* help = box.addButton(QStringLiteral("ﾍﾙﾌﾟ(&H)"), QMessageBox::HelpRole);
    box.exec();
    if (box.clickedButton() == help)
        ShowHelp();
}

void TInputT::CloseClicked() {
    close();
}

void TInputT::RestoreDefaultsClicked() {
    ReflectTimeDefaults();
}

void TInputT::StoreDefaultsClicked() {
    CommitFocusedField();
    const TimeWagesRecord r = CollectTimeWages();
    Guard([this, &r] {
        TimeWagesSettings& s = context_.settings.TimeWages;
        s.WorkType = r.WorkType;
        context_.settings.Common.ClosingDay = r.ClosingDay;
        std::int32_t* keys[kSlots] = {&s.TimePay,
                                      &s.CDTime1MondayPay,
                                      &s.CDTime1TuesdayPay,
                                      &s.CDTime1WednesdayPay,
                                      &s.CDTime1ThursdayPay,
                                      &s.CDTime1FridayPay,
                                      &s.CDTime1SaturdayPay,
                                      &s.CDTime1SundayPay,
                                      &s.CDTime2MondayPay,
                                      &s.CDTime2TuesdayPay,
                                      &s.CDTime2WednesdayPay,
                                      &s.CDTime2ThursdayPay,
                                      &s.CDTime2FridayPay,
                                      &s.CDTime2SaturdayPay,
                                      &s.CDTime2SundayPay,
                                      &s.CDTime3MondayPay,
                                      &s.CDTime3TuesdayPay,
                                      &s.CDTime3WednesdayPay,
                                      &s.CDTime3ThursdayPay,
                                      &s.CDTime3FridayPay,
                                      &s.CDTime3SaturdayPay,
                                      &s.CDTime3SundayPay};
        for (int slot = 0; slot < kSlots; ++slot)
            *keys[slot] = Slot(r, slot);
        s.ChargeDivideTime1 = r.ChargeDivideTime1;
        s.ChargeDivideTime2 = r.ChargeDivideTime2;
        s.ChargeDivideTime3 = r.ChargeDivideTime3;
        WriteSettings(*context_.files.fs, context_.settings);
    });
}

void TInputT::DeleteClicked() {
    DeleteSelectedEmployee();
}

void TInputT::UnifyClicked() {
    PayEditExit(0);
    K1Click();
}

void TInputT::K1Click() {
    for (int slot = 1; slot < kSlots; ++slot)
        SetBarAmount(slot, BarAmount(0));
}

// Shown in the menu; what it should do has never been decided.
void TInputT::K2Click() {}

// --- window events ------------------------------------------------------------

void TInputT::FormActivate() {
    DivideCheckBoxClick();
}

bool TInputT::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return TWageForm::event(event);
}

void TInputT::showEvent(QShowEvent* event) {
    TWageForm::showEvent(event);
    // The window system may never activate an off-screen window; the height
    // must follow the divisions all the same.
    FormActivate();
}

bool TInputT::FormKeyFilter(QObject* watched, QKeyEvent* event) {
    for (int band = 1; band <= 3; ++band) {
        if (watched != sliders_[band])
            continue;
        // The track bar's own directions: Left and Up earlier, Right and Down
        // later, no wrap.
        QSlider* slider = sliders_[band];
        int next = slider->value();
        switch (event->key()) {
            case Qt::Key_Left:
            case Qt::Key_Up:
                next -= 1;
                break;
            case Qt::Key_Right:
            case Qt::Key_Down:
                next += 1;
                break;
            case Qt::Key_PageUp:
                next -= slider->pageStep();
                break;
            case Qt::Key_PageDown:
                next += slider->pageStep();
                break;
            default:
                return false;
        }
        slider->setValue(std::clamp(next, 0, 287));
        return true;
    }
    return false;
}

}  // namespace pb
