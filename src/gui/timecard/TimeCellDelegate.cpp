#include "gui/timecard/TimeCellDelegate.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPersistentModelIndex>
#include <QTimer>
#include <algorithm>

#include "gui/shared/Naming.h"
#include "gui/timecard/EntryGridView.h"

namespace pb {

TimeCellDelegate::TimeCellDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

QString TimeCellDelegate::QtInputMask(const QString& editMask) {
    // Qt spells a required digit 9, escapes its own mask characters, and pads
    // unfilled places with the blank character after ";". displayText() keeps
    // those blanks ("1 :3 "), which the time check needs; text() drops them.
    const QString format = editMask.section(QLatin1Char(';'), 0, 0);
    QString mask;
    for (QChar ch : format) {
        if (ch == QLatin1Char('0'))
            mask += QLatin1Char('9');
        else if (ch == QLatin1Char('9'))  // an optional digit
            mask += QLatin1Char('0');
        else if (QStringLiteral("AaNnXx90Dd#HhBb><!\\[]{}").contains(ch))
            mask += QLatin1Char('\\') + ch;
        else
            mask += ch;
    }
    return mask + QStringLiteral("; ");
}

QString TimeCellDelegate::BlankMaskText() {
    return QStringLiteral("  :  ");
}

QWidget* TimeCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                        const QModelIndex& index) const {
    auto* editor = new QLineEdit(parent);
    Name(editor, QStringLiteral("InputGridEditor"));
    editor->setFrame(false);
    editor->setAlignment(Qt::AlignCenter);
    editor->setInputMask(QtInputMask(mask_ ? mask_(index) : QStringLiteral("00:00;1")));
    // Times are digits only: no input method composing full-width characters.
    editor->setAttribute(Qt::WA_InputMethodEnabled, false);
    editor->setInputMethodHints(Qt::ImhLatinOnly | Qt::ImhDigitsOnly);
    // The model holds what is typed from the first keystroke: the cursor may
    // not leave a cell whose text is no time.
    const QPersistentModelIndex cell(index);
    connect(editor, &QLineEdit::textEdited, this, [editor, cell](const QString&) {
        if (cell.isValid())
            const_cast<QAbstractItemModel*>(cell.model())
                ->setData(cell, editor->displayText(), Qt::EditRole);
    });
    return editor;
}

void TimeCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (line == nullptr)
        return;
    const QString text = index.data(Qt::EditRole).toString();
    // A keystroke's own text coming back from the model leaves the caret be.
    if (line->isModified() &&
        (line->displayText() == text || (line->displayText() == BlankMaskText() && text.isEmpty())))
        return;
    line->setText(text);
    // The first key typed replaces the whole time, as in a fresh cell.
    line->selectAll();
}

void TimeCellDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                    const QModelIndex& index) const {
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (line == nullptr)
        return;
    QString text = line->displayText();
    // An untouched mask is an empty cell, not a time.
    if (text == BlankMaskText())
        text.clear();
    if (model->data(index, Qt::EditRole).toString() != text)
        model->setData(index, text, Qt::EditRole);
}

void TimeCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    QBrush background = option.palette.base();
    if (option.state & QStyle::State_Selected) {
        background = option.palette.highlight();
    } else if (const QVariant tint = index.data(Qt::BackgroundRole); tint.isValid()) {
        background = tint.value<QColor>();
    }
    painter->save();
    painter->fillRect(option.rect, background);
    EntryGridView::DrawCellText(painter, option.rect, index, option.font,
                                option.palette.color(QPalette::Text));
    painter->restore();
}

bool TimeCellDelegate::eventFilter(QObject* object, QEvent* event) {
    auto* editor = qobject_cast<QLineEdit*>(object);
    if (editor != nullptr && (event->type() == QEvent::MouseButtonPress ||
                              event->type() == QEvent::MouseButtonDblClick)) {
        // A click lands in the middle of the centred blanks; typing from there
        // would shift the digits ("1730" into " 1:73"). With no digit typed
        // yet, the caret goes to the first place.
        const QString text = editor->displayText();
        if (std::none_of(text.begin(), text.end(), [](QChar ch) { return ch.isDigit(); })) {
            editor->setFocus(Qt::MouseFocusReason);
            editor->setCursorPosition(0);
            return true;
        }
    }
    if (editor != nullptr && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Enter is the owner's: commit the text, close the editor and let the
            // owner move once the editor is gone.
            emit commitData(editor);
            emit closeEditor(editor, QAbstractItemDelegate::NoHint);
            if (enter_)
                QTimer::singleShot(0, this, [this] {
                    if (enter_)
                        enter_();
                });
            return true;
        }
        if (key == Qt::Key_Escape) {
            emit closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
            if (escape_)
                escape_();
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

}  // namespace pb
