#include "gui/timecard/CalcSettingsDialog.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QShowEvent>
#include <algorithm>
#include <exception>
#include <iterator>

#include "gui/controls/Pbutton.h"
#include "gui/shared/Colors.h"
#include "gui/shared/Guard.h"
#include "gui/shared/Images.h"
#include "gui/shared/Messages.h"
#include "gui/shared/Naming.h"
#include "gui/shared/PanelButtons.h"

namespace pb {

namespace {

constexpr int kClientWidth = 268;
constexpr int kClientHeight = 210;
constexpr int kBarHeight = 44;
constexpr int kGroupCount = 4;

void SetTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    widget->setPalette(palette);
}

QFrame* SunkenLine(QWidget* parent, int y) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(0, y, kClientWidth, 2);
    return line;
}

// The option of a group that shows a stored value, or -1 when none does.
int OvertimeUnitIndex(std::int32_t minutes) {
    const auto* found = std::find(std::begin(CalcSettingsDialog::kOvertimeUnits),
                                  std::end(CalcSettingsDialog::kOvertimeUnits), minutes);
    return found == std::end(CalcSettingsDialog::kOvertimeUnits)
               ? -1
               : static_cast<int>(found - std::begin(CalcSettingsDialog::kOvertimeUnits));
}

int OptionIndex(std::int32_t value, int count) {
    return value >= 0 && value < count ? value : -1;
}

}  // namespace

