#include "gui/controls/StringGrid.h"

#include <QAbstractButton>
#include <QEvent>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionViewItem>
#include <QStyledItemDelegate>
#include <algorithm>
#include <utility>

namespace pb {

// Paints every cell the way the string grid looks: grey fixed cells, the
// selection in the highlight colour, and the text left-aligned with a small
// inset, unless the owner draws the cell itself through OnDrawCell.
class TStringGrid::CellDelegate : public QStyledItemDelegate {
  public:
    explicit CellDelegate(TStringGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const int col = index.column();
        const int row = index.row();
        TGridDrawState state;
        state.Fixed = grid_->IsFixedCell(col, row);
        state.Selected = !state.Fixed && (option.state & QStyle::State_Selected);
        state.Focused = index == grid_->currentIndex() && grid_->hasFocus();

        const QPalette& pal = option.palette;
        QBrush background = state.Fixed      ? pal.button()
                            : state.Selected ? pal.highlight()
                                             : pal.base();
        const QVariant own = index.data(Qt::BackgroundRole);
        if (!state.Fixed && !state.Selected && own.canConvert<QBrush>()) {
            const auto brush = own.value<QBrush>();
            if (brush.style() != Qt::NoBrush)
                background = brush;
        }

        painter->save();
        painter->fillRect(option.rect, background);
        if (grid_->OnDrawCell) {
            grid_->OnDrawCell(grid_, painter, col, row, option.rect, state);
        } else {
            QColor ink = state.Fixed      ? pal.buttonText().color()
                         : state.Selected ? pal.highlightedText().color()
                                          : pal.text().color();
            const QVariant fore = index.data(Qt::ForegroundRole);
            if (fore.canConvert<QBrush>() && fore.value<QBrush>().style() != Qt::NoBrush)
                ink = fore.value<QBrush>().color();
            DrawPlainText(painter, option.rect, option.font, ink,
                          index.data(Qt::DisplayRole).toString());
        }
        painter->restore();
    }

    static void DrawPlainText(QPainter* painter, const QRect& rect, const QFont& font,
                              const QColor& ink, const QString& text) {
        painter->setPen(ink);
        painter->setFont(font);
        painter->drawText(rect.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter, text);
    }

  private:
    TStringGrid* grid_;
};

// The first fixed row or column, drawn from the grid's own cells so the owner's
// OnDrawCell paints headings like any other cell.
class TStringGrid::Heading : public QHeaderView {
  public:
    Heading(Qt::Orientation orientation, TStringGrid* grid)
        : QHeaderView(orientation, grid), grid_(grid) {
        setMinimumSectionSize(1);
        setSectionResizeMode(QHeaderView::Fixed);
        setSectionsClickable(false);
        setHighlightSections(false);
    }

    // The grid gives its headings a fixed breadth (the row height, the first
    // column's width), which the view takes whatever the hint says; measuring
    // every caption for the hint would only cost text layouts.
    QSize sizeHint() const override {
        if (orientation() == Qt::Horizontal && minimumHeight() == maximumHeight())
            return {length(), maximumHeight()};
        if (orientation() == Qt::Vertical && minimumWidth() == maximumWidth())
            return {maximumWidth(), length()};
        return QHeaderView::sizeHint();
    }

  protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override {
        if (!rect.isValid())
            return;
        const bool across = orientation() == Qt::Horizontal;
        grid_->PaintHeadingCell(painter, rect, across ? logicalIndex : 0,
                                across ? 0 : logicalIndex);
    }

  private:
    TStringGrid* grid_;
};

TStringGrid::TStringGrid(QWidget* parent) : QTableWidget(5, 5, parent) {
    setItemDelegate(new CellDelegate(this));
    setHorizontalHeader(new Heading(Qt::Horizontal, this));
    setVerticalHeader(new Heading(Qt::Vertical, this));
    sectionRepaints_ = true;
    RepaintResizedSections(false);
    setCornerButtonEnabled(false);
    // The top-left cell is drawn on the corner between the two headings.
    corner_ = findChild<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly);
    if (corner_ != nullptr)
        corner_->installEventFilter(this);
    SetDefaultRowHeight(defaultRowHeight_);
    SetDefaultColWidth(defaultColWidth_);
    setEditTriggers(NoEditTriggers);
    setSelectionMode(SingleSelection);

