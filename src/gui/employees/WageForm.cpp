#include "gui/employees/WageForm.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QSlider>
#include <algorithm>
#include <cmath>

#include "core/common/Routines.h"
#include "core/store/EmployeeFiles.h"
#include "core/store/WorkDataFiles.h"
#include "gui/controls/NumEdit.h"
#include "gui/controls/Pbutton.h"
#include "gui/employees/CheckWorkType.h"
#include "gui/shared/Colors.h"
#include "gui/shared/DropDown.h"
#include "gui/shared/Guard.h"
#include "gui/shared/Help.h"
#include "gui/shared/Messages.h"
#include "gui/shared/Naming.h"
#include "gui/shared/PanelButtons.h"
#include "gui/shared/SjisLengthValidator.h"
#include "gui/shared/Text.h"

namespace pb {

namespace {

bool IsEnter(const QKeyEvent* event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

}  // namespace

TWageForm::TWageForm(const WageFormContext& context, bool sortedIds, QWidget* parent)
    : QDialog(parent), context_(context), sortedIds_(sortedIds) {
    setFont(QFont(QStringLiteral("ＭＳ ゴシック"), -1));
    QFont f = font();
    f.setPixelSize(12);
    setFont(f);
}

TWageForm::~TWageForm() {
    // First thing on destruction: after this the title routine never runs again.
    if (worker_)
        worker_->Stop();
}

void TWageForm::StartWorker() {
    worker_ = std::make_unique<TCheckWorkType>(this, [this] { UpdateWorkType(); });
    worker_->StartIdle();
}

// --- building -------------------------------------------------------------

QLabel* TWageForm::MakeLabel(const QString& name, const QString& text, int x, int y, int w, int h) {
    auto* label = new QLabel(text, this);
    Name(label, name);
    label->setGeometry(x, y, w, h);
    return label;
}

QCheckBox* TWageForm::MakeCheckBox(const QString& name, const QString& text, int x, int y, int w,
                                   int h) {
    auto* box = new QCheckBox(text, this);
    Name(box, name);
    box->setGeometry(x, y, w, h);
    EnterMovesFocus(box);
    return box;
}

TPanelButton* TWageForm::MakeBarButton(const QString& name, const QString& caption,
                                       const QString& hint, const QPixmap& glyph, int x,
                                       const QKeySequence& key) {
    TPanelButton* button = MakePanelButton(this, name, caption, glyph, hint);
    button->setGeometry(x, 2, 48, 40);
    button->setSpacing(4);
    button->setFocusPolicy(Qt::NoFocus);
    GivePanelKey(button, key);
    return button;
}

void TWageForm::MakeRateField(int tag, const QString& editName, const QString& barName, int x,
                              int y, int editWidth) {
    if (static_cast<int>(payEdits_.size()) <= tag) {
        payEdits_.resize(tag + 1, nullptr);
        payBars_.resize(tag + 1, nullptr);
    }
    auto* edit = new TNumEdit(this);
    Name(edit, editName);
    edit->setCanNegative(false);
    edit->setLeadingChar('\\');
    edit->setZeroDisplay(true);
    edit->setMaxDegits(5);
    edit->setValue(0);
    edit->setGeometry(x, y, editWidth, 20);
    edit->setProperty("tag", tag);
    edit->installEventFilter(this);
    EnterMovesFocus(edit);

    auto* bar = new QScrollBar(Qt::Vertical, this);
    Name(bar, barName);
    // Inverted: the upper arrow lowers the position and so raises the amount.
    bar->setRange(0, kMaxRate);
    bar->setSingleStep(10);
    bar->setPageStep(100);
    bar->setValue(kMaxRate);
    bar->setGeometry(x + editWidth, y, 16, 20);
    bar->setProperty("tag", tag);
    bar->setFocusPolicy(Qt::StrongFocus);
    EnterMovesFocus(bar);
    connect(bar, &QScrollBar::valueChanged, this, [this, tag] { PayScrollBarChange(tag); });

    payEdits_[tag] = edit;
    payBars_[tag] = bar;
}

QSlider* TWageForm::MakeSlider(const QString& name, int x, int y, int w) {
    auto* slider = new QSlider(Qt::Horizontal, this);
    Name(slider, name);
    slider->setRange(0, 287);
    slider->setPageStep(6);
    slider->setSingleStep(1);
    slider->setTickInterval(6);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setGeometry(x, y, w, 26);
    slider->setFocusPolicy(Qt::StrongFocus);
    EnterMovesFocus(slider);
    return slider;
}

QLineEdit* TWageForm::MakeTimeText(const QString& name, int x, int y, int w) {
    auto* memo = new QLineEdit(this);
    Name(memo, name);
    memo->setReadOnly(true);
    memo->setAlignment(Qt::AlignCenter);
    memo->setGeometry(x, y, w, 20);
    // Never keeps the focus: a click passes it on to the slider, and Tab goes
    // straight to the slider so Shift+Tab cannot get stuck in front of it.
    memo->setFocusPolicy(Qt::ClickFocus);
    memo->installEventFilter(this);
    return memo;
}

void TWageForm::MakeIdAndName(int labelX, int fieldX, int y) {
    QLabel* idLabel =
        MakeLabel(QStringLiteral("Label1"), QStringLiteral("従業員番号："), labelX, y + 3, 90);
    IDCB = new QComboBox(this);
    Name(IDCB, QStringLiteral("IDCB"));
    IDCB->setEditable(true);
    RoomyRows(IDCB);
    IDCB->setInsertPolicy(QComboBox::NoInsert);
    IDCB->setCompleter(nullptr);
    IDCB->setMaxVisibleItems(10);
    IDCB->lineEdit()->setMaxLength(3);
    IDCB->setAttribute(Qt::WA_InputMethodEnabled, false);
    IDCB->lineEdit()->setAttribute(Qt::WA_InputMethodEnabled, false);
    IDCB->setInputMethodHints(Qt::ImhLatinOnly);
    IDCB->setGeometry(fieldX, y, 64, 22);
    IDCB->installEventFilter(this);
    IDCB->lineEdit()->installEventFilter(this);
    connect(IDCB, &QComboBox::currentIndexChanged, this, [this] { IDCBChange(); });
    NameAfter(IDCB, {idLabel->text()});
    // A drop-down list is announced by its value; the label reaches screen
    // readers as its label.
    idLabel->setBuddy(IDCB);

    MakeLabel(QStringLiteral("Label2"), QStringLiteral("氏　    名："), labelX, y + 27, 90);
    NameEdit = new QLineEdit(this);
    Name(NameEdit, QStringLiteral("NameEdit"));
    NameEdit->setMaxLength(20);
    // "Name.dat" keeps 20 bytes of Shift-JIS: ten full-width characters.
    NameEdit->setValidator(new SjisLengthValidator(kNameLength, NameEdit));
    NameEdit->setToolTip(QStringLiteral("半角20文字（全角10文字）まで"));
    NameEdit->setAttribute(Qt::WA_InputMethodEnabled, true);
    NameEdit->setGeometry(fieldX, y + 24, 170, 22);
    NameAfter(NameEdit, {QStringLiteral("氏　    名：")});
    EnterMovesFocus(NameEdit);
}

void TWageForm::MakeClosingDay(int x, int y, int labelWidth, const QString& label) {
    QLabel* dayLabel = MakeLabel(QStringLiteral("Label8"), label, x, y + 5, labelWidth);
    ClosingDayEdit = new TNumEdit(this);
    Name(ClosingDayEdit, QStringLiteral("ClosingDayEdit"));
    QFont big = font();
    big.setPixelSize(16);
    ClosingDayEdit->setFont(big);
    ClosingDayEdit->setGeometry(x + labelWidth, y, 40, 26);
    ClosingDayEdit->installEventFilter(this);
    EnterMovesFocus(ClosingDayEdit);

    ClosingDaySB = new QScrollBar(Qt::Vertical, this);
    Name(ClosingDaySB, QStringLiteral("ClosingDaySB"));
    ClosingDaySB->setRange(1, 28);
    ClosingDaySB->setSingleStep(1);
    ClosingDaySB->setPageStep(5);
    ClosingDaySB->setGeometry(x + labelWidth + 40, y, 16, 26);
    ClosingDaySB->setFocusPolicy(Qt::StrongFocus);
    EnterMovesFocus(ClosingDaySB);
    connect(ClosingDaySB, &QScrollBar::valueChanged, this, [this] { ClosingDaySBChange(); });
    NameAfter(ClosingDayEdit, {label});
    dayLabel->setBuddy(ClosingDayEdit);
    NameAfter(ClosingDaySB, {label});

    ClosingDayCB = MakeCheckBox(QStringLiteral("ClosingDayCB"), QStringLiteral("月末設定"),
                                x + labelWidth + 64, y + 4, 90);
    connect(ClosingDayCB, &QCheckBox::toggled, this, [this] { ClosingDayCBClick(); });
}

namespace {

// Two 16x16 pictures on the olive that the buttons draw transparent.
QPixmap PaintGlyph(const std::function<void(QPainter&)>& draw) {
    QPixmap strip(32, 16);
    strip.fill(QColor::fromRgb(TPanelButton::kDefaultTransparentColor));
    QPainter painter(&strip);
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (int picture = 0; picture < 2; ++picture) {
        painter.save();
        painter.translate(16 * picture, 0);
        draw(painter);
        painter.restore();
    }
    return strip;
}

}  // namespace

QPixmap TWageForm::RevertGlyph() {
    // A curved arrow turning back to the left.
    return PaintGlyph([](QPainter& p) {
        p.setPen(QPen(QColor(0, 0, 128), 2));
        p.drawArc(QRect(3, 3, 10, 10), 90 * 16, -270 * 16);
        p.setBrush(QColor(0, 0, 128));
        p.setPen(Qt::NoPen);
        const QPoint head[] = {QPoint(8, 0), QPoint(8, 7), QPoint(3, 3)};
        p.drawPolygon(head, 3);
    });
}

QPixmap TWageForm::UnifyGlyph() {
    // Three bars of equal length: one amount for every rate.
    return PaintGlyph([](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 128, 0));
        for (int row = 0; row < 3; ++row)
            p.drawRect(2, 2 + row * 5, 12, 3);
    });
}

