// The main window's selection panel against real data files.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "app/ProgramFolder.h"
#include "core/store/DailyBackup.h"
#include "core/store/DataFiles.h"
#include "core/store/EmployeeFiles.h"
#include "core/store/FolderLock.h"
#include "core/store/Records.h"
#include "core/store/WorkDataFiles.h"
#include "gui/app/HeldFolder.h"
#include "gui/app/MainWindow.h"
#include "gui/app/SelectionPanel.h"
#include "gui/controls/Pbutton.h"
#include "gui/shared/Images.h"
#include "gui/shared/MessageOperator.h"
#include "gui/shared/Text.h"
#include "gui/timecard/EntryWindow.h"
#include "support/FaultyFileSystem.h"
#include "support/GuiTestSupport.h"

namespace pb {
namespace {

using test::AnswerNextModal;
using test::ProgramFolder;

QStringList Items(QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

struct Panel {
    explicit Panel(MainWindow& main)
        : scheme(main.findChild<QComboBox*>("ComboBox4")),
          id(main.findChild<QComboBox*>("ComboBox1")),
          name(main.findChild<QLineEdit*>("NameEdit")),
          year(main.findChild<QComboBox*>("ComboBox2")),
          month(main.findChild<QComboBox*>("ComboBox3")),
          image(main.findChild<QLabel*>("Image1")),
          start(main.findChild<TPanelButton*>("PanelButton10")),
          erase(main.findChild<TPanelButton*>("PanelButton8")) {}
    QComboBox* scheme;
    QComboBox* id;
    QLineEdit* name;
    QComboBox* year;
    QComboBox* month;
    QLabel* image;
    TPanelButton* start;
    TPanelButton* erase;

    bool Shows(const QString& icon) const {
        return image->pixmap().toImage() == NamedIcon(icon).toImage();
    }
};

// The sample folder with only the April of 1999 of "001" stored.
void StoreOnlyApril1999(const ProgramFolder& folder) {
    folder.CopySamples();
    const DataFiles files = AssignDataFiles(folder.Path().toStdString());
    std::optional<MonthRecord> month = ReadMonthRecord(files, "001", 1999, 3);
    ASSERT_TRUE(month.has_value());
    month->Month = 4;
    QFile::remove(folder.File("1999_fv2.pbk"));
    MessageOperator op;
    ASSERT_TRUE(WriteMonthRecord(files, 1999, *month, op));
}

// Years of 42 months (65,856 bytes, too large for a step to read): March of
// "001" last, behind months of "100" … "140".
void StoreLargeYears(const ProgramFolder& folder, const QStringList& years) {
    folder.CopySamples();
    const DataFiles files = AssignDataFiles(folder.Path().toStdString());
    const std::optional<MonthRecord> march = ReadMonthRecord(files, "001", 1999, 3);
    ASSERT_TRUE(march.has_value());
    QByteArray year;
    for (int other = 100; other <= 141; ++other) {
        Bytes record = ToBytes(*march);
        if (other <= 140)
            for (int i = 0; i < 3; ++i)
                record[1 + i] = static_cast<std::uint8_t>(QString::number(other)[i].unicode());
        year.append(reinterpret_cast<const char*>(record.data()),
                    static_cast<qsizetype>(record.size()));
    }
    for (const QString& name : years)
        folder.Write(name + "_fv2.pbk", year);
}

// Stepping the year box reads no year file; the year it settles on is read
// once, beside the window, and the indicator and 削除 follow.
TEST(SelectionPanel, TheYearBoxReadsOnlyTheYearItSettlesOn) {
    ProgramFolder folder;
    StoreLargeYears(folder, {"1999", "2000", "2001"});
    const qint64 yearSize = QFileInfo(folder.File("1999_fv2.pbk")).size();
    ASSERT_GT(yearSize, 65536);
    FaultyFileSystem fs;
    MainWindow main(folder.Path(), fs);
    Panel panel(main);
    panel.month->setCurrentIndex(2);
    main.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return main.Settled(); }, 5000));
    EXPECT_TRUE(main.MonthStored());  // 1999, read after the first paint

    const std::uint64_t before = fs.BytesRead();
    panel.year->setCurrentIndex(1);
    panel.year->setCurrentIndex(2);
    test::ProcessEvents();
    EXPECT_EQ(fs.BytesRead(), before);
    EXPECT_FALSE(main.MonthStored());  // not known yet
    EXPECT_FALSE(panel.erase->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return main.Settled(); }, 5000));
    // A step's look (one piece), then the year once, beside the window.
    EXPECT_LE(fs.BytesRead() - before, static_cast<std::uint64_t>(yearSize) + 65536);
    EXPECT_TRUE(main.MonthStored());
    EXPECT_TRUE(panel.erase->isEnabled());
}

