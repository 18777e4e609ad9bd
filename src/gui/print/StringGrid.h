#pragma once
// The string grid every window builds on: a table of texts addressed by column
// and row, with fixed rows and columns at its top and left that hold captions,
// cannot be entered and stay grey, all rows of one default height, and no
// header sections of its own (the captions are ordinary cells).

#include <QRect>
#include <QString>
#include <QTableWidget>
#include <functional>

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

    // 5 columns, 5 rows, one fixed row and column, rows 24 and columns 64 pixels,
    // not editable until the owner sets edit triggers.
    explicit TStringGrid(QWidget* parent = nullptr);
    ~TStringGrid() override;

    using QAbstractItemView::edit;

    QString Cells(int ACol, int ARow) const;
    void SetCells(int ACol, int ARow, const QString& text);

    int ColCount() const { return columnCount(); }
    void SetColCount(int count) { setColumnCount(count); }
    int RowCount() const { return rowCount(); }
    void SetRowCount(int count) { setRowCount(count); }

    int FixedRows() const { return m_fixedRows; }
    void SetFixedRows(int rows);
    int FixedCols() const { return m_fixedCols; }
    void SetFixedCols(int cols);

    int DefaultRowHeight() const { return m_defaultRowHeight; }
    void SetDefaultRowHeight(int height);
    int DefaultColWidth() const { return m_defaultColWidth; }
    void SetDefaultColWidth(int width);
    int ColWidths(int ACol) const { return columnWidth(ACol); }
    void SetColWidths(int ACol, int width) { setColumnWidth(ACol, width); }

    bool IsFixedCell(int ACol, int ARow) const { return ACol < m_fixedCols || ARow < m_fixedRows; }

    TDrawCellEvent OnDrawCell;

    // Switches the input method of `widget` on or off as ImeMode says. Call it
    // again after QLineEdit::setReadOnly(false), which turns it back on (the
    // grid does so by itself for the editors it opens).
    void ApplyImeMode(QWidget* widget) const;

  protected:
    // Published only by the grids that need it (TStringGridS, TSinStringGrid).
    TImeMode ImeMode() const { return m_imeMode; }
    void SetImeMode(TImeMode mode);

    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void mousePressEvent(QMouseEvent* event) override;
    // The view switches the input method on for every editable current cell.
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    class CellDelegate;

    int m_fixedRows = 1;
    int m_fixedCols = 1;
    int m_defaultRowHeight = 24;
    int m_defaultColWidth = 64;
    TImeMode m_imeMode = imDontCare;
};

}  // namespace pb
