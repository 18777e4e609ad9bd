// The entry window inside the main window: 開始 opens it maximised, a second
// 開始 for the same selection brings it back, activation sets the width, and
// saving updates the stored-data indicator; the month's keys, and the whole
// road from the start to a saved and printed month on the keyboard alone.

#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPrinterInfo>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QWindow>

#include "core/store/WorkDataFiles.h"
#include "gui/app/MainWindow.h"
#include "gui/controls/Pbutton.h"
#include "gui/employees/InputDailyWages.h"
#include "gui/shared/MessageOperator.h"
#include "gui/timecard/EntryGridView.h"
#include "support/FaultyFileSystem.h"
#include "support/GuiTestSupport.h"
#include "timecard/EntryFixture.h"

namespace pb::test {
namespace {

void Select(MainWindow& main, const char* box, const QString& item) {
    auto* combo = main.findChild<QComboBox*>(QString::fromLatin1(box));
    ASSERT_NE(combo, nullptr) << box;
    const int index = combo->findText(item);
    ASSERT_GE(index, 0) << box << " has no " << item.toStdString();
    combo->setCurrentIndex(index);
    ProcessEvents();
}

EntryWindow* EntryOf(QMdiSubWindow* child) {
    return child != nullptr ? qobject_cast<EntryWindow*>(child->widget()) : nullptr;
}

TEST(EntryWindowMain, StartOpensOneMaximisedWindowPerSelection) {
    EntryFolder folder;
    MainWindow main(QString::fromStdString(folder.Path()));
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    QMdiArea* area = main.ClientArea();

    Select(main, "ComboBox1", QStringLiteral("001"));
    Select(main, "ComboBox2", QStringLiteral("1999"));
    Select(main, "ComboBox3", QStringLiteral(" 3月"));
    main.StartClicked();
    ProcessEvents(50);
    ASSERT_EQ(area->subWindowList().size(), 1);
    QMdiSubWindow* march = area->subWindowList().front();
    ASSERT_NE(EntryOf(march), nullptr);
    EXPECT_EQ(EntryOf(march)->EntryKey(), QStringLiteral("1001199903"));
    EXPECT_TRUE(march->isMaximized());
    EXPECT_EQ(EntryOf(march)->Month().Month, 3);  // the stored month was read
    EXPECT_EQ(main.MainWidth(), 660);

    Select(main, "ComboBox4", QStringLiteral("時給制"));
    Select(main, "ComboBox1", QStringLiteral("002"));
    Select(main, "ComboBox2", QStringLiteral("1999"));
    Select(main, "ComboBox3", QStringLiteral(" 3月"));
    main.StartClicked();
    ProcessEvents(50);
    ASSERT_EQ(area->subWindowList().size(), 2);
    EXPECT_EQ(EntryOf(area->activeSubWindow())->EntryKey(), QStringLiteral("2002199903"));
    EXPECT_EQ(main.MainWidth(), 725);

    // Activating the daily window narrows the main window again.
    area->setActiveSubWindow(march);
    ProcessEvents(50);
    EXPECT_EQ(main.MainWidth(), 660);
    area->setActiveSubWindow(area->subWindowList().back());
    ProcessEvents(50);
    EXPECT_EQ(main.MainWidth(), 725);

    // 開始 again for the daily March: the first window comes back, no third.
    Select(main, "ComboBox4", QStringLiteral("日給制"));
    Select(main, "ComboBox1", QStringLiteral("001"));
    Select(main, "ComboBox2", QStringLiteral("1999"));
    Select(main, "ComboBox3", QStringLiteral(" 3月"));
    main.StartClicked();
    ProcessEvents(50);
    EXPECT_EQ(area->subWindowList().size(), 2);
    EXPECT_EQ(area->activeSubWindow(), march);
    EXPECT_TRUE(march->isMaximized());
    EXPECT_EQ(main.MainWidth(), 660);
}

TEST(EntryWindowMain, SavingANewMonthTurnsTheIndicatorToStored) {
    EntryFolder folder;
    MainWindow main(QString::fromStdString(folder.Path()));
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    Select(main, "ComboBox1", QStringLiteral("001"));
    Select(main, "ComboBox2", QStringLiteral("1999"));
    Select(main, "ComboBox3", QStringLiteral(" 5月"));
    ASSERT_FALSE(main.MonthStored());
    main.StartClicked();
    ProcessEvents(50);
    EntryWindow* window = EntryOf(main.ClientArea()->activeSubWindow());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(InputGrid(*window)->rowCount(), 31);  // 21 April … 20 May

    ClickCell(*window, 1, 2);
    TypeKeys(*window, QStringLiteral("0700"));
    ClickCell(*window, 2, 2);
    Press(*window, "SavePB");
    EXPECT_TRUE(main.MonthStored());

    // Closed through its own 終了 button, the saved window asks nothing.
    Press(*window, "ClosePB");
    ProcessEvents(50);
    EXPECT_TRUE(main.ClientArea()->subWindowList().isEmpty());
}

// 開始 for a month of employee 001 in 1999; the window it opens.
EntryWindow* StartMonth(MainWindow& main, const QString& month) {
    Select(main, "ComboBox1", QStringLiteral("001"));
    Select(main, "ComboBox2", QStringLiteral("1999"));
    Select(main, "ComboBox3", month);
    main.StartClicked();
    ProcessEvents(50);
    return EntryOf(main.ClientArea()->activeSubWindow());
}

// Counts the main window's resizes and the paints of the entry grid's cells.
class OpeningEvents : public QObject {
  public:
    explicit OpeningEvents(QWidget* main) : main_(main) { qApp->installEventFilter(this); }
    ~OpeningEvents() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize && watched == main_)
            ++resizes;
        if (event->type() == QEvent::Paint && watched->parent() != nullptr &&
            watched->parent()->objectName() == QStringLiteral("InputGrid") &&
            watched == static_cast<QAbstractScrollArea*>(watched->parent())->viewport())
            ++cellPaints;
        return false;
    }
    int resizes = 0;
    int cellPaints = 0;

