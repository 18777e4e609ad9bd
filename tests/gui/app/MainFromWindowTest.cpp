// The main window's frame: toolbar, menu enabling, colours, size and help.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QProxyStyle>
#include <QTextBrowser>
#include <QUrl>

#include "app/ProgramFolder.h"
#include "core/store/FaultyFileSystem.h"
#include "gui/app/Main.h"
#include "gui/app/MainFrom.h"
#include "gui/controls/Pbutton.h"
#include "gui/shared/Help.h"
#include "support/GuiTestSupport.h"

namespace pb {
namespace {

using test::AnswerNextModal;
using test::ProgramFolder;

using test::Find;

TEST(MainFromWindow, StartsWithCaptionNamesAndHiddenSelectionPanel) {
    ProgramFolder folder;
    TMainFrom main(folder.Path());
    EXPECT_EQ(main.objectName(), "TMainFrom");
    EXPECT_EQ(main.windowTitle(), "Punchbook 2.0");
    EXPECT_EQ(main.minimumSize(), QSize(480, 470));
    EXPECT_EQ(main.maximumWidth(), 725);
    EXPECT_EQ(main.MainWidth(), 725);
    EXPECT_EQ(main.width(), 544);
    EXPECT_FALSE(Find<QWidget>(main, "SelectionPanel")->isVisibleTo(&main));
    // Without a settings file the inactive colour is the desktop's grey text.
    const QColor grey = QGuiApplication::palette().color(QPalette::Disabled, QPalette::Text);
    EXPECT_EQ(main.CurrentSettings().FontColor.InvalidColor,
              grey.red() | grey.green() << 8 | grey.blue() << 16);

    struct Button {
        const char* name;
        QString caption;
        QString hint;
    };
    const Button buttons[] = {
        {"PanelButton12", "終了", "PBookの終了"},
        {"PanelButton1", "登録", "日給制"},
        {"PanelButton2", "登録", "時給制"},
        {"PanelButton3", "入力", "入力データ選択パネル表示"},
        {"PanelButton4", "設定", "計算方法"},
        {"PanelButton5", "表示", "従業員情報"},
        {"PanelButton11", "", "Salarium起動"},
        {"PanelButton10", "開始", "入力開始"},
        {"PanelButton8", "削除", "入力勤務データの削除"},
    };
    for (const Button& b : buttons) {
        auto* button = Find<TPanelButton>(main, b.name);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->caption(), b.caption) << b.name;
        EXPECT_EQ(button->hint(), b.hint) << b.name;
        EXPECT_FALSE(button->glyph().isNull()) << b.name;
        EXPECT_EQ(button->accessibleDescription(), QString::fromLatin1(b.name));
    }
}

bool ImagePluginsLoaded() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("/imageformats/");
}

// Notes at the first paint of a window whether image plugins were loaded.
class AtFirstPaint : public QObject {
  public:
    explicit AtFirstPaint(QWidget& window) { window.installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !painted) {
            painted = true;
            plugins = ImagePluginsLoaded();
        }
        return false;
    }
    bool painted = false;
    bool plugins = true;
};

TEST(MainFromWindow, TheFirstPaintLoadsNoImagePluginAndTheStyleIconsStillDraw) {
    PrepareApplication(*static_cast<QApplication*>(QCoreApplication::instance()));
    ProgramFolder folder;
    TMainFrom main(folder.Path());
    AtFirstPaint first(main);
    main.show();
    for (int i = 0; i < 100 && !first.painted; ++i)
        test::ProcessEvents(10);
    ASSERT_TRUE(first.painted);
    EXPECT_FALSE(first.plugins);
    // The icons of the style arrive when they are drawn, as the style draws them.
    const auto* style = qobject_cast<QProxyStyle*>(QApplication::style());
    ASSERT_NE(style, nullptr);
    for (auto which :
         {QStyle::SP_TitleBarCloseButton, QStyle::SP_ToolBarHorizontalExtensionButton}) {
        const QPixmap drawn = QApplication::style()->standardIcon(which).pixmap(16);
        EXPECT_FALSE(drawn.isNull()) << which;
        EXPECT_EQ(drawn.toImage(), style->baseStyle()->standardIcon(which).pixmap(16).toImage());
    }
}