void TWageForm::Guard(const std::function<void()>& work) {
    Guarded(context_.op, work);
}

void TWageForm::ShowHelp() {
    pb::ShowHelp(this, HelpContextOf(this));
}

void TWageForm::EnterMovesFocus(QWidget* widget) {
    widget->setProperty("enterMovesFocus", true);
    widget->installEventFilter(this);
}

// --- the ID field -----------------------------------------------------------

QString TWageForm::SelectedId() const {
    const int index = IDCB->currentIndex();
    return index < 0 ? QString() : IDCB->itemText(index);
}

bool TWageForm::AcceptTypedId() {
    const std::string text = S(IDCB->currentText());
    if (!IsIntegerText(text))
        return false;
    const long long n = std::stoll(text);
    if (n < 1 || n > 999)
        return false;
    const QString id = Q(PadNumber(static_cast<std::int32_t>(n), 3));
    int index = IDCB->findText(id, Qt::MatchExactly);
    {
        const QSignalBlocker block(IDCB);
        if (index < 0) {
            index = IDCB->count();
            if (sortedIds_) {
                index = 0;
                while (index < IDCB->count() && IDCB->itemText(index) < id)
                    ++index;
            }
            IDCB->insertItem(index, id);
        }
        IDCB->setCurrentIndex(index);
        IDCB->setEditText(id);
    }
    IDCBChange();
    return true;
}