    // Rows and columns come and go through QTableWidget's own calls too.
    QAbstractItemModel* cells = model();
    connect(cells, &QAbstractItemModel::rowsInserted, this, [this] { ApplyHeadings(); });
    connect(cells, &QAbstractItemModel::columnsInserted, this, [this] { ApplyHeadings(); });
    connect(cells, &QAbstractItemModel::modelReset, this, [this] { ApplyHeadings(); });
    connect(cells, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                // Only the captions that changed: a month writes each day's.
                if (topLeft.row() == 0)
                    CopyHeadingTexts(Qt::Horizontal, topLeft.column(), bottomRight.column());
                if (topLeft.column() == 0)
                    CopyHeadingTexts(Qt::Vertical, topLeft.row(), bottomRight.row());
            });
    ApplyHeadings();
    setCurrentCell(fixedRows_, fixedCols_);
}

TStringGrid::~TStringGrid() {
    // The cells go with the base classes, and must not reach the headings then.
    disconnect(model(), nullptr, this, nullptr);
    if (corner_ != nullptr)
        corner_->removeEventFilter(this);
}

QString TStringGrid::Cells(int ACol, int ARow) const {
    const QTableWidgetItem* cell = item(ARow, ACol);
    return cell != nullptr ? cell->text() : QString();
}

void TStringGrid::SetCells(int ACol, int ARow, const QString& text) {
    if (ACol < 0 || ARow < 0 || ACol >= columnCount() || ARow >= rowCount())
        return;
    if (QTableWidgetItem* cell = item(ARow, ACol)) {
        cell->setText(text);
        return;
    }
    setItem(ARow, ACol, NewCell(text));
}

QTableWidgetItem* TStringGrid::NewCell(const QString& text) const {
    QTableWidgetItem* cell =
        itemPrototype() != nullptr ? itemPrototype()->clone() : new QTableWidgetItem;
    cell->setText(text);
    return cell;
}

void TStringGrid::SetCols(int ACol, const QStringList& texts) {
    const int rows = std::min(static_cast<int>(texts.size()), rowCount());
    if (ACol < 0 || ACol >= columnCount() || rows == 0)
        return;
    bool changed = false;
    {
        // Each cell would tell the view on its own; the column is told below.
        const QSignalBlocker quiet(model());
        for (int row = 0; row < rows; ++row) {
            QTableWidgetItem* cell = item(row, ACol);
            if (cell != nullptr ? cell->text() == texts[row] : texts[row].isEmpty())
                continue;
            changed = true;
            if (cell != nullptr)
                cell->setText(texts[row]);
            else
                setItem(row, ACol, NewCell(texts[row]));
        }
    }
    if (changed)
        emit model()->dataChanged(model()->index(0, ACol), model()->index(rows - 1, ACol));
}

void TStringGrid::SetFixedRows(int rows) {
    fixedRows_ = std::max(0, rows);
    ApplyHeadings();
    viewport()->update();
}

void TStringGrid::SetFixedCols(int cols) {
    fixedCols_ = std::max(0, cols);
    ApplyHeadings();
    viewport()->update();
}

void TStringGrid::SetDefaultRowHeight(int height) {
    defaultRowHeight_ = height;
    verticalHeader()->setDefaultSectionSize(height);
    for (int row = 0; row < rowCount(); ++row)
        setRowHeight(row, height);
    horizontalHeader()->setFixedHeight(height);
}

void TStringGrid::SetDefaultColWidth(int width) {
    defaultColWidth_ = width;
    horizontalHeader()->setDefaultSectionSize(width);
    for (int col = 0; col < columnCount(); ++col)
        setColumnWidth(col, width);
    SetColWidths(0, width);
}

int TStringGrid::ColWidths(int ACol) const {
    if (ACol == 0 && !verticalHeader()->isHidden())
        return headingColWidth_;
    return columnWidth(ACol);
}

void TStringGrid::SetColWidths(int ACol, int width) {
    if (ACol == 0) {
        headingColWidth_ = width;
        verticalHeader()->setFixedWidth(width);
    }
    setColumnWidth(ACol, width);
}

void TStringGrid::ApplyHeadings() {
    const bool headingRow = fixedRows_ > 0 && rowCount() > 0;
    const bool headingCol = fixedCols_ > 0 && columnCount() > 0;
    horizontalHeader()->setHidden(!headingRow);
    verticalHeader()->setHidden(!headingCol);
    if (rowCount() > 0)
        setRowHidden(0, headingRow);
    if (columnCount() > 0) {
        setColumnHidden(0, headingCol);
        if (!headingCol)
            setColumnWidth(0, headingColWidth_);
    }
    CopyHeadingTexts();
}

