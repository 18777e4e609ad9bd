#pragma once
// A string grid that prints itself: its rows are laid out on printer pages,
// scaled from screen pixels ("grid units") to printer dots, inside a ruled
// frame, with the fixed rows repeated at the top of every page and events
// through which the owner adds titles and draws cell texts.

#include <QFont>
#include <QRect>
#include <QString>
#include <functional>
#include <stdexcept>

#include "gui/controls/StringGrid.h"

class QPagedPaintDevice;
class QPainter;
class QPrinter;

namespace pb {

// The printer refused the job or a page.
class TPrintError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class PrintGrid : public TStringGrid {
    Q_OBJECT
    Q_PROPERTY(bool Keisen READ Keisen WRITE SetKeisen)
    Q_PROPERTY(bool FixedLineDraw READ FixedLineDraw WRITE SetFixedLineDraw)
    Q_PROPERTY(int LineHeight READ LineHeight WRITE SetLineHeight)
    Q_PROPERTY(int TopMargin READ TopMargin WRITE SetTopMargin)
    Q_PROPERTY(int LeftMargin READ LeftMargin WRITE SetLeftMargin)
    Q_PROPERTY(int BottomMargin READ BottomMargin WRITE SetBottomMargin)
    Q_PROPERTY(int RightMargin READ RightMargin WRITE SetRightMargin)
    Q_PROPERTY(int HeaderMargin READ HeaderMargin WRITE SetHeaderMargin)
    Q_PROPERTY(int FooterMargin READ FooterMargin WRITE SetFooterMargin)
    Q_PROPERTY(int LineWidthY1 READ LineWidthY1 WRITE SetLineWidthY1)
    Q_PROPERTY(int LineWidthY2 READ LineWidthY2 WRITE SetLineWidthY2)
    Q_PROPERTY(int LineWidthY3 READ LineWidthY3 WRITE SetLineWidthY3)
    Q_PROPERTY(int LineWidthX1 READ LineWidthX1 WRITE SetLineWidthX1)
    Q_PROPERTY(int PageWidth READ PageWidth)
    Q_PROPERTY(int PageHeight READ PageHeight)

  public:
    // Page is the page number (1 for the first), Width the usable width in grid
    // units, Top the current vertical position, which a handler may move down.
    using THeaderDrawEvent = std::function<void(QObject* Sender, int& Page, int Width, int& Top)>;
    // Draws one cell on paper; Rect is in printer dots, inside the ruled lines.
    using TPrintCellEvent =
        std::function<void(QObject* Sender, QPainter* WCanvas, const QRect& Rect, int ACol,
                           int ARow, const QString& Text)>;
    // May change the text of a cell before it is printed.
    using TGetPrintTextEvent =
        std::function<void(QObject* Sender, int ACol, int ARow, QString& Text)>;

    explicit PrintGrid(QWidget* parent = nullptr);
    ~PrintGrid() override;

    // Prints the whole grid as one job and returns the number of pages. The
    // first overload prints on the system's default printer. Throws TPrintError
    // when the device refuses the job or a new page; the grid is idle again
    // afterwards either way.
    int Print();
    int Print(QPagedPaintDevice& device);
    // Prints the grid into a job already begun on `canvas` (several reports in
    // one job): from the device's current page on; the caller starts a new
    // page between two grids and ends the job.
    int Print(QPainter& canvas, QPagedPaintDevice& device);

    // A length or position in grid units as printer dots (truncated); 0 when
    // not printing.
    int ScaleX(int v) const;
    int ScaleY(int v) const;
    // Writes `text` at (x, y) in grid units with the printing canvas's current
    // font, its top-left corner at that point; does nothing when not printing.
    void PrintText(int x, int y, const QString& text);

    bool Printing() const { return canvas_ != nullptr; }
    // The printing canvas while printing, else null.
    QPainter* PrintCanvas() const { return canvas_; }

    // The font a fresh printing canvas starts with (the application's font
    // unless the owner sets one). Its size against the grid's font scales the
    // whole layout.
    QFont PrinterFont() const { return printerFont_; }
    void SetPrinterFont(const QFont& font) { printerFont_ = font; }

    bool Keisen() const { return keisen_; }
    void SetKeisen(bool on) { keisen_ = on; }
    bool FixedLineDraw() const { return fixedLineDraw_; }
    void SetFixedLineDraw(bool on) { fixedLineDraw_ = on; }
    int LineHeight() const { return lineHeight_; }
    void SetLineHeight(int v) { lineHeight_ = v; }
    int TopMargin() const { return topMargin_; }
    void SetTopMargin(int v) { topMargin_ = v; }
    int LeftMargin() const { return leftMargin_; }
    void SetLeftMargin(int v) { leftMargin_ = v; }
    int BottomMargin() const { return bottomMargin_; }
    void SetBottomMargin(int v) { bottomMargin_ = v; }
    int RightMargin() const { return rightMargin_; }
    void SetRightMargin(int v) { rightMargin_ = v; }
    int HeaderMargin() const { return headerMargin_; }
    void SetHeaderMargin(int v) { headerMargin_ = v; }
    int FooterMargin() const { return footerMargin_; }
    void SetFooterMargin(int v) { footerMargin_ = v; }
    int LineWidthY1() const { return lineWidthY1_; }
    void SetLineWidthY1(int v) { lineWidthY1_ = v; }
    int LineWidthY2() const { return lineWidthY2_; }
    void SetLineWidthY2(int v) { lineWidthY2_ = v; }
    int LineWidthY3() const { return lineWidthY3_; }
    void SetLineWidthY3(int v) { lineWidthY3_ = v; }
    int LineWidthX1() const { return lineWidthX1_; }
    void SetLineWidthX1(int v) { lineWidthX1_ = v; }
    // Printable width and height of the last device printed on, in its dots.
    int PageWidth() const { return pageWidth_; }
    int PageHeight() const { return pageHeight_; }

    THeaderDrawEvent OnHeader;
    THeaderDrawEvent OnFooter;
    THeaderDrawEvent OnReportStart;
    THeaderDrawEvent OnReportEnd;
    TPrintCellEvent OnPrintCell;
    TGetPrintTextEvent OnGetPrintText;

  protected:
    // Draws one ruled line, coordinates and pen width in printer dots.
    virtual void DrawRule(QPainter* canvas, int x1, int y1, int x2, int y2, int penWidth);

  private:
    void PageLoop(QPagedPaintDevice& device);
    void StartPage();
    void PrintRow(int row);
    void DrawRules();
    void CallEvent(const THeaderDrawEvent& event);
    int EventWidth() const;

    bool keisen_ = true;
    bool fixedLineDraw_ = true;
    int lineHeight_;
    int topMargin_ = 0;
    int leftMargin_ = 0;
    int bottomMargin_ = 0;
    int rightMargin_ = 0;
    int headerMargin_ = 0;
    int footerMargin_ = 0;
    int lineWidthY1_ = 2;
    int lineWidthY2_ = 2;
    int lineWidthY3_ = 1;
    int lineWidthX1_ = 2;
    int pageWidth_ = 0;
    int pageHeight_ = 0;
    QFont printerFont_;

    // Page state, rebuilt by every Print.
    QPainter* canvas_ = nullptr;
    QRect clip_;
    float scaleX_ = 0;
    float scaleY_ = 0;
    int page_ = 0;
    int top_ = 0;
    int tableTop_ = 0;
    int tableBottom_ = 0;
    int totalWidth_ = 0;
    int nextRow_ = 0;
};

}  // namespace pb