void TWageForm::IDCBExit() {
    if (AcceptTypedId())
        return;
    const QSignalBlocker block(IDCB);
    // The typed text was not taken: show the ID in force, or nothing.
    IDCB->setEditText(SelectedId());
}

void TWageForm::FillIdList(PayScheme scheme) {
    std::vector<std::string> ids;
    Guard([&] { ListEmployeeIDs(context_.files, ids, scheme); });
    QStringList items;
    for (const std::string& id : ids)
        items << Q(id);
    if (sortedIds_)
        items.sort();
    {
        const QSignalBlocker block(IDCB);
        IDCB->clear();
        IDCB->addItems(items);
        IDCB->setCurrentIndex(items.isEmpty() ? -1 : 0);
    }
    IDCBChange();
}

std::optional<PayScheme> TWageForm::ShowIdStatus(QLabel* status, PayScheme scheme) {
    const std::string id = S(SelectedId());
    NameEdit->setText(Q(FindEmployeeName(context_.files, id, kBothSchemes)));
    deleteButton_->setEnabled(false);
    if (NameEdit->text().isEmpty()) {
        status->setText(QStringLiteral("未登録です。"));
        return std::nullopt;
    }
    const std::optional<WagesCode> code = FindWagesCode(context_.files, id);
    const std::optional<PayScheme> paid = code ? code->Scheme() : std::nullopt;
    if (paid == PayScheme::Daily)
        status->setText(QStringLiteral("日給制で登録されています。"));
    if (paid == PayScheme::Hourly)
        status->setText(QStringLiteral("時給制で登録されています。"));
    if (code && code->PayrollOnly())
        status->setText(QStringLiteral("Salariumのみに登録されています。"));
    if (paid == scheme)
        deleteButton_->setEnabled(true);
    return paid;
}

