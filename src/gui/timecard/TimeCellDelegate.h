#pragma once
// Editor of the entry grid's cells: a masked "hh:mm" line edit that reports
// every keystroke and hands the Enter key to the owner. Cells are still drawn
// by the grid's own delegate.

#include <QStyledItemDelegate>
#include <functional>

class QLineEdit;

namespace pb {

class TimeCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    using EditHook = std::function<void(const QModelIndex&, const QString&)>;
    using EnterHook = std::function<void()>;
    using EscapeHook = std::function<void()>;

    // `painter` is the grid's own delegate, which keeps drawing the cells.
    TimeCellDelegate(QAbstractItemDelegate* painter, QObject* parent);

    using MaskHook = std::function<QString(const QModelIndex&)>;

    // A mask in the form designer's notation ("00:00;1": 0 a required digit,
    // other characters literal, ";1" the literals kept in the text) as the
    // equivalent Qt input mask ("99:99; ", blanks shown as spaces).
    static QString QtInputMask(const QString& editMask);
    // The text of an editor whose mask holds no digit yet.
    static QString BlankMaskText();

    // Asked for each editor it opens.
    void SetMaskHook(MaskHook hook) { mask_ = std::move(hook); }
    void SetEditHook(EditHook hook) { edited_ = std::move(hook); }
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
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

  protected:
    bool eventFilter(QObject* object, QEvent* event) override;

  private:
    QAbstractItemDelegate* painter_;
    MaskHook mask_;
    EditHook edited_;
    EnterHook enter_;
    EscapeHook escape_;
};

}  // namespace pb