  private:
    QWidget* main_;
};

TEST(EntryWindowMain, StartMakesRoomForTheWholeMonthAsFarAsTheScreenAllows) {
    EntryFolder folder;
    MainWindow main(QString::fromStdString(folder.Path()));
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    ProcessEvents(50);
    const OpeningEvents opening(&main);
    EntryWindow* window = StartMonth(main, QStringLiteral(" 1月"));  // 21 December … 20 January
    ASSERT_NE(window, nullptr);
    // Wider and taller in one step, and the cells painted once: each resize
    // or repaint of a whole month is a wait the operator sees.
    EXPECT_EQ(opening.resizes, 1);
    EXPECT_EQ(opening.cellPaints, 1);
    ASSERT_EQ(window->DayRows(), 31);
    EntryGridView* grid = InputGrid(*window);
    const QRect room = main.screen()->availableGeometry();
    if (main.frameGeometry().height() < room.height()) {
        // Every day and the summary at once, nothing to scroll.
        EXPECT_EQ(window->height(), window->WholeMonthHeight());
        EXPECT_EQ(grid->verticalScrollBar()->maximum(), 0);
    } else {
        // A smaller screen: the window takes all of its height and stays on
        // it; the last day scrolls into view under the headings.
        EXPECT_TRUE(room.contains(main.frameGeometry()));
        EXPECT_EQ(main.frameGeometry().height(), room.height());
        grid->scrollToBottom();
        ProcessEvents();
        EXPECT_FALSE(grid->CellRect(1, 0).isEmpty());
    }
    EXPECT_FALSE(grid->CellRect(0, 31).isEmpty());
}