void TStringGrid::CopyHeadingTexts() {
    CopyHeadingTexts(Qt::Horizontal, 0, columnCount() - 1);
    CopyHeadingTexts(Qt::Vertical, 0, rowCount() - 1);
}

void TStringGrid::CopyHeadingTexts(Qt::Orientation across, int first, int last) {
    if (copyingHeadings_)
        return;
    copyingHeadings_ = true;
    // The heading shows the caption cell's text and its tool tip.
    auto copy = [](QTableWidgetItem* heading, const QTableWidgetItem* cell) {
        const QString text = cell != nullptr ? cell->text() : QString();
        const QString tip = cell != nullptr ? cell->toolTip() : QString();
        if (heading->text() != text)
            heading->setText(text);
        if (heading->toolTip() != tip)
            heading->setToolTip(tip);
    };
    if (across == Qt::Horizontal) {
        for (int col = std::max(first, 0); col <= last && col < columnCount(); ++col) {
            if (horizontalHeaderItem(col) == nullptr)
                setHorizontalHeaderItem(col, new QTableWidgetItem);
            copy(horizontalHeaderItem(col), fixedRows_ > 0 ? item(0, col) : nullptr);
        }
    } else {
        for (int row = std::max(first, 0); row <= last && row < rowCount(); ++row) {
            if (verticalHeaderItem(row) == nullptr)
                setVerticalHeaderItem(row, new QTableWidgetItem);
            copy(verticalHeaderItem(row), fixedCols_ > 0 ? item(row, 0) : nullptr);
        }
    }
    copyingHeadings_ = false;
    if (corner_ != nullptr && first <= 0)
        corner_->update();
}

void TStringGrid::PaintHeadingCell(QPainter* painter, const QRect& rect, int col, int row) const {
    QRect cell = rect;
    if (showGrid()) {
        // The ruling of a body cell: its right and bottom edge.
        QStyleOptionViewItem option;
        option.initFrom(this);
        const QColor line = QColor::fromRgba(
            static_cast<QRgb>(style()->styleHint(QStyle::SH_Table_GridLineColor, &option, this)));
        cell.adjust(0, 0, -1, -1);
        painter->fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), line);
        painter->fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), line);
    }
    painter->fillRect(cell, palette().button());
    TGridDrawState state;
    state.Fixed = true;
    if (OnDrawCell) {
        painter->save();
        OnDrawCell(const_cast<TStringGrid*>(this), painter, col, row, cell, state);
        painter->restore();
    } else {
        CellDelegate::DrawPlainText(painter, cell, font(), palette().buttonText().color(),
                                    Cells(col, row));
    }
}

QRect TStringGrid::visualRect(const QModelIndex& index) const {
    const bool heading =
        index.isValid() && ((index.row() == 0 && !horizontalHeader()->isHidden()) ||
                            (index.column() == 0 && !verticalHeader()->isHidden()));
    if (!heading)
        return QTableWidget::visualRect(index);
    const QRect drawn = CellRect(index.column(), index.row());
    return drawn.isEmpty() ? QRect() : drawn.translated(-viewport()->mapTo(this, QPoint(0, 0)));
}

QRect TStringGrid::CellRect(int ACol, int ARow) const {
    const bool headingRow = !horizontalHeader()->isHidden() && ARow == 0;
    const bool headingCol = !verticalHeader()->isHidden() && ACol == 0;
    if (headingRow && headingCol)
        return corner_ != nullptr ? corner_->geometry() : QRect();
    if (headingRow || headingCol) {
        const QHeaderView* header = headingRow ? horizontalHeader() : verticalHeader();
        const int section = headingRow ? ACol : ARow;
        if (section < 0 || section >= header->count() || header->isSectionHidden(section))
            return {};
        const int at = header->sectionViewportPosition(section);
        const int size = header->sectionSize(section);
        const QRect inHeader =
            headingRow ? QRect(at, 0, size, header->height()) : QRect(0, at, header->width(), size);
        const QRect shown = inHeader.intersected(header->viewport()->rect());
        if (shown.isEmpty())
            return {};
        return shown.translated(header->viewport()->mapTo(this, QPoint(0, 0)));
    }
    const QRect inViewport = visualRect(model()->index(ARow, ACol));
    const QRect shown = inViewport.intersected(viewport()->rect());
    if (shown.isEmpty())
        return {};
    return shown.translated(viewport()->mapTo(this, QPoint(0, 0)));
}

void TStringGrid::Invalidate() {
    viewport()->update();
    horizontalHeader()->viewport()->update();
    verticalHeader()->viewport()->update();
    if (corner_ != nullptr)
        corner_->update();
}

