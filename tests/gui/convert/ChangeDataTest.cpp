// The data conversion dialog over a program folder holding old files.
#include "gui/convert/ChangeData.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

#include "../../core/convert/OldFiles.h"
#include "app/ProgramFolder.h"
#include "core/store/EmployeeFiles.h"
#include "gui/app/MainWindow.h"
#include "gui/controls/Pbutton.h"
#include "support/GuiTestSupport.h"

namespace pb {
namespace {

using test::Find;

class ChangeDataTest : public ::testing::Test {
  protected:
    void SetUp() override {
        files_ = AssignDataFiles(dir_.path().toStdString() + "/");
        RealFileSystem().Replace(files_.Folder + "HIREDATA.DAT",
                                 old::Employees({{.id = "002", .name = "鈴木", .current = 0},
                                                 {.id = "002", .name = "鈴木", .workType = 9},
                                                 {.id = "001", .name = "山田"},
                                                 {.id = "003", .name = "佐藤"}}));
        RealFileSystem().Replace(files_.Folder + "001tc.dat", old::Months({{}}));
    }

    QStringList Items(const TChangeD& dialog, const char* list) {
        QStringList items;
        auto* box = dialog.findChild<QListWidget*>(list);
        for (int i = 0; i < box->count(); ++i)
            items << box->item(i)->text();
        return items;
    }

    void Select(const TChangeD& dialog, const char* list, const QString& text) {
        auto* box = dialog.findChild<QListWidget*>(list);
        box->findItems(text, Qt::MatchExactly).front()->setSelected(true);
    }