CalcSettingsDialog::CalcSettingsDialog(Settings& settings, FileSystem& fs,
                                       std::int32_t invalidColorDefault, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      settings_(settings),
      fs_(fs),
      invalidColorDefault_(invalidColorDefault) {
    Name(this, QStringLiteral("TCalcS"));
    setWindowTitle(QStringLiteral("計算設定"));
    setProperty("HelpContext", 10);
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(12);
    setFont(font);
    setFixedSize(kClientWidth, kClientHeight);

    BuildButtonBar();

    const int top = kBarHeight + 8;
    overtimeUnitGroup_ =
        MakeGroup(1, QStringLiteral("残業時間区分（分）"),
                  {QStringLiteral("1"), QStringLiteral("5"), QStringLiteral("10"),
                   QStringLiteral("15"), QStringLiteral("20"), QStringLiteral("30")},
                  2, 6, top, 126, 82);
    roundingGroup_ = MakeGroup(
        2, QStringLiteral("端数時間処理"),
        {QStringLiteral("四捨五入"), QStringLiteral("切り上げ"), QStringLiteral("切り捨て")}, 1,
        136, top, 126, 82);
    roundingSpanGroup_ =
        MakeGroup(3, QStringLiteral("時間調整"), {QStringLiteral("日毎"), QStringLiteral("月毎")},
                  2, 6, top + 86, 126, 66);
    monthEndGroup_ = MakeGroup(4, QStringLiteral("月末締め支払設定"),
                               {QStringLiteral("翌月払い"), QStringLiteral("当月払い")}, 1, 136,
                               top + 86, 126, 66);
}

void CalcSettingsDialog::BuildButtonBar() {
    SunkenLine(this, 0);
    SunkenLine(this, 2 + kBarHeight);

    struct ToolButton {
        TPanelButton** field;
        const char* name;
        const char* caption;
        const char* hint;
        const char* glyph;
        void (CalcSettingsDialog::*click)();
        QKeySequence key;
    };
    // The keys of the registration forms: store, revert, leave.
    const ToolButton tools[] = {
        {&store_, "PanelButton1", "登録", "設定登録", "Save", &CalcSettingsDialog::StoreClicked,
         QKeySequence(Qt::CTRL | Qt::Key_S)},
        {&restore_, "PanelButton2", "戻す", "元に戻す", "Restore",
         &CalcSettingsDialog::RestoreClicked, QKeySequence(Qt::ALT | Qt::Key_R)},
        {&cancel_, "PanelButton3", "中止", "設定中止", "Cancel", &CalcSettingsDialog::CancelClicked,
         QKeySequence(Qt::Key_Escape)},
    };
    int x = 4;
    for (const ToolButton& tool : tools) {
        TPanelButton* button =
            MakePanelButton(this, QString::fromLatin1(tool.name), QString::fromUtf8(tool.caption),
                            Glyph(QString::fromLatin1(tool.glyph)), QString::fromUtf8(tool.hint));
        button->setGeometry(x, 4, 40, 40);
        GivePanelKey(button, tool.key);
        x += 42;
        connect(button, &TPanelButton::clicked, this, tool.click);
        *tool.field = button;
    }
}

QGroupBox* CalcSettingsDialog::MakeGroup(int tag, const QString& caption,
                                         const QStringList& options, int columns, int x, int y,
                                         int w, int h) {
    auto* group = new QGroupBox(caption, this);
    Name(group, QStringLiteral("RadioGroup%1").arg(tag));
    group->setProperty("Tag", tag);
    group->setGeometry(x, y, w, h);
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(8, 2, 4, 4);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(0);

    auto* selection = new QButtonGroup(group);
    // Options go down the first column, then the next, as in a radio group.
    const int rows = (static_cast<int>(options.size()) + columns - 1) / columns;
    for (int index = 0; index < options.size(); ++index) {
        auto* option = new QRadioButton(options[index], group);
        Name(option, QStringLiteral("RadioGroup%1Item%2").arg(tag).arg(index));
        selection->addButton(option, index);
        grid->addWidget(option, index % rows, index / rows);
    }
    connect(selection, &QButtonGroup::idToggled, this, [this, tag](int, bool checked) {
        if (checked)
            ChoiceChanged(tag);
    });
    groups_.append(group);
    selections_.append(selection);
    return group;
}

// --- the selections -----------------------------------------------------------

int CalcSettingsDialog::ItemIndex(int group) const {
    return selections_.at(group - 1)->checkedId();
}

QRadioButton* CalcSettingsDialog::Item(int group, int index) const {
    return qobject_cast<QRadioButton*>(selections_.at(group - 1)->button(index));
}

void CalcSettingsDialog::SetItemIndex(int group, int index) {
    QButtonGroup* selection = selections_.at(group - 1);
    if (QAbstractButton* option = selection->button(index)) {
        option->setChecked(true);
        return;
    }
    // A stored value that no option stands for: nothing is shown as chosen, so
    // that 登録 keeps the value rather than one the operator never picked.
    if (QAbstractButton* checked = selection->checkedButton()) {
        selection->setExclusive(false);
        checked->setChecked(false);
        selection->setExclusive(true);
    }
}

void CalcSettingsDialog::ChoiceChanged(int tag) {
    const QColor valid = FromColorRef(settings_.FontColor.ValidColor);
    const QColor invalid = FromColorRef(settings_.FontColor.InvalidColor);
    const int chosen = ItemIndex(tag);
    for (QAbstractButton* option : selections_.at(tag - 1)->buttons()) {
        const int index = selections_.at(tag - 1)->id(option);
        SetTextColour(option, index == chosen ? valid : invalid);
    }
}

void CalcSettingsDialog::ShowSettings() {
    const CalcSetSettings& rules = settings_.Calc_Set;
    SetItemIndex(1, OvertimeUnitIndex(rules.OvertimeWorkFigure));
    SetItemIndex(2, OptionIndex(rules.TimeAdjustFigure, 3));
    SetItemIndex(3, OptionIndex(rules.FractionsHandle, 2));
    SetItemIndex(4, OptionIndex(rules.EndOfMonthPayment, 2));
    const QColor valid = FromColorRef(settings_.FontColor.ValidColor);
    for (int tag = 1; tag <= kGroupCount; ++tag) {
        SetTextColour(groups_.at(tag - 1), valid);
        // A selection that did not change raised no click; colour every group.
        ChoiceChanged(tag);
    }
}

void CalcSettingsDialog::TakeSelections(CalcSetSettings& rules) const {
    if (const int index = ItemIndex(1); index >= 0)
        rules.OvertimeWorkFigure = kOvertimeUnits[index];
    std::int32_t* const fields[] = {&rules.TimeAdjustFigure, &rules.FractionsHandle,
                                    &rules.EndOfMonthPayment};
    for (int tag = 2; tag <= kGroupCount; ++tag)
        if (const int index = ItemIndex(tag); index >= 0)
            *fields[tag - 2] = index;
}

// --- handlers -------------------------------------------------------------------

void CalcSettingsDialog::showEvent(QShowEvent* event) {
    // Each showing starts from what is stored. Later activations (after a message
    // box, or coming back from another program) keep what the operator chose.
    if (!event->spontaneous())
        ShowStoredRules();
    QDialog::showEvent(event);
}

void CalcSettingsDialog::ShowStoredRules() {
    ReadSettings(fs_, settings_, invalidColorDefault_);
    ShowSettings();
}

void CalcSettingsDialog::StoreClicked() {
    const CalcSetSettings before = settings_.Calc_Set;
    TakeSelections(settings_.Calc_Set);
    if (!Guarded(this, [this] { WriteSettings(fs_, settings_); })) {
        // The file still holds the old rules; so does the calculation until a
        // later 登録 succeeds. The dialog stays open with the operator's choices.
        settings_.Calc_Set = before;
        return;
    }
    accept();
}

void CalcSettingsDialog::RestoreClicked() {
    ShowStoredRules();
}

void CalcSettingsDialog::CancelClicked() {
    reject();
}

}  // namespace pb
