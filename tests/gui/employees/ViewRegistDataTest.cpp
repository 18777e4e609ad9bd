// The employee viewer: both pay schemes laid out column by column, the
// combo box and the grid following each other, deletion with its question,
// and the main window's lists after it.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <string>
#include <vector>

#include "../app/ProgramFolder.h"
#include "core/store/EmployeeFiles.h"
#include "core/store/WorkDataFiles.h"
#include "gui/app/MainWindow.h"
#include "gui/controls/Pbutton.h"
#include "gui/controls/StringGrid.h"
#include "gui/employees/ViewRegistData.h"
#include "support/GuiTestSupport.h"

namespace pb::test {
namespace {

TStringGrid* Grid(QWidget* viewer) {
    return Find<TStringGrid>(viewer, "StringGrid1");
}
QComboBox* Combo(QWidget* viewer) {
    return Find<QComboBox>(viewer, "ComboBox1");
}
TPanelButton* DeleteButton(QWidget* viewer) {
    return Find<TPanelButton>(viewer, "PanelButton1");
}

void Choose(QWidget* viewer, const char* radio) {
    Find<QRadioButton>(viewer, radio)->click();
    ProcessEvents();
}

QStringList ComboItems(QWidget* viewer) {
    QStringList items;
    for (int i = 0; i < Combo(viewer)->count(); ++i)
        items << Combo(viewer)->itemText(i);
    return items;
}

// The texts of one grid column, top to bottom.
QStringList ColumnTexts(QWidget* viewer, int col) {
    QStringList texts;
    for (int row = 0; row < Grid(viewer)->RowCount(); ++row)
        texts << Grid(viewer)->Cells(col, row);
    return texts;
}

// Fails every read of one file while armed.
class FailingReads final : public ForwardingFileSystem {
  public:
    Bytes ReadAll(const std::string& p) const override {
        Check(p);
        return inner_.ReadAll(p);
    }
    Bytes ReadAt(const std::string& p, std::uint64_t o, std::size_t n) const override {
        Check(p);
        return inner_.ReadAt(p, o, n);
    }
    void ReadPieces(const std::string& p, std::uint64_t o, std::size_t n,
                    const PieceReader& read) const override {
        Check(p);
        inner_.ReadPieces(p, o, n, read);
    }

    std::string failing;

  private:
    void Check(const std::string& p) const {
        if (!failing.empty() && p == failing)
            throw FileError(p, 5, p + " を読めません。");
    }
};

class ViewRegistDataTest : public ::testing::Test {
  protected:
    ViewRegistDataTest() {
        files_ = AssignDataFiles(folder_.Path().toStdString(), fs_);
        settings_.ProgramFolder = folder_.Path().toStdString();
        settings_.FontColor.ValidColor = 0x0000FF;  // pure red
    }

    std::unique_ptr<TViewRD> OpenViewer() {
        auto viewer = std::make_unique<TViewRD>(files_, settings_);
        viewer->resize(800, 700);
        viewer->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(viewer.get()));
        return viewer;
    }

    // Writes straight into the files, in the order given.
    void AddDaily(const std::string& id, const std::string& name, DailyWagesRecord record) {
        record.ID = id;
        record.Current = 1;
        record.Generation = 1;
        WriteNameRecord(files_, {id, name, 0, 1001});
        WriteDailyRecord(files_, record, -1);
    }

