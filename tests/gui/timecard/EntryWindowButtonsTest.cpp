// The entry window's buttons and its close question: what reaches the file,
// what is asked, and what 消去 and 戻す do to the grid.

#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include "core/store/WorkDataFiles.h"
#include "gui/controls/Pbutton.h"
#include "gui/print/PrintGrid.h"
#include "gui/timecard/EntryGridView.h"
#include "support/FaultyFileSystem.h"
#include "support/GuiTestSupport.h"
#include "timecard/EntryFixture.h"

namespace pb::test {
namespace {

constexpr std::size_t kYearFileOfTwo = 2 * kMonthRecordSize;

// Fails the test when any modal box shows up while `action` runs.
void ExpectNoQuestion(const std::function<void()>& action) {
    bool asked = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&asked] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            asked = true;
            modal->close();
        }
    });
    watch.start(10);
    action();
    ProcessEvents(50);
    EXPECT_FALSE(asked);
}

QStringList GridTexts(EntryWindow& window) {
    QStringList texts;
    for (int r = 1; r < InputGrid(window)->rowCount(); ++r)
        for (int c = 1; c < InputGrid(window)->columnCount(); ++c)
            texts << Cell(window, c, r);
    return texts;
}

TEST(EntryWindowButtons, SaveWritesTheMonthOnceWhateverTheNumberOfSaves) {
    EntryFolder folder;
    auto window = folder.Open("001", 1999, 4, true);
    ClickCell(*window, 1, 2);
    TypeKeys(*window, QStringLiteral("0410"));
    ClickCell(*window, 2, 2);
    TypeKeys(*window, QStringLiteral("2340"));
    ClickCell(*window, 1, 3);
    TypeKeys(*window, QStringLiteral("1 3"));  // left half-typed: emptied on saving

    for (int save = 1; save <= 2; ++save) {
        SCOPED_TRACE(save);
        if (save == 1)  // the half-typed time is named and let go
            AnswerNextModal([](QWidget* box) { ClickButton(box, QStringLiteral("はい(&Y)")); });
        Press(*window, "SavePB");
        EXPECT_EQ(folder.Bytes("1999_fv2.pbk").size(), kYearFileOfTwo + kMonthRecordSize);
        EXPECT_FALSE(window->Modified());
    }

    const auto stored = ReadMonthRecord(folder.Files(), "001", 1999, 4);
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->ID, "001");
    EXPECT_EQ(stored->PayScheme, 1);
    EXPECT_EQ(stored->WagesGeneration, 0);
    EXPECT_EQ(stored->Month, 4);
    EXPECT_EQ(stored->DayCount, 31);
    const std::vector<std::string> day2 = {"04:10", "23:40", "00:45", "03:00",
                                           "05:00", "01:45", "10:30", ""};
    for (int c = 1; c <= 8; ++c)
        EXPECT_EQ(stored->Cells[c - 1][1], day2[c - 1]) << c;
    EXPECT_EQ(stored->Cells[0][2], "");
    EXPECT_EQ(Cell(*window, 1, 3), QString());
    EXPECT_EQ(stored->WorkDays, 1);
    EXPECT_EQ(stored->TotalOverMinutes, 630);
    EXPECT_EQ(stored->TotalOverPay, std::stoi(LabelText(*window, "TotalOverPayLabel")
                                                  .remove(QChar(u'¥'))
                                                  .remove(QChar(u','))
                                                  .toStdString()));
    EXPECT_EQ(stored->HolidayWorkDays, 0);
    EXPECT_EQ(stored->HolidayMinutes, 0);
}

TEST(EntryWindowButtons, ABadTimeEmptiedBySavingNoLongerHoldsTheCursor) {
    EntryFolder folder;
    auto window = folder.Open("001", 1999, 4, true);
    const std::string before = folder.Bytes("1999_fv2.pbk");
    ClickCell(*window, 1, 4);
    TypeKeys(*window, QStringLiteral("2500"));
    // The operator is shown what would be dropped and may stop.
    QString asked;
    AnswerNextModal([&asked](QWidget* box) {
        asked = MessageText(box);
        ClickButton(box, QStringLiteral("いいえ(&N)"));
    });
    Press(*window, "SavePB");
    EXPECT_TRUE(asked.contains(QStringLiteral("03/24(水)　出社時間　《 25:00 》")))
        << asked.toStdString();
    EXPECT_EQ(folder.Bytes("1999_fv2.pbk"), before);
    EXPECT_TRUE(window->Modified());
    AnswerNextModal([](QWidget* box) { ClickButton(box, QStringLiteral("はい(&Y)")); });
    Press(*window, "SavePB");
    EXPECT_EQ(Cell(*window, 1, 4), QString());
    EXPECT_FALSE(window->Modified());
    ExpectNoQuestion([&] { ClickCell(*window, 2, 4); });
    EXPECT_EQ(CurrentCell(*window), std::make_pair(2, 4));
}