// The month's keys work in the child window that has the keyboard, and only
// while their button is enabled.
TEST(EntryWindowMain, KeysSaveOnlyTheActiveMonthAndOnlyWhileSavingIsAllowed) {
    EntryFolder folder;
    MainWindow main(QString::fromStdString(folder.Path()));
    main.show();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    EntryWindow* may = StartMonth(main, QStringLiteral(" 5月"));
    ASSERT_NE(may, nullptr);
    ClickCell(*may, 1, 2);
    TypeKeys(*may, QStringLiteral("0700"));
    EntryWindow* june = StartMonth(main, QStringLiteral(" 6月"));
    ASSERT_NE(june, nullptr);
    ClickCell(*june, 1, 2);
    TypeKeys(*june, QStringLiteral("0700"));
    auto* save = june->findChild<TPanelButton*>(QStringLiteral("SavePB"));
    EXPECT_EQ(save->hint(), QStringLiteral("記録 (Ctrl+S)"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(save)->text(QAccessible::Accelerator),
              QStringLiteral("Ctrl+S"));

    save->setEnabled(false);  // as in a folder another copy holds
    QTest::keyClick(QGuiApplication::focusWindow(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(june->Modified());
    save->setEnabled(true);
    QTest::keyClick(QGuiApplication::focusWindow(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(june->Modified());
    EXPECT_TRUE(may->Modified());
    EXPECT_FALSE(ReadMonthRecord(folder.Files(), "001", 1999, 5).has_value());
    // Said in the window, no box to close; the next edit takes it away.
    EXPECT_EQ(LabelText(*june, "SavedLabel"), QStringLiteral("記録しました。"));
    TypeKeys(*june, QStringLiteral("0"));
    EXPECT_EQ(LabelText(*june, "SavedLabel"), QString());
}

TEST(EntryWindowMain, ClosingTheProgramAsksForUnsavedMonths) {
    EntryFolder folder;
    const std::string before = folder.Bytes("1999_fv2.pbk");
    MainWindow main(QString::fromStdString(folder.Path()));
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    Select(main, "ComboBox1", QStringLiteral("001"));
    Select(main, "ComboBox2", QStringLiteral("1999"));
    Select(main, "ComboBox3", QStringLiteral(" 3月"));
    main.StartClicked();
    ProcessEvents(50);
    EntryWindow* window = EntryOf(main.ClientArea()->activeSubWindow());
    ASSERT_NE(window, nullptr);
    ClickCell(*window, 1, 12);
    TypeKeys(*window, QStringLiteral("0600"));
    ClickCell(*window, 2, 12);

    QString question;
    AnswerNextModal([&question](QWidget* box) {
        question = MessageText(box);
        ClickButton(box, QStringLiteral("いいえ(&N)"));
    });
    EXPECT_TRUE(main.close());
    EXPECT_EQ(question, QStringLiteral("変更されたデータを記録しますか？"));
    EXPECT_EQ(folder.Bytes("1999_fv2.pbk"), before);
}

// A file that can no longer be read after the windows opened is reported by
// the command that needed it; no command ends the program or closes a window.
TEST(EntryWindowMain, UnreadableFilesAreReportedByEachCommandAndEndNothing) {
    EntryFolder folder;
    FaultyFileSystem fs;
    MainWindow main(QString::fromStdString(folder.Path()), fs);
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    Select(main, "ComboBox1", QStringLiteral("001"));
    Select(main, "ComboBox2", QStringLiteral("1999"));
    Select(main, "ComboBox3", QStringLiteral(" 3月"));
    main.StartClicked();
    ProcessEvents(50);
    EntryWindow* window = EntryOf(main.ClientArea()->activeSubWindow());
    ASSERT_NE(window, nullptr);
    ClickCell(*window, 1, 12);
    TypeKeys(*window, QStringLiteral("0600"));
    ClickCell(*window, 2, 12);

    fs.FailReads();
    ScriptedMessages messages;
    // 計算 and 印刷 work from the calculation alone.
    Press(*window, "CalcPB");
    bool previewed = false;
    AnswerNextModal([&previewed](QWidget* preview) {
        previewed = preview->windowTitle() == QStringLiteral("印刷プレビュー");
        preview->close();
    });
    Press(*window, "PrintPB");
    EXPECT_TRUE(previewed);
    EXPECT_EQ(messages.Take(), QStringList());

    // A registration form, filled in while the files could still be read.
    fs.FailReads(0);
    MessageOperator formOp;
    TInputD form({main.Files(), main.CurrentSettings(), formOp, 0x808080});
    form.show();
    auto* idcb = form.findChild<QComboBox*>(QStringLiteral("IDCB"));
    idcb->setEditText(QStringLiteral("009"));
    form.findChild<QLineEdit*>(QStringLiteral("NameEdit"))->setText(QStringLiteral("新 人"));

    fs.FailReads();

    // 記録, 削除 and 登録 need files: each says which one and goes no further.
    const auto reported = [&messages](const char* command, const char* file) {
        const QStringList shown = messages.Take();
        EXPECT_TRUE(shown.filter(QStringLiteral("ｴﾗｰ:")).join(u'|').contains(QLatin1String(file)))
            << command << ": " << shown.join(u'|').toStdString();
    };
    Press(*window, "SavePB");
    reported("記録", "1999_fv2.pbk");
    EXPECT_TRUE(window->Modified());
    messages.Answer(Messages::Yes);  // 削除しますか？
    main.DeleteMonthClicked();
    reported("削除", "1999_fv2.pbk");
    form.findChild<TPanelButton*>(QStringLiteral("PanelButton1"))->click();
    reported("登録", "Name.dat");

    // Everything is still there; once the files can be read the month is saved.
    fs.FailReads(0);
    ASSERT_EQ(EntryOf(main.ClientArea()->activeSubWindow()), window);
    Press(*window, "SavePB");
    EXPECT_FALSE(window->Modified());
    EXPECT_EQ(ReadMonthRecord(folder.Files(), "001", 1999, 3)->Cells[0][11], "06:00");
}

// Counts the clicks and wheel turns while the keyboard road is driven.
struct MouseWatch : QObject {
    int events = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        const auto t = event->type();
        events += t == QEvent::MouseButtonPress || t == QEvent::MouseButtonRelease ||
                  t == QEvent::MouseButtonDblClick || t == QEvent::Wheel;
        return false;
    }
};

// A key as the window system delivers it: to the window that has the focus,
// whose open menu, box or focused control then gets it.
void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    ASSERT_NE(QGuiApplication::focusWindow(), nullptr);
    QTest::keyClick(QGuiApplication::focusWindow(), static_cast<Qt::Key>(key), modifiers);
    ProcessEvents(10);
}

QString Focused() {
    QWidget* w = QApplication::focusWidget();
    return w != nullptr ? w->objectName() : QString();
}

TEST(EntryWindowMain, KeyboardOnlyFromStartToASavedAndPrintedMonth) {
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        GTEST_SKIP() << "a printer is configured: the report would go to it";
    EntryFolder folder;
    MouseWatch mouse;
    qApp->installEventFilter(&mouse);
    MainWindow main(QString::fromStdString(folder.Path()));
    main.show();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));

    // ファイル(&F), right to 表示, down to 勤務データ選択パネル.
    Key(Qt::Key_F, Qt::AltModifier);
    Key(Qt::Key_Right);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    for (int i = 0; i < 4 && (menu->activeAction() == nullptr ||
                              menu->activeAction()->objectName() != "SelectionPanelItem");
         ++i)
        Key(Qt::Key_Down);
    Key(Qt::Key_Return);

    // The panel has the keyboard: 日給制, 001 and 1999 as they are, May, 開始.
    EXPECT_EQ(Focused(), QStringLiteral("ComboBox4"));
    for (int key : {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down,
                    Qt::Key_Down, Qt::Key_Tab})
        Key(key);
    ASSERT_EQ(Focused(), QStringLiteral("PanelButton10"));
    Key(Qt::Key_Space);
    EntryWindow* window = EntryOf(main.ClientArea()->activeSubWindow());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->EntryKey(), QStringLiteral("1001199905"));

    // The grid has the keyboard: the first day's clock-in, Enter, its clock-out;
    // F9 calculates with the clock-out still in its editor, Ctrl+S stores.
    ASSERT_TRUE(window->isAncestorOf(QApplication::focusWidget()));
    for (char key : std::string("0800\r1930"))
        Key(key == '\r' ? int(Qt::Key_Return) : int(key));
    Key(Qt::Key_F9);
    EXPECT_EQ(Cell(*window, 7, 1), QStringLiteral("02:30"));
    Key(Qt::Key_S, Qt::ControlModifier);
    const std::optional<MonthRecord> stored = ReadMonthRecord(folder.Files(), "001", 1999, 5);
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->Cells[0][0], "08:00");
    EXPECT_EQ(stored->Cells[1][0], "19:30");

    // Ctrl+P: the preview opens on 開始; Tab reaches 中止 and the report, which
    // Ctrl+End scrolls to its totals; Tab comes back to 開始, Enter prints
    // (into a PDF, there is no printer) and Enter closes the box naming it.
    QString opensOn;
    QString said;
    bool scrolledToTotals = false;
    AnswerNextModal([&](QWidget* preview) {
        [&] {
            ASSERT_TRUE(QTest::qWaitFor(
                [preview] { return preview->isAncestorOf(QApplication::focusWidget()); }));
            opensOn = Focused();
            Key(Qt::Key_Tab);
            Key(Qt::Key_Tab);
            ASSERT_EQ(Focused(), QStringLiteral("PrintGrid1"));
            Key(Qt::Key_End, Qt::ControlModifier);
            const QScrollBar* rows =
                preview->findChild<QAbstractScrollArea*>(QStringLiteral("PrintGrid1"))
                    ->verticalScrollBar();
            scrolledToTotals =
                rows->isVisible() && rows->maximum() > 0 && rows->value() == rows->maximum();
            Key(Qt::Key_Tab);
            AnswerNextModal(
                [&said](QWidget* box) {
                    said = MessageText(box);
                    Key(Qt::Key_Return);
                    if (box->isVisible())  // a failed step never leaves the test waiting
                        box->close();
                },
                5000, preview);
            Key(Qt::Key_Return);
        }();
        if (preview->isVisible())
            preview->close();
    });
    Key(Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(opensOn, QStringLiteral("PanelButton1"));
    EXPECT_TRUE(scrolledToTotals);
    EXPECT_TRUE(said.contains(QStringLiteral("001_"))) << said.toStdString();
    EXPECT_EQ(QDir(QString::fromStdString(folder.Path())).entryList({"001_*1999_05.pdf"}).size(),
              1);
    qApp->removeEventFilter(&mouse);
    EXPECT_EQ(mouse.events, 0);
}

}  // namespace
}  // namespace pb::test