    ProgramFolder folder_;
    FailingReads fs_;
    DataFiles files_;
    Settings settings_;
};

TEST_F(ViewRegistDataTest, OpensEmptyWithEveryControlNamedUntilASchemeIsChosen) {
    folder_.CopySamples();
    auto viewer = OpenViewer();
    EXPECT_EQ(viewer->windowTitle(), "登録済み従業員データ");
    EXPECT_EQ(viewer->property("HelpContext").toInt(), 4);
    for (const char* name :
         {"Panel1", "RadioButton1", "RadioButton2", "ComboBox1", "PanelButton1", "StringGrid1"}) {
        QWidget* control = Find<QWidget>(viewer.get(), name);
        EXPECT_EQ(control->accessibleDescription(), QString::fromLatin1(name));
    }
    EXPECT_FALSE(Find<QRadioButton>(viewer.get(), "RadioButton1")->isChecked());
    EXPECT_FALSE(Find<QRadioButton>(viewer.get(), "RadioButton2")->isChecked());
    EXPECT_FALSE(Grid(viewer.get())->isVisible());
    EXPECT_FALSE(Grid(viewer.get())->isEnabled());
    EXPECT_FALSE(Combo(viewer.get())->isEnabled());
    // Only listed IDs can be chosen, so the delete question names the one shown.
    EXPECT_FALSE(Combo(viewer.get())->isEditable());
    EXPECT_FALSE(DeleteButton(viewer.get())->isEnabled());
    EXPECT_EQ(DeleteButton(viewer.get())->caption(), "削除");
    EXPECT_EQ(DeleteButton(viewer.get())->hint(), "従業員データの削除");

    // The delete button keeps to the right edge.
    viewer->resize(640, 500);
    ProcessEvents();
    QWidget* panel = Find<QWidget>(viewer.get(), "Panel1");
    EXPECT_EQ(DeleteButton(viewer.get())->x(), panel->width() - 40 - 2);
}

// Label and value of one row of column 1.
struct Row {
    int row;
    const char* label;
    const char* value;
};

const Row kDailyRows[] = {
    {0, " 従業員名", "ソ表 太郎"},
    {1, " 従業員番号", "001"},
    {2, " 勤務体系", "7"},
    {3, " 締め日", "20"},
    {4, " 半休曜日", "土曜日"},
    {5, " 休日曜日", "日曜日"},
    {6, " 休日曜日", "無し"},
    {7, " 休日曜日", "無し"},
    {8, " 早出残業時給", "¥1,000"},
    {9, " \u3000 〃\u3000(休日)", "¥1,100"},
    {10, " 普通残業時給", "¥1,000"},
    {11, " \u3000 〃\u3000(休日)", "¥1,100"},
    {12, " 早朝残業時給", "¥1,100"},
    {13, " \u3000 〃\u3000(休日)", "¥1,200"},
    {14, " 深夜残業時給", "¥1,100"},
    {15, " \u3000 〃\u3000(休日)", "¥1,200"},
    {16, " 規定勤務開始時刻", "08:00"},
    {17, " 規定勤務終了時刻", "17:00"},
    {18, " \u3000 〃\u3000 (半休日)", "12:00"},
    {19, " 深夜残業区分開始時刻", "22:00"},
    {20, " 早朝残業区分終了時刻", "05:00"},
};

// The sample's hourly employee: band 1 on Sunday and band 3 on Monday differ.
const Row kHourlyRows[] = {
    {0, " 従業員名", "ｴﾗｰ 花子"},
    {1, " 従業員番号", "002"},
    {2, " 勤務体系", "19"},
    {3, " 締め日", "月末"},
    {4, " 標準時給", "¥0"},
    {5, " 時給 区分１ 日曜日", "¥2,000"},
    {6, " 時給 区分１ 月曜日", "¥1,000"},
    {11, " 時給 区分１ 土曜日", "¥1,000"},
    {12, " 時給 区分２ 日曜日", "¥1,000"},
    {19, " 時給 区分３ 日曜日", "¥1,000"},
    {20, " 時給 区分３ 月曜日", "¥1,100"},
    {25, " 時給 区分３ 土曜日", "¥1,000"},
    {26, " 区分１ 開始時刻", "08:00"},
    {27, " 区分２ 開始時刻", "17:00"},
    {28, " 区分３ 開始時刻", "20:20"},
};

TEST_F(ViewRegistDataTest, SampleEmployeesShowUnderTheirSchemes) {
    folder_.CopySamples();
    auto viewer = OpenViewer();
    struct Scheme {
        const char* radio;
        int rows;
        int labelWidth;
        std::vector<Row> expected;
    };
    const Scheme daily{"RadioButton1", 21, 140, {std::begin(kDailyRows), std::end(kDailyRows)}};
    const Scheme hourly{"RadioButton2", 29, 125, {std::begin(kHourlyRows), std::end(kHourlyRows)}};
    // Daily, hourly and daily again: switching rebuilds rows and labels.
    for (const Scheme* scheme : {&daily, &hourly, &daily}) {
        SCOPED_TRACE(scheme->radio);
        Choose(viewer.get(), scheme->radio);
        TStringGrid* grid = Grid(viewer.get());
        ASSERT_TRUE(grid->isVisible());
        EXPECT_TRUE(DeleteButton(viewer.get())->isEnabled());
        ASSERT_EQ(grid->RowCount(), scheme->rows);
        ASSERT_EQ(grid->ColCount(), 2);
        EXPECT_EQ(grid->ColWidths(0), scheme->labelWidth);
        EXPECT_EQ(grid->ColWidths(1), 145);
        for (const Row& row : scheme->expected) {
            EXPECT_EQ(grid->Cells(0, row.row), QString::fromUtf8(row.label)) << row.row;
            EXPECT_EQ(grid->Cells(1, row.row), QString::fromUtf8(row.value)) << row.row;
        }
        EXPECT_EQ(ComboItems(viewer.get()), QStringList{grid->Cells(1, 1)});
    }
}

// How many pixels of the colour lie in a cell as drawn on screen.
int PixelsOf(TStringGrid* grid, int col, int row, QColor colour) {
    const QImage image = grid->grab(grid->CellRect(col, row)).toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == colour;
    return count;
}

TEST_F(ViewRegistDataTest, SortedColumnsWithEdgeTextsFollowTheComboBoxAndTheGrid) {
    DailyWagesRecord monthEnd;  // closing at the end of the month, no half day
    monthEnd.ClosingDay = 0;
    monthEnd.HalfHoliday = -1;
    monthEnd.TimeToFinishWorkHH = -1.0;
    DailyWagesRecord fifteenth;
    fifteenth.ClosingDay = 15;
    fifteenth.HalfHoliday = 7;
    fifteenth.TimeToFinishWorkHH = 0.5;
    AddDaily("003", "三郎", monthEnd);
    AddDaily("001", "一郎", fifteenth);
    AddDaily("002", "二郎", fifteenth);

    auto viewer = OpenViewer();
    Choose(viewer.get(), "RadioButton1");
    EXPECT_EQ(ComboItems(viewer.get()), (QStringList{"001", "002", "003"}));
    // Name, ID, closing day, half day and its finish, column by column.
    const QStringList columns[] = {
        {"一郎", "001", "15", "土曜日", "12:00"},
        {"二郎", "002", "15", "土曜日", "12:00"},
        {"三郎", "003", "月末", "無し", "00:00"},
    };
    for (int c = 1; c <= 3; ++c) {
        const QStringList texts = ColumnTexts(viewer.get(), c);
        EXPECT_EQ((QStringList{texts[0], texts[1], texts[3], texts[4], texts[18]}), columns[c - 1])
            << c;
    }

    TStringGrid* grid = Grid(viewer.get());
    EXPECT_EQ(grid->currentColumn(), 1);
    Combo(viewer.get())->setCurrentIndex(2);  // 003
    ProcessEvents();
    EXPECT_EQ(grid->currentColumn(), 3);
    const QColor red(255, 0, 0);
    EXPECT_GT(PixelsOf(grid, 3, 0, red), 0) << "the chosen name is drawn in ValidColor";
    EXPECT_EQ(PixelsOf(grid, 2, 0, red), 0);

    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->model()->index(5, 2)).center());
    ProcessEvents();
    EXPECT_EQ(Combo(viewer.get())->currentText(), "002");
    EXPECT_GT(PixelsOf(grid, 2, 0, red), 0);
    EXPECT_EQ(PixelsOf(grid, 3, 0, red), 0);
}

