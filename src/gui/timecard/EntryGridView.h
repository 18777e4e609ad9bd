#pragma once
// The view both grids of the entry window are: a table over a model whose
// first row and column hold the captions. Those are shown as the view's column
// and row headings, so they stay on screen while the days scroll and screen
// readers announce them as the headers of each cell; the model still counts
// them as row 0 and column 0, as the window does. The view keeps nothing of
// its own: texts, inks and fonts are the model's roles.

#include <QRect>
#include <QString>
#include <QTableView>
#include <functional>

class QAbstractButton;
class QColor;
class QFont;
class QPainter;

namespace pb {

class EntryGridView : public QTableView {
    Q_OBJECT

  public:
    // Asked before the operator moves the current cell with the mouse or the
    // keyboard; false refuses the move, the cell and an open editor stay.
    using MoveQuery = std::function<bool(int col, int row)>;

    // `headingRow`: row 0 is shown as the column headings (else the view has
    // none); column 0 is always shown as the row headings.
    EntryGridView(bool headingRow, QWidget* parent);
    ~EntryGridView() override;

    void setModel(QAbstractItemModel* model) override;
    using QAbstractItemView::edit;

    int rowCount() const;
    int columnCount() const;
    // The display text of a cell, headings included, as the model has it.
    QString Cells(int col, int row) const;
    void setCurrentCell(int row, int col);

    int DefaultRowHeight() const { return rowHeight_; }
    void SetDefaultRowHeight(int height);

    // Where a cell is drawn, in the view's own coordinates, headings included;
    // empty when it is scrolled out of sight.
    QRect CellRect(int col, int row) const;
    // A heading cell is hidden in the body; its place is where its heading
    // draws it, so screen readers and magnifiers point at the caption shown.
    QRect visualRect(const QModelIndex& index) const override;

    MoveQuery OnSelectCell;

    // Writes a cell's text centred in `rect`, in the ink and font of the
    // model's roles where it gives them, else in `ink` and `font`.
    static void DrawCellText(QPainter* painter, const QRect& rect, const QModelIndex& index,
                             const QFont& font, const QColor& ink);

  protected:
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    // The view switches the input method on for every editable current cell.
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    class Heading;
    friend class Heading;

    // A heading cell: the button face, the ruling of a body cell, and the
    // text in the ink and font the model gives the cell.
    void PaintHeading(QPainter* painter, const QRect& rect, int col, int row) const;
    bool IsHeading(int col, int row) const;
    bool Refused(const QModelIndex& target) const;
    void HideHeadingCells();
    // The view repaints its cells from a timer after each section resize;
    // before it is shown there is nothing to repaint, and that timer would only
    // paint the whole grid a second time.
    void RepaintResizedSections(bool on);

    bool headingRow_;
    int rowHeight_ = 24;
    int headingWidth_ = 64;
    QAbstractButton* corner_ = nullptr;
    bool sectionRepaints_ = true;
};

}  // namespace pb
