// The main window's frame: toolbar, menu enabling, colours, size and help; the
// ファイル menu's export, restore from a backup and check of the data folder.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QColorDialog>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>

#include "app/ProgramFolder.h"
#include "core/store/DailyBackup.h"
#include "core/store/Settings.h"
#include "gui/app/Main.h"
#include "gui/app/MainWindow.h"
#include "gui/app/MenuBarKey.h"
#include "gui/controls/Pbutton.h"
#include "gui/files/ExportDialog.h"
#include "gui/files/RestoreDialog.h"
#include "gui/shared/Help.h"
#include "gui/shared/Text.h"
#include "gui/timecard/EntryWindow.h"
#include "support/FaultyFileSystem.h"
#include "support/GuiTestSupport.h"
#include "timecard/EntryFixture.h"

namespace pb {
namespace {

using test::AnswerNextModal;
using test::ProgramFolder;

using test::Find;

TEST(MainFromWindow, StartsWithCaptionNamesAndHiddenSelectionPanel) {
    ProgramFolder folder;
    MainWindow main(folder.Path());
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
    // A Wayland desktop matches the windows with their launcher by this name.
    EXPECT_TRUE(QFileInfo::exists(QStringLiteral(PUNCHBOOK_SAMPLES_DIR "/../../../data/desktop/") +
                                  QGuiApplication::desktopFileName() + QStringLiteral(".desktop")));
    ProgramFolder folder;
    MainWindow main(folder.Path());
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
        MainWindow main(folder.Path());
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
    MainWindow main(folder.Path());
    EXPECT_TRUE(Find<TPanelButton>(main, "PanelButton11")->isEnabled());
}

TEST(MainFromWindow, DataConversionIsCheckedWhenTheFileMenuOpens) {
    ProgramFolder folder;
    MainWindow main(folder.Path());
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
    MainWindow main(folder.Path());
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "Open");
    Find<QAction>(main, "OpenDataFolderItem")->trigger();
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    EXPECT_EQ(catcher.urls, QList<QUrl>{QUrl::fromLocalFile(folder.Path())});
}

TEST(MainFromWindow, EveryWindowIsReachableFromTheToolbarAndTheMenu) {
    ProgramFolder folder;
    folder.CopySamples();
    MainWindow main(folder.Path());
    for (const char* name : {"PanelButton1", "PanelButton2", "PanelButton4", "PanelButton5"}) {
        auto* button = Find<TPanelButton>(main, name);
        EXPECT_TRUE(button->isVisibleTo(&main)) << name;
        EXPECT_TRUE(button->isEnabled()) << name;
    }
    ASSERT_FALSE(Find<TPanelButton>(main, "PanelButton11")->isEnabled());
    for (const char* name : {"DailyWagesItem", "TimeWagesItem", "CalcSettingsItem", "ViewerItem"})
        EXPECT_TRUE(Find<QAction>(main, name)->isEnabled()) << name;
}

TEST(MainFromWindow, EveryMenuHasAKeyAndF10ReachesTheMenuBar) {
    ProgramFolder folder;
    MainWindow main(folder.Path());
    GiveMenuBarKey(main);
    QSet<QChar> keys;
    for (QAction* menu : main.menuBar()->actions()) {
        const qsizetype amp = menu->text().indexOf(QLatin1Char('&'));
        ASSERT_GE(amp, 0) << menu->text().toStdString();
        keys.insert(menu->text().at(amp + 1));
    }
    EXPECT_EQ(keys.size(), main.menuBar()->actions().size());  // no letter twice

    main.show();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    QTest::keyClick(QGuiApplication::focusWindow(), Qt::Key_F10);
    test::ProcessEvents(10);
    EXPECT_EQ(main.menuBar()->activeAction(), main.menuBar()->actions().front());
    QTest::keyClick(QGuiApplication::focusWindow(), Qt::Key_Escape);
}

// Another copy holds the folder: nothing that writes can be reached, neither here
// nor in the windows opened from here, and later updates do not bring it back.
TEST(MainFromWindow, AFolderHeldElsewhereOpensWithEveryWritingCommandDisabled) {
    ProgramFolder folder;
    folder.CopySamples();
    ReadOnlyFileSystem readOnly;
    MainWindow main(folder.Path(), readOnly);
    main.SetReadOnly();
    EXPECT_TRUE(main.windowTitle().contains(QStringLiteral("読み取り専用")));
    for (const char* name : {"PanelButton1", "PanelButton2", "PanelButton4", "PanelButton8"})
        EXPECT_FALSE(Find<TPanelButton>(main, name)->isEnabled()) << name;
    for (const char* name : {"DailyWagesItem", "TimeWagesItem", "CalcSettingsItem",
                             "DataConvertItem", "DeleteMonthItem", "ValidColorItem",
                             "InvalidColorItem", "RestoreBackupItem", "ImportItem"})
        EXPECT_FALSE(Find<QAction>(main, name)->isEnabled()) << name;
    for (const char* name : {"ExportItem", "CheckFolderItem"})  // they only read the folder
        EXPECT_TRUE(Find<QAction>(main, name)->isEnabled()) << name;
    EXPECT_EQ(main.Files().backup->keepDays, 0);  // backups are the writing copy's
    EXPECT_TRUE(Find<TPanelButton>(main, "PanelButton5")->isEnabled());  // looking stays

    Find<TPanelButton>(main, "PanelButton8")->setEnabled(true);
    main.ViewerClicked();
    QCoreApplication::processEvents();
    EXPECT_FALSE(Find<TPanelButton>(main, "PanelButton8")->isEnabled());
    QMdiSubWindow* viewer = Find<QMdiArea>(main, "ClientArea")->activeSubWindow();
    ASSERT_NE(viewer, nullptr);
    EXPECT_FALSE(Find<TPanelButton>(*viewer, "PanelButton1")->isEnabled());  // 削除
}

TEST(MainFromWindow, SelectionPanelButtonTogglesPanelMenuCheckAndHint) {
    ProgramFolder folder;
    folder.CopySamples();
    MainWindow main(folder.Path());
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
    MainWindow main(folder.Path());
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
    MainWindow main(folder.Path());
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
    MainWindow main(folder.Path(), fs);
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
    MainWindow main(folder.Path());
    EXPECT_EQ(Find<QLabel>(main, "ValidColorLabel")->palette().color(QPalette::WindowText),
              QColor(255, 0, 0));
    EXPECT_EQ(Find<QLabel>(main, "InvalidColorLabel")->palette().color(QPalette::WindowText),
              QColor(0, 0, 255));
}

TEST(MainFromWindow, HelpContentsOpensTheManualsContentsWhereTheHelpWasLastClosed) {
    ProgramFolder folder;
    folder.Write("PBOOK2.INI", "[Help]\r\nLeft=130\r\nTop=110\r\nWidth=520\r\nHeight=430\r\n");
    MainWindow main(folder.Path());
    main.show();
    CloseHelp();
    Find<QAction>(main, "HelpContentsItem")->trigger();
    ASSERT_NE(HelpBrowser(), nullptr);
    EXPECT_EQ(HelpBrowser()->source().fileName(), "index.html");
    QWidget* help = HelpBrowser()->window();
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(QRect(help->pos(), help->size()), QRect(130, 110, 520, 430));

    // Moved, closed and asked for again, it comes back where it was left; the
    // next start finds that place in the settings.
    help->move(200, 150);
    help->resize(600, 450);
    CloseHelp();
    Find<QAction>(main, "HelpContentsItem")->trigger();
    EXPECT_EQ(QRect(help->pos(), help->size()), QRect(200, 150, 600, 450));
    main.close();
    EXPECT_FALSE(help->isVisible());
    Settings stored;
    stored.ProgramFolder = folder.Path().toStdString();
    ReadSettings(RealFileSystem(), stored, 0);
    EXPECT_EQ(stored.Help, (HelpSettings{200, 150, 600, 450}));
}

TEST(MainFromWindow, BringToFrontRestoresAMinimisedWindowKeepingItsSize) {
    ProgramFolder folder;
    MainWindow main(folder.Path());
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
    MainWindow main(folder.Path());
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
    MainWindow main(folder.Path());
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

// --- the ファイル menu's data commands ------------------------------------------

// Opens the stored March 1999 of an employee of the samples from the selection panel.
EntryWindow* OpenMarch(MainWindow& main, int scheme, const char* id) {
    Find<QComboBox>(main, "ComboBox4")->setCurrentIndex(scheme - 1);
    auto* ids = Find<QComboBox>(main, "ComboBox1");
    ids->setCurrentIndex(ids->findText(QString::fromLatin1(id)));
    auto* years = Find<QComboBox>(main, "ComboBox2");
    years->setCurrentIndex(years->findText(QStringLiteral("1999")));
    Find<QComboBox>(main, "ComboBox3")->setCurrentIndex(2);
    main.StartClicked();
    QMdiSubWindow* child = main.ClientArea()->activeSubWindow();
    return child != nullptr ? qobject_cast<EntryWindow*>(child->widget()) : nullptr;
}

// What punchbook-export prints for the samples; empty when it is not built.
QByteArray Exported(const QString& folder, QStringList args) {
    const QString program = QStringLiteral(PUNCHBOOK_BINARY_DIR "/punchbook-export");
    if (!QFile::exists(program))
        return {};
    QProcess process;
    process.start(program, QStringList{QStringLiteral("--folder"), folder} + args);
    EXPECT_TRUE(process.waitForFinished(10000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return process.readAllStandardOutput();
}

// An export dialog over the samples whose save-file dialog answers `path`.
struct ExportRun {
    ExportRun() {
        folder.CopySamples();
        files = AssignDataFiles(S(folder.Path()));
        settings.ProgramFolder = S(folder.Path());
        ReadSettings(RealFileSystem(), settings, 0x808080);
    }
    ExportContext Context(FileSystem& target = RealFileSystem()) {
        return {files, settings.Calc_Set, target,
                [this](QWidget*, const QString& suggested, const QString& filter) {
                    asked << QFileInfo(suggested).fileName() + " " + filter;
                    return path;
                },
                lastFolder};
    }
    ExportStart March(const std::string& entryId = {}) const {
        ExportStart start;
        start.year = 1999;
        start.month = 3;
        start.years = {QStringLiteral("1999")};
        start.entryId = entryId;
        start.entryYear = 1999;
        start.entryMonth = 3;
        return start;
    }
    QByteArray Written() const {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    ProgramFolder folder;
    QTemporaryDir out;
    QString path = out.filePath(QStringLiteral("out.csv"));
    DataFiles files;
    Settings settings;
    QString lastFolder;
    QStringList asked;
};

// The window's export writes what the command line prints, byte for byte.
TEST(MainFromFileMenu, ExportWritesTheExportersBytes) {
    struct Case {
        const char* entry;  // the entry window's employee, or none
        TExportD::Kind kind;
        int scheme;
        const char* format;  // "csv", "sjis" or "json" (with the trace)
        const char* suggested;
        const char* args;
    };
    using K = TExportD::Kind;
    const Case cases[] = {
        {"001", K::ThisMonth, 1, "csv", "001_1999-03.csv", "--id 1"},
        {"002", K::ThisMonth, 1, "sjis", "002_1999-03.csv", "--id 2 --encoding sjis"},
        {"002", K::ThisMonth, 1, "json", "002_1999-03.json", "--id 2 --format json --trace"},
        {"", K::SchemeMonth, 1, "csv", "日給制_1999-03.csv", "--all --scheme 1"},
        {"", K::SchemeMonth, 2, "sjis", "時給制_1999-03.csv", "--all --scheme 2 --encoding sjis"},
    };
    for (const Case& c : cases) {
        const QString format = QString::fromLatin1(c.format);
        ExportRun run;
        test::ScriptedMessages boxes;
        TExportD dialog(run.Context(), run.March(c.entry));
        dialog.SetKind(c.kind);
        Find<QComboBox>(dialog, "SchemeCB")->setCurrentIndex(c.scheme - 1);
        Find<QRadioButton>(dialog, format == "json" ? "JsonRB" : "CsvRB")->setChecked(true);
        Find<QCheckBox>(dialog, "TraceCheck")->setChecked(format == "json");
        Find<QRadioButton>(dialog, format == "sjis" ? "SjisRB" : "Utf8RB")->setChecked(true);
        ASSERT_TRUE(dialog.ExportPBClick()) << boxes.Shown().join("|").toStdString();
        EXPECT_EQ(run.asked.value(0).section(' ', 0, 0), QString::fromUtf8(c.suggested));
        const QByteArray expected =
            Exported(run.folder.Path(), QString::fromLatin1(c.args).split(' ') +
                                            QStringList{"--year", "1999", "--month", "3"});
        if (!expected.isEmpty()) {
            EXPECT_EQ(run.Written(), expected) << c.suggested;
        }
        EXPECT_TRUE(boxes.Shown().value(0).contains(QStringLiteral("書き出しました")));
        EXPECT_EQ(run.lastFolder, run.out.path());
    }

    // An employee's year: a row for each stored month.
    ExportRun run;
    test::ScriptedMessages boxes;
    ExportStart start = run.March();
    start.id = "002";
    TExportD dialog(run.Context(), start);
    EXPECT_FALSE(Find<QRadioButton>(dialog, "ThisMonthRB")->isEnabled());
    EXPECT_EQ(dialog.CurrentKind(), TExportD::Kind::EmployeeYear);
    EXPECT_FALSE(Find<QRadioButton>(dialog, "JsonRB")->isEnabled());  // one month only
    ASSERT_TRUE(dialog.ExportPBClick());
    EXPECT_TRUE(run.Written().startsWith("\xEF\xBB\xBF"));
    const QStringList rows = QString::fromUtf8(run.Written()).split(QStringLiteral("\r\n"));
    ASSERT_EQ(rows.size(), 3);  // header, March, and the end of the last row
    EXPECT_TRUE(rows[0].contains(QStringLiteral("年,月,従業員番号")));
    EXPECT_TRUE(rows[1].startsWith(QStringLiteral("1999,3,002,")));
}

// Nothing is written where nothing should be, and the operator hears why.
TEST(MainFromFileMenu, ExportRefusalsAndFailuresAreReported) {
    ExportRun run;
    test::ScriptedMessages boxes;
    {  // A month nobody has: said before any file is asked for.
        TExportD dialog(run.Context(), run.March());
        dialog.SetKind(TExportD::Kind::SchemeMonth);
        Find<QComboBox>(dialog, "MonthCB")->setCurrentIndex(3);
        EXPECT_FALSE(dialog.ExportPBClick());
        EXPECT_TRUE(run.asked.isEmpty());
        EXPECT_EQ(boxes.Take(),
                  QStringList{"情報:1999 年 4 月分の日給制のデータは記録されていません。"});
    }
    {  // Unsaved edits in the entry window: asked first; いいえ writes nothing.
        ExportStart start = run.March("001");
        start.entryModified = true;
        TExportD dialog(run.Context(), start);
        boxes.Answer(Messages::No);
        EXPECT_FALSE(dialog.ExportPBClick());
        EXPECT_TRUE(boxes.Take().value(0).contains(QStringLiteral("まだ記録されていません")));
        EXPECT_FALSE(QFile::exists(run.path));
    }
    {  // A data file of the folder is never written over.
        run.path = run.folder.File(QStringLiteral("name.dat"));
        const QByteArray names = run.folder.Read("Name.dat");
        TExportD dialog(run.Context(), run.March("001"));
        EXPECT_FALSE(dialog.ExportPBClick());
        EXPECT_TRUE(boxes.Take().value(0).startsWith(QStringLiteral("警告:")));
        EXPECT_EQ(run.folder.Read("Name.dat"), names);
        EXPECT_FALSE(QFile::exists(run.path));
    }
    {  // A write that fails names the file, and leaves neither it nor a scrap behind.
        run.path = run.out.filePath(QStringLiteral("out.csv"));
        FaultyFileSystem failing;
        failing.FailAt(1, 28 /* ENOSPC */);
        TExportD dialog(run.Context(failing), run.March("001"));
        EXPECT_FALSE(dialog.ExportPBClick());
        const QString shown = boxes.Take().value(0);
        EXPECT_TRUE(shown.startsWith(QStringLiteral("ｴﾗｰ:"))) << shown.toStdString();
        EXPECT_TRUE(shown.contains(run.path)) << shown.toStdString();
        EXPECT_TRUE(QDir(run.out.path()).isEmpty());
        EXPECT_TRUE(dialog.WrittenPath().isEmpty());
    }
}

// The export starts from the entry window in use.
TEST(MainFromFileMenu, ExportOffersTheMonthOfTheEntryWindowInUse) {
    ProgramFolder folder;
    folder.CopySamples();
    MainWindow main(folder.Path());
    main.show();
    auto look = [&](bool& offered, QString& title) {
        AnswerNextModal([&](QWidget* modal) {
            offered = Find<QRadioButton>(*modal, "ThisMonthRB")->isEnabled();
            title = Find<QLabel>(*modal, "ThisMonthLabel")->text();
            qobject_cast<QDialog*>(modal)->reject();
        });
        Find<QAction>(main, "ExportItem")->trigger();
    };
    bool offered = true;
    QString title;
    look(offered, title);
    EXPECT_FALSE(offered);
    ASSERT_NE(OpenMarch(main, 2, "002"), nullptr);
    look(offered, title);
    EXPECT_TRUE(offered);
    EXPECT_TRUE(title.startsWith(QStringLiteral("002 "))) << title.toStdString();
    EXPECT_TRUE(title.endsWith(QStringLiteral("1999年3月分"))) << title.toStdString();
}

// A restore puts a backup's files back whole, keeps the present state as a
// backup of its own, and leaves no window showing the data as it was.
TEST(MainFromFileMenu, RestoreBringsBackABackupAndClosesTheWindows) {
    ProgramFolder folder;
    folder.CopySamples();
    MainWindow main(folder.Path());
    main.show();
    test::ScriptedMessages boxes;
    Find<QAction>(main, "RestoreBackupItem")->trigger();
    EXPECT_TRUE(boxes.Take().value(0).contains(QStringLiteral("バックアップはまだありません")));

    const QByteArray year = folder.Read("1999_fv2.pbk");
    BackUpNow(main.Files(), "2024-05-01");
    folder.Write("1999_fv2.pbk", year.left(year.size() / 2));  // March of 002 gone
    folder.Write("2000_fv2.pbk", year);
    const QByteArray changed = folder.Read("1999_fv2.pbk");

    // Unsaved edits are no state to restore over.
    EntryWindow* entry = OpenMarch(main, 1, "001");
    ASSERT_NE(entry, nullptr);
    test::EnterTime(*entry, 1, 2, QStringLiteral("0700"));
    ASSERT_TRUE(entry->Modified());
    Find<QAction>(main, "RestoreBackupItem")->trigger();
    EXPECT_TRUE(boxes.Take().value(0).contains(QStringLiteral("記録されていない入力があります")));
    boxes.Answer(Messages::No);  // 記録しますか？ いいえ
    main.ClientArea()->closeAllSubWindows();
    boxes.Take();
    ASSERT_NE(OpenMarch(main, 1, "001"), nullptr);

    QStringList listed;
    AnswerNextModal([&](QWidget* modal) {
        auto* list = Find<QListWidget>(*modal, "BackupList");
        for (int i = 0; i < list->count(); ++i)
            listed << list->item(i)->text();
        list->setCurrentRow(0);
        Find<QPushButton>(*modal, "RestorePB")->click();
    });
    boxes.Answer(Messages::Yes);
    Find<QAction>(main, "RestoreBackupItem")->trigger();
    EXPECT_EQ(listed, QStringList{QStringLiteral("2024年5月1日(水)")});
    const QStringList shown = boxes.Take();
    ASSERT_EQ(shown.size(), 2) << shown.join("|").toStdString();
    EXPECT_TRUE(shown[0].startsWith(
        QStringLiteral("確認:データを 2024年5月1日(水) のバックアップに戻します。")));
    EXPECT_TRUE(shown[1].contains(QStringLiteral("2000_fv2.pbk"))) << shown[1].toStdString();
    EXPECT_EQ(folder.Read("1999_fv2.pbk"), year);
    EXPECT_FALSE(folder.Exists("2000_fv2.pbk"));
    EXPECT_TRUE(main.ClientArea()->subWindowList().isEmpty());
    // The state before the restore is the newest backup, today's (the first change today).
    const std::vector<std::string> names = BackupNames(main.Files());
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[0], TodayText());
    EXPECT_EQ(folder.Read(QString::fromStdString("backup/" + names[0] + "/1999_fv2.pbk")), changed);
    EXPECT_TRUE(shown[1].contains(TRestoreD::Caption(QString::fromStdString(names[0]))));

    // Restored again the same day: the state before it is kept under its time.
    AnswerNextModal([&](QWidget* modal) {
        Find<QListWidget>(*modal, "BackupList")->setCurrentRow(0);
        Find<QPushButton>(*modal, "RestorePB")->click();
    });
    boxes.Answer(Messages::Yes);
    Find<QAction>(main, "RestoreBackupItem")->trigger();
    EXPECT_EQ(folder.Read("1999_fv2.pbk"), changed);
    const std::vector<std::string> after = BackupNames(main.Files());
    ASSERT_EQ(after.size(), 3u);
    EXPECT_EQ(after[0].substr(0, 11), TodayText() + "-");
    EXPECT_EQ(folder.Read(QString::fromStdString("backup/" + after[0] + "/1999_fv2.pbk")), year);
}

// When the day's backup cannot be made, a change goes on only when the operator says so.
TEST(MainFromFileMenu, AFailedBackupAsksBeforeTheChangeGoesOn) {
    ProgramFolder folder;
    folder.CopySamples();
    folder.Write("backup", "not a folder");
    MainWindow main(folder.Path());
    test::ScriptedMessages boxes;
    OpenMarch(main, 2, "002");
    main.ClientArea()->closeAllSubWindows();
    const QByteArray year = folder.Read("1999_fv2.pbk");
    for (const auto answer : {Messages::No, Messages::Yes}) {
        boxes.Answer(Messages::Yes);  // 削除しますか？
        boxes.Answer(answer);         // バックアップを作らずに続けますか？
        main.DeleteMonthClicked();
        const QStringList shown = boxes.Take();
        ASSERT_GE(shown.size(), 2);
        EXPECT_TRUE(shown[1].startsWith(QStringLiteral("警告:"))) << shown[1].toStdString();
        EXPECT_TRUE(shown[1].contains(QStringLiteral("バックアップを作らずに変更を続けますか")));
        if (answer == Messages::No) {
            ASSERT_EQ(shown.size(), 3);
            EXPECT_TRUE(shown[2].contains(QStringLiteral("変更の前のバックアップを作れません")));
            EXPECT_EQ(folder.Read("1999_fv2.pbk"), year);
        } else {
            EXPECT_EQ(folder.Read("1999_fv2.pbk").size(), year.size() / 2);
        }
    }
}

TEST(MainFromFileMenu, CheckShowsTheReportOfTheDataFolder) {
    ProgramFolder folder;
    folder.CopySamples();
    MainWindow main(folder.Path());
    auto check = [&](QString& outcome, QString& report) {
        AnswerNextModal([&](QWidget* modal) {
            outcome = Find<QLabel>(*modal, "OutcomeLabel")->text();
            auto* memo = Find<QPlainTextEdit>(*modal, "ReportMemo");
            EXPECT_TRUE(memo->isReadOnly());
            report = memo->toPlainText();
            Find<QPushButton>(*modal, "CopyPB")->click();
            qobject_cast<QDialog*>(modal)->reject();
        });
        Find<QAction>(main, "CheckFolderItem")->trigger();
    };
    QString outcome;
    QString report;
    check(outcome, report);
    EXPECT_EQ(outcome, QStringLiteral("異常はありません。"));
    EXPECT_TRUE(report.startsWith(QStringLiteral("異常はありません。"))) << report.toStdString();
    // One check, one report: the window's is the exporter's, word for word.
    if (const QByteArray printed = Exported(folder.Path(), {QStringLiteral("--check")});
        !printed.isEmpty()) {
        EXPECT_EQ(report.toStdString(), printed.toStdString());
    }

    folder.Write("Name.dat", folder.Read("Name.dat") + "x");
    check(outcome, report);
    EXPECT_TRUE(outcome.endsWith(QStringLiteral(" 件の問題が見つかりました。")));
    EXPECT_TRUE(report.startsWith(QStringLiteral("Name.dat: "))) << report.toStdString();
    EXPECT_EQ(QApplication::clipboard()->text(), report);
}

}  // namespace
}  // namespace pb

#include "MainWindowTest.moc"
