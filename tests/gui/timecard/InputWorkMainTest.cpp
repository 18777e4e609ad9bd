// The entry window inside the main window: 開始 opens it maximised, a second
// 開始 for the same selection brings it back, activation sets the width, and
// saving updates the stored-data indicator.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

#include "core/store/FaultyFileSystem.h"
#include "core/store/WorkDataFiles.h"
#include "gui/app/MainFrom.h"
#include "gui/controls/Pbutton.h"
#include "gui/employees/InputDailyWages.h"
#include "gui/print/StringGridS.h"
#include "gui/shared/MessageOperator.h"
#include "support/GuiTestSupport.h"
#include "timecard/EntryFixture.h"

namespace pb::test {
namespace {

void Select(TMainFrom& main, const char* box, const QString& item) {
    auto* combo = main.findChild<QComboBox*>(QString::fromLatin1(box));
    ASSERT_NE(combo, nullptr) << box;
    const int index = combo->findText(item);
    ASSERT_GE(index, 0) << box << " has no " << item.toStdString();
    combo->setCurrentIndex(index);
    ProcessEvents();
}

TInputW* EntryOf(QMdiSubWindow* child) {
    return child != nullptr ? qobject_cast<TInputW*>(child->widget()) : nullptr;
}

TEST(InputWorkMain, StartOpensOneMaximisedWindowPerSelection) {
    EntryFolder folder;
    TMainFrom main(QString::fromStdString(folder.Path()));
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    QMdiArea* area = main.ClientArea();

    Select(main, "ComboBox1", QStringLiteral("001"));
    Select(main, "ComboBox2", QStringLiteral("1999"));
    Select(main, "ComboBox3", QStringLiteral(" 3月"));
    main.PanelButton10Click();
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
    main.PanelButton10Click();
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
    main.PanelButton10Click();
    ProcessEvents(50);
    EXPECT_EQ(area->subWindowList().size(), 2);
    EXPECT_EQ(area->activeSubWindow(), march);
    EXPECT_TRUE(march->isMaximized());
    EXPECT_EQ(main.MainWidth(), 660);
}

TEST(InputWorkMain, SavingANewMonthTurnsTheIndicatorToStored) {
    EntryFolder folder;
    TMainFrom main(QString::fromStdString(folder.Path()));
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    Select(main, "ComboBox1", QStringLiteral("001"));
    Select(main, "ComboBox2", QStringLiteral("1999"));
    Select(main, "ComboBox3", QStringLiteral(" 5月"));
    ASSERT_EQ(main.MonthIcon(), QStringLiteral("1_ICON"));
    main.PanelButton10Click();
    ProcessEvents(50);
    TInputW* window = EntryOf(main.ClientArea()->activeSubWindow());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(InputGrid(*window)->rowCount(), 31);  // 21 April … 20 May

    ClickCell(*window, 1, 2);
    TypeKeys(*window, QStringLiteral("0700"));
    ClickCell(*window, 2, 2);
    Press(*window, "SavePB");
    EXPECT_EQ(main.MonthIcon(), QStringLiteral("2_ICON"));

    // Closed through its own 終了 button, the saved window asks nothing.
    Press(*window, "ClosePB");
    ProcessEvents(50);
    EXPECT_TRUE(main.ClientArea()->subWindowList().isEmpty());
}

TEST(InputWorkMain, ClosingTheProgramAsksForUnsavedMonths) {
    EntryFolder folder;
    const std::string before = folder.Bytes("1999_fv2.pbk");
    TMainFrom main(QString::fromStdString(folder.Path()));
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    Select(main, "ComboBox1", QStringLiteral("001"));
    Select(main, "ComboBox2", QStringLiteral("1999"));
    Select(main, "ComboBox3", QStringLiteral(" 3月"));
    main.PanelButton10Click();
    ProcessEvents(50);
    TInputW* window = EntryOf(main.ClientArea()->activeSubWindow());
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
TEST(InputWorkMain, UnreadableFilesAreReportedByEachCommandAndEndNothing) {
    EntryFolder folder;
    FaultyFileSystem fs;
    TMainFrom main(QString::fromStdString(folder.Path()), fs);
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    Select(main, "ComboBox1", QStringLiteral("001"));
    Select(main, "ComboBox2", QStringLiteral("1999"));
    Select(main, "ComboBox3", QStringLiteral(" 3月"));
    main.PanelButton10Click();
    ProcessEvents(50);
    TInputW* window = EntryOf(main.ClientArea()->activeSubWindow());
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
    main.PanelButton8Click();
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

}  // namespace
}  // namespace pb::test
