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

class TStringGridP : public TStringGrid {
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

    explicit TStringGridP(QWidget* parent = nullptr);
    ~TStringGridP() override;

    // Prints the whole grid as one job and returns the number of pages. The
    // first overload prints on the system's default printer. Throws TPrintError
    // when the device refuses the job or a new page; the grid is idle again
    // afterwards either way.
    int Print();
    int Print(QPagedPaintDevice& device);

    // A length or position in grid units as printer dots (truncated); 0 when
    // not printing.
    int ScaleX(int v) const;
    int ScaleY(int v) const;
    // Writes `text` at (x, y) in grid units with the printing canvas's current
    // font, its top-left corner at that point; does nothing when not printing.
    void PrintText(int x, int y, const QString& text);

    bool Printing() const { return m_canvas != nullptr; }
    // The printing canvas while printing, else null.
    QPainter* PrintCanvas() const { return m_canvas; }

    // The font a fresh printing canvas starts with (the application's font
    // unless the owner sets one). Its size against the grid's font scales the
    // whole layout.
    QFont PrinterFont() const { return m_printerFont; }
    void SetPrinterFont(const QFont& font) { m_printerFont = font; }

    bool Keisen() const { return m_keisen; }
    void SetKeisen(bool on) { m_keisen = on; }
    bool FixedLineDraw() const { return m_fixedLineDraw; }
    void SetFixedLineDraw(bool on) { m_fixedLineDraw = on; }
    int LineHeight() const { return m_lineHeight; }
    void SetLineHeight(int v) { m_lineHeight = v; }
    int TopMargin() const { return m_topMargin; }
    void SetTopMargin(int v) { m_topMargin = v; }
    int LeftMargin() const { return m_leftMargin; }
    void SetLeftMargin(int v) { m_leftMargin = v; }
    int BottomMargin() const { return m_bottomMargin; }
    void SetBottomMargin(int v) { m_bottomMargin = v; }
    int RightMargin() const { return m_rightMargin; }
    void SetRightMargin(int v) { m_rightMargin = v; }
    int HeaderMargin() const { return m_headerMargin; }
    void SetHeaderMargin(int v) { m_headerMargin = v; }
    int FooterMargin() const { return m_footerMargin; }
    void SetFooterMargin(int v) { m_footerMargin = v; }
    int LineWidthY1() const { return m_lineWidthY1; }
    void SetLineWidthY1(int v) { m_lineWidthY1 = v; }
    int LineWidthY2() const { return m_lineWidthY2; }
    void SetLineWidthY2(int v) { m_lineWidthY2 = v; }
    int LineWidthY3() const { return m_lineWidthY3; }
    void SetLineWidthY3(int v) { m_lineWidthY3 = v; }
    int LineWidthX1() const { return m_lineWidthX1; }
    void SetLineWidthX1(int v) { m_lineWidthX1 = v; }
    // Printable width and height of the last device printed on, in its dots.
    int PageWidth() const { return m_pageWidth; }
    int PageHeight() const { return m_pageHeight; }

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

    bool m_keisen = true;
    bool m_fixedLineDraw = true;
    int m_lineHeight;
    int m_topMargin = 0;
    int m_leftMargin = 0;
    int m_bottomMargin = 0;
    int m_rightMargin = 0;
    int m_headerMargin = 0;
    int m_footerMargin = 0;
    int m_lineWidthY1 = 2;
    int m_lineWidthY2 = 2;
    int m_lineWidthY3 = 1;
    int m_lineWidthX1 = 2;
    int m_pageWidth = 0;
    int m_pageHeight = 0;
    QFont m_printerFont;

    // Page state, rebuilt by every Print.
    QPainter* m_canvas = nullptr;
    QRect m_clip;
    float m_scaleX = 0;
    float m_scaleY = 0;
    int m_page = 0;
    int m_top = 0;
    int m_tableTop = 0;
    int m_tableBottom = 0;
    int m_totalWidth = 0;
    int m_nextRow = 0;
};

}  // namespace pb
