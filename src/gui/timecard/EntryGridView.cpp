#include "gui/timecard/EntryGridView.h"

#include <QAbstractButton>
#include <QEvent>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionViewItem>
#include <algorithm>
#include <utility>

namespace pb {

namespace {

constexpr int kHeadingColumnWidth = 64;

// Clock times only: no input method composing full-width characters.
void SwitchInputMethodOff(QWidget* widget) {
    widget->setAttribute(Qt::WA_InputMethodEnabled, false);
    widget->setInputMethodHints(widget->inputMethodHints() | Qt::ImhLatinOnly);
}

}  // namespace

// Row 0 or column 0 of the model, drawn as the grid draws its cells.
class EntryGridView::Heading : public QHeaderView {
  public:
    Heading(Qt::Orientation orientation, EntryGridView* grid)
        : QHeaderView(orientation, grid), grid_(grid) {
        setMinimumSectionSize(1);
        setSectionResizeMode(QHeaderView::Fixed);
        setSectionsClickable(false);
        setHighlightSections(false);
    }

    // The breadth is fixed (the row height, the first column's width); measuring
    // every caption for a hint would only cost text layouts.
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
        grid_->PaintHeading(painter, rect, across ? logicalIndex : 0, across ? 0 : logicalIndex);
    }

  private:
    EntryGridView* grid_;
};

EntryGridView::EntryGridView(bool headingRow, QWidget* parent)
    : QTableView(parent), headingRow_(headingRow) {
    setHorizontalHeader(new Heading(Qt::Horizontal, this));
    setVerticalHeader(new Heading(Qt::Vertical, this));
    RepaintResizedSections(false);
    setCornerButtonEnabled(false);
    setSelectionMode(SingleSelection);
    setEditTriggers(NoEditTriggers);
    horizontalHeader()->setHidden(!headingRow_);
    verticalHeader()->setFixedWidth(kHeadingColumnWidth);
    horizontalHeader()->setDefaultSectionSize(kHeadingColumnWidth);
    SetDefaultRowHeight(rowHeight_);
    // The work pattern's cell is drawn on the corner between the two headings.
    corner_ = findChild<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly);
    if (corner_ != nullptr)
        corner_->installEventFilter(this);
    SwitchInputMethodOff(this);
    SwitchInputMethodOff(viewport());
}

EntryGridView::~EntryGridView() {
    if (corner_ != nullptr)
        corner_->removeEventFilter(this);
}

void EntryGridView::setModel(QAbstractItemModel* model) {
    QTableView::setModel(model);
    HideHeadingCells();
    connect(model, &QAbstractItemModel::modelReset, this, &EntryGridView::HideHeadingCells);
    connect(model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                // The headings show the model's row 0 and column 0.
                if (topLeft.row() == 0 && headingRow_)
                    horizontalHeader()->headerDataChanged(Qt::Horizontal, topLeft.column(),
                                                          bottomRight.column());
                if (topLeft.column() == 0)
                    verticalHeader()->headerDataChanged(Qt::Vertical, topLeft.row(),
                                                        bottomRight.row());
                if (topLeft.row() == 0 && topLeft.column() == 0 && corner_ != nullptr)
                    corner_->update();
            });
}

void EntryGridView::HideHeadingCells() {
    if (model() == nullptr)
        return;
    if (headingRow_ && model()->rowCount() > 0)
        setRowHidden(0, true);
    if (model()->columnCount() > 0)
        setColumnHidden(0, true);
}

int EntryGridView::rowCount() const {
    return model() != nullptr ? model()->rowCount() : 0;
}

int EntryGridView::columnCount() const {
    return model() != nullptr ? model()->columnCount() : 0;
}

QString EntryGridView::Cells(int col, int row) const {
    return model() != nullptr ? model()->index(row, col).data().toString() : QString();
}

void EntryGridView::setCurrentCell(int row, int col) {
    if (model() != nullptr)
        setCurrentIndex(model()->index(row, col));
}

void EntryGridView::SetDefaultRowHeight(int height) {
    rowHeight_ = height;
    verticalHeader()->setDefaultSectionSize(height);
    horizontalHeader()->setFixedHeight(height);
}

bool EntryGridView::IsHeading(int col, int row) const {
    return col == 0 || (headingRow_ && row == 0);
}

void EntryGridView::DrawCellText(QPainter* painter, const QRect& rect, const QModelIndex& index,
                                 const QFont& font, const QColor& ink) {
    const QVariant ownFont = index.data(Qt::FontRole);
    painter->setFont(ownFont.isValid() ? ownFont.value<QFont>() : font);
    const QVariant ownInk = index.data(Qt::ForegroundRole);
    painter->setPen(ownInk.isValid() ? ownInk.value<QColor>() : ink);
    painter->drawText(rect, Qt::AlignCenter, index.data(Qt::DisplayRole).toString());
}