void TStringGrid::SetImeMode(TImeMode mode) {
    imeMode_ = mode;
    ApplyImeMode(this);
    ApplyImeMode(viewport());
    if (QWidget* editor = indexWidget(currentIndex()))
        ApplyImeMode(editor);
}

void TStringGrid::ApplyImeMode(QWidget* widget) const {
    if (widget == nullptr)
        return;
    const bool off =
        imeMode_ == imDisable || imeMode_ == imClose || imeMode_ == imSAlpha || imeMode_ == imAlpha;
    widget->setAttribute(Qt::WA_InputMethodEnabled, !off);
    Qt::InputMethodHints hints = widget->inputMethodHints();
    hints.setFlag(Qt::ImhLatinOnly, off);
    widget->setInputMethodHints(hints);
}

bool TStringGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    if (index.isValid() && IsFixedCell(index.column(), index.row()))
        return false;
    if (index.isValid() && OnCanEditCell && !OnCanEditCell(index.column(), index.row()))
        return false;
    const bool opened = QTableWidget::edit(index, trigger, event);
    if (opened) {
        if (QWidget* editor = indexWidget(index)) {
            ApplyImeMode(editor);
            editor->removeEventFilter(this);
            editor->installEventFilter(this);
        }
    }
    return opened;
}

bool TStringGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == corner_ && event->type() == QEvent::Paint) {
        QPainter painter(corner_);
        PaintHeadingCell(&painter, corner_->rect(), 0, 0);
        return true;
    }
    // QLineEdit::setReadOnly(false) switches the input method back on.
    if (event->type() == QEvent::ReadOnlyChange && watched->isWidgetType() &&
        imeMode_ != imDontCare)
        ApplyImeMode(static_cast<QWidget*>(watched));
    return QTableWidget::eventFilter(watched, event);
}

// The view repaints the cells after each width or height change, from a timer
// of its own. Before the grid is first shown nothing is on screen to repaint
// (the first paint draws the sizes the owner set up), yet such a timer would
// fire after that paint and draw the whole grid a second time.
void TStringGrid::showEvent(QShowEvent* event) {
    RepaintResizedSections(true);
    QTableWidget::showEvent(event);
}

void TStringGrid::RepaintResizedSections(bool on) {
    if (on == sectionRepaints_)
        return;
    sectionRepaints_ = on;
    const char* signal = SIGNAL(sectionResized(int, int, int));
    const std::pair<QHeaderView*, const char*> headers[] = {
        {horizontalHeader(), SLOT(columnResized(int, int, int))},
        {verticalHeader(), SLOT(rowResized(int, int, int))},
    };
    for (const auto& [header, slot] : headers) {
        if (on)
            connect(header, signal, this, slot);
        else
            disconnect(header, signal, this, slot);
    }
}

QModelIndex TStringGrid::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) {
    QModelIndex target = QTableWidget::moveCursor(cursorAction, modifiers);
    if (target.isValid() && IsFixedCell(target.column(), target.row())) {
        const int row = std::max(target.row(), fixedRows_);
        const int col = std::max(target.column(), fixedCols_);
        if (row >= rowCount() || col >= columnCount())
            return currentIndex();
        target = model()->index(row, col);
    }
    return Refused(target) ? currentIndex() : target;
}

bool TStringGrid::Refused(const QModelIndex& target) {
    if (!OnSelectCell || !target.isValid() || target == currentIndex())
        return false;
    return !OnSelectCell(target.column(), target.row());
}

void TStringGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableWidget::currentChanged(current, previous);
    if (imeMode_ != imDontCare)
        ApplyImeMode(this);
    // A heading may be drawn after the current cell (a highlighted name).
    horizontalHeader()->viewport()->update();
    verticalHeader()->viewport()->update();
}

void TStringGrid::mousePressEvent(QMouseEvent* event) {
    const QModelIndex at = indexAt(event->position().toPoint());
    if (at.isValid() && (IsFixedCell(at.column(), at.row()) || Refused(at))) {
        event->accept();
        return;
    }
    QTableWidget::mousePressEvent(event);
}

void TStringGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    // The press before it has moved to the cell or been refused; a refused
    // cell must not get an editor either.
    const QModelIndex at = indexAt(event->position().toPoint());
    if (at.isValid() && at != currentIndex()) {
        event->accept();
        return;
    }
    QTableWidget::mouseDoubleClickEvent(event);
}

}  // namespace pb