TEST_F(ViewRegistDataTest, AReloadWritesOverTheShownColumnsAndLeavesNothingOfThem) {
    DailyWagesRecord fifteenth;
    fifteenth.ClosingDay = 15;
    AddDaily("001", "一郎", fifteenth);
    AddDaily("002", "二郎", fifteenth);
    auto viewer = OpenViewer();
    Choose(viewer.get(), "RadioButton1");
    TStringGrid* grid = Grid(viewer.get());
    ASSERT_EQ(grid->ColCount(), 3);

    // An employee without conditions in force sorts first: every column moves
    // one to the right and the first keeps none of 001's texts.
    WriteNameRecord(files_, {"000", "零", 0, 1001});
    viewer->RefreshView();
    ProcessEvents();
    ASSERT_EQ(grid->ColCount(), 4);
    QStringList nameAndIdOnly(21);
    nameAndIdOnly[0] = "零";
    nameAndIdOnly[1] = "000";
    EXPECT_EQ(ColumnTexts(viewer.get(), 1), nameAndIdOnly);
    EXPECT_EQ(ColumnTexts(viewer.get(), 3)[1], "002");
    EXPECT_EQ(ColumnTexts(viewer.get(), 3)[3], "15");
    for (int c = 1; c <= 3; ++c) {
        EXPECT_EQ(grid->ColWidths(c), 145) << c;
        // Screen readers hear the names as the column headings.
        EXPECT_EQ(grid->horizontalHeaderItem(c)->text(), grid->Cells(c, 0)) << c;
    }
    EXPECT_EQ(ComboItems(viewer.get()), (QStringList{"000", "001", "002"}));
}