TEST(SelectionPanel, YearListHoldsTheWorkDataYearsSortedOrTheCurrentYear) {
    {
        ProgramFolder folder;
        MainWindow main(folder.Path());
        Panel panel(main);
        EXPECT_EQ(Items(panel.year), QStringList{QString::number(QDate::currentDate().year())});
        EXPECT_EQ(panel.year->currentIndex(), 0);
    }
    ProgramFolder folder;
    for (const char* name : {"2001_fv2.pbk", "1999_fv2.pbk", "1998_fv2.pbk", "1997_FV2.PBK",
                             "2000_PBK.tmp", "abcd_fv2.pbk"})
        folder.Write(name);
    MainWindow main(folder.Path());
    Panel panel(main);
    EXPECT_EQ(Items(panel.year), (QStringList{"1998", "1999", "2001"}));
    EXPECT_EQ(panel.year->currentText(), "1998");
}

TEST(SelectionPanel, TypedYearIsTakenOnlyWhenItIsAFourDigitYearBelow2999) {
    ProgramFolder folder;
    folder.CopySamples();
    MainWindow main(folder.Path());
    Panel panel(main);
    ASSERT_EQ(Items(panel.year), QStringList{"1999"});
    struct Case {
        QString typed;
        QStringList list;
        QString selected;
    };
    const Case cases[] = {
        {"2998", {"1999", "2998"}, "2998"},
        {"2999", {"1999", "2998"}, "2998"},
        {"abc", {"1999", "2998"}, "2998"},
        {"99", {"1999", "2998"}, "2998"},  // would name a file the scan cannot read back
        {"-5", {"1999", "2998"}, "2998"},
        {"2005", {"1999", "2005", "2998"}, "2005"},
        {"1999", {"1999", "2005", "2998"}, "1999"},
    };
    for (const Case& c : cases) {
        panel.year->setEditText(c.typed);
        QTest::keyClick(panel.year, Qt::Key_Return);
        EXPECT_EQ(Items(panel.year), c.list) << c.typed.toStdString();
        EXPECT_EQ(panel.year->itemText(panel.year->currentIndex()), c.selected)
            << c.typed.toStdString();
        // A refused year does not stay in the box.
        EXPECT_EQ(panel.year->currentText(), c.selected) << c.typed.toStdString();
    }
    // Leaving the box takes the typed year as well.
    main.show();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    panel.year->setFocus();
    panel.year->setEditText("2010");
    panel.month->setFocus();
    test::ProcessEvents(20);
    EXPECT_TRUE(Items(panel.year).contains("2010"));
}

TEST(SelectionPanel, PaySchemeChangeRefillsIDsByWagesCodeAndResetsYearAndMonth) {
    ProgramFolder folder;
    const DataFiles files = AssignDataFiles(folder.Path().toStdString());
    const std::pair<const char*, int> employees[] = {
        {"005", 1001}, {"003", 2500}, {"004", 3500}, {"001", 1000}, {"002", 1999},
    };
    for (const auto& [id, code] : employees) {
        NameRecord record;
        record.ID = id;
        record.Name = std::string("社員") + id;
        record.WagesCode = code;
        ASSERT_TRUE(WriteNameRecord(files, record));
    }
    folder.Write("2001_fv2.pbk");
    folder.Write("2000_fv2.pbk");
    MainWindow main(folder.Path());
    Panel panel(main);
    EXPECT_EQ(Items(panel.id), (QStringList{"002", "005"}));
    EXPECT_EQ(panel.name->text(), "社員002");

    panel.year->setCurrentIndex(1);
    panel.month->setCurrentIndex(6);
    panel.scheme->setCurrentIndex(1);  // 時給制
    EXPECT_EQ(Items(panel.id), (QStringList{"003", "004"}));
    EXPECT_EQ(panel.id->currentText(), "003");
    EXPECT_EQ(panel.name->text(), "社員003");
    EXPECT_EQ(panel.year->currentText(), "2000");
    EXPECT_EQ(panel.month->currentText(), " 1月");
}