TEST(MainFromWindow, MenuAndButtonsFollowTheFilesInTheProgramFolder) {
    struct Case {
        QStringList files;
        bool input;       // 入力 and 勤務データ選択パネル
        bool salarium;    // Salarium button and menu item
        bool conversion;  // old files for データコンバート present
    };
    const Case cases[] = {
        {{}, false, false, false},
        {{"DailyWages.dat"}, true, false, false},
        {{"TimeWages.dat"}, true, false, false},
        {{"Salarium.Exe", "hiredata.dat"}, false, true, true},
        {{"SALARIUM.EXE", "HireData.Cbf"}, false, true, true},
        {{"Salarium"}, false, false, false},  // not executable
        {{"HIREDATA.BAK"}, false, false, false},
    };
    for (const Case& c : cases) {
        ProgramFolder folder;
        for (const QString& name : c.files)
            folder.Write(name);
        TMainFrom main(folder.Path());
        const QString label = c.files.join(",");
        EXPECT_EQ(Find<TPanelButton>(main, "PanelButton3")->isEnabled(), c.input)
            << label.toStdString();
        EXPECT_EQ(Find<QAction>(main, "SelectionPanelItem")->isEnabled(), c.input);
        // Nobody registered yet: the empty window says what to do first.
        EXPECT_EQ(Find<QLabel>(main, "FirstStepsLabel")->isVisibleTo(&main), !c.input);
        EXPECT_EQ(Find<TPanelButton>(main, "PanelButton11")->isEnabled(), c.salarium)
            << label.toStdString();
        EXPECT_EQ(Find<QAction>(main, "SalariumItem")->isEnabled(), c.salarium);
        EXPECT_EQ(Find<QAction>(main, "DataConvertItem")->isEnabled(), c.conversion)
            << label.toStdString();
        EXPECT_TRUE(Find<QAction>(main, "DataConvertItem")->isVisible());
    }

    // An executable named Salarium counts as well.
    ProgramFolder folder;
    folder.Write("Salarium");
    QFile::setPermissions(folder.File("Salarium"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    TMainFrom main(folder.Path());
    EXPECT_TRUE(Find<TPanelButton>(main, "PanelButton11")->isEnabled());
}

TEST(MainFromWindow, DataConversionIsCheckedWhenTheFileMenuOpens) {
    ProgramFolder folder;
    TMainFrom main(folder.Path());
    QAction* item = Find<QAction>(main, "DataConvertItem");
    EXPECT_FALSE(item->isEnabled());
    folder.Write("HIREDATA.DAT");
    emit Find<QMenu>(main, "FileMenu")->aboutToShow();
    EXPECT_TRUE(item->isEnabled());
}

// ファイル → データフォルダを開く hands the data folder to the desktop.
class UrlCatcher : public QObject {
    Q_OBJECT
  public slots:
    void Open(const QUrl& url) { urls << url; }

  public:
    QList<QUrl> urls;
};

TEST(MainFromWindow, OpenDataFolderShowsTheFolderInTheFileManager) {
    ProgramFolder folder;
    TMainFrom main(folder.Path());
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "Open");
    Find<QAction>(main, "OpenDataFolderItem")->trigger();
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    EXPECT_EQ(catcher.urls, QList<QUrl>{QUrl::fromLocalFile(folder.Path())});
}

TEST(MainFromWindow, EveryWindowIsReachableFromTheToolbarAndTheMenu) {
    ProgramFolder folder;
    folder.CopySamples();
    TMainFrom main(folder.Path());
    for (const char* name : {"PanelButton1", "PanelButton2", "PanelButton4", "PanelButton5"}) {
        auto* button = Find<TPanelButton>(main, name);
        EXPECT_TRUE(button->isVisibleTo(&main)) << name;
        EXPECT_TRUE(button->isEnabled()) << name;
    }
    ASSERT_FALSE(Find<TPanelButton>(main, "PanelButton11")->isEnabled());
    for (const char* name : {"DailyWagesItem", "TimeWagesItem", "CalcSettingsItem", "ViewerItem"})
        EXPECT_TRUE(Find<QAction>(main, name)->isEnabled()) << name;
}

// Another copy holds the folder: nothing that writes can be reached, neither here
// nor in the windows opened from here, and later updates do not bring it back.
TEST(MainFromWindow, AFolderHeldElsewhereOpensWithEveryWritingCommandDisabled) {
    ProgramFolder folder;
    folder.CopySamples();
    ReadOnlyFileSystem readOnly;
    TMainFrom main(folder.Path(), readOnly);
    main.SetReadOnly();
    EXPECT_TRUE(main.windowTitle().contains(QStringLiteral("読み取り専用")));
    for (const char* name : {"PanelButton1", "PanelButton2", "PanelButton4", "PanelButton8"})
        EXPECT_FALSE(Find<TPanelButton>(main, name)->isEnabled()) << name;
    for (const char* name :
         {"DailyWagesItem", "TimeWagesItem", "CalcSettingsItem", "DataConvertItem",
          "DeleteMonthItem", "ValidColorItem", "InvalidColorItem"})
        EXPECT_FALSE(Find<QAction>(main, name)->isEnabled()) << name;
    EXPECT_TRUE(Find<TPanelButton>(main, "PanelButton5")->isEnabled());  // looking stays

    Find<TPanelButton>(main, "PanelButton8")->setEnabled(true);
    main.PanelButton5Click();
    QCoreApplication::processEvents();
    EXPECT_FALSE(Find<TPanelButton>(main, "PanelButton8")->isEnabled());
    QMdiSubWindow* viewer = Find<QMdiArea>(main, "ClientArea")->activeSubWindow();
    ASSERT_NE(viewer, nullptr);
    EXPECT_FALSE(Find<TPanelButton>(*viewer, "PanelButton1")->isEnabled());  // 削除
}

TEST(MainFromWindow, SelectionPanelButtonTogglesPanelMenuCheckAndHint) {
    ProgramFolder folder;
    folder.CopySamples();
    TMainFrom main(folder.Path());
    auto* button = Find<TPanelButton>(main, "PanelButton3");
    auto* panel = Find<QWidget>(main, "SelectionPanel");
    auto* item = Find<QAction>(main, "SelectionPanelItem");
    ASSERT_TRUE(button->isEnabled());

    button->click();
    EXPECT_TRUE(panel->isVisibleTo(&main));
    EXPECT_TRUE(item->isChecked());
    EXPECT_EQ(button->hint(), "入力データ選択パネル消去");

    item->trigger();
    EXPECT_FALSE(panel->isVisibleTo(&main));
    EXPECT_FALSE(item->isChecked());
    EXPECT_EQ(button->hint(), "入力データ選択パネル表示");
}

TEST(MainFromWindow, KeepsLabelsAndButtonsRightAlignedOnResize) {
    ProgramFolder folder;
    folder.CopySamples();
    TMainFrom main(folder.Path());
    main.show();
    Find<TPanelButton>(main, "PanelButton3")->click();
    for (int width : {544, 700, 480}) {
        main.resize(width, 500);
        test::ProcessEvents();
        auto* valid = Find<QLabel>(main, "ValidColorLabel");
        auto* invalid = Find<QLabel>(main, "InvalidColorLabel");
        auto* toolbar = Find<QWidget>(main, "ToolPanel");
        auto* panel = Find<QWidget>(main, "SelectionPanel");
        auto* erase = Find<QWidget>(main, "PanelButton8");
        auto* start = Find<QWidget>(main, "PanelButton10");
        EXPECT_EQ(valid->geometry().right() + 1, toolbar->width() - 10) << width;
        EXPECT_EQ(invalid->geometry().right() + 1, toolbar->width() - 10) << width;
        EXPECT_GT(invalid->y(), valid->y());
        EXPECT_EQ(erase->geometry().right() + 1, panel->width() - 2) << width;
        EXPECT_EQ(start->geometry().right() + 1, erase->x()) << width;
    }
    main.resize(900, 500);
    EXPECT_EQ(main.width(), 725);  // no wider than MainWidth
    main.SetMainWidth(660, true);
    EXPECT_EQ(main.width(), 660);
    EXPECT_EQ(main.maximumWidth(), 660);
}

TEST(MainFromWindow, FontColourChangeColoursTheLabelAndWritesTheSettings) {
    ProgramFolder folder;
    TMainFrom main(folder.Path());
    EXPECT_FALSE(folder.Exists("PBOOK2.INI"));
    const QColor chosen(0x12, 0x34, 0x56);
    AnswerNextModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QColorDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->setCurrentColor(chosen);
        dialog->accept();
    });
    Find<QAction>(main, "InvalidColorItem")->trigger();

    EXPECT_EQ(main.CurrentSettings().FontColor.InvalidColor, 0x563412);
    EXPECT_EQ(Find<QLabel>(main, "InvalidColorLabel")->palette().color(QPalette::WindowText),
              chosen);
    const QByteArray ini = folder.Read("PBOOK2.INI");
    EXPECT_TRUE(ini.contains("[FontColor]")) << ini.toStdString();
    EXPECT_TRUE(ini.contains("InvalidColor=" + QByteArray::number(0x563412))) << ini.toStdString();
    EXPECT_TRUE(ini.contains("ValidColor=8388608")) << ini.toStdString();

    // Cancelling the dialog changes nothing.
    AnswerNextModal([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
    Find<QAction>(main, "ValidColorItem")->trigger();
    EXPECT_EQ(main.CurrentSettings().FontColor.ValidColor, 0x800000);
}

TEST(MainFromWindow, ASettingsFileThatCannotBeWrittenIsReported) {
    ProgramFolder folder;
    FaultyFileSystem fs;
    TMainFrom main(folder.Path(), fs);
    fs.FailAt(1, 13 /* EACCES */);
    QString error;
    AnswerNextModal([&](QWidget* modal) {
        AnswerNextModal([&](QWidget* box) {
            error = box->windowTitle() + ":" + test::MessageText(box);
            test::ClickButton(box, "OK");
        });
        auto* dialog = qobject_cast<QColorDialog*>(modal);
        dialog->setCurrentColor(QColor(255, 0, 0));
        dialog->accept();
    });
    Find<QAction>(main, "ValidColorItem")->trigger();
    EXPECT_TRUE(error.startsWith("ｴﾗｰ:")) << error.toStdString();
    EXPECT_TRUE(error.contains("PBOOK2.INI に書き込めません")) << error.toStdString();
    // The colour stays chosen for this run.
    EXPECT_EQ(main.CurrentSettings().FontColor.ValidColor, 0x0000FF);
    EXPECT_FALSE(folder.Exists("PBOOK2.INI"));
}

TEST(MainFromWindow, StoredColoursColourTheToolbarLabels) {
    ProgramFolder folder;
    folder.Write("PBOOK2.INI", "[FontColor]\r\nValidColor=255\r\nInvalidColor=$FF0000\r\n");
    TMainFrom main(folder.Path());
    EXPECT_EQ(Find<QLabel>(main, "ValidColorLabel")->palette().color(QPalette::WindowText),
              QColor(255, 0, 0));
    EXPECT_EQ(Find<QLabel>(main, "InvalidColorLabel")->palette().color(QPalette::WindowText),
              QColor(0, 0, 255));
}

TEST(MainFromWindow, HelpContentsOpensTheManualsContents) {
    ProgramFolder folder;
    TMainFrom main(folder.Path());
    Find<QAction>(main, "HelpContentsItem")->trigger();
    ASSERT_NE(HelpBrowser(), nullptr);
    EXPECT_EQ(HelpBrowser()->source().fileName(), "index.html");
    EXPECT_TRUE(HelpBrowser()->window()->isVisible());
}

TEST(MainFromWindow, BringToFrontRestoresAMinimisedWindowKeepingItsSize) {
    ProgramFolder folder;
    TMainFrom main(folder.Path());
    main.show();
    main.resize(600, 480);
    main.showMinimized();
    main.BringToFront();
    EXPECT_FALSE(main.isMinimized());
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(main.size(), QSize(600, 480));
}

TEST(MainFromWindow, SalariumStartsFromTheProgramFolderWithoutWaiting) {
    ProgramFolder folder;
    folder.Write("Salarium", "#!/bin/sh\nsleep 1\ntouch started\n");
    QFile::setPermissions(folder.File("Salarium"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    TMainFrom main(folder.Path());
    QElapsedTimer clock;
    clock.start();
    Find<TPanelButton>(main, "PanelButton11")->click();
    EXPECT_LT(clock.elapsed(), 800);  // did not wait for it
    while (!folder.Exists("started") && clock.elapsed() < 5000)
        test::ProcessEvents(20);
    EXPECT_TRUE(folder.Exists("started"));
}

TEST(MainFromWindow, WindowMenuListsChildWindowsAndMinimisesThemAll) {
    ProgramFolder folder;
    TMainFrom main(folder.Path());
    main.show();
    for (const char* title : {"一", "二"}) {
        QMdiSubWindow* child = main.ClientArea()->addSubWindow(new QWidget);
        child->setWindowTitle(QString::fromUtf8(title));
        child->show();
    }
    auto* menu = Find<QMenu>(main, "WindowMenu");
    emit menu->aboutToShow();
    QStringList titles;
    for (QAction* action : menu->actions())
        titles << action->text();
    EXPECT_EQ(titles, (QStringList{"すべてをアイコン化", "", "&1 一", "&2 二"}));

    Find<QAction>(main, "MinimizeAllItem")->trigger();
    for (QMdiSubWindow* child : main.ClientArea()->subWindowList())
        EXPECT_TRUE(child->isMinimized());
}

}  // namespace
}  // namespace pb

#include "MainFromWindowTest.moc"