bool TWageForm::CheckSchemeChange(PayScheme otherScheme) {
    if (RegisteredScheme(context_.files, S(SelectedId())) != otherScheme)
        return true;
    context_.op.Warning(
        "給料区分が変わる更新は出来ません。\r\n\r\n従業員番号を変更するか、現在登録されている\r\n"
        "従業員情報を削除してから登録して下さい。",
        Buttons::Ok);
    return false;
}

bool TWageForm::Untouched() const {
    return !lookedUp_ || ControlStates() == shownStates_;
}

void TWageForm::AfterIdLookup(std::optional<PayScheme> registered, PayScheme ownScheme,
                              bool untouched, const std::function<void()>& showDefaults) {
    const QString id = SelectedId();
    const bool newId = !lookedUp_ || id != lookedUpId_;
    const bool unregistered = !registered;
    // Only what still stands as shown gives way: conditions the operator set
    // before typing the new ID are theirs.
    if (unregistered && newId && untouched)
        showDefaults();
    // What the operator set and did not register (before typing a new ID, or
    // before a registration refused for want of a name) stays unregistered.
    if ((newId && untouched) || registered == ownScheme)
        shownStates_ = ControlStates();
    lookedUp_ = true;
    lookedUpId_ = id;
}

QStringList TWageForm::ControlStates() const {
    QStringList states;
    for (const QWidget* w : findChildren<QWidget*>()) {
        // The ID alone is no change to register; its lookup starts anew. The
        // drop-down lists' own windows hold nothing of the employee.
        if (w == IDCB || w->parentWidget() == IDCB || w->window() != this)
            continue;
        if (const auto* number = qobject_cast<const TNumEdit*>(w))
            states << QString::number(number->value());
        else if (const auto* line = qobject_cast<const QLineEdit*>(w))
            states << line->text();
        else if (const auto* button = qobject_cast<const QAbstractButton*>(w))
            states << QString::number(button->isChecked());
        else if (const auto* slider = qobject_cast<const QAbstractSlider*>(w))
            states << QString::number(slider->value());
        else if (const auto* box = qobject_cast<const QComboBox*>(w))
            states << box->currentText();
    }
    return states;
}

