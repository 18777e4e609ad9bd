#include "gui/controls/NumEdit.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <limits>
#include <string>

#include "core/common/ShiftJis.h"

namespace pb {

namespace {

// The prefix byte as the Japanese code page shows it; 0x5C is the yen sign there.
QString PrefixText(char leadingChar) {
    const auto byte = static_cast<unsigned char>(leadingChar);
    if (byte == 0x5C)
        return QStringLiteral("\u00A5");
    return QString::fromStdString(DecodeSjis(std::string(1, leadingChar)).text);
}

QString GroupedDigits(quint64 magnitude) {
    QString digits = QString::number(magnitude);
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, QLatin1Char(','));
    return digits;
}

qint64 PowerOfTen(int exponent) {
    qint64 result = 1;
    for (int i = 0; i < exponent; ++i)
        result *= 10;
    return result;
}

}  // namespace

TNumEdit::TNumEdit(QWidget* parent) : QLineEdit(parent) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Dropped text would bypass the value.
    setAcceptDrops(false);
    setMaxDegits(9);
}

void TNumEdit::setMaxDegits(int count) {
    if (count < kMinDegits || count > kMaxDegits)
        return;
    maxDegits_ = count;
    limit_ = PowerOfTen(count);
}

QString TNumEdit::RenderValue(qint64 value, char leadingChar, bool zeroDisplay) {
    QString number;
    bool negative = false;
    if (zeroDisplay || value != 0) {
        negative = value < 0;
        // Through unsigned so that the most negative value has a magnitude too.
        const quint64 magnitude =
            negative ? quint64{0} - static_cast<quint64>(value) : static_cast<quint64>(value);
        number = GroupedDigits(magnitude);
    }
    QString text;
    if (static_cast<unsigned char>(leadingChar) > 0x20)
        text = PrefixText(leadingChar);
    text += number;
    if (negative)
        text.prepend(QLatin1Char('-'));
    return text;
}

qint64 TNumEdit::DivideByTenHalfEven(qint64 value) {
    qint64 quotient = value / 10;
    const qint64 rest = value % 10 < 0 ? -(value % 10) : value % 10;
    if (rest > 5 || (rest == 5 && quotient % 2 != 0))
        quotient += value < 0 ? -1 : 1;
    return quotient;
}

void TNumEdit::setValue(qint64 value) {
    value_ = value;
    const QString text = RenderValue(value, leadingChar_, zeroDisplay_);
    const bool differs = text != this->text();
    if (differs)
        QLineEdit::setText(text);
    setCursorPosition(static_cast<int>(text.size()));
    deselect();
    if (differs)
        emit change();
}

void TNumEdit::refuse() {
    QApplication::beep();
    emit beeped();
}

void TNumEdit::typeCharacter(QChar ch) {
    emit keyPress(ch);
    if (ch.isNull() || isReadOnly())
        return;
    if (ch >= QLatin1Char('0') && ch <= QLatin1Char('9')) {
        // Typing over a selection starts a new number.
        if (hasSelectedText())
            value_ = 0;
        const int digit = ch.unicode() - '0';
        // A value stored from code may be far beyond the limit; its tenfold must
        // not wrap round into range.
        qint64 candidate = 0;
        const bool overflow = __builtin_mul_overflow(value_, qint64{10}, &candidate) ||
                              (value_ >= 0 ? __builtin_add_overflow(candidate, digit, &candidate)
                                           : __builtin_sub_overflow(candidate, digit, &candidate));
        if (!overflow && candidate > -limit_ && candidate < limit_)
            setValue(candidate);
        else
            refuse();
        return;
    }
    if (ch == QLatin1Char('-')) {
        if (canNegative_ && value_ != std::numeric_limits<qint64>::min())
            setValue(-value_);
        else
            refuse();
    }
    // Anything else is dropped: the field never takes a character as typed.
}

void TNumEdit::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    event->accept();
    if (key == Qt::Key_Backspace) {
        // Over a selection (Ctrl+A, or the amount chosen on entering) the
        // amount goes as a whole, as typing over it would replace it.
        if (!isReadOnly())
            setValue(hasSelectedText() ? 0 : DivideByTenHalfEven(value_));
        return;
    }
    if (key == Qt::Key_Left)
        return;

    int handlerKey = key;
    emit keyDown(handlerKey, event->modifiers());
    if (handlerKey == 0)
        return;

    // Editing keys would change the text behind the value's back; the value is
    // the only way in.
    static const QKeySequence::StandardKey kEditing[] = {QKeySequence::Paste,
                                                         QKeySequence::Cut,
                                                         QKeySequence::Undo,
                                                         QKeySequence::Redo,
                                                         QKeySequence::Delete,
                                                         QKeySequence::DeleteEndOfWord,
                                                         QKeySequence::DeleteStartOfWord,
                                                         QKeySequence::DeleteEndOfLine,
                                                         QKeySequence::DeleteCompleteLine,
                                                         QKeySequence::Backspace};
    for (QKeySequence::StandardKey editing : kEditing) {
        if (event->matches(editing))
            return;
    }
    if (key == Qt::Key_Delete || key == Qt::Key_Insert)
        return;

    const QString typed = event->text();
    const bool command = event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
    if (typed.isEmpty() || command) {
        // Caret movement, selection, copy: the line edit's own business.
        QLineEdit::keyPressEvent(event);
        return;
    }
    for (QChar ch : typed) {
        if (ch == QLatin1Char('\r') || ch == QLatin1Char('\n') || ch == QChar(0x1B)) {
            QChar handled = ch;
            emit keyPress(handled);
            // Let the form see Enter and Escape unless a handler consumed them.
            if (!handled.isNull())
                event->ignore();
            continue;
        }
        typeCharacter(ch);
    }
}

void TNumEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    emit enter();
    if (autoSelect_)
        selectAll();
    // The click that brought the focus puts the caret where it landed; the
    // amount is selected again once the button is up.
    selectOnRelease_ = autoSelect_ && event->reason() == Qt::MouseFocusReason;
}

void TNumEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    emit exit();
}

void TNumEdit::inputMethodEvent(QInputMethodEvent* event) {
    // Composed text goes through the same digit rules as typed keys.
    event->accept();
    for (QChar ch : event->commitString())
        typeCharacter(ch);
}

void TNumEdit::mouseReleaseEvent(QMouseEvent* event) {
    // The middle button would paste the selection clipboard.
    if (event->button() == Qt::MiddleButton) {
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
    if (selectOnRelease_ && event->button() == Qt::LeftButton) {
        selectOnRelease_ = false;
        // A part the operator dragged over stays chosen.
        if (!hasSelectedText())
            selectAll();
    }
}

void TNumEdit::contextMenuEvent(QContextMenuEvent* event) {
    // Only what leaves the text alone: the standard menu would paste and delete.
    auto* menu = new QMenu(this);  // deletes itself on close
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction* copyAction = menu->addAction(QLineEdit::tr("&Copy"), this, &QLineEdit::copy);
    copyAction->setShortcut(QKeySequence::Copy);
    copyAction->setEnabled(hasSelectedText() && echoMode() == QLineEdit::Normal);
    menu->addSeparator();
    QAction* selectAction =
        menu->addAction(QLineEdit::tr("Select All"), this, &QLineEdit::selectAll);
    selectAction->setShortcut(QKeySequence::SelectAll);
    selectAction->setEnabled(!text().isEmpty());
    menu->popup(event->globalPos());
}

}  // namespace pb
