#include "gui/print/StringGrid.h"

#include <QEvent>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace pb {

// Paints every cell the way the string grid looks: grey fixed cells, the
// selection in the highlight colour, and the text left-aligned with a small
// inset, unless the owner draws the cell itself through OnDrawCell.
class TStringGrid::CellDelegate : public QStyledItemDelegate {
  public:
    explicit CellDelegate(TStringGrid* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const int col = index.column();
        const int row = index.row();
        TGridDrawState state;
        state.Fixed = m_grid->IsFixedCell(col, row);
        state.Selected = !state.Fixed && (option.state & QStyle::State_Selected);
        state.Focused = index == m_grid->currentIndex() && m_grid->hasFocus();

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
        if (m_grid->OnDrawCell) {
            m_grid->OnDrawCell(m_grid, painter, col, row, option.rect, state);
        } else {
            QColor ink = state.Fixed      ? pal.buttonText().color()
                         : state.Selected ? pal.highlightedText().color()
                                          : pal.text().color();
            const QVariant fore = index.data(Qt::ForegroundRole);
            if (fore.canConvert<QBrush>() && fore.value<QBrush>().style() != Qt::NoBrush)
                ink = fore.value<QBrush>().color();
            painter->setPen(ink);
            painter->setFont(option.font);
            painter->drawText(option.rect.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter,
                              index.data(Qt::DisplayRole).toString());
        }
        painter->restore();
    }

  private:
    TStringGrid* m_grid;
};

TStringGrid::TStringGrid(QWidget* parent) : QTableWidget(5, 5, parent) {
    setItemDelegate(new CellDelegate(this));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setCornerButtonEnabled(false);
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    SetDefaultRowHeight(m_defaultRowHeight);
    SetDefaultColWidth(m_defaultColWidth);
    setEditTriggers(NoEditTriggers);
    setSelectionMode(SingleSelection);
    setCurrentCell(m_fixedRows, m_fixedCols);
}

TStringGrid::~TStringGrid() = default;

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
    setItem(ARow, ACol, new QTableWidgetItem(text));
}

void TStringGrid::SetFixedRows(int rows) {
    m_fixedRows = std::max(0, rows);
    viewport()->update();
}

void TStringGrid::SetFixedCols(int cols) {
    m_fixedCols = std::max(0, cols);
    viewport()->update();
}

void TStringGrid::SetDefaultRowHeight(int height) {
    m_defaultRowHeight = height;
    verticalHeader()->setDefaultSectionSize(height);
    for (int row = 0; row < rowCount(); ++row)
        setRowHeight(row, height);
}

void TStringGrid::SetDefaultColWidth(int width) {
    m_defaultColWidth = width;
    horizontalHeader()->setDefaultSectionSize(width);
    for (int col = 0; col < columnCount(); ++col)
        setColumnWidth(col, width);
}

void TStringGrid::SetImeMode(TImeMode mode) {
    m_imeMode = mode;
    ApplyImeMode(this);
    ApplyImeMode(viewport());
    if (QWidget* editor = indexWidget(currentIndex()))
        ApplyImeMode(editor);
}

void TStringGrid::ApplyImeMode(QWidget* widget) const {
    if (widget == nullptr)
        return;
    const bool off = m_imeMode == imDisable || m_imeMode == imClose || m_imeMode == imSAlpha ||
                     m_imeMode == imAlpha;
    widget->setAttribute(Qt::WA_InputMethodEnabled, !off);
    Qt::InputMethodHints hints = widget->inputMethodHints();
    hints.setFlag(Qt::ImhLatinOnly, off);
    widget->setInputMethodHints(hints);
}

bool TStringGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    if (index.isValid() && IsFixedCell(index.column(), index.row()))
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
    // QLineEdit::setReadOnly(false) switches the input method back on.
    if (event->type() == QEvent::ReadOnlyChange && watched->isWidgetType() &&
        m_imeMode != imDontCare)
        ApplyImeMode(static_cast<QWidget*>(watched));
    return QTableWidget::eventFilter(watched, event);
}

QModelIndex TStringGrid::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) {
    QModelIndex target = QTableWidget::moveCursor(cursorAction, modifiers);
    if (!target.isValid() || !IsFixedCell(target.column(), target.row()))
        return target;
    const int row = std::max(target.row(), m_fixedRows);
    const int col = std::max(target.column(), m_fixedCols);
    if (row >= rowCount() || col >= columnCount())
        return currentIndex();
    return model()->index(row, col);
}

void TStringGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableWidget::currentChanged(current, previous);
    if (m_imeMode != imDontCare)
        ApplyImeMode(this);
}

void TStringGrid::mousePressEvent(QMouseEvent* event) {
    const QModelIndex at = indexAt(event->position().toPoint());
    if (at.isValid() && IsFixedCell(at.column(), at.row())) {
        event->accept();
        return;
    }
    QTableWidget::mousePressEvent(event);
}

}  // namespace pb
