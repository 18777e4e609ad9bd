// The base grid: headings that stay while the cells scroll and that screen
// readers read as headers, moves the owner refuses, and editors only where the
// owner allows them.
#include "gui/controls/StringGrid.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleInterface>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

#include "gui/print/SinStringGrid.h"
#include "gui/print/StringGridS.h"
#include "support/GuiTestSupport.h"

namespace pb {
namespace {

using test::ProcessEvents;

// 12 columns × 40 rows of "c-r" texts, captions in row 0 and column 0, shown
// in a window far smaller than the table.
void FillTable(TStringGrid& grid) {
    grid.SetColCount(12);
    grid.SetRowCount(40);
    grid.SetDefaultColWidth(60);
    grid.SetColWidths(0, 90);
    for (int r = 0; r < 40; ++r)
        for (int c = 0; c < 12; ++c)
            grid.SetCells(c, r, QStringLiteral("%1-%2").arg(c).arg(r));
    grid.resize(300, 200);
    grid.show();
    ProcessEvents();
}

TEST(StringGrid, HeadingsStayOnScreenWhileTheCellsScroll) {
    TStringGrid grid;
    FillTable(grid);
    EXPECT_EQ(grid.ColWidths(0), 90);
    EXPECT_EQ(grid.Cells(3, 0), QStringLiteral("3-0"));

    grid.verticalScrollBar()->setValue(grid.verticalScrollBar()->maximum());
    grid.horizontalScrollBar()->setValue(grid.horizontalScrollBar()->maximum());
    ProcessEvents();
    const QRect lastDay = grid.CellRect(0, 39);
    const QRect lastCaption = grid.CellRect(11, 0);
    const QRect lastCell = grid.CellRect(11, 39);
    ASSERT_FALSE(lastDay.isEmpty()) << "the row caption scrolled away";
    ASSERT_FALSE(lastCaption.isEmpty()) << "the column caption scrolled away";
    ASSERT_FALSE(lastCell.isEmpty());
    // Captions stand at the left and top edges, beside and above their cell.
    EXPECT_LE(lastDay.left(), grid.frameWidth());
    EXPECT_EQ(lastDay.width(), 90);
    EXPECT_EQ(lastDay.center().y(), lastCell.center().y());
    EXPECT_LE(lastCaption.top(), grid.frameWidth());
    EXPECT_EQ(lastCaption.center().x(), lastCell.center().x());
    EXPECT_TRUE(grid.CellRect(1, 1).isEmpty()) << "the first cell has scrolled away";

    // The owner draws the headings like any other cell.
    QList<QPoint> drawn;
    grid.OnDrawCell = [&drawn](QObject*, QPainter*, int c, int r, const QRect&,
                               TGridDrawState state) {
        if (state.Fixed)
            drawn << QPoint(c, r);
    };
    grid.grab();
    EXPECT_TRUE(drawn.contains(QPoint(0, 0)));
    EXPECT_TRUE(drawn.contains(QPoint(0, 39)));
    EXPECT_TRUE(drawn.contains(QPoint(11, 0)));

    // Without fixed rows and columns the captions are cells again.
    grid.SetFixedRows(0);
    grid.SetFixedCols(0);
    grid.scrollToTop();
    grid.horizontalScrollBar()->setValue(0);
    ProcessEvents();
    EXPECT_FALSE(grid.CellRect(0, 0).isEmpty());
    EXPECT_EQ(grid.CellRect(0, 0).topLeft(), grid.viewport()->geometry().topLeft());
}

// Counts the paints of one widget.
class Paints : public QObject {
  public:
    explicit Paints(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
    int count = 0;
};

TEST(StringGrid, ASizedGridIsPaintedOnceWhenShownAndAgainWhenAColumnChanges) {
    TStringGrid grid;
    const Paints paints(grid.viewport());
    grid.SetColCount(6);
    grid.SetRowCount(10);
    grid.SetDefaultRowHeight(20);
    grid.SetDefaultColWidth(50);
    grid.SetColWidths(0, 70);
    grid.resize(400, 300);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    ProcessEvents(50);
    EXPECT_EQ(paints.count, 1);
    // The headings keep the breadth they were given.
    EXPECT_EQ(grid.verticalHeader()->width(), 70);
    EXPECT_EQ(grid.horizontalHeader()->height(), 20);
    EXPECT_EQ(grid.CellRect(1, 1).topLeft(), grid.viewport()->geometry().topLeft());

    grid.SetColWidths(2, 90);
    ProcessEvents(50);
    EXPECT_EQ(paints.count, 2);
    EXPECT_EQ(grid.CellRect(3, 1).left() - grid.CellRect(2, 1).left(), 90);
}

TEST(StringGrid, ScreenReadersHearTheCaptionsAsHeaders) {
    TStringGrid grid;
    FillTable(grid);
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&grid);
    ASSERT_NE(table, nullptr);
    ASSERT_NE(table->tableInterface(), nullptr);
    QAccessibleInterface* cell = table->tableInterface()->cellAt(7, 4);
    ASSERT_NE(cell, nullptr);
    ASSERT_NE(cell->tableCellInterface(), nullptr);
    const QList<QAccessibleInterface*> columns = cell->tableCellInterface()->columnHeaderCells();
    const QList<QAccessibleInterface*> rows = cell->tableCellInterface()->rowHeaderCells();
    ASSERT_EQ(columns.size(), 1);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(columns[0]->text(QAccessible::Name), QStringLiteral("4-0"));
    EXPECT_EQ(rows[0]->text(QAccessible::Name), QStringLiteral("0-7"));