TEST(EntryWindowButtons, SaveKeepsComputedTotalsOfADayOrMore) {
    EntryFolder folder;
    auto window = folder.Open("002", 1999, 3, false);
    ASSERT_EQ(Cell(*window, 8, 3), QStringLiteral("24:00"));  // 09:00 to 09:00
    Press(*window, "SavePB");
    const auto stored = ReadMonthRecord(folder.Files(), "002", 1999, 3);
    EXPECT_EQ(stored->Cells[7][2], "24:00");
    EXPECT_EQ(stored->Cells[0][2], "09:00");
    EXPECT_EQ(Cell(*window, 8, 3), QStringLiteral("24:00"));
}

TEST(EntryWindowButtons, PrintShowsTheMonthAsItWouldBeStoredAndWritesNothing) {
    EntryFolder folder;
    const std::string before = folder.Bytes("1999_fv2.pbk");
    auto window = folder.Open("001", 1999, 3, false);
    ClickCell(*window, 1, 9);
    TypeKeys(*window, QStringLiteral("2500"));  // never printed: emptied first

    QString title;
    int rows = 0;
    QStringList firstDay;
    QString total;
    auto preview = [&](QWidget* dialog) {
        title = dialog->windowTitle();
        auto* grid = dialog->findChild<PrintGrid*>(QStringLiteral("PrintGrid1"));
        ASSERT_NE(grid, nullptr);
        rows = grid->rowCount();
        for (int c = 0; c <= 7; ++c)
            firstDay << grid->Cells(c, 1);
        total = grid->Cells(7, rows - 1);
        Find<TPanelButton>(dialog, QStringLiteral("PanelButton2"))->click();
    };
    // The bad time is named first; はい goes on to the preview.
    QString asked;
    AnswerNextModal([&](QWidget* box) {
        asked = MessageText(box);
        AnswerNextModal(preview, 5000, box);
        ClickButton(box, QStringLiteral("はい(&Y)"));
    });
    Press(*window, "PrintPB");
    EXPECT_TRUE(asked.contains(QStringLiteral("《 25:00 》")));
    EXPECT_EQ(title, QStringLiteral("印刷プレビュー"));
    EXPECT_EQ(rows, 29 + 7);  // 28 days with weekly holidays
    EXPECT_EQ(firstDay.join(u'|'),
              QStringLiteral("02/21(日)|04:10|23:40|00:45|03:00|05:00|01:45|10:30"));
    EXPECT_EQ(total, QStringLiteral("¥46,900"));
    EXPECT_EQ(Cell(*window, 1, 9), QString());
    EXPECT_EQ(folder.Bytes("1999_fv2.pbk"), before);
}

TEST(EntryWindowButtons, ClosingAfterAnEditAsksAndNoKeepsTheFile) {
    EntryFolder folder;
    const std::string before = folder.Bytes("1999_fv2.pbk");
    auto window = folder.Open("001", 1999, 3, false);
    ClickCell(*window, 1, 10);
    TypeKeys(*window, QStringLiteral("0700"));
    ClickCell(*window, 2, 10);

    QString question;
    AnswerNextModal([&question](QWidget* box) {
        question = MessageText(box);
        ClickButton(box, QStringLiteral("いいえ(&N)"));
    });
    EXPECT_TRUE(window->close());
    EXPECT_EQ(question, QStringLiteral("変更されたデータを記録しますか？"));
    EXPECT_EQ(folder.Bytes("1999_fv2.pbk"), before);
}

TEST(EntryWindowButtons, ClosingAfterAnEditAndYesSaves) {
    EntryFolder folder;
    auto window = folder.Open("001", 1999, 3, false);
    ClickCell(*window, 1, 10);
    TypeKeys(*window, QStringLiteral("0700"));
    ClickCell(*window, 2, 10);
    AnswerNextModal([](QWidget* box) { ClickButton(box, QStringLiteral("はい(&Y)")); });
    EXPECT_TRUE(window->close());
    EXPECT_EQ(ReadMonthRecord(folder.Files(), "001", 1999, 3)->Cells[0][9], "07:00");
}

