// The calculation settings dialog: what it shows from the settings file, what it
// stores, and what it must leave alone.
#include "gui/timecard/CalcSettingsDialog.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QGroupBox>
#include <QMessageBox>
#include <QRadioButton>
#include <QTest>
#include <array>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/ProgramFolder.h"
#include "gui/app/MainWindow.h"
#include "gui/controls/Pbutton.h"
#include "support/FaultyFileSystem.h"
#include "support/GuiTestSupport.h"

namespace pb {
namespace {

using test::Find;

using test::AnswerNextModal;
using test::ProgramFolder;

constexpr std::int32_t kGrey = 0x808080;
const QColor kRed(255, 0, 0);    // ValidColor 0x0000FF below
const QColor kGreen(0, 255, 0);  // InvalidColor 0x00FF00 below
const QByteArray kColours = "[FontColor]\r\nValidColor=255\r\nInvalidColor=65280\r\n";

QByteArray CalcSet(const char* overtime, const char* adjust, const char* fractions,
                   const char* endOfMonth) {
    return QByteArray("[Calc_Set]\r\nOvertimeWorkFigure=") + overtime +
           "\r\nTimeAdjustFigure=" + adjust + "\r\nFractionsHandle=" + fractions +
           "\r\nEndOfMonthPayment=" + endOfMonth + "\r\n";
}

// "Section/Key" -> value, names compared exactly as written.
std::map<std::string, std::string> Keys(const QByteArray& ini) {
    std::map<std::string, std::string> keys;
    std::string section;
    for (QByteArray line : ini.split('\n')) {
        line = line.trimmed();
        if (line.startsWith('[') && line.endsWith(']'))
            section = line.mid(1, line.size() - 2).toStdString();
        else if (const int eq = line.indexOf('='); eq > 0)
            keys[section + "/" + line.left(eq).toStdString()] = line.mid(eq + 1).toStdString();
    }
    return keys;
}

class CalcS : public ::testing::Test {
  protected:
    CalcS() { settings_.ProgramFolder = folder_.Path().toStdString(); }

    // Opens the dialog (not modal, so the test can drive it).
    std::unique_ptr<CalcSettingsDialog> Open() {
        auto dialog = std::make_unique<CalcSettingsDialog>(settings_, fs_, kGrey);
        dialog->show();
        test::ProcessEvents();
        return dialog;
    }
    static void Click(CalcSettingsDialog& dialog, const char* button) {
        test::Click(dialog, button);
        test::ProcessEvents();
    }
    static void Choose(CalcSettingsDialog& dialog, int group, int index) {
        ASSERT_NE(dialog.Item(group, index), nullptr) << group << "/" << index;
        dialog.Item(group, index)->click();
    }
    static std::array<int, 4> Shown(const CalcSettingsDialog& dialog) {
        return {dialog.ItemIndex(1), dialog.ItemIndex(2), dialog.ItemIndex(3), dialog.ItemIndex(4)};
    }