    // A caption written later is heard too.
    grid.SetCells(4, 0, QStringLiteral("出社時間"));
    EXPECT_EQ(columns[0]->text(QAccessible::Name), QStringLiteral("出社時間"));
    grid.SetCells(0, 7, QStringLiteral("7(水)"));
    grid.item(7, 0)->setToolTip(QStringLiteral("祝日"));
    EXPECT_EQ(rows[0]->text(QAccessible::Name), QStringLiteral("7(水)"));
    EXPECT_EQ(grid.verticalHeaderItem(7)->toolTip(), QStringLiteral("祝日"));
    EXPECT_EQ(grid.horizontalHeaderItem(4)->text(), QStringLiteral("出社時間"));

    // A caption is found where the heading draws it, not at the screen's top.
    grid.resize(400, 300);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    grid.move(30, 40);
    ProcessEvents();
    for (const auto& [col, row] : {std::pair{2, 0}, std::pair{0, 3}}) {
        const QRect drawn = grid.CellRect(col, row);
        ASSERT_FALSE(drawn.isEmpty()) << col << "," << row;
        EXPECT_EQ(table->tableInterface()->cellAt(row, col)->rect(),
                  QRect(grid.mapToGlobal(drawn.topLeft()), drawn.size()))
            << col << "," << row;
    }
}

TEST(StringGrid, RefusedMovesAndCellsWithoutEditorStayPut) {
    TStringGridS grid;
    FillTable(grid);
    grid.setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                         QAbstractItemView::EditKeyPressed);
    // Column 3 cannot be entered; only column 1 takes an editor.
    grid.OnSelectCell = [](int c, int) { return c != 3; };
    grid.OnCanEditCell = [](int c, int) { return c == 1; };
    grid.setFocus();
    grid.setCurrentCell(2, 2);
    ProcessEvents();
    auto atCurrentOnly = [&grid](int c, int r) {
        const QModelIndexList selected = grid.selectionModel()->selectedIndexes();
        return grid.currentColumn() == c && grid.currentRow() == r && selected.size() == 1 &&
               selected[0] == grid.currentIndex();
    };

    QTest::keyClick(&grid, Qt::Key_Right);
    EXPECT_TRUE(atCurrentOnly(2, 2)) << "the arrow key moved into a refused column";
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                      grid.visualRect(grid.model()->index(4, 3)).center());
    EXPECT_TRUE(atCurrentOnly(2, 2)) << "the click moved into a refused column";

    // Column 2 may be entered but not typed into, however the editor is asked for.
    const QPoint cell22 = grid.visualRect(grid.model()->index(2, 2)).center();
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, cell22);
    QTest::keyClick(&grid, Qt::Key_F2);
    QTest::keyClick(&grid, Qt::Key_5);
    grid.edit(grid.currentIndex());
    EXPECT_EQ(grid.findChild<QLineEdit*>(), nullptr);

    QTest::keyClick(&grid, Qt::Key_Left);
    EXPECT_TRUE(atCurrentOnly(1, 2));
    QTest::keyClick(&grid, Qt::Key_F2);
    EXPECT_NE(grid.indexWidget(grid.currentIndex()), nullptr);
}

TEST(StringGridImeTest, InputMethodOffOnGridAndEditorsEvenAfterReadOnlyToggles) {
    TStringGridS plain;
    TSinStringGrid summary;
    // Set before the rest of the grid's setup, the way a form does it.
    plain.SetImeMode(imDisable);
    summary.SetImeMode(imClose);
    for (TStringGrid* grid : std::initializer_list<TStringGrid*>{&plain, &summary}) {
        grid->setEditTriggers(QAbstractItemView::AllEditTriggers);
        grid->resize(400, 200);
        grid->show();
    }
    for (TStringGrid* grid : std::initializer_list<TStringGrid*>{&plain, &summary}) {
        for (int cell = 1; cell <= 2; ++cell) {
            grid->setCurrentCell(cell, cell);
            grid->edit(grid->currentIndex());
            auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(grid->currentIndex()));
            ASSERT_NE(editor, nullptr);
            EXPECT_FALSE(editor->testAttribute(Qt::WA_InputMethodEnabled));
            editor->setReadOnly(true);
            editor->setReadOnly(false);
            EXPECT_FALSE(editor->testAttribute(Qt::WA_InputMethodEnabled));
            EXPECT_TRUE(editor->inputMethodHints() & Qt::ImhLatinOnly);
        }
        EXPECT_FALSE(grid->testAttribute(Qt::WA_InputMethodEnabled));
        EXPECT_TRUE(grid->inputMethodHints() & Qt::ImhLatinOnly);
    }
    // Fixed cells never open an editor.
    plain.edit(plain.model()->index(0, 1));
    EXPECT_EQ(plain.indexWidget(plain.model()->index(0, 1)), nullptr);

    plain.SetImeMode(imOpen);
    EXPECT_TRUE(plain.testAttribute(Qt::WA_InputMethodEnabled));
}

}  // namespace
}  // namespace pb