// 消去, answered with `answer`; returns the question asked.
QString Clear(EntryWindow& window, const QString& answer) {
    QString asked;
    AnswerNextModal([&asked, answer](QWidget* box) {
        asked = MessageText(box);
        ClickButton(box, answer);
    });
    Press(window, "PanelButton9");
    return asked;
}

TEST(EntryWindowButtons, ClearAsksFirstThenCloseAsksNothingAndWritesNothing) {
    EntryFolder folder;
    const std::string before = folder.Bytes("1999_fv2.pbk");
    auto window = folder.Open("001", 1999, 3, false);
    const QStringList opened = GridTexts(*window);
    // The hints of the day rows' figures, made when asked for.
    auto figureHints = [&window] {
        QString hints;
        for (int r = 1; r < InputGrid(*window)->rowCount(); ++r)
            for (int c = 3; c < InputGrid(*window)->columnCount(); ++c)
                hints += CellHint(*window, c, r);
        return hints;
    };
    EXPECT_FALSE(figureHints().isEmpty());
    EXPECT_EQ(Clear(*window, QStringLiteral("いいえ(&N)")),
              QStringLiteral("全入力データを消去しますか？"));
    EXPECT_EQ(GridTexts(*window), opened);
    Clear(*window, QStringLiteral("はい(&Y)"));
    for (const QString& text : GridTexts(*window))
        ASSERT_TRUE(text.isEmpty());
    EXPECT_EQ(figureHints(), QString()) << "the explanations go with the figures";
    EXPECT_EQ(Cell(*window, 1, 0), QStringLiteral("出社時間"));
    EXPECT_EQ(LabelText(*window, "TotalOverMinutesLabel"), QStringLiteral("00:00"));
    EXPECT_EQ(LabelText(*window, "TotalOverPayLabel"), QStringLiteral("¥0"));
    EXPECT_EQ(LabelText(*window, "WorkDaysLabel"), QStringLiteral("0"));
    ExpectNoQuestion([&] { EXPECT_TRUE(window->close()); });
    EXPECT_EQ(folder.Bytes("1999_fv2.pbk"), before);
}

TEST(EntryWindowButtons, SaveAfterClearStoresTheEmptiedMonth) {
    EntryFolder folder;
    auto filledCells = [&folder] {
        int filled = 0;
        for (const auto& column : ReadMonthRecord(folder.Files(), "001", 1999, 3)->Cells)
            for (const std::string& text : column)
                filled += text.empty() ? 0 : 1;
        return filled;
    };
    auto window = folder.Open("001", 1999, 3, false);
    ASSERT_GT(filledCells(), 0);
    Clear(*window, QStringLiteral("はい(&Y)"));
    Press(*window, "SavePB");
    EXPECT_EQ(filledCells(), 0);
    const auto stored = ReadMonthRecord(folder.Files(), "001", 1999, 3);
    EXPECT_EQ(stored->WorkDays, 0);
}

// Opens the grid's menu as the menu key does, chooses `command` with the arrow
// keys and Enter, and gives back the menu's items.
QStringList ChooseFromGridMenu(EntryWindow& window, const QString& command) {
    QStringList items;
    QTimer::singleShot(20, [&items, command] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr)
            return;
        for (QAction* item : menu->actions())
            items << item->text() + (item->isEnabled() ? QString() : QStringLiteral(" (off)"));
        for (int i = 0; i < 6 && (menu->activeAction() == nullptr ||
                                  !menu->activeAction()->text().startsWith(command));
             ++i)
            QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    QWidget* grid = InputGrid(window);
    QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(40, 40),
                              grid->mapToGlobal(QPoint(40, 40)));
    QApplication::sendEvent(grid, &menuKey);
    ProcessEvents();
    return items;
}