void EntryGridView::PaintHeading(QPainter* painter, const QRect& rect, int col, int row) const {
    QRect cell = rect;
    if (showGrid()) {
        QStyleOptionViewItem option;
        option.initFrom(this);
        const QColor line = QColor::fromRgba(
            static_cast<QRgb>(style()->styleHint(QStyle::SH_Table_GridLineColor, &option, this)));
        cell.adjust(0, 0, -1, -1);
        painter->fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), line);
        painter->fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), line);
    }
    painter->fillRect(cell, palette().button());
    if (model() == nullptr)
        return;
    painter->save();
    if (!headingRow_) {
        // A caption column without a caption row looks raised.
        painter->setPen(palette().color(QPalette::Light));
        painter->drawLine(cell.topLeft(), cell.bottomLeft());
        painter->drawLine(cell.topLeft(), cell.topRight());
    }
    DrawCellText(painter, cell, model()->index(row, col), font(),
                 palette().color(QPalette::ButtonText));
    painter->restore();
}

QRect EntryGridView::visualRect(const QModelIndex& index) const {
    if (!index.isValid() || !IsHeading(index.column(), index.row()))
        return QTableView::visualRect(index);
    const QRect drawn = CellRect(index.column(), index.row());
    return drawn.isEmpty() ? QRect() : drawn.translated(-viewport()->mapTo(this, QPoint(0, 0)));
}

QRect EntryGridView::CellRect(int col, int row) const {
    const bool inHeadingRow = headingRow_ && row == 0;
    const bool inHeadingCol = col == 0;
    if (inHeadingRow && inHeadingCol)
        return corner_ != nullptr ? corner_->geometry() : QRect();
    if (inHeadingRow || inHeadingCol) {
        const QHeaderView* header = inHeadingRow ? horizontalHeader() : verticalHeader();
        const int section = inHeadingRow ? col : row;
        if (section < 0 || section >= header->count() || header->isSectionHidden(section))
            return {};
        const int at = header->sectionViewportPosition(section);
        const int size = header->sectionSize(section);
        const QRect inHeader = inHeadingRow ? QRect(at, 0, size, header->height())
                                            : QRect(0, at, header->width(), size);
        const QRect shown = inHeader.intersected(header->viewport()->rect());
        if (shown.isEmpty())
            return {};
        return shown.translated(header->viewport()->mapTo(this, QPoint(0, 0)));
    }
    if (model() == nullptr)
        return {};
    const QRect shown = visualRect(model()->index(row, col)).intersected(viewport()->rect());
    if (shown.isEmpty())
        return {};
    return shown.translated(viewport()->mapTo(this, QPoint(0, 0)));
}

bool EntryGridView::Refused(const QModelIndex& target) const {
    if (!OnSelectCell || !target.isValid() || target == currentIndex())
        return false;
    return !OnSelectCell(target.column(), target.row());
}

QModelIndex EntryGridView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) {
    QModelIndex target = QTableView::moveCursor(cursorAction, modifiers);
    if (target.isValid() && IsHeading(target.column(), target.row())) {
        const int row = std::max(target.row(), headingRow_ ? 1 : 0);
        const int col = std::max(target.column(), 1);
        if (row >= rowCount() || col >= columnCount())
            return currentIndex();
        target = model()->index(row, col);
    }
    return Refused(target) ? currentIndex() : target;
}

void EntryGridView::mousePressEvent(QMouseEvent* event) {
    const QModelIndex at = indexAt(event->position().toPoint());
    if (at.isValid() && (IsHeading(at.column(), at.row()) || Refused(at))) {
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
}

void EntryGridView::mouseDoubleClickEvent(QMouseEvent* event) {
    // The press before it has moved to the cell or been refused; a refused
    // cell gets no editor either.
    const QModelIndex at = indexAt(event->position().toPoint());
    if (at.isValid() && at != currentIndex()) {
        event->accept();
        return;
    }
    QTableView::mouseDoubleClickEvent(event);
}

bool EntryGridView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    const bool opened = QTableView::edit(index, trigger, event);
    if (opened) {
        if (QWidget* editor = indexWidget(index)) {
            SwitchInputMethodOff(editor);
            editor->removeEventFilter(this);
            editor->installEventFilter(this);
        }
    }
    return opened;
}

void EntryGridView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    SwitchInputMethodOff(this);
}

bool EntryGridView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == corner_ && event->type() == QEvent::Paint) {
        QPainter painter(corner_);
        PaintHeading(&painter, corner_->rect(), 0, 0);
        return true;
    }
    // QLineEdit::setReadOnly(false) switches the input method back on.
    if (event->type() == QEvent::ReadOnlyChange && watched->isWidgetType())
        SwitchInputMethodOff(static_cast<QWidget*>(watched));
    return QTableView::eventFilter(watched, event);
}

void EntryGridView::showEvent(QShowEvent* event) {
    RepaintResizedSections(true);
    QTableView::showEvent(event);
}

void EntryGridView::RepaintResizedSections(bool on) {
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

}  // namespace pb