TEST(SelectionPanel, StartOpensTheYearTheBoxShows) {
    ProgramFolder folder;
    folder.CopySamples();
    MainWindow main(folder.Path());
    Panel panel(main);
    auto openedKeys = [&main] {
        QStringList keys;
        for (QMdiSubWindow* child : main.ClientArea()->subWindowList())
            keys << child->widget()->toolTip();
        return keys;
    };

    // Typed without Enter, then 開始: the typed year is the one opened.
    panel.year->setEditText("2000");
    panel.start->click();
    test::ProcessEvents();
    EXPECT_EQ(openedKeys(), QStringList{"1001200001"});
    EXPECT_EQ(panel.year->currentText(), "2000");

    // A year that cannot be taken is refused before anything opens.
    QString said;
    AnswerNextModal([&said](QWidget* modal) {
        said = test::MessageText(modal);
        test::ClickButton(modal, "OK");
    });
    panel.year->setEditText("20x0");
    panel.start->click();
    EXPECT_EQ(said, "入力年度が不正です。");
    EXPECT_EQ(openedKeys(), QStringList{"1001200001"});
    EXPECT_EQ(panel.year->currentText(), "2000");
}

TEST(SelectionPanel, KeyboardReachesStartAndDeleteAndTheMenuHasBoth) {
    ProgramFolder folder;
    folder.CopySamples();  // March 1999 of 001 is stored
    MainWindow main(folder.Path());
    Panel panel(main);
    main.SelectionPanelClicked();
    main.show();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    auto* startItem = main.findChild<QAction*>("StartItem");
    auto* deleteItem = main.findChild<QAction*>("DeleteMonthItem");
    ASSERT_NE(startItem, nullptr);
    ASSERT_NE(deleteItem, nullptr);
    EXPECT_TRUE(startItem->isEnabled());
    EXPECT_FALSE(deleteItem->isEnabled());  // January: nothing stored

    panel.month->setFocus();
    QTest::keyClick(panel.month, Qt::Key_Down);
    QTest::keyClick(panel.month, Qt::Key_Down);  // March
    EXPECT_TRUE(deleteItem->isEnabled());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), panel.start);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), panel.erase);

    QString asked;
    AnswerNextModal([&asked](QWidget* modal) {
        asked = test::MessageText(modal);
        test::ClickButton(modal, "いいえ(&N)");
    });
    QTest::keyClick(panel.erase, Qt::Key_Space);
    EXPECT_EQ(asked, "従業員番号 001 の 1999 年  3月 のデータを削除しますか？");

    startItem->trigger();
    test::ProcessEvents();
    ASSERT_EQ(main.ClientArea()->subWindowList().size(), 1);
    EXPECT_EQ(main.ClientArea()->subWindowList().front()->widget()->toolTip(), "1001199903");
}

TEST(SelectionPanel, StartIsDisabledWithoutAName) {
    ProgramFolder folder;
    folder.CopySamples();
    MainWindow main(folder.Path());
    Panel panel(main);
    ASSERT_FALSE(panel.name->text().isEmpty());
    EXPECT_TRUE(panel.start->isEnabled());

    ProgramFolder empty;
    MainWindow nobody(empty.Path());
    Panel none(nobody);
    EXPECT_EQ(none.id->count(), 0);
    EXPECT_TRUE(none.name->text().isEmpty());
    EXPECT_FALSE(none.start->isEnabled());
}

TEST(SelectionPanel, DeletingTheStoredMonthAsksAndPurgesIt) {
    ProgramFolder folder;
    StoreOnlyApril1999(folder);
    folder.Write("2001_fv2.pbk");
    MainWindow main(folder.Path());
    Panel panel(main);
    ASSERT_EQ(panel.id->currentText(), "001");
    ASSERT_EQ(panel.year->currentText(), "1999");
    EXPECT_FALSE(panel.erase->isEnabled());  // January: nothing stored
    panel.month->setCurrentIndex(3);
    EXPECT_TRUE(main.MonthStored());
    EXPECT_TRUE(panel.erase->isEnabled());

    QString question;
    AnswerNextModal([&](QWidget* modal) {
        question = test::MessageText(modal);
        EXPECT_EQ(modal->windowTitle(), "確認");
        test::ClickButton(modal, "いいえ(&N)");
    });
    panel.erase->click();
    EXPECT_EQ(question, "従業員番号 001 の 1999 年  4月 のデータを削除しますか？");
    EXPECT_TRUE(folder.Exists("1999_fv2.pbk"));
    EXPECT_TRUE(main.MonthStored());

    AnswerNextModal([](QWidget* modal) { test::ClickButton(modal, "はい(&Y)"); });
    panel.erase->click();
    EXPECT_FALSE(folder.Exists("1999_fv2.pbk"));  // its last month
    EXPECT_EQ(Items(panel.year), QStringList{"2001"});
    EXPECT_FALSE(main.MonthStored());
    EXPECT_FALSE(panel.erase->isEnabled());
}