TEST(EntryWindowButtons, RestoreBringsBackTheMonthAfterClearOrEdits) {
    EntryFolder folder;
    auto window = folder.Open("001", 1999, 3, false);
    const QStringList opened = GridTexts(*window);
    const QString total = LabelText(*window, "TotalOverPayLabel");

    Clear(*window, QStringLiteral("はい(&Y)"));
    Press(*window, "PanelButton1");
    EXPECT_EQ(GridTexts(*window), opened);
    EXPECT_EQ(LabelText(*window, "TotalOverPayLabel"), total);

    ClickCell(*window, 2, 1);
    TypeKeys(*window, QStringLiteral("2350"));
    ClickCell(*window, 1, 2);
    ASSERT_NE(GridTexts(*window), opened);
    // This time from the keyboard: the grid's menu holds the six commands.
    window->findChild<TPanelButton*>(QStringLiteral("SavePB"))->setEnabled(false);
    EXPECT_EQ(ChooseFromGridMenu(*window, QStringLiteral("戻す")),
              QStringList({"計算\tF9", "記録\tCtrl+S (off)", "印刷\tCtrl+P", "消去", "戻す", "",
                           "元に戻す\tCtrl+Z", "やり直し\tCtrl+Y (off)", "",
                           "年間集計\tCtrl+Shift+Y", "", "中止"}));
    EXPECT_EQ(GridTexts(*window), opened);
    EXPECT_TRUE(window->Modified());  // 戻す is not a save
}

TEST(EntryWindowButtons, UndoAndRedoStepThroughEditsAndClear) {
    EntryFolder folder;
    auto window = folder.Open("001", 1999, 3, false);
    const QStringList opened = GridTexts(*window);
    const QString openedTotal = LabelText(*window, "TotalOverPayLabel");
    auto ctrl = [](int key) {
        QTest::keyClick(QGuiApplication::focusWindow(), key, Qt::ControlModifier);
        ProcessEvents();
    };

    ClickCell(*window, 2, 1);
    TypeKeys(*window, QStringLiteral("2350"));
    ClickCell(*window, 2, 2);
    const QStringList one = GridTexts(*window);
    const QString oneTotal = LabelText(*window, "TotalOverPayLabel");
    ASSERT_NE(one, opened);
    TypeKeys(*window, QStringLiteral("2359"));
    ClickCell(*window, 1, 3);
    ASSERT_NE(GridTexts(*window), one);

    ctrl(Qt::Key_Z);
    EXPECT_EQ(GridTexts(*window), one);
    ctrl(Qt::Key_Z);
    EXPECT_EQ(GridTexts(*window), opened);
    EXPECT_EQ(LabelText(*window, "TotalOverPayLabel"), openedTotal);
    ctrl(Qt::Key_Z);  // nothing more to undo
    EXPECT_EQ(GridTexts(*window), opened);
    ctrl(Qt::Key_Y);
    EXPECT_EQ(GridTexts(*window), one);
    EXPECT_EQ(LabelText(*window, "TotalOverPayLabel"), oneTotal);
    EXPECT_TRUE(window->Modified());

    // 消去 is one step, taken back from the grid's menu.
    Clear(*window, QStringLiteral("はい(&Y)"));
    ChooseFromGridMenu(*window, QStringLiteral("元に戻す"));
    EXPECT_EQ(GridTexts(*window), one);
    EXPECT_EQ(LabelText(*window, "TotalOverPayLabel"), oneTotal);
}

TEST(EntryWindowButtons, AFailedSaveIsReportedAndKeepsTheWindowOpen) {
    EntryFolder folder;
    FaultyFileSystem faulty;
    auto window = folder.Open("001", 1999, 3, false, &faulty);
    const std::string before = folder.Bytes("1999_fv2.pbk");
    ClickCell(*window, 1, 10);
    TypeKeys(*window, QStringLiteral("0700"));
    ClickCell(*window, 2, 10);

    faulty.FailAt(1);
    QString error;
    AnswerNextModal([&error](QWidget* question) {
        AnswerNextModal([&error](QWidget* box) {
            error = MessageText(box);
            ClickButton(box, QStringLiteral("OK"));
        });
        ClickButton(question, QStringLiteral("はい(&Y)"));
    });
    EXPECT_FALSE(window->close());
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(window->Modified());
    EXPECT_EQ(folder.Bytes("1999_fv2.pbk"), before);

    // Once the file can be written, saving works and the window closes.
    faulty.Disarm();
    Press(*window, "SavePB");
    EXPECT_FALSE(window->Modified());
    EXPECT_EQ(ReadMonthRecord(folder.Files(), "001", 1999, 3)->Cells[0][9], "07:00");
    ExpectNoQuestion([&] { EXPECT_TRUE(window->close()); });
}

}  // namespace
}  // namespace pb::test
