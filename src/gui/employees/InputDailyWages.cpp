#include "gui/employees/InputDailyWages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSlider>
#include <cmath>

#include "core/common/Routines.h"
#include "core/model/PayScheme.h"
#include "core/store/EmployeeFiles.h"
#include "core/timecard/WorkPattern.h"
#include "gui/controls/NumEdit.h"
#include "gui/controls/Pbutton.h"
#include "gui/shared/DropDown.h"
#include "gui/shared/Images.h"
#include "gui/shared/Naming.h"
#include "gui/shared/Text.h"

namespace pb {

namespace {

const char* const kWeekdayNames[] = {"日", "月", "火", "水", "木", "金", "土"};
const char* const kHalfDayClash = "休日設定日は半日勤務設定日との重複は出来ません";

// The tab order and the frame show the week from Monday.
constexpr int kWeekdaysFromMonday[] = {2, 3, 4, 5, 6, 7, 1};

}  // namespace

TInputD::TInputD(const WageFormContext& context, QWidget* parent)
    : TWageForm(context, /*sortedIds=*/true, parent) {
    Name(this, QStringLiteral("TInputD"));
    setWindowTitle(QStringLiteral("日給制 従業員データ登録"));
    setProperty("HelpContext", 3);
    setFixedSize(389, 443);
    setAttribute(Qt::WA_DeleteOnClose, false);
    BuildWindow();
    SetTabOrder();

    // FormCreate.
    ReflectDefoData();
    FillIdList(PayScheme::Daily);
    for (const char* name : {"Label1", "Label2", "Label3", "Label8"})
        SetTextColour(findChild<QLabel*>(QString::fromLatin1(name)), true);
    StartWorker();
}

void TInputD::BuildWindow() {
    auto* register_ =
        MakeBarButton(QStringLiteral("PanelButton1"), QStringLiteral("登録"),
                      QStringLiteral("従業員データの登録"), Glyph(QStringLiteral("DailyWages")), 4,
                      QKeySequence(Qt::CTRL | Qt::Key_S));
    deleteButton_ =
        MakeBarButton(QStringLiteral("PanelButton5"), QStringLiteral("削除"), {},
                      Glyph(QStringLiteral("Delete")), 52, QKeySequence(Qt::ALT | Qt::Key_D));
    auto* close = MakeBarButton(QStringLiteral("PanelButton2"), QStringLiteral("終了"),
                                QStringLiteral("データ登録の終了"), Glyph(QStringLiteral("Exit")),
                                100, QKeySequence(Qt::Key_Escape));
    auto* revert = MakeBarButton(QStringLiteral("PanelButton3"), QStringLiteral("戻す"),
                                 QStringLiteral("デフォルトに戻す"), RevertGlyph(), 289,
                                 QKeySequence(Qt::ALT | Qt::Key_R));
    auto* store =
        MakeBarButton(QStringLiteral("PanelButton4"), QStringLiteral("設定"),
                      QStringLiteral("デフォルトに設定する"), Glyph(QStringLiteral("Settings")),
                      337, QKeySequence(Qt::ALT | Qt::Key_S));
    connect(register_, &TPanelButton::clicked, this, &TInputD::RegisterClicked);
    connect(deleteButton_, &TPanelButton::clicked, this, &TInputD::DeleteClicked);
    connect(close, &TPanelButton::clicked, this, &TInputD::CloseClicked);
    connect(revert, &TPanelButton::clicked, this, &TInputD::ReflectDefoData);
    connect(store, &TPanelButton::clicked, this, &TInputD::SetDefoData);

    MakeIdAndName(8, 96, 50);
    idStatusLabel_ = MakeLabel(QStringLiteral("Label11"), {}, 170, 53, 215);

    const char* const classTexts[] = {"早出区分", "残業区分", "早朝区分", "深夜区分"};
    for (int tag = 1; tag <= 4; ++tag) {
        QCheckBox* box =
            MakeCheckBox(QStringLiteral("CheckBox%1").arg(tag),
                         QString::fromUtf8(classTexts[tag - 1]), 96 + (tag - 1) * 72, 102, 72);
        box->setProperty("tag", tag);
        classBoxes_[tag] = box;
        connect(box, &QCheckBox::toggled, this, [this, tag] { PayCheckBoxClick(tag); });
    }

    MakeLabel(QStringLiteral("Label3"), QStringLiteral("時給"), 8, 127, 84);
    holidayRateLabel_ =
        MakeLabel(QStringLiteral("Label4"), QStringLiteral("時給(休日)"), 8, 151, 84);
    for (int tag = 1; tag <= 8; ++tag) {
        const int column = (tag - 1) % 4;
        const int y = tag <= 4 ? 124 : 148;
        MakeRateField(tag, QStringLiteral("NumEdit%1").arg(tag),
                      QStringLiteral("ScrollBar%1").arg(tag), 96 + column * 72, y, 52);
        // Named by the class above and the row label beside: "早出区分 時給(休日)".
        const QStringList name = {QString::fromUtf8(classTexts[column]),
                                  tag <= 4 ? QStringLiteral("時給") : QStringLiteral("時給(休日)")};
        NameAfter(payEdits_[tag], name);
        NameAfter(payBars_[tag], name);
    }

    // Sliders 1 … 4, then the half-day slider 5 further down.
    const char* const labelNames[] = {"", "Label5", "Label6", "Label9", "Label10", "Label7"};
    const char* const labelTexts[] = {"",         "規定出社時間", "規定退社時間",
                                      "早朝時間", "深夜時間",     "半勤日退社時間"};
    const int sliderY[] = {0, 178, 206, 234, 262, 372};
    for (int tag = 1; tag <= 5; ++tag) {
        const int y = sliderY[tag];
        timeLabels_[tag] = MakeLabel(QString::fromLatin1(labelNames[tag]),
                                     QString::fromUtf8(labelTexts[tag]), 8, y + 5, 88);
        timeTexts_[tag] = MakeTimeText(QStringLiteral("Memo%1").arg(tag), 96, y + 3, 48);
        sliders_[tag] = MakeSlider(QStringLiteral("TrackBar%1").arg(tag), 148, y, 236);
        NameAfter(timeTexts_[tag], {QString::fromUtf8(labelTexts[tag])});
        NameAfter(sliders_[tag], {QString::fromUtf8(labelTexts[tag])});
        sliders_[tag]->setProperty("tag", tag);
        sliders_[tag]->installEventFilter(this);
        timeTexts_[tag]->setProperty("slider", QVariant::fromValue(sliders_[tag]));
        connect(sliders_[tag], &QSlider::valueChanged, this, [this, tag] {
            if (!programMove_)
                TimeTrackBarChange(tag);
        });
    }

    HolidayCB = MakeCheckBox(QStringLiteral("HolidayCB"), QStringLiteral("休日区分"), 8, 304, 86);
    HolidayCB->setProperty("tag", 6);
    classBoxes_[6] = HolidayCB;
    connect(HolidayCB, &QCheckBox::toggled, this, [this] { PayCheckBoxClick(6); });

    auto* frame = new QGroupBox(this);
    Name(frame, QStringLiteral("GroupBox1"));
    frame->setGeometry(96, 290, 196, 50);
    frame->setAccessibleName(QStringLiteral("休日区分"));
    for (int k = 0; k < 7; ++k) {
        const int weekday = kWeekdaysFromMonday[k];
        auto* box = new QCheckBox(QString::fromUtf8(kWeekdayNames[weekday - 1]), frame);
        const QString name = QStringLiteral("CheckBox%1").arg(6 + weekday);
        Name(box, name);
        // Read alone it says what it sets: "休日区分 水曜日".
        NameAfter(box, {QStringLiteral("休日区分"), Q(WeekdayText(weekday))});
        box->setProperty("tag", weekday);
        box->setGeometry(8 + (k % 4) * 46, k < 4 ? 6 : 27, 44, 18);
        EnterMovesFocus(box);
        weekBoxes_[weekday] = box;
        connect(box, &QCheckBox::toggled, this, [this, weekday] { WeekCheckBoxClick(weekday); });
    }

    HalfHolidayCB =
        MakeCheckBox(QStringLiteral("HalfHolidayCB"), QStringLiteral("半日勤務"), 8, 348, 86);
    HalfHolidayCB->setProperty("tag", 5);
    HalfHolidayCB->setChecked(true);
    classBoxes_[5] = HalfHolidayCB;
    connect(HalfHolidayCB, &QCheckBox::toggled, this, [this] { HalfHolidayCBClick(); });

    HalfHolidayCombo = new QComboBox(this);
    Name(HalfHolidayCombo, QStringLiteral("HalfHolidayCombo"));
    HalfHolidayCombo->setEditable(true);
    RoomyRows(HalfHolidayCombo);
    HalfHolidayCombo->setInsertPolicy(QComboBox::NoInsert);
    HalfHolidayCombo->setCompleter(nullptr);
    for (const char* name : kWeekdayNames)
        HalfHolidayCombo->addItem(QString::fromUtf8(name));
    HalfHolidayCombo->setGeometry(96, 346, 52, 22);
    NameAfter(HalfHolidayCombo, {QStringLiteral("半日勤務")});
    HalfHolidayCombo->installEventFilter(this);
    EnterMovesFocus(HalfHolidayCombo);
    connect(HalfHolidayCombo, &QComboBox::currentTextChanged, this, [this] {
        if (!steppingBack_)
            HalfHolidayComboChange();
    });

    MakeClosingDay(8, 406, 88, QStringLiteral("締日："));
}

void TInputD::SetTabOrder() {
    std::vector<QWidget*> order{IDCB, NameEdit};
    for (int tag = 1; tag <= 4; ++tag)
        order.push_back(classBoxes_[tag]);
    for (int tag = 1; tag <= 8; ++tag) {
        order.push_back(payEdits_[tag]);
        order.push_back(payBars_[tag]);
    }
    for (int tag = 1; tag <= 4; ++tag) {
        order.push_back(timeTexts_[tag]);
        order.push_back(sliders_[tag]);
    }
    order.push_back(HolidayCB);
    for (int weekday : kWeekdaysFromMonday)
        order.push_back(weekBoxes_[weekday]);
    for (QWidget* w :
         std::initializer_list<QWidget*>{HalfHolidayCB, HalfHolidayCombo, timeTexts_[5],
                                         sliders_[5], ClosingDayEdit, ClosingDaySB, ClosingDayCB})
        order.push_back(w);
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

// --- the work pattern -------------------------------------------------------

void TInputD::UpdateWorkType() {
    const bool early = classBoxes_[1]->isChecked();
    const bool over = classBoxes_[2]->isChecked();
    const bool morning = classBoxes_[3]->isChecked();
    const bool night = classBoxes_[4]->isChecked();
    const int type = DailyWorkType(early, over, morning, night);
    currentDailyWorkType_ = type;
    const QString title = QStringLiteral("日給制データ入力   勤務体系 %1").arg(type);
    if (windowTitle() != title)
        setWindowTitle(title);
}

void TInputD::ShowWorkType(int t) {
    classBoxes_[1]->setChecked(MeasuresEarlyStart(t));
    classBoxes_[2]->setChecked(MeasuresOvertime(t));
    classBoxes_[3]->setChecked(MeasuresEarlyMorning(t));
    classBoxes_[4]->setChecked(MeasuresLateNight(t));
    // Boxes already in the wanted state raise no click; the enabling still has
    // to follow them.
    PayCheckBoxClick(0);
}

void TInputD::PayCheckBoxClick(int c) {
    QCheckBox* box = (c >= 1 && c <= 6) ? classBoxes_[c] : nullptr;
    if (box != nullptr && (c == 1 || c == 2) && !box->isChecked()) {
        classBoxes_[c + 2]->setChecked(false);
        classBoxes_[c == 1 ? 2 : 1]->setChecked(true);
    }
    if (box != nullptr && (c == 3 || c == 4) && box->isChecked())
        classBoxes_[c - 2]->setChecked(true);
    const bool holidays = HolidayCB->isChecked();
    if (c == 6 || c == 0) {
        for (int weekday = 1; weekday <= 7; ++weekday)
            weekBoxes_[weekday]->setEnabled(holidays);
        for (int tag = 5; tag <= 8; ++tag) {
            payEdits_[tag]->setEnabled(holidays);
            payBars_[tag]->setEnabled(holidays);
        }
    }
    for (int i = 1; i <= 4; ++i) {
        const bool on = classBoxes_[i]->isChecked();
        payEdits_[i]->setEnabled(on);
        payBars_[i]->setEnabled(on);
        sliders_[i]->setEnabled(on);
        timeTexts_[i]->setEnabled(on);
        if (holidays) {
            payEdits_[i + 4]->setEnabled(on);
            payBars_[i + 4]->setEnabled(on);
        }
    }
    RefreshColours();
}

void TInputD::RefreshColours() {
    for (int tag = 1; tag <= 6; ++tag)
        SetTextColour(classBoxes_[tag], classBoxes_[tag]->isChecked());
    SetTextColour(holidayRateLabel_, HolidayCB->isChecked());
    for (int tag = 1; tag <= 5; ++tag)
        SetTextColour(timeLabels_[tag], sliders_[tag]->isEnabled());
    if (HolidayCB->isChecked())
        for (int weekday = 1; weekday <= 7; ++weekday)
            SetTextColour(weekBoxes_[weekday], weekBoxes_[weekday]->isChecked());
    SetTextColour(ClosingDayCB, ClosingDayCB->isChecked());
}

// --- holidays and the half working day ----------------------------------------

int TInputD::HalfHolidayIndex() const {
    return HalfHolidayCombo->findText(HalfHolidayCombo->currentText(), Qt::MatchExactly);
}

bool TInputD::HalfDayAllowed(int k) const {
    return !(HalfHolidayCB->isChecked() && HolidayCB->isChecked() && HalfHolidayIndex() >= 0 &&
             k >= 0 && k <= 6 && weekBoxes_[k + 1]->isChecked());
}

void TInputD::WeekCheckBoxClick(int weekday) {
    int checked = 0;
    for (int d = 1; d <= 7; ++d)
        checked += weekBoxes_[d]->isChecked() ? 1 : 0;
    const bool allowed = HalfDayAllowed(HalfHolidayIndex());
    if (showing_ || (allowed && checked <= 3)) {
        RefreshColours();
        return;
    }
    context_.op.Warning(allowed ? "休日設定日は３日以内にして下さい" : kHalfDayClash, Buttons::Ok);
    weekBoxes_[weekday]->setChecked(false);
    RefreshColours();
}

void TInputD::HalfHolidayCBClick() {
    const bool on = HalfHolidayCB->isChecked();
    SetTextColour(HalfHolidayCB, on);
    HalfHolidayCombo->setEnabled(on);
    timeTexts_[5]->setEnabled(on);
    sliders_[5]->setEnabled(on);
    RefreshColours();
}

void TInputD::HalfHolidayComboChange() {
    int k = HalfHolidayIndex();
    if (showing_ || HalfDayAllowed(k))
        return;
    context_.op.Warning(kHalfDayClash, Buttons::Ok);
    for (int step = 0; step < 5; ++step) {
        k = k == 0 ? 6 : k - 1;
        steppingBack_ = true;
        HalfHolidayCombo->setCurrentIndex(k);
        steppingBack_ = false;
        if (HalfDayAllowed(k))
            break;
    }
}

// --- time sliders -------------------------------------------------------------

void TInputD::SetSliderStep(int tag, int step) {
    programMove_ = true;
    sliders_[tag]->setValue(step);
    programMove_ = false;
    timeTexts_[tag]->setText(Q(StepsToText(step)));
}

void TInputD::TimeTrackBarChange(int i) {
    const int p = sliders_[i]->value();
    bool accepted = true;
    if (i == 1)
        accepted = p < sliders_[2]->value();
    if (i == 2 || i == 5)
        accepted = p > sliders_[1]->value();
    if (accepted) {
        if (p != lastTimeSteps_[i])
            timeTexts_[i]->setText(Q(StepsToText(p)));
    } else {
        programMove_ = true;
        sliders_[i]->setValue(lastTimeSteps_[i]);
        programMove_ = false;
    }
    lastTimeSteps_[i] = sliders_[i]->value();
}

bool TInputD::TimeTrackBarKeyDown(int tag, int key) {
    QSlider* slider = sliders_[tag];
    int next = slider->value();
    switch (key) {
        case Qt::Key_Left:
        case Qt::Key_Up:
            next = next == 0 ? 287 : next - 1;
            break;
        case Qt::Key_Right:
        case Qt::Key_Down:
            next = next == 287 ? 0 : next + 1;
            break;
        case Qt::Key_PageUp:
            next = std::max(0, next - slider->pageStep());
            break;
        case Qt::Key_PageDown:
            next = std::min(287, next + slider->pageStep());
            break;
        default:
            return false;
    }
    // Moves by the operator: they pass the ordering check.
    slider->setValue(next);
    return true;
}

// --- showing and collecting -----------------------------------------------------

void TInputD::ShowDailyWages(const DailyWagesRecord& r) {
    showing_ = true;
    ShowWorkType(r.WorkType);
    ShowClosingDay(r.ClosingDay);
    HolidayCB->setChecked(r.Holiday != 0);
    PayCheckBoxClick(6);
    for (int weekday = 1; weekday <= 7; ++weekday)
        weekBoxes_[weekday]->setChecked(false);
    if (r.Holiday != 0) {
        const int days[] = {r.Holiday1, r.Holiday2, r.Holiday3};
        for (int day : days) {
            if (day < 1 || day > 7)
                break;
            weekBoxes_[day]->setChecked(true);
        }
    }
    HalfHolidayCombo->setCurrentIndex(r.HalfHoliday >= 1 && r.HalfHoliday <= 7 ? r.HalfHoliday - 1
                                                                               : -1);
    const double times[] = {r.TimeToStartWork, r.TimeToFinishWork, r.TimeToFinishMorning,
                            r.TimeToStartNight, r.TimeToFinishWorkHH};
    for (int tag = 1; tag <= 5; ++tag) {
        lastTimeSteps_[tag] = TimeToSteps(times[tag - 1]);
        SetSliderStep(tag, lastTimeSteps_[tag]);
    }
    const std::int32_t pays[] = {r.WeekdayMorningPay, r.WeekdayOverPay,    r.WeekdayEarMornPay,
                                 r.WeekdayNightPay,   r.HolidayMorningPay, r.HolidayOverPay,
                                 r.HolidayEarMornPay, r.HolidayNightPay};
    for (int tag = 1; tag <= 8; ++tag)
        SetBarAmount(tag, pays[tag - 1]);
    RefreshColours();
    showing_ = false;
}

DailyWagesRecord TInputD::CollectDailyWages() {
    // The worker refreshes the pattern every few dozen milliseconds; a box
    // clicked just before must not leave a stale one in the record.
    UpdateWorkType();
    DailyWagesRecord r;
    r.ID = S(SelectedId()).substr(0, 3);
    r.Current = 1;
    r.Generation = 1;
    r.WorkType = currentDailyWorkType_;
    std::int32_t* pays[] = {&r.WeekdayMorningPay, &r.WeekdayOverPay,    &r.WeekdayEarMornPay,
                            &r.WeekdayNightPay,   &r.HolidayMorningPay, &r.HolidayOverPay,
                            &r.HolidayEarMornPay, &r.HolidayNightPay};
    for (int tag = 1; tag <= 8; ++tag)
        *pays[tag - 1] = RateEnabled(tag) ? RateAmount(tag) : 0;
    double* times[] = {&r.TimeToStartWork, &r.TimeToFinishWork, &r.TimeToFinishMorning,
                       &r.TimeToStartNight};
    for (int tag = 1; tag <= 4; ++tag)
        *times[tag - 1] = sliders_[tag]->isEnabled() ? StepsToTime(sliders_[tag]->value()) : 0.0;
    r.ClosingDay = ClosingDayValue();
    const int half = HalfHolidayIndex();
    if (HalfHolidayCB->isChecked() && half >= 0) {
        r.HalfHoliday = half + 1;
        r.TimeToFinishWorkHH = StepsToTime(sliders_[5]->value());
    } else {
        r.HalfHoliday = -1;
        r.TimeToFinishWorkHH = -1.0;
    }
    r.Holiday = 0;
    r.Holiday1 = r.Holiday2 = r.Holiday3 = -1;
    if (HolidayCB->isChecked()) {
        std::int32_t* holidays[] = {&r.Holiday1, &r.Holiday2, &r.Holiday3};
        int taken = 0;
        for (int weekday = 1; weekday <= 7 && taken < 3; ++weekday) {
            if (!weekBoxes_[weekday]->isChecked())
                continue;
            r.Holiday = 1;
            *holidays[taken++] = weekday;
        }
    }
    return r;
}

// --- the ID field -------------------------------------------------------------

void TInputD::IDCBChange() {
    const bool untouched = Untouched();
    std::optional<PayScheme> scheme;
    Guard([this, &scheme] {
        scheme = ShowIdStatus(idStatusLabel_, PayScheme::Daily);
        if (scheme != PayScheme::Daily)
            return;
        if (const auto record = ReadDailyRecord(context_.files, S(SelectedId()), 0))
            ShowDailyWages(*record);
    });
    AfterIdLookup(scheme, PayScheme::Daily, untouched, [this] { ReflectDefoData(); });
}

// --- buttons ------------------------------------------------------------------

void TInputD::RegisterClicked() {
    CommitFocusedField();
    Guard([this] {
        if (!CheckSchemeChange(PayScheme::Hourly))
            return;
        const std::string id = S(SelectedId());
        const std::string name = S(NameEdit->text());
        if (!ValidateEmployeeInput(name, ParseYen(id), context_.op)) {
            IDCBChange();
            return;
        }
        // The name typed stays for the operator to mend.
        if (!ValidateNameToStore(name, context_.op))
            return;
        bool anyHoliday = false;
        for (int weekday = 1; weekday <= 7; ++weekday)
            anyHoliday |= weekBoxes_[weekday]->isChecked();
        if (HolidayCB->isChecked() && !anyHoliday)
            HolidayCB->setChecked(false);
        EmployeeEntry entry;
        entry.Daily = CollectDailyWages();
        entry.Name =
            MakeNameRecord(context_.files, id, name,
                           WagesCode::Of(PayScheme::Daily, entry.Daily.Generation).Stored());
        RegisterEmployee(context_.files, entry, PayScheme::Daily, context_.op);
        IDCBChange();
    });
}

void TInputD::CloseClicked() {
    close();
}

void TInputD::DeleteClicked() {
    DeleteSelectedEmployee();
}

void TInputD::ReflectDefoData() {
    Guard([this] {
        ReadSettings(*context_.files.fs, context_.settings, context_.invalidColorDefault);
    });
    const DailyWagesSettings& s = context_.settings.DailyWages;
    DailyWagesRecord r;
    r.WorkType = s.WorkType;
    r.ClosingDay = context_.settings.Common.ClosingDay;
    r.Holiday = s.Holiday == 1 ? 1 : 0;
    r.Holiday1 = s.Holiday1;
    r.Holiday2 = s.Holiday2;
    r.Holiday3 = s.Holiday3;
    r.HalfHoliday = s.HalfHoliday;
    r.WeekdayMorningPay = s.WeekdayMorningPay;
    r.WeekdayOverPay = s.WeekdayOverPay;
    r.WeekdayEarMornPay = s.WeekdayEarMornPay;
    r.WeekdayNightPay = s.WeekdayNightPay;
    r.HolidayMorningPay = s.HolidayMorningPay;
    r.HolidayOverPay = s.HolidayOverPay;
    r.HolidayEarMornPay = s.HolidayEarMornPay;
    r.HolidayNightPay = s.HolidayNightPay;
    r.TimeToStartWork = StepsToTime(s.TimeToStartWork);
    r.TimeToFinishWork = StepsToTime(s.TimeToFinishWork);
    r.TimeToFinishMorning = StepsToTime(s.TimeToFinishMorning);
    r.TimeToStartNight = StepsToTime(s.TimeToStartNight);
    r.TimeToFinishWorkHH = StepsToTime(s.TimeToFinishWorkHH);
    ShowDailyWages(r);
}

void TInputD::SetDefoData() {
    CommitFocusedField();
    const DailyWagesRecord r = CollectDailyWages();
    DailyWagesSettings& s = context_.settings.DailyWages;
    s.WorkType = r.WorkType;
    context_.settings.Common.ClosingDay = r.ClosingDay;
    s.Holiday = r.Holiday != 0 ? 1 : 0;
    s.Holiday1 = r.Holiday1;
    s.Holiday2 = r.Holiday2;
    s.Holiday3 = r.Holiday3;
    s.HalfHoliday = r.HalfHoliday;
    s.WeekdayMorningPay = r.WeekdayMorningPay;
    s.WeekdayOverPay = r.WeekdayOverPay;
    s.WeekdayEarMornPay = r.WeekdayEarMornPay;
    s.WeekdayNightPay = r.WeekdayNightPay;
    s.HolidayMorningPay = r.HolidayMorningPay;
    s.HolidayOverPay = r.HolidayOverPay;
    s.HolidayEarMornPay = r.HolidayEarMornPay;
    s.HolidayNightPay = r.HolidayNightPay;
    s.TimeToStartWork = TimeToSteps(r.TimeToStartWork);
    s.TimeToFinishWork = TimeToSteps(r.TimeToFinishWork);
    s.TimeToFinishMorning = TimeToSteps(r.TimeToFinishMorning);
    s.TimeToStartNight = TimeToSteps(r.TimeToStartNight);
    s.TimeToFinishWorkHH = TimeToSteps(r.TimeToFinishWorkHH);
    Guard([this] { WriteSettings(*context_.files.fs, context_.settings); });
}

// --- keys ---------------------------------------------------------------------

bool TInputD::FormKeyFilter(QObject* watched, QKeyEvent* event) {
    for (int tag = 1; tag <= 5; ++tag)
        if (watched == sliders_[tag])
            return TimeTrackBarKeyDown(tag, event->key());
    if (watched != HalfHolidayCombo)
        return false;
    const int key = event->key();
    const int k = HalfHolidayIndex();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
        if (key == Qt::Key_Up && k == 0) {
            HalfHolidayCombo->setCurrentIndex(6);
            return true;
        }
        if (key == Qt::Key_Down && k == 6) {
            HalfHolidayCombo->setCurrentIndex(0);
            return true;
        }
        return false;
    }
    // Typed characters reach the edit part; Enter and Tab move on; the rest is
    // discarded.
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab ||
        key == Qt::Key_Backtab || key == Qt::Key_Backspace || key == Qt::Key_Escape)
        return false;
    return event->text().isEmpty() || !event->text().at(0).isPrint();
}

}  // namespace pb