TEST(SelectionPanel, DeletingOneOfSeveralMonthsKeepsTheYear) {
    ProgramFolder folder;
    folder.CopySamples();  // March 1999 of 001 and 002
    MainWindow main(folder.Path());
    Panel panel(main);
    panel.month->setCurrentIndex(2);
    ASSERT_TRUE(panel.erase->isEnabled());
    AnswerNextModal([](QWidget* modal) { test::ClickButton(modal, "はい(&Y)"); });
    panel.erase->click();
    EXPECT_EQ(Items(panel.year), QStringList{"1999"});
    EXPECT_EQ(QFileInfo(folder.File("1999_fv2.pbk")).size(), 1568);
}

TEST(SelectionPanel, DeletingAMonthClosesItsEntryWindowAfterItsOwnQuestion) {
    ProgramFolder folder;
    folder.CopySamples();  // March 1999 of 001 and 002
    MainWindow main(folder.Path());
    Panel panel(main);
    panel.month->setCurrentIndex(2);
    panel.start->click();
    test::ProcessEvents();
    ASSERT_EQ(main.ClientArea()->subWindowList().size(), 1);
    auto* entry = qobject_cast<EntryWindow*>(main.ClientArea()->subWindowList().front()->widget());
    ASSERT_NE(entry, nullptr);
    auto* grid = test::Find<QTableView>(entry, "InputGrid");
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_1);  // an unsaved edit
    test::ProcessEvents();
    ASSERT_TRUE(entry->Modified());

    test::ScriptedMessages boxes;
    boxes.Answer(Messages::Yes);  // 削除しますか？
    boxes.Answer(Messages::No);   // the window's own question
    panel.erase->click();
    test::ProcessEvents();
    ASSERT_EQ(boxes.Shown().size(), 2);
    EXPECT_TRUE(boxes.Shown()[1].endsWith("変更されたデータを記録しますか？"))
        << boxes.Shown()[1].toStdString();
    EXPECT_TRUE(main.ClientArea()->subWindowList().isEmpty());
    EXPECT_EQ(QFileInfo(folder.File("1999_fv2.pbk")).size(), 1568);
    EXPECT_FALSE(main.MonthStored());
}

TEST(SelectionPanel, AFailedDeletionIsReportedAndKeepsTheMonth) {
    ProgramFolder folder;
    folder.CopySamples();
    const QByteArray before = folder.Read("1999_fv2.pbk");
    FaultyFileSystem fs;
    MainWindow main(folder.Path(), fs);
    Panel panel(main);
    panel.month->setCurrentIndex(2);
    BackUpBeforeChange(main.Files());  // today's backup is there: the failure is the deletion's
    fs.FailAt(1);
    QString error;
    AnswerNextModal([&](QWidget* modal) {
        AnswerNextModal([&](QWidget* box) {
            error = box->windowTitle();
            test::ClickButton(box, "OK");
        });
        test::ClickButton(modal, "はい(&Y)");
    });
    panel.erase->click();
    EXPECT_EQ(error, "ｴﾗｰ");
    EXPECT_EQ(folder.Read("1999_fv2.pbk"), before);
    EXPECT_TRUE(main.MonthStored());
}

TEST(SelectionPanel, IndicatorBlinksWhileDataIsStoredAndSettlesWithout) {
    ProgramFolder folder;
    folder.CopySamples();
    MainWindow main(folder.Path());
    Panel panel(main);
    auto* timer = main.findChild<QTimer*>("Timer1");
    ASSERT_NE(timer, nullptr);
    auto* indicator = test::Find<SelectionPanel>(main, "SelectionPanel");
    EXPECT_EQ(timer->interval(), 500);
    EXPECT_TRUE(timer->isActive());

    panel.month->setCurrentIndex(2);  // March 1999 is stored
    QStringList shown;
    for (int tick = 0; tick < 4; ++tick) {
        indicator->Blink();
        shown << (panel.Shows("2_ICON") ? "2" : panel.Shows("1_ICON") ? "1" : "?");
        EXPECT_EQ(panel.image->toolTip(), "登録されたデータが有ります");
    }
    EXPECT_EQ(shown, (QStringList{"2", "1", "2", "1"}));

    indicator->Blink();               // shows 2_ICON again
    panel.month->setCurrentIndex(3);  // April: nothing stored
    indicator->Blink();
    EXPECT_TRUE(panel.Shows("1_ICON"));
    for (int tick = 0; tick < 3; ++tick) {
        indicator->Blink();
        EXPECT_TRUE(panel.Shows("1_ICON"));
        EXPECT_EQ(panel.image->toolTip(), "登録されたデータは有りません");
    }

    // And the real timer drives it.
    panel.month->setCurrentIndex(2);
    int changes = 0;
    bool two = panel.Shows("2_ICON");
    for (int waited = 0; waited < 4000 && changes < 2; waited += 50) {
        test::ProcessEvents(50);
        if (panel.Shows("2_ICON") != two) {
            ++changes;
            two = !two;
        }
    }
    EXPECT_GE(changes, 2);
}