void TWageForm::reject() {
    if (lookedUp_ && ControlStates() != shownStates_ &&
        !context_.op.Question("変更されたデータは登録されていません。\r\n登録せずに終了しますか？"))
        return;
    QDialog::reject();
}

void TWageForm::DeleteSelectedEmployee() {
    const std::string id = S(SelectedId());
    int months = -1;
    Guard([&] { months = CountStoredMonths(context_.files, id); });
    // A year file that cannot be read has been reported; nothing is deleted.
    if (months < 0)
        return;
    if (!context_.op.Question(S(Messages::EmployeeDeletionQuestion(Q(id), months))))
        return;
    Guard([&] { DeleteEmployee(context_.files, id, context_.op); });
    IDCBChange();
}

// --- rate fields ------------------------------------------------------------

int TWageForm::RateAmount(int tag) const {
    return static_cast<int>(payEdits_[tag]->value());
}

void TWageForm::SetRateAmount(int tag, int amount) {
    payEdits_[tag]->setValue(amount);
}

int TWageForm::BarAmount(int tag) const {
    return std::abs(payBars_[tag]->value() - kMaxRate);
}

void TWageForm::SetBarAmount(int tag, int amount) {
    // A position the bar already holds raises no change, but the field must
    // still follow it.
    // A stored rate beyond the field's range (a damaged record) shows as its
    // nearest end; the arithmetic of the inverted bar must not overflow.
    payBars_[tag]->setValue(kMaxRate - std::clamp(amount, 0, kMaxRate));
    PayScrollBarChange(tag);
}

bool TWageForm::RateEnabled(int tag) const {
    return payEdits_[tag]->isEnabled();
}

void TWageForm::PayScrollBarChange(int tag) {
    SetRateAmount(tag, BarAmount(tag));
}

void TWageForm::PayEditExit(int tag) {
    if (payEdits_[tag]->value() > kMaxRate) {
        SetRateAmount(tag, kMaxRate);
        context_.op.Warning("時給金額は ¥32,000 よりも多く設定する事は出来ません", Buttons::Ok);
    }
    SetBarAmount(tag, RateAmount(tag));
}

bool TWageForm::PayEditKeyDown(int tag, int key) {
    int step = 0;
    switch (key) {
        case Qt::Key_PageUp:
            step = 100;
            break;
        case Qt::Key_PageDown:
            step = -100;
            break;
        case Qt::Key_Up:
        case Qt::Key_Left:
            step = 10;
            break;
        case Qt::Key_Right:
        case Qt::Key_Down:
            step = -10;
            break;
        default:
            return false;
    }
    const long long next = payEdits_[tag]->value() + step;
    if (next > 0 && next < kMaxRate)
        payEdits_[tag]->setValue(next);
    return true;
}

// --- closing day ------------------------------------------------------------

void TWageForm::ClosingDaySBChange() {
    ClosingDayEdit->setValue(ClosingDaySB->value());
}

void TWageForm::ClosingDayEditExit() {
    const long long day = std::clamp<long long>(ClosingDayEdit->value(), 1, 28);
    ClosingDaySB->setValue(static_cast<int>(day));
    ClosingDayEdit->setValue(day);
}

bool TWageForm::ClosingDayEditKeyDown(int key) {
    int step = 0;
    switch (key) {
        case Qt::Key_PageUp:
            step = -5;
            break;
        case Qt::Key_PageDown:
            step = 5;
            break;
        case Qt::Key_Up:
        case Qt::Key_Left:
            step = -1;
            break;
        case Qt::Key_Right:
        case Qt::Key_Down:
            step = 1;
            break;
        default:
            return false;
    }
    const long long next = ClosingDayEdit->value() + step;
    if (next >= 1 && next <= 28)
        ClosingDayEdit->setValue(next);
    return true;
}

