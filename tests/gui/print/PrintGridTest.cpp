// The printable grid on a small PDF page laid out at screen resolution, so one
// grid unit is one printer dot and the page break can be worked out by hand.
#include <gtest/gtest.h>

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>
#include <vector>

#include "gui/print/SinStringGrid.h"

namespace pb {
namespace {

struct Rule {
    int x1, y1, x2, y2, width;
};

// Keeps the rules it is asked to draw.
class RecordingGrid : public PrintGrid {
  public:
    std::vector<std::vector<Rule>> rulesByPage;

  protected:
    void DrawRule(QPainter* canvas, int x1, int y1, int x2, int y2, int penWidth) override {
        rulesByPage.resize(std::max<size_t>(rulesByPage.size(), currentPage));
        rulesByPage[currentPage - 1].push_back({x1, y1, x2, y2, penWidth});
        PrintGrid::DrawRule(canvas, x1, y1, x2, y2, penWidth);
    }

  public:
    int currentPage = 0;
};

// A 4 × 5 inch page without margins at the grid's own resolution: 384 × 480
// dots at 96 dpi, one dot per grid unit.
void SetUpPrinter(QPrinter& printer, const QString& file, const QWidget& grid) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setResolution(grid.logicalDpiX());
    printer.setPageSize(QPageSize(QSizeF(4, 5), QPageSize::Inch));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

void FillGrid(PrintGrid& grid, int rows, int cols, int fixedRows) {
    grid.SetColCount(cols);
    grid.SetRowCount(rows);
    grid.SetFixedRows(fixedRows);
    grid.SetFixedCols(1);
    grid.SetPrinterFont(grid.font());
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            grid.SetCells(c, r, QString("%1-%2").arg(c).arg(r));
}

class SgridpTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString Pdf() const { return dir.filePath("grid.pdf"); }
};

TEST_F(SgridpTest, DefaultsOfThePublishedProperties) {
    PrintGrid grid;
    EXPECT_TRUE(grid.Keisen());
    EXPECT_TRUE(grid.FixedLineDraw());
    EXPECT_EQ(grid.LineHeight(), grid.DefaultRowHeight());
    EXPECT_EQ(grid.LineHeight(), 24);
    for (int margin : {grid.TopMargin(), grid.LeftMargin(), grid.BottomMargin(), grid.RightMargin(),
                       grid.HeaderMargin(), grid.FooterMargin()})
        EXPECT_EQ(margin, 0);
    EXPECT_EQ(grid.LineWidthY1(), 2);
    EXPECT_EQ(grid.LineWidthY2(), 2);
    EXPECT_EQ(grid.LineWidthY3(), 1);
    EXPECT_EQ(grid.LineWidthX1(), 2);
    EXPECT_EQ(grid.ScaleX(100), 0);
    EXPECT_EQ(grid.ScaleY(100), 0);
}

TEST_F(SgridpTest, TallGridBreaksPagesRepeatsFixedRowsAndCallsEventsInOrder) {
    // 2 fixed rows + 40 body rows. Every header moves Top down by 40, so a page
    // holds its fixed rows from 40 to 88; the free height is 480 − 20 − 12 = 448,
    // and a row ending at 88 + 24k + 24 > 448 breaks the page after k = 15 rows.
    RecordingGrid grid;
    FillGrid(grid, 42, 3, 2);
    grid.SetBottomMargin(20);
    grid.SetFooterMargin(12);

    std::vector<std::string> events;
    std::vector<std::vector<int>> rowsByPage;
    int width = -1;
    auto log = [&](const char* name) {
        return [&, name](QObject*, int& page, int w, int& top) {
            events.push_back(std::string(name) + ":" + std::to_string(page));
            if (std::string(name) == "header")
                top += 40;
            width = w;
            grid.currentPage = page;
        };
    };
    grid.OnReportStart = log("start");
    grid.OnHeader = log("header");
    grid.OnFooter = log("footer");
    grid.OnReportEnd = log("end");
    grid.OnPrintCell = [&](QObject*, QPainter*, const QRect& rect, int col, int row,
                           const QString& text) {
        EXPECT_EQ(text, QString("%1-%2").arg(col).arg(row));
        if (col != 0)
            return;
        rowsByPage.resize(grid.currentPage);
        rowsByPage.back().push_back(row);
        if (row == 0) {
            EXPECT_EQ(rect.top(), 40);
        }
    };

    QPrinter printer;
    SetUpPrinter(printer, Pdf(), grid);
    ASSERT_EQ(grid.Print(printer), 3);
    EXPECT_EQ(grid.PageHeight(), 480);
    EXPECT_EQ(width, 384);

    const std::vector<std::string> expected = {"start:1",  "header:1", "footer:1", "header:2",
                                               "footer:2", "header:3", "footer:3", "end:3"};
    EXPECT_EQ(events, expected);

    ASSERT_EQ(rowsByPage.size(), 3u);
    const int firstBody[] = {2, 17, 32};
    const int bodyRows[] = {15, 15, 10};
    for (int page = 0; page < 3; ++page) {
        std::vector<int> want = {0, 1};
        for (int i = 0; i < bodyRows[page]; ++i)
            want.push_back(firstBody[page] + i);
        EXPECT_EQ(rowsByPage[page], want) << "page " << page + 1;
    }

    // Each page's frame closes under the rows printed on it.
    ASSERT_EQ(grid.rulesByPage.size(), 3u);
    EXPECT_EQ(grid.rulesByPage[0].back().y1, 40 + 17 * 24);
    EXPECT_EQ(grid.rulesByPage[2].back().y1, 40 + 12 * 24);
    EXPECT_EQ(grid.ScaleX(100), 0) << "idle again after the job";
}

TEST_F(SgridpTest, GridWithoutBodyRowsPrintsOnePageWithoutRulesOrFooter) {
    RecordingGrid grid;
    FillGrid(grid, 1, 3, 1);
    std::vector<std::string> events;
    grid.OnReportStart = [&](QObject*, int&, int, int&) { events.push_back("start"); };
    grid.OnHeader = [&](QObject*, int&, int, int&) { events.push_back("header"); };
    grid.OnFooter = [&](QObject*, int&, int, int&) { events.push_back("footer"); };
    int cells = 0;
    grid.OnPrintCell = [&](QObject*, QPainter*, const QRect&, int, int, const QString&) {
        ++cells;
    };
    QPrinter printer;
    SetUpPrinter(printer, Pdf(), grid);
    EXPECT_EQ(grid.Print(printer), 1);
    EXPECT_EQ(events, (std::vector<std::string>{"start", "header"}));
    EXPECT_EQ(cells, 3);
    EXPECT_TRUE(grid.rulesByPage.empty());
}

// Horizontal rules of one page, as (y, pen width), top edge first.
std::vector<std::pair<int, int>> HorizontalRules(const std::vector<Rule>& rules) {
    std::vector<std::pair<int, int>> out;
    for (const Rule& r : rules)
        if (r.y1 == r.y2)
            out.emplace_back(r.y1, r.width);
    return out;
}

std::vector<int> VerticalRuleXs(const std::vector<Rule>& rules) {
    std::vector<int> out;
    for (const Rule& r : rules)
        if (r.x1 == r.x2)
            out.push_back(r.x1);
    return out;
}

TEST_F(SgridpTest, RulesFollowKeisenAndFixedLineDraw) {
    // 3 fixed rows, 2 body rows, 2 fixed columns of 50 and a body column of 50.
    struct Case {
        bool keisen;
        bool fixedLineDraw;
        std::vector<std::pair<int, int>> horizontal;
        std::vector<int> vertical;
    };
    const std::vector<Case> cases = {
        {true,
         true,
         {{0, 2}, {120, 2}, {24, 2}, {48, 2}, {72, 2}, {96, 1}, {120, 1}, {120, 2}},
         {0, 153, 51, 102}},
        // Without FixedLineDraw only the line under the last fixed row (72) and
        // after the last fixed column (102) stay inside the fixed part.
        {true, false, {{0, 2}, {120, 2}, {72, 2}, {96, 1}, {120, 1}, {120, 2}}, {0, 153, 102}},
        {false, true, {}, {}},
    };
    for (const Case& c : cases) {
        RecordingGrid grid;
        FillGrid(grid, 5, 3, 3);
        grid.SetFixedCols(2);
        for (int col = 0; col < 3; ++col)
            grid.SetColWidths(col, 50);
        grid.SetKeisen(c.keisen);
        grid.SetFixedLineDraw(c.fixedLineDraw);
        grid.currentPage = 1;
        QPrinter printer;
        SetUpPrinter(printer, Pdf(), grid);
        ASSERT_EQ(grid.Print(printer), 1);
        const auto rules = grid.rulesByPage.empty() ? std::vector<Rule>{} : grid.rulesByPage[0];
        EXPECT_EQ(HorizontalRules(rules), c.horizontal)
            << "Keisen " << c.keisen << " FixedLineDraw " << c.fixedLineDraw;
        EXPECT_EQ(VerticalRuleXs(rules), c.vertical)
            << "Keisen " << c.keisen << " FixedLineDraw " << c.fixedLineDraw;
    }
}

TEST_F(SgridpTest, ScaleFollowsResolutionAndPrintingFont) {
    PrintGrid grid;
    FillGrid(grid, 2, 2, 1);
    QFont gridFont = grid.font();
    gridFont.setPointSizeF(10);
    grid.setFont(gridFont);
    QFont half = gridFont;
    half.setPointSizeF(5);
    grid.SetPrinterFont(half);

    QPrinter printer;
    SetUpPrinter(printer, Pdf(), grid);
    printer.setResolution(grid.logicalDpiX() * 4);
    int scaled = 0;
    int widthSeen = 0;
    grid.OnReportStart = [&](QObject*, int&, int width, int&) {
        scaled = grid.ScaleX(100);
        widthSeen = width;
        grid.PrintText(10, 10, "title");
    };
    ASSERT_EQ(grid.Print(printer), 1);
    EXPECT_EQ(scaled, 200);         // 4 × resolution, ½ the font
    EXPECT_EQ(widthSeen, 384 * 2);  // page width in grid units grows as the scale shrinks
}

TEST_F(SgridpTest, RefusedJobThrowsAndLeavesTheGridIdle) {
    PrintGrid grid;
    FillGrid(grid, 3, 2, 1);
    QPrinter printer;
    SetUpPrinter(printer, dir.filePath("missing/folder/grid.pdf"), grid);
    EXPECT_THROW(grid.Print(printer), TPrintError);
    EXPECT_FALSE(grid.Printing());

    // An event handler that throws must not leave the grid printing either.
    grid.OnHeader = [](QObject*, int&, int, int&) { throw std::runtime_error("handler"); };
    SetUpPrinter(printer, Pdf(), grid);
    EXPECT_THROW(grid.Print(printer), std::runtime_error);
    EXPECT_FALSE(grid.Printing());
    EXPECT_EQ(grid.ScaleY(50), 0);
    grid.PrintText(0, 0, "ignored");  // must not touch the dead canvas
}

}  // namespace
}  // namespace pb