// A copy that opened the folder read-only follows the copy that writes it (here
// this process through a lock and files of its own): the stored-month mark, an
// open month stored anew (read again on yes, typed edits kept), and once the
// folder frees it offers to write, once until the folder is taken and freed again.
TEST(SelectionPanel, AReadOnlyCopyFollowsTheWriterAndWritesOnceTheFolderFrees) {
    ProgramFolder folder;
    StoreOnlyApril1999(folder);
    test::ScriptedMessages boxes;
    MessageOperator op;
    LockOutcome writer = LockProgramFolder(RealFileSystem(), S(folder.Path()), op);
    ASSERT_NE(writer.lock, nullptr);
    const DataFiles written = AssignDataFiles(S(folder.Path()));
    MonthRecord april = *ReadMonthRecord(written, "001", 1999, 4);

    HeldFolder held(folder.Path(), nullptr);
    held.Take(op);
    ASSERT_FALSE(held.Holds());
    MainWindow main(folder.Path(), held.Door());
    main.SetReadOnly();
    held.Serve(main);
    Panel panel(main);
    test::ProcessEvents();
    boxes.Take();

    panel.month->setCurrentIndex(4);
    EXPECT_FALSE(main.MonthStored());
    MonthRecord may = april;
    may.Month = 5;
    ASSERT_TRUE(WriteMonthRecord(written, 1999, may, op));
    main.LookAtFolder();
    EXPECT_TRUE(main.MonthStored());

    panel.month->setCurrentIndex(3);
    panel.start->click();
    test::ProcessEvents();
    const auto entry = [&] {
        return qobject_cast<EntryWindow*>(main.ClientArea()->subWindowList().front()->widget());
    };
    april.TotalOverPay += 100;
    ASSERT_TRUE(WriteMonthRecord(written, 1999, april, op));
    boxes.Answer(Messages::Yes);
    main.LookAtFolder();
    test::ProcessEvents();
    EXPECT_EQ(boxes.Take(),
              QStringList{"確認:別のパソコンでこの月が記録されました。読み込み直しますか？"});
    ASSERT_EQ(main.ClientArea()->subWindowList().size(), 1);
    EXPECT_EQ(entry()->Month(), april);

    auto* grid = test::Find<QTableView>(entry(), "InputGrid");
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_1);
    test::ProcessEvents();
    EntryWindow* typed = entry();
    april.TotalOverPay += 100;
    ASSERT_TRUE(WriteMonthRecord(written, 1999, april, op));
    main.LookAtFolder();
    main.LookAtFolder();  // told once
    EXPECT_EQ(boxes.Take(), QStringList{"情報:別のパソコンでこの月が記録されました。\n"
                                        "入力中のデータはそのまま残します。"});
    EXPECT_EQ(entry(), typed);
    EXPECT_TRUE(typed->Modified());

    const QString offer = QStringLiteral("確認:書き込みできるようになりました。切り替えますか？");
    writer.lock.reset();
    boxes.Answer(Messages::No);
    main.LookAtFolder();
    main.LookAtFolder();
    EXPECT_EQ(boxes.Take(), QStringList{offer});
    writer = LockProgramFolder(RealFileSystem(), S(folder.Path()), op);
    main.LookAtFolder();
    writer.lock.reset();
    boxes.Answer(Messages::Yes);
    main.LookAtFolder();
    EXPECT_EQ(boxes.Take(), QStringList{offer});
    EXPECT_TRUE(held.Holds());
    EXPECT_FALSE(main.ReadOnly());
    EXPECT_EQ(main.windowTitle(), "Punchbook 2.0");
    EXPECT_TRUE(test::Find<TPanelButton>(main, "PanelButton1")->isEnabled());
    EXPECT_TRUE(test::Find<QAction>(main, "ImportItem")->isEnabled());
    EXPECT_TRUE(test::Find<TPanelButton>(typed, "SavePB")->isEnabled());

    panel.month->setCurrentIndex(4);
    ASSERT_TRUE(panel.erase->isEnabled());
    boxes.Answer(Messages::Yes);
    panel.erase->click();
    EXPECT_FALSE(ReadMonthRecord(written, "001", 1999, 5).has_value());
}

}  // namespace
}  // namespace pb