TEST_F(ViewRegistDataTest, NoEmployeesOrNoWageRecordShowWhatThereIs) {
    // An empty folder: no "Name.dat" at all.
    auto viewer = OpenViewer();
    for (const char* radio : {"RadioButton1", "RadioButton2"}) {
        Choose(viewer.get(), radio);
        EXPECT_FALSE(Grid(viewer.get())->isVisible()) << radio;
        EXPECT_FALSE(Combo(viewer.get())->isEnabled()) << radio;
        EXPECT_TRUE(Combo(viewer.get())->currentText().isEmpty()) << radio;
        EXPECT_FALSE(DeleteButton(viewer.get())->isEnabled()) << radio;
    }
    // An employee whose conditions in force are missing shows name and ID only.
    WriteNameRecord(files_, {"004", "四郎", 0, 1001});
    Choose(viewer.get(), "RadioButton1");
    const QStringList texts = ColumnTexts(viewer.get(), 1);
    ASSERT_EQ(texts.size(), 21);
    EXPECT_EQ(texts[0], "四郎");
    EXPECT_EQ(texts[1], "004");
    for (int row = 2; row < texts.size(); ++row)
        EXPECT_TRUE(texts[row].isEmpty()) << row;
}

TEST_F(ViewRegistDataTest, AFileThatCannotBeReadLeavesTheViewAsItWas) {
    folder_.CopySamples();
    auto viewer = OpenViewer();
    Choose(viewer.get(), "RadioButton1");
    const QStringList before = ColumnTexts(viewer.get(), 1);

    fs_.failing = files_.NameFile;
    QString title, text;
    AnswerNextModal([&](QWidget* box) {
        title = box->windowTitle();
        text = MessageText(box);
        ClickButton(box, "OK");
    });
    Choose(viewer.get(), "RadioButton2");
    EXPECT_EQ(title, "ｴﾗｰ");
    EXPECT_TRUE(text.contains("Name.dat")) << text.toStdString();
    EXPECT_EQ(Grid(viewer.get())->RowCount(), 21);
    EXPECT_EQ(ColumnTexts(viewer.get(), 1), before);
    EXPECT_EQ(ComboItems(viewer.get()), QStringList{"001"});
}

// --- inside the main window -----------------------------------------------------

TViewRD* ViewerOf(QMdiSubWindow* child) {
    return child != nullptr ? qobject_cast<TViewRD*>(child->widget()) : nullptr;
}

