#include "gui/print/PrintGrid.h"

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

PrintGrid::PrintGrid(QWidget* parent)
    : TStringGrid(parent), lineHeight_(DefaultRowHeight()), printerFont_(QApplication::font()) {}

PrintGrid::~PrintGrid() = default;

int PrintGrid::Print() {
    QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    return Print(printer);
}

int PrintGrid::Print(QPagedPaintDevice& device) {
    QPainter canvas;
    if (!canvas.begin(&device))
        throw TPrintError("the printer did not accept the print job");
    const int pages = Print(canvas, device);
    if (!canvas.end())
        throw TPrintError("the printer did not finish the print job");
    return pages;
}

int PrintGrid::Print(QPainter& canvas, QPagedPaintDevice& device) {
    // Whatever happens inside, the grid must not stay in the printing state: the
    // scale functions and PrintText would keep using a canvas that is gone.
    struct BackToIdle {
        PrintGrid* grid;
        ~BackToIdle() {
            grid->canvas_ = nullptr;
            grid->scaleX_ = 0;
            grid->scaleY_ = 0;
        }
    } backToIdle{this};

    canvas_ = &canvas;
    canvas.setFont(printerFont_);
    pageWidth_ = device.width();
    pageHeight_ = device.height();
    clip_ = QRect(0, 0, pageWidth_, pageHeight_);

    // The layout grows or shrinks with the printing font against the grid's font.
    const double gridPoints = PointSize(font(), logicalDpiY());
    const double printerPoints = PointSize(printerFont_, device.logicalDpiY());
    const double fontRatio = gridPoints > 0 && printerPoints > 0 ? printerPoints / gridPoints : 1.0;
    scaleX_ = static_cast<float>(double(device.logicalDpiX()) / logicalDpiX() * fontRatio);
    scaleY_ = static_cast<float>(double(device.logicalDpiY()) / logicalDpiY() * fontRatio);

    page_ = 0;
    nextRow_ = FixedRows();
    PageLoop(device);
    return page_;
}

int PrintGrid::ScaleX(int v) const {
    return canvas_ != nullptr ? static_cast<int>(static_cast<float>(v) * scaleX_) : 0;
}

int PrintGrid::ScaleY(int v) const {
    return canvas_ != nullptr ? static_cast<int>(static_cast<float>(v) * scaleY_) : 0;
}

void PrintGrid::PrintText(int x, int y, const QString& text) {
    if (canvas_ == nullptr)
        return;
    canvas_->drawText(QPoint(ScaleX(x), ScaleY(y) + canvas_->fontMetrics().ascent()), text);
}

void PrintGrid::PageLoop(QPagedPaintDevice& device) {
    canvas_->setBackgroundMode(Qt::TransparentMode);
    totalWidth_ = 0;
    for (int col = 0; col < ColCount(); ++col)
        totalWidth_ += ColWidths(col) + 1;

    StartPage();
    const int last = RowCount() - 1;
    for (int row = nextRow_; row <= last; ++row) {
        // Keeps the windows painted during a long job; input waits until the
        // job is done so nobody can change or close the grid under it.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        PrintRow(row);
        nextRow_ = row + 1;

        const int freeBottom =
            clip_.y() + clip_.height() - ScaleY(bottomMargin_) - ScaleY(footerMargin_);
        const bool pageFull = freeBottom < ScaleY(top_ + lineHeight_);
        if (!pageFull && row != last)
            continue;
        CallEvent(OnFooter);
        if (keisen_)
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

void PrintGrid::StartPage() {
    top_ = topMargin_;
    ++page_;
    if (page_ == 1)
        CallEvent(OnReportStart);
    top_ = headerMargin_;
    CallEvent(OnHeader);
    tableTop_ = top_;
    tableBottom_ = top_;
    for (int row = 0; row < FixedRows() && row < RowCount(); ++row)
        PrintRow(row);
}

void PrintGrid::PrintRow(int row) {
    const int lr = row == 0 ? lineWidthY1_ : row <= FixedRows() ? lineWidthY2_ : lineWidthY3_;
    int x = leftMargin_;
    for (int col = 0; col < ColCount(); ++col) {
        const int lc = col == 0 ? lineWidthY1_ : col <= FixedCols() ? lineWidthY2_ : lineWidthY3_;
        const int width = ColWidths(col);
        QString text = Cells(col, row);
        if (OnGetPrintText)
            OnGetPrintText(this, col, row, text);
        const int left = ScaleX(x);
        const int top = ScaleY(top_);
        const QRect rect(left, top, ScaleX(x + width - lc) - left,
                         ScaleY(top_ + lineHeight_ - lr) - top);
        if (OnPrintCell) {
            OnPrintCell(this, canvas_, rect, col, row, text);
        } else if (!text.isEmpty()) {
            canvas_->save();
            canvas_->setClipRect(rect);
            canvas_->drawText(QPoint(rect.left() + ScaleX(lc),
                                     rect.top() + ScaleY(lr) + canvas_->fontMetrics().ascent()),
                              text);
            canvas_->restore();
        }
        x += width + 1;
    }
    top_ += lineHeight_;
    tableBottom_ = top_;
}

void PrintGrid::DrawRules() {
    const int x0 = leftMargin_;
    const int right = x0 + totalWidth_;
    const int top = tableTop_;
    const int bottom = tableBottom_;
    auto line = [this](int x1, int y1, int x2, int y2, int width) {
        DrawRule(canvas_, ScaleX(x1), ScaleY(y1), ScaleX(x2), ScaleY(y2), ScaleY(width));
    };

    line(x0, top, right, top, lineWidthY1_);
    line(x0, top, x0, bottom, lineWidthX1_);
    line(right, top, right, bottom, lineWidthX1_);
    line(x0, bottom, right, bottom, lineWidthY1_);

    int x = x0;
    for (int col = 0; col < ColCount() - 1; ++col) {
        x += ColWidths(col) + 1;
        const bool fixed = col < FixedCols();
        if (fixed && !fixedLineDraw_ && col != FixedCols() - 1)
            continue;
        line(x, top, x, bottom, fixed ? lineWidthY2_ : lineWidthY3_);
    }

    // The last of these lies on the bottom edge, which is drawn again over it.
    int y = top;
    for (int count = 1; y < bottom && lineHeight_ > 0; ++count) {
        y += lineHeight_;
        const bool fixed = count <= FixedRows();
        if (fixed && !fixedLineDraw_ && count != FixedRows())
            continue;
        line(x0, y, right, y, fixed ? lineWidthY2_ : lineWidthY3_);
    }
    line(x0, bottom, right, bottom, lineWidthY1_);
}

void PrintGrid::DrawRule(QPainter* canvas, int x1, int y1, int x2, int y2, int penWidth) {
    QPen pen(Qt::black);
    pen.setWidth(penWidth);
    pen.setCapStyle(Qt::SquareCap);
    canvas->setPen(pen);
    canvas->drawLine(x1, y1, x2, y2);
}

void PrintGrid::CallEvent(const THeaderDrawEvent& event) {
    if (event)
        event(this, page_, EventWidth(), top_);
}

int PrintGrid::EventWidth() const {
    const int width =
        scaleX_ > 0 ? static_cast<int>(static_cast<float>(clip_.width()) / scaleX_) : 0;
    return width - leftMargin_ - rightMargin_;
}

}  // namespace pb
