#pragma once
// The string grid every window builds on: a table of texts addressed by column
// and row, with fixed rows and columns at its top and left that hold captions,
// cannot be entered and stay grey, and all rows of one default height. The
// first fixed row and column are shown as the grid's column and row headings,
// so they stay on screen while the rest scrolls and screen readers announce
// them as the headers of the cells; they are still read and written as
// Cells(c, 0) and Cells(0, r).

#include <QHeaderView>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTableWidget>
#include <functional>

class QAbstractButton;
class QPainter;

namespace pb {

// How an input method editor treats a control. Only "off" or "don't care" make
// a difference on this platform: imDisable, imClose, imSAlpha and imAlpha switch
// it off (Latin text only), every other mode leaves it on.
enum TImeMode {
    imDisable,
    imClose,
    imOpen,
    imDontCare,
    imSAlpha,
    imAlpha,
    imHira,
    imSKata,
    imKata,
    imChinese,
    imSHanguel,
    imHanguel
};

// State of a cell handed to OnDrawCell.
struct TGridDrawState {
    bool Selected = false;
    bool Focused = false;
    bool Fixed = false;
};

class TStringGrid : public QTableWidget {
    Q_OBJECT
    Q_PROPERTY(int FixedRows READ FixedRows WRITE SetFixedRows)
    Q_PROPERTY(int FixedCols READ FixedCols WRITE SetFixedCols)
    Q_PROPERTY(int DefaultRowHeight READ DefaultRowHeight WRITE SetDefaultRowHeight)
    Q_PROPERTY(int DefaultColWidth READ DefaultColWidth WRITE SetDefaultColWidth)

  public:
    // Draws one cell on screen. The background is already filled (fixed colour,
    // selection or base); the handler writes the text. Rect is the cell's area.
    using TDrawCellEvent = std::function<void(QObject* Sender, QPainter* Canvas, int ACol, int ARow,
                                              const QRect& Rect, TGridDrawState State)>;
    // Answers whether a cell may be entered or edited.
    using TCellQuery = std::function<bool(int ACol, int ARow)>;

    // 5 columns, 5 rows, one fixed row and column, rows 24 and columns 64 pixels,
    // not editable until the owner sets edit triggers.
    explicit TStringGrid(QWidget* parent = nullptr);
    ~TStringGrid() override;

    using QAbstractItemView::edit;

    QString Cells(int ACol, int ARow) const;
    void SetCells(int ACol, int ARow, const QString& text);
    // Writes the texts of column ACol from row 0 down, as many as are given
    // and fit. The view, the headings and screen readers hear of the column
    // once instead of once per cell, so a grid of a thousand columns fills in
    // a few milliseconds. An empty text makes no cell where there is none.
    void SetCols(int ACol, const QStringList& texts);

    int ColCount() const { return columnCount(); }
    void SetColCount(int count) { setColumnCount(count); }
    int RowCount() const { return rowCount(); }
    void SetRowCount(int count) { setRowCount(count); }

    int FixedRows() const { return fixedRows_; }
    void SetFixedRows(int rows);
    int FixedCols() const { return fixedCols_; }
    void SetFixedCols(int cols);

    int DefaultRowHeight() const { return defaultRowHeight_; }
    void SetDefaultRowHeight(int height);
    int DefaultColWidth() const { return defaultColWidth_; }
    void SetDefaultColWidth(int width);
    // The heading column keeps its width while it is shown as the row headings.
    int ColWidths(int ACol) const;
    void SetColWidths(int ACol, int width);

    bool IsFixedCell(int ACol, int ARow) const { return ACol < fixedCols_ || ARow < fixedRows_; }

    // Where a cell is drawn, in the grid's own coordinates, headings included;
    // empty when the cell is scrolled out of sight.
    QRect CellRect(int ACol, int ARow) const;
    // Repaints every cell, headings included.
    void Invalidate();
    // A cell shown as a heading is hidden in the body; its place is where the
    // heading draws it (above or left of the viewport), so that screen readers
    // and magnifiers point at the caption the operator sees.
    QRect visualRect(const QModelIndex& index) const override;

    TDrawCellEvent OnDrawCell;
    // Asked before the operator moves the current cell with the mouse or the
    // keyboard. False refuses the move: the current cell, its highlight and an
    // open editor all stay where they are.
    TCellQuery OnSelectCell;
    // Asked before an editor opens on a cell that is not fixed, however it is
    // asked for (typing, double click, F2 or the program); false keeps it shut.
    TCellQuery OnCanEditCell;

    // Switches the input method of `widget` on or off as ImeMode says. Call it
    // again after QLineEdit::setReadOnly(false), which turns it back on (the
    // grid does so by itself for the editors it opens).
    void ApplyImeMode(QWidget* widget) const;

  protected:
    // Published only by the grids that need it (TStringGridS, TSinStringGrid).
    TImeMode ImeMode() const { return imeMode_; }
    void SetImeMode(TImeMode mode);

    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    // The view switches the input method on for every editable current cell.
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    class CellDelegate;
    class Heading;

    // Draws a fixed cell as a heading: background, the ruling the body cells
    // have, then the text or the owner's OnDrawCell.
    void PaintHeadingCell(QPainter* painter, const QRect& rect, int col, int row) const;
    // Shows the first fixed row and column as headings (or as cells again when
    // there is none), hiding their cells in the body.
    void ApplyHeadings();
    // Hands the captions to the header items, where screen readers look.
    void CopyHeadingTexts();
    // Those of columns (Qt::Horizontal) or rows first … last only.
    void CopyHeadingTexts(Qt::Orientation across, int first, int last);
    bool Refused(const QModelIndex& target);
    // A cell as the owner's item prototype makes it (QTableWidget::setItemPrototype),
    // else a plain one.
    QTableWidgetItem* NewCell(const QString& text) const;

    int fixedRows_ = 1;
    int fixedCols_ = 1;
    int defaultRowHeight_ = 24;
    int defaultColWidth_ = 64;
    int headingColWidth_ = 64;
    TImeMode imeMode_ = imDontCare;
    QAbstractButton* corner_ = nullptr;
    bool copyingHeadings_ = false;
    bool sectionRepaints_ = false;
    // Whether a change of a column's width or a row's height repaints the
    // cells (see showEvent).
    void RepaintResizedSections(bool on);
};

}  // namespace pb