void TWageForm::ClosingDayCBClick() {
    // A disabled day must not keep the highlight of a selection from before.
    if (ClosingDayCB->isChecked())
        ClosingDayEdit->deselect();
    ClosingDayEdit->setEnabled(!ClosingDayCB->isChecked());
    ClosingDaySB->setEnabled(!ClosingDayCB->isChecked());
    RefreshColours();
}

int TWageForm::ClosingDayValue() const {
    return ClosingDayCB->isChecked() ? 0 : static_cast<int>(ClosingDayEdit->value());
}

void TWageForm::ShowClosingDay(int day) {
    // The bar clamps 0 to 1; a bar already on that day still shows it.
    ClosingDaySB->setValue(std::clamp(day, 1, 28));
    ClosingDaySBChange();
    ClosingDayCB->setChecked(day == 0);
}

void TWageForm::CommitFocusedField() {
    QWidget* focused = QApplication::focusWidget();
    if (focused == nullptr)
        return;
    if (focused == ClosingDayEdit) {
        ClosingDayEditExit();
        return;
    }
    for (int tag = 0; tag < static_cast<int>(payEdits_.size()); ++tag)
        if (payEdits_[tag] != nullptr && focused == payEdits_[tag])
            PayEditExit(tag);
}

// --- colours ----------------------------------------------------------------

QColor TWageForm::ValidColour() const {
    return FromColorRef(context_.settings.FontColor.ValidColor);
}

QColor TWageForm::InvalidColour() const {
    return FromColorRef(context_.settings.FontColor.InvalidColor);
}

void TWageForm::SetTextColour(QWidget* widget, bool valid) {
    const QColor colour = valid ? ValidColour() : InvalidColour();
    QPalette palette = widget->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::WindowText, colour);
        palette.setColor(group, QPalette::ButtonText, colour);
        palette.setColor(group, QPalette::Text, colour);
    }
    widget->setPalette(palette);
}

// --- keys and focus -----------------------------------------------------------

bool TWageForm::FormKeyFilter(QObject*, QKeyEvent*) {
    return false;
}

bool TWageForm::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (FormKeyFilter(watched, key))
            return true;
        if (watched == IDCB || (IDCB != nullptr && watched == IDCB->lineEdit())) {
            if (IsEnter(key)) {
                if (AcceptTypedId())
                    QMetaObject::invokeMethod(
                        this, [this] { focusNextChild(); }, Qt::QueuedConnection);
                return true;
            }
            return false;
        }
        if (widget != nullptr && widget->property("tag").isValid() &&
            qobject_cast<TNumEdit*>(widget) != nullptr) {
            if (PayEditKeyDown(widget->property("tag").toInt(), key->key()))
                return true;
        }
        if (watched == ClosingDayEdit && ClosingDayEditKeyDown(key->key()))
            return true;
        if (widget != nullptr && widget->property("enterMovesFocus").toBool() && IsEnter(key)) {
            // Posted, so the key is fully handled before the focus moves.
            QMetaObject::invokeMethod(
                this, [this] { focusNextChild(); }, Qt::QueuedConnection);
            return true;
        }
        return false;
    }
    if (event->type() == QEvent::FocusOut) {
        if (watched == IDCB) {
            // A drop-down list opening takes the focus only for a moment.
            if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
                IDCBExit();
        } else if (watched == ClosingDayEdit) {
            ClosingDayEditExit();
        } else if (widget != nullptr && widget->property("tag").isValid() &&
                   qobject_cast<TNumEdit*>(widget) != nullptr) {
            PayEditExit(widget->property("tag").toInt());
        }
        return false;
    }
    if (event->type() == QEvent::FocusIn && widget != nullptr &&
        widget->property("slider").isValid()) {
        // TimeMemoEnter: a time text hands the focus to its slider.
        auto* slider = widget->property("slider").value<QSlider*>();
        if (slider != nullptr)
            QMetaObject::invokeMethod(
                slider, [slider] { slider->setFocus(); }, Qt::QueuedConnection);
        return false;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace pb
