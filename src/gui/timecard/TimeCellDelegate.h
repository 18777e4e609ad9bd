#pragma once
// The cells of the entry window's grids: drawn centred in the ink, font and
// tint their model gives, and edited in a masked "hh:mm" line edit that hands
// every keystroke to the model and the Enter key to the owner.

#include <QStyledItemDelegate>
#include <functional>

class QLineEdit;

namespace pb {

class TimeCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    using EnterHook = std::function<void()>;
    using EscapeHook = std::function<void()>;

    explicit TimeCellDelegate(QObject* parent);

    using MaskHook = std::function<QString(const QModelIndex&)>;

    // A mask in the form designer's notation ("00:00;1": 0 a required digit,
    // other characters literal, ";1" the literals kept in the text) as the
    // equivalent Qt input mask ("99:99; ", blanks shown as spaces).
    static QString QtInputMask(const QString& editMask);
    // The text of an editor whose mask holds no digit yet.
    static QString BlankMaskText();

    // Asked for each editor it opens.
    void SetMaskHook(MaskHook hook) { mask_ = std::move(hook); }
    void SetEnterHook(EnterHook hook) { enter_ = std::move(hook); }
    // Escape closes the editor without taking its text; the owner then puts
    // back what the cell held before the operator typed.
    void SetEscapeHook(EscapeHook hook) { escape_ = std::move(hook); }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

  protected:
    bool eventFilter(QObject* object, QEvent* event) override;

  private:
    MaskHook mask_;
    EnterHook enter_;
    EscapeHook escape_;
};

}  // namespace pb