    ProgramFolder folder_;
    FaultyFileSystem fs_;
    Settings settings_;
};

TEST_F(CalcS, BuildsTheFormWithItsNamesCaptionsAndHints) {
    auto dialog = Open();
    EXPECT_EQ(dialog->windowTitle(), "計算設定");
    EXPECT_EQ(dialog->size(), QSize(268, 210));
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
    EXPECT_EQ(dialog->font().family(), "ＭＳ Ｐゴシック");
    EXPECT_EQ(dialog->font().pixelSize(), 12);
    EXPECT_EQ(dialog->property("HelpContext").toInt(), 10);

    const struct {
        const char* name;
        QString caption;
        QString hint;
    } buttons[] = {
        {"PanelButton1", "登録", "設定登録 (Ctrl+S)"},
        {"PanelButton2", "戻す", "元に戻す (Alt+R)"},
        {"PanelButton3", "中止", "設定中止 (Esc)"},
    };
    for (const auto& b : buttons) {
        auto* button = dialog->findChild<TPanelButton*>(b.name);
        ASSERT_NE(button, nullptr) << b.name;
        EXPECT_EQ(button->caption(), b.caption);
        EXPECT_EQ(button->hint(), b.hint);
        EXPECT_EQ(button->size(), QSize(40, 40));
        EXPECT_FALSE(button->glyph().isNull()) << b.name;
        EXPECT_EQ(button->accessibleDescription(), QString::fromLatin1(b.name));
    }

    const struct {
        QString caption;
        QStringList options;
    } groups[] = {
        {"残業時間区分（分）", {"1", "5", "10", "15", "20", "30"}},
        {"端数時間処理", {"四捨五入", "切り上げ", "切り捨て"}},
        {"時間調整", {"日毎", "月毎"}},
        {"月末締め支払設定", {"翌月払い", "当月払い"}},
    };
    for (int tag = 1; tag <= 4; ++tag) {
        const QString name = QStringLiteral("RadioGroup%1").arg(tag);
        auto* group = dialog->findChild<QGroupBox*>(name);
        ASSERT_NE(group, nullptr) << name.toStdString();
        EXPECT_EQ(group->title(), groups[tag - 1].caption);
        EXPECT_EQ(group->accessibleDescription(), name);
        for (int i = 0; i < groups[tag - 1].options.size(); ++i) {
            ASSERT_NE(dialog->Item(tag, i), nullptr);
            EXPECT_EQ(dialog->Item(tag, i)->text(), groups[tag - 1].options[i]);
        }
        EXPECT_EQ(dialog->Item(tag, groups[tag - 1].options.size()), nullptr);
    }
    // Two columns, filled downwards: 1 5 10 | 15 20 30; 日毎 beside 月毎.
    EXPECT_EQ(dialog->Item(1, 2)->x(), dialog->Item(1, 0)->x());
    EXPECT_GT(dialog->Item(1, 2)->y(), dialog->Item(1, 1)->y());
    EXPECT_GT(dialog->Item(1, 3)->x(), dialog->Item(1, 0)->x());
    EXPECT_EQ(dialog->Item(1, 3)->y(), dialog->Item(1, 0)->y());
    EXPECT_GT(dialog->Item(3, 1)->x(), dialog->Item(3, 0)->x());
    EXPECT_GT(dialog->Item(4, 1)->y(), dialog->Item(4, 0)->y());

    // The keys the hints name work from anywhere in the dialog.
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    QTest::keyClick(QGuiApplication::focusWindow(), Qt::Key_S, Qt::ControlModifier);
    test::ProcessEvents();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(CalcS, ShowsWhatTheFileHoldsWithTheChoiceInTheActiveColour) {
    const struct {
        const char* what;
        QByteArray ini;  // without the file when empty
        std::array<int, 4> shown;
    } cases[] = {
        {"no settings file", "", {0, 0, 0, 0}},
        {"15 minutes, truncate, per month, same month", CalcSet("15", "2", "1", "1"), {3, 2, 1, 1}},
        {"30 minutes, round up", CalcSet("30", "1", "0", "0"), {5, 1, 0, 0}},
        {"values no option stands for", CalcSet("7", "3", "-1", "2"), {-1, -1, -1, -1}},
        {"a unit of 0 is read as 1 minute", CalcSet("0", "0", "0", "0"), {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ProgramFolder folder;
        if (!c.ini.isEmpty())
            folder.Write("PBOOK2.INI", c.ini + kColours);
        settings_.ProgramFolder = folder.Path().toStdString();
        settings_.Calc_Set = {20, 1, 1, 1};  // what memory held: the file wins
        auto dialog = Open();
        EXPECT_EQ(Shown(*dialog), c.shown);

        const QColor valid = c.ini.isEmpty() ? QColor(0, 0, 128) : kRed;
        const QColor invalid = c.ini.isEmpty() ? QColor(128, 128, 128) : kGreen;
        for (int tag = 1; tag <= 4; ++tag) {
            auto* group = dialog->findChild<QGroupBox*>(QStringLiteral("RadioGroup%1").arg(tag));
            EXPECT_EQ(group->palette().color(QPalette::WindowText), valid) << tag;
            for (int i = 0; dialog->Item(tag, i) != nullptr; ++i)
                EXPECT_EQ(dialog->Item(tag, i)->palette().color(QPalette::WindowText),
                          i == c.shown[tag - 1] ? valid : invalid)
                    << tag << "/" << i;
        }
        EXPECT_FALSE(folder.Exists("PBOOK2.INI") && c.ini.isEmpty()) << "showing wrote a file";
    }
}

TEST_F(CalcS, AnotherChoiceTakesTheActiveColourFromTheOldOne) {
    folder_.Write("PBOOK2.INI", CalcSet("15", "0", "0", "0") + kColours);
    auto dialog = Open();
    Choose(*dialog, 1, 5);
    Choose(*dialog, 4, 1);
    EXPECT_EQ(dialog->Item(1, 5)->palette().color(QPalette::WindowText), kRed);
    EXPECT_EQ(dialog->Item(1, 3)->palette().color(QPalette::WindowText), kGreen);
    EXPECT_EQ(dialog->Item(4, 1)->palette().color(QPalette::WindowText), kRed);
    EXPECT_EQ(dialog->Item(4, 0)->palette().color(QPalette::WindowText), kGreen);
}

TEST_F(CalcS, StoresEachChoiceUnderItsKeyAndCloses) {
    const struct {
        std::vector<std::pair<int, int>> choices;  // group, option
        CalcSetSettings stored;
    } cases[] = {
        {{{1, 0}}, {1, 0, 0, 0}},          {{{1, 1}}, {5, 0, 0, 0}},
        {{{1, 2}}, {10, 0, 0, 0}},         {{{1, 3}}, {15, 0, 0, 0}},
        {{{1, 4}}, {20, 0, 0, 0}},         {{{1, 5}}, {30, 0, 0, 0}},
        {{{2, 1}}, {1, 1, 0, 0}},          {{{2, 2}}, {1, 2, 0, 0}},
        {{{3, 1}}, {1, 0, 1, 0}},          {{{4, 1}}, {1, 0, 0, 1}},
        {{{1, 2}, {2, 2}}, {10, 2, 0, 0}}, {{{1, 5}, {2, 1}, {3, 1}, {4, 1}}, {30, 1, 1, 1}},
    };
    for (const auto& c : cases) {
        ProgramFolder folder;
        settings_.ProgramFolder = folder.Path().toStdString();
        auto dialog = Open();
        for (const auto& [group, option] : c.choices)
            Choose(*dialog, group, option);
        Click(*dialog, "PanelButton1");

        const std::string what = std::to_string(c.stored.OvertimeWorkFigure) + "," +
                                 std::to_string(c.stored.TimeAdjustFigure) + "," +
                                 std::to_string(c.stored.FractionsHandle) + "," +
                                 std::to_string(c.stored.EndOfMonthPayment);
        SCOPED_TRACE(what);
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(settings_.Calc_Set, c.stored);
        auto keys = Keys(folder.Read("PBOOK2.INI"));
        EXPECT_EQ(keys["Calc_Set/OvertimeWorkFigure"], std::to_string(c.stored.OvertimeWorkFigure));
        EXPECT_EQ(keys["Calc_Set/TimeAdjustFigure"], std::to_string(c.stored.TimeAdjustFigure));
        EXPECT_EQ(keys["Calc_Set/FractionsHandle"], std::to_string(c.stored.FractionsHandle));
        EXPECT_EQ(keys["Calc_Set/EndOfMonthPayment"], std::to_string(c.stored.EndOfMonthPayment));
        // The whole record is written, the other sections with it.
        EXPECT_EQ(keys["Common/ClosingDay"], "20");
    }
}

TEST_F(CalcS, RevertShowsTheFileAgainAndEveryWayOutButStoreWritesNothing) {
    const QByteArray stored = CalcSet("15", "2", "1", "1") + "[Other]\r\nKept=1\r\n";
    enum class Way { Cancel, Escape, Close };
    for (Way way : {Way::Cancel, Way::Escape, Way::Close}) {
        SCOPED_TRACE(static_cast<int>(way));
        folder_.Write("PBOOK2.INI", stored);
        auto dialog = Open();
        const std::array<int, 4> fromFile = {3, 2, 1, 1};
        ASSERT_EQ(Shown(*dialog), fromFile);

        const auto changeAll = [&] {
            Choose(*dialog, 1, 0);
            Choose(*dialog, 2, 0);
            Choose(*dialog, 3, 0);
            Choose(*dialog, 4, 0);
        };
        changeAll();
        Click(*dialog, "PanelButton2");
        EXPECT_EQ(Shown(*dialog), fromFile);
        EXPECT_TRUE(dialog->isVisible());

        changeAll();
        switch (way) {
            case Way::Cancel:
                Click(*dialog, "PanelButton3");
                break;
            case Way::Escape:
                QTest::keyClick(dialog.get(), Qt::Key_Escape);
                break;
            case Way::Close:
                dialog->close();
                break;
        }
        test::ProcessEvents();
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
        EXPECT_EQ(folder_.Read("PBOOK2.INI"), stored);
        EXPECT_EQ(settings_.Calc_Set, (CalcSetSettings{15, 2, 1, 1}));
        EXPECT_EQ(fs_.MutationCount(), 0);
    }
}

TEST_F(CalcS, AValueNoOptionStandsForIsKeptByStoreAndShownAgainByRevert) {
    folder_.Write("PBOOK2.INI", CalcSet("7", "5", "0", "0"));
    auto dialog = Open();
    Choose(*dialog, 1, 2);
    Choose(*dialog, 2, 1);
    Click(*dialog, "PanelButton2");
    // Nothing chosen again: the stored values are not among the options.
    EXPECT_EQ(dialog->ItemIndex(1), -1);
    EXPECT_EQ(dialog->ItemIndex(2), -1);

    Choose(*dialog, 3, 1);
    Click(*dialog, "PanelButton1");
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    auto keys = Keys(folder_.Read("PBOOK2.INI"));
    EXPECT_EQ(keys["Calc_Set/OvertimeWorkFigure"], "7");
    EXPECT_EQ(keys["Calc_Set/TimeAdjustFigure"], "5");
    EXPECT_EQ(keys["Calc_Set/FractionsHandle"], "1");
}

// The file is replaced in one step, so a failed write leaves it whole; the dialog
// must not pretend otherwise, nor lose what the operator chose.
TEST_F(CalcS, AFailedWriteIsReportedAndLosesNothing) {
    const QByteArray stored = CalcSet("15", "0", "0", "0");
    for (const bool retry : {true, false}) {
        SCOPED_TRACE(retry ? "stored again" : "put aside");
        folder_.Write("PBOOK2.INI", stored);
        auto dialog = Open();
        Choose(*dialog, 1, 2);
        Choose(*dialog, 2, 2);
        const CalcSetSettings before = settings_.Calc_Set;

        fs_.ResetCount();
        fs_.FailAt(1);
        QString title;
        QString text;
        AnswerNextModal([&](QWidget* box) {
            title = box->windowTitle();
            text = test::MessageText(box);
            test::ClickButton(box, "OK");
        });
        Click(*dialog, "PanelButton1");
        // When the box goes, the window system activates the dialog again.
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(dialog.get(), &activate);
        test::ProcessEvents(50);

        EXPECT_EQ(title, "ｴﾗｰ");
        EXPECT_TRUE(text.contains(folder_.File("PBOOK2.INI") + " に書き込めません"))
            << text.toStdString();
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_NE(dialog->result(), QDialog::Accepted);
        EXPECT_EQ(dialog->ItemIndex(1), 2);
        EXPECT_EQ(dialog->ItemIndex(2), 2);
        EXPECT_EQ(folder_.Read("PBOOK2.INI"), stored);
        // The calculation goes on with the rules that are stored.
        EXPECT_EQ(settings_.Calc_Set, before);

        fs_.Disarm();
        if (retry) {
            Click(*dialog, "PanelButton1");
            EXPECT_EQ(dialog->result(), QDialog::Accepted);
            auto keys = Keys(folder_.Read("PBOOK2.INI"));
            EXPECT_EQ(keys["Calc_Set/OvertimeWorkFigure"], "10");
            EXPECT_EQ(keys["Calc_Set/TimeAdjustFigure"], "2");
            EXPECT_EQ(settings_.Calc_Set, (CalcSetSettings{10, 2, 0, 0}));
        } else {
            Click(*dialog, "PanelButton3");
            EXPECT_EQ(folder_.Read("PBOOK2.INI"), stored);
            EXPECT_EQ(settings_.Calc_Set, before);
        }
    }
}

TEST(CalcSFromMainWindow, SettingsButtonAndMenuOpenItModallyOnTheProgramsRecord) {
    for (const bool fromMenu : {false, true}) {
        SCOPED_TRACE(fromMenu ? "オプション → 計算設定" : "設定");
        ProgramFolder folder;
        MainWindow main(folder.Path());
        main.show();
        QString opened;
        AnswerNextModal([&](QWidget* modal) {
            opened = modal->objectName();
            auto* dialog = qobject_cast<CalcSettingsDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            EXPECT_TRUE(dialog->isModal());
            dialog->Item(1, 4)->click();
            Find<TPanelButton>(dialog, "PanelButton1")->click();
        });
        if (fromMenu)
            Find<QAction>(main, "CalcSettingsItem")->trigger();
        else
            Find<TPanelButton>(main, "PanelButton4")->click();
        EXPECT_EQ(opened, "TCalcS");
        // The main window's record is the one the calculation reads.
        EXPECT_EQ(main.CurrentSettings().Calc_Set.OvertimeWorkFigure, 20);
        EXPECT_EQ(Keys(folder.Read("PBOOK2.INI"))["Calc_Set/OvertimeWorkFigure"], "20");
    }
}

}  // namespace
}  // namespace pb