TEST_F(ViewRegistDataTest, DeletingFromTheViewerAsksThenUpdatesFilesViewAndMainWindow) {
    folder_.CopySamples();
    DailyWagesRecord record;
    record.ClosingDay = 10;
    AddDaily("003", "三郎", record);
    MainWindow main(folder_.Path());
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    auto* mainIds = main.findChild<QComboBox*>("ComboBox1");
    ASSERT_EQ(mainIds->count(), 2);  // 001 and 003, daily

    Find<TPanelButton>(&main, "PanelButton5")->click();
    ProcessEvents(50);
    QMdiArea* area = main.ClientArea();
    ASSERT_EQ(area->subWindowList().size(), 1);
    TViewRD* viewer = ViewerOf(area->activeSubWindow());
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(area->activeSubWindow()->isMaximized());
    EXPECT_EQ(area->activeSubWindow()->windowTitle(), "登録済み従業員データ");
    EXPECT_EQ(main.MainWidth(), 2000);

    Choose(viewer, "RadioButton1");
    // 21 rows do not fit the window's first size: the scroll bar is there at once.
    EXPECT_TRUE(Grid(viewer)->verticalScrollBar()->isVisible());
    Combo(viewer)->setCurrentIndex(1);  // 003
    ProcessEvents();
    const QByteArray names = folder_.Read("Name.dat");
    const QByteArray months = folder_.Read("1999_fv2.pbk");

    // いいえ: nothing changes, not even the choice.
    QString asked;
    QString preferred;
    AnswerNextModal([&](QWidget* box) {
        asked = box->windowTitle() + "|" + MessageText(box);
        preferred = static_cast<QMessageBox*>(box)->defaultButton()->text();
        ClickButton(box, "いいえ(&N)");
    });
    DeleteButton(viewer)->click();
    ProcessEvents(50);
    EXPECT_EQ(asked, "確認|従業員番号 003 のデータを削除しますか？");  // no months stored
    EXPECT_EQ(preferred, "いいえ(&N)");
    EXPECT_EQ(folder_.Read("Name.dat"), names);
    EXPECT_EQ(Combo(viewer)->currentText(), "003");
    EXPECT_EQ(Grid(viewer)->currentColumn(), 2);

    // はい for 001: its column, records and months go; 003 stays.
    Combo(viewer)->setCurrentIndex(0);
    AnswerNextModal([&](QWidget* box) {
        asked = MessageText(box);
        ClickButton(box, "はい(&Y)");
    });
    DeleteButton(viewer)->click();
    ProcessEvents(50);
    EXPECT_EQ(asked, "従業員番号 001 のデータと、その勤務データ（1 か月分）を削除しますか？");
    EXPECT_EQ(ComboItems(viewer), QStringList{"003"});
    EXPECT_EQ(Grid(viewer)->ColCount(), 2);
    EXPECT_EQ(Grid(viewer)->Cells(1, 0), "三郎");
    EXPECT_FALSE(FindWagesCode(files_, "001"));
    EXPECT_FALSE(ReadMonthRecord(files_, "001", 1999, 3).has_value());
    EXPECT_TRUE(ReadMonthRecord(files_, "002", 1999, 3).has_value());
    EXPECT_NE(folder_.Read("1999_fv2.pbk"), months);
    ASSERT_EQ(mainIds->count(), 1);
    EXPECT_EQ(mainIds->itemText(0), "003");

    // The last daily employee: the grid goes, the hourly one remains.
    AnswerNextModal([](QWidget* box) { ClickButton(box, "はい(&Y)"); });
    DeleteButton(viewer)->click();
    ProcessEvents(50);
    EXPECT_FALSE(Grid(viewer)->isVisible());
    EXPECT_FALSE(DeleteButton(viewer)->isEnabled());
    EXPECT_FALSE(folder_.Exists("DailyWages.dat"));
    EXPECT_TRUE(folder_.Exists("TimeWages.dat"));
    EXPECT_EQ(mainIds->count(), 0);
    EXPECT_TRUE(Find<QLineEdit>(main, "NameEdit")->text().isEmpty());
    Choose(viewer, "RadioButton2");
    EXPECT_EQ(ComboItems(viewer), QStringList{"002"});
}

TEST_F(ViewRegistDataTest, EachActivationReadsTheFilesAgain) {
    folder_.CopySamples();
    MainWindow main(folder_.Path());
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    // Two viewers from the menu item and the button; each works on its own.
    Find<QAction>(main, "ViewerItem")->trigger();
    main.ViewerClicked();
    ProcessEvents(50);
    QMdiArea* area = main.ClientArea();
    ASSERT_EQ(area->subWindowList().size(), 2);
    TViewRD* first = ViewerOf(area->subWindowList().front());
    TViewRD* second = ViewerOf(area->subWindowList().back());
    Choose(first, "RadioButton1");
    Choose(second, "RadioButton2");
    EXPECT_EQ(ComboItems(first), QStringList{"001"});
    EXPECT_EQ(ComboItems(second), QStringList{"002"});

    main.SetMainWidth(660, false);
    AddDaily("005", "五郎", DailyWagesRecord{});
    area->setActiveSubWindow(area->subWindowList().front());
    ProcessEvents(50);
    EXPECT_EQ(main.MainWidth(), 2000);
    EXPECT_EQ(ComboItems(first), (QStringList{"001", "005"}));
    EXPECT_EQ(ComboItems(second), QStringList{"002"});

    // Ctrl+F4 closes the viewer that has the keyboard, and only that one.
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    Find<QWidget>(first, "RadioButton1")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4, Qt::ControlModifier);
    ProcessEvents(50);
    ASSERT_EQ(area->subWindowList().size(), 1);
    EXPECT_EQ(ViewerOf(area->subWindowList().front()), second);
}

}  // namespace
}  // namespace pb::test