    QTemporaryDir dir_;
    DataFiles files_;
};

TEST_F(ChangeDataTest, NamesItsControlsAndListsTheOldEmployees) {
    TChangeD dialog(files_);
    EXPECT_EQ(dialog.windowTitle(), "データコンバート");
    EXPECT_EQ(dialog.size(), QSize(415, 327));
    EXPECT_EQ(dialog.property("HelpContext").toInt(), 5);
    EXPECT_EQ(dialog.font().pixelSize(), 12);
    for (const char* name : {"PanelButton1", "PanelButton2", "PanelButton3", "ListBox1", "ListBox2",
                             "ListBox3", "ListBox4", "BitBtn1", "BitBtn2", "BitBtn3", "BitBtn4"}) {
        auto* widget = dialog.findChild<QWidget*>(name);
        ASSERT_NE(widget, nullptr) << name;
        EXPECT_EQ(widget->accessibleDescription(), name);
    }
    EXPECT_EQ(Find<TPanelButton>(dialog, "PanelButton2")->hint(), "従業員データを１世代戻す");
    EXPECT_EQ(Find<QPushButton>(dialog, "BitBtn3")->text(), "＞＞");
    // Only the generations in force are listed, sorted.
    EXPECT_EQ(Items(dialog, "ListBox1"), (QStringList{"001 山田", "002 鈴木", "003 佐藤"}));
    EXPECT_TRUE(Find<TPanelButton>(dialog, "PanelButton1")->isEnabled());
}

TEST_F(ChangeDataTest, MovesChosenItemsBetweenTheLists) {
    TChangeD dialog(files_);
    Select(dialog, "ListBox1", "001 山田");
    Select(dialog, "ListBox1", "003 佐藤");
    Find<QPushButton>(dialog, "BitBtn1")->click();
    EXPECT_EQ(Items(dialog, "ListBox1"), QStringList{"002 鈴木"});
    EXPECT_EQ(Items(dialog, "ListBox2"), (QStringList{"001 山田", "003 佐藤"}));
    Select(dialog, "ListBox2", "003 佐藤");
    Find<QPushButton>(dialog, "BitBtn2")->click();
    EXPECT_EQ(Items(dialog, "ListBox1"), (QStringList{"002 鈴木", "003 佐藤"}));
    Find<QPushButton>(dialog, "BitBtn3")->click();
    EXPECT_EQ(Items(dialog, "ListBox2"), (QStringList{"001 山田", "002 鈴木", "003 佐藤"}));
    EXPECT_TRUE(Items(dialog, "ListBox1").isEmpty());
    Find<QPushButton>(dialog, "BitBtn4")->click();
    EXPECT_EQ(Items(dialog, "ListBox1").size(), 3);
    EXPECT_TRUE(Items(dialog, "ListBox2").isEmpty());
}

TEST_F(ChangeDataTest, RunsTheConversionAndPutsTheBackupsBack) {
    RealFileSystem().Replace(files_.NameFile, ToBytes(NameRecord{"003", "佐藤", 0, 1001}));
    TChangeD dialog(files_);
    Select(dialog, "ListBox1", "001 山田");
    Select(dialog, "ListBox1", "003 佐藤");
    Find<QPushButton>(dialog, "BitBtn1")->click();

    QString warning;
    test::AnswerNextModal([&](QWidget* box) {
        warning = test::MessageText(box);
        test::ClickButton(box, "OK");
    });
    Find<TPanelButton>(dialog, "PanelButton1")->click();
    EXPECT_TRUE(warning.contains("003")) << warning.toStdString();
    EXPECT_EQ(Items(dialog, "ListBox3"), QStringList{"001 山田"});
    EXPECT_EQ(Items(dialog, "ListBox4"), QStringList{"003 佐藤"});
    EXPECT_EQ(Items(dialog, "ListBox1"), QStringList{"002 鈴木"});
    EXPECT_TRUE(Items(dialog, "ListBox2").isEmpty());
    EXPECT_EQ(RegisteredScheme(files_, "001"), PayScheme::Daily);
    EXPECT_TRUE(dialog.FilesChanged());

    Find<TPanelButton>(dialog, "PanelButton2")->click();
    EXPECT_EQ(Items(dialog, "ListBox1").size(), 3);
    EXPECT_TRUE(Items(dialog, "ListBox3").isEmpty());
    EXPECT_TRUE(Items(dialog, "ListBox4").isEmpty());
    EXPECT_FALSE(FindWagesCode(files_, "001"));
    EXPECT_TRUE(files_.fs->Exists(files_.Folder + "001tc.dat"));
}

TEST_F(ChangeDataTest, WithoutOldFilesTheStartButtonIsDisabled) {
    RealFileSystem().Remove(files_.Folder + "HIREDATA.DAT");
    TChangeD dialog(files_);
    EXPECT_TRUE(Items(dialog, "ListBox1").isEmpty());
    EXPECT_FALSE(Find<TPanelButton>(dialog, "PanelButton1")->isEnabled());
    Find<TPanelButton>(dialog, "PanelButton3")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

// The menu command opens the dialog modally; a run in it reaches the files the
// main window lists.
TEST(ChangeDataFromMainWindow, TheMenuCommandRunsAConversion) {
    test::ProgramFolder folder;
    folder.Write("HIREDATA.DAT", [] {
        const Bytes b = old::Employees({{.id = "001", .name = "山田"}});
        return QByteArray(reinterpret_cast<const char*>(b.data()), static_cast<int>(b.size()));
    }());
    MainWindow main(folder.Path());
    auto* item = main.findChild<QAction*>("DataConvertItem");
    ASSERT_NE(item, nullptr);
    bool opened = false;
    test::AnswerNextModal([&](QWidget* modal) {
        opened = modal->objectName() == "TChangeD";
        Find<QPushButton>(modal, "BitBtn3")->click();
        Find<TPanelButton>(modal, "PanelButton1")->click();
        Find<TPanelButton>(modal, "PanelButton3")->click();
    });
    item->trigger();
    EXPECT_TRUE(opened);
    EXPECT_EQ(RegisteredScheme(main.Files(), "001"), PayScheme::Daily);
    EXPECT_TRUE(folder.Exists("Hiredata.cbf"));
}

}  // namespace
}  // namespace pb
