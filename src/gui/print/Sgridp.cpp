#include "gui/print/Sgridp.h"

#include <QApplication>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>
#include <QPrinter>
#include <QPrinterInfo>

namespace pb {

namespace {

// A font's size in points; a size given in pixels counts at `dpi`.
double PointSize(const QFont& font, int dpi) {
    if (font.pointSizeF() > 0)
        return font.pointSizeF();
    if (font.pixelSize() > 0 && dpi > 0)
        return font.pixelSize() * 72.0 / dpi;
    return 0;
}

}  // namespace

TStringGridP::TStringGridP(QWidget* parent)
    : TStringGrid(parent), m_lineHeight(DefaultRowHeight()), m_printerFont(QApplication::font()) {}

TStringGridP::~TStringGridP() = default;

int TStringGridP::Print() {
    QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    return Print(printer);
}

int TStringGridP::Print(QPagedPaintDevice& device) {
    QPainter canvas;
    if (!canvas.begin(&device))
        throw TPrintError("the printer did not accept the print job");

    // Whatever happens inside, the grid must not stay in the printing state: the
    // scale functions and PrintText would keep using a canvas that is gone.
    struct BackToIdle {
        TStringGridP* grid;
        ~BackToIdle() {
            grid->m_canvas = nullptr;
            grid->m_scaleX = 0;
            grid->m_scaleY = 0;
        }
    } backToIdle{this};

    m_canvas = &canvas;
    canvas.setFont(m_printerFont);
    m_pageWidth = device.width();
    m_pageHeight = device.height();
    m_clip = QRect(0, 0, m_pageWidth, m_pageHeight);

    // The layout grows or shrinks with the printing font against the grid's font.
    const double gridPoints = PointSize(font(), logicalDpiY());
    const double printerPoints = PointSize(m_printerFont, device.logicalDpiY());
    const double fontRatio = gridPoints > 0 && printerPoints > 0 ? printerPoints / gridPoints : 1.0;
    m_scaleX = static_cast<float>(double(device.logicalDpiX()) / logicalDpiX() * fontRatio);
    m_scaleY = static_cast<float>(double(device.logicalDpiY()) / logicalDpiY() * fontRatio);

    m_page = 0;
    m_nextRow = FixedRows();
    PageLoop(device);
    if (!canvas.end())
        throw TPrintError("the printer did not finish the print job");
    return m_page;
}

int TStringGridP::ScaleX(int v) const {
    return m_canvas != nullptr ? static_cast<int>(static_cast<float>(v) * m_scaleX) : 0;
}

int TStringGridP::ScaleY(int v) const {
    return m_canvas != nullptr ? static_cast<int>(static_cast<float>(v) * m_scaleY) : 0;
}

void TStringGridP::PrintText(int x, int y, const QString& text) {
    if (m_canvas == nullptr)
        return;
    m_canvas->drawText(QPoint(ScaleX(x), ScaleY(y) + m_canvas->fontMetrics().ascent()), text);
}

void TStringGridP::PageLoop(QPagedPaintDevice& device) {
    m_canvas->setBackgroundMode(Qt::TransparentMode);
    m_totalWidth = 0;
    for (int col = 0; col < ColCount(); ++col)
        m_totalWidth += ColWidths(col) + 1;

    StartPage();
    const int last = RowCount() - 1;
    for (int row = m_nextRow; row <= last; ++row) {
        // Keeps the windows painted during a long job; input waits until the
        // job is done so nobody can change or close the grid under it.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        PrintRow(row);
        m_nextRow = row + 1;

        const int freeBottom =
            m_clip.y() + m_clip.height() - ScaleY(m_bottomMargin) - ScaleY(m_footerMargin);
        const bool pageFull = freeBottom < ScaleY(m_top + m_lineHeight);
        if (!pageFull && row != last)
            continue;
        CallEvent(OnFooter);
        if (m_keisen)
            DrawRules();
        if (row == last) {
            CallEvent(OnReportEnd);
        } else {
            if (!device.newPage())
                throw TPrintError("the printer did not accept a new page");
            StartPage();
        }
    }
}

void TStringGridP::StartPage() {
    m_top = m_topMargin;
    ++m_page;
    if (m_page == 1)
        CallEvent(OnReportStart);
    m_top = m_headerMargin;
    CallEvent(OnHeader);
    m_tableTop = m_top;
    m_tableBottom = m_top;
    for (int row = 0; row < FixedRows() && row < RowCount(); ++row)
        PrintRow(row);
}

void TStringGridP::PrintRow(int row) {
    const int lr = row == 0 ? m_lineWidthY1 : row <= FixedRows() ? m_lineWidthY2 : m_lineWidthY3;
    int x = m_leftMargin;
    for (int col = 0; col < ColCount(); ++col) {
        const int lc = col == 0             ? m_lineWidthY1
                       : col <= FixedCols() ? m_lineWidthY2
                                            : m_lineWidthY3;
        const int width = ColWidths(col);
        QString text = Cells(col, row);
        if (OnGetPrintText)
            OnGetPrintText(this, col, row, text);
        const int left = ScaleX(x);
        const int top = ScaleY(m_top);
        const QRect rect(left, top, ScaleX(x + width - lc) - left,
                         ScaleY(m_top + m_lineHeight - lr) - top);
        if (OnPrintCell) {
            OnPrintCell(this, m_canvas, rect, col, row, text);
        } else if (!text.isEmpty()) {
            m_canvas->save();
            m_canvas->setClipRect(rect);
            m_canvas->drawText(QPoint(rect.left() + ScaleX(lc),
                                      rect.top() + ScaleY(lr) + m_canvas->fontMetrics().ascent()),
                               text);
            m_canvas->restore();
        }
        x += width + 1;
    }
    m_top += m_lineHeight;
    m_tableBottom = m_top;
}

void TStringGridP::DrawRules() {
    const int x0 = m_leftMargin;
    const int right = x0 + m_totalWidth;
    const int top = m_tableTop;
    const int bottom = m_tableBottom;
    auto line = [this](int x1, int y1, int x2, int y2, int width) {
        DrawRule(m_canvas, ScaleX(x1), ScaleY(y1), ScaleX(x2), ScaleY(y2), ScaleY(width));
    };

    line(x0, top, right, top, m_lineWidthY1);
    line(x0, top, x0, bottom, m_lineWidthX1);
    line(right, top, right, bottom, m_lineWidthX1);
    line(x0, bottom, right, bottom, m_lineWidthY1);

    int x = x0;
    for (int col = 0; col < ColCount() - 1; ++col) {
        x += ColWidths(col) + 1;
        const bool fixed = col < FixedCols();
        if (fixed && !m_fixedLineDraw && col != FixedCols() - 1)
            continue;
        line(x, top, x, bottom, fixed ? m_lineWidthY2 : m_lineWidthY3);
    }

    // The last of these lies on the bottom edge, which is drawn again over it.
    int y = top;
    for (int count = 1; y < bottom && m_lineHeight > 0; ++count) {
        y += m_lineHeight;
        const bool fixed = count <= FixedRows();
        if (fixed && !m_fixedLineDraw && count != FixedRows())
            continue;
        line(x0, y, right, y, fixed ? m_lineWidthY2 : m_lineWidthY3);
    }
    line(x0, bottom, right, bottom, m_lineWidthY1);
}

void TStringGridP::DrawRule(QPainter* canvas, int x1, int y1, int x2, int y2, int penWidth) {
    QPen pen(Qt::black);
    pen.setWidth(penWidth);
    pen.setCapStyle(Qt::SquareCap);
    canvas->setPen(pen);
    canvas->drawLine(x1, y1, x2, y2);
}

void TStringGridP::CallEvent(const THeaderDrawEvent& event) {
    if (event)
        event(this, m_page, EventWidth(), m_top);
}

int TStringGridP::EventWidth() const {
    const int width =
        m_scaleX > 0 ? static_cast<int>(static_cast<float>(m_clip.width()) / m_scaleX) : 0;
    return width - m_leftMargin - m_rightMargin;
}

}  // namespace pb
