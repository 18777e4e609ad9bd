#include "gui/app/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

#include "core/store/DailyBackup.h"
#include "core/store/DataFolder.h"
#include "core/store/WorkDataFiles.h"
#include "gui/app/AboutDialog.h"
#include "gui/app/ChildWindows.h"
#include "gui/app/FolderFollower.h"
#include "gui/app/FolderListing.h"
#include "gui/app/SelectionPanel.h"
#include "gui/app/ToolPanel.h"
#include "gui/controls/Pbutton.h"
#include "gui/convert/ChangeData.h"
#include "gui/employees/InputDailyWages.h"
#include "gui/employees/InputTimeWages.h"
#include "gui/employees/ReNewConfirmer.h"
#include "gui/files/FileCommands.h"
#include "gui/overview/MonthOverviewW.h"
#include "gui/shared/BackupRunner.h"
#include "gui/shared/Colors.h"
#include "gui/shared/Guard.h"
#include "gui/shared/Help.h"
#include "gui/shared/Images.h"
#include "gui/shared/MessageOperator.h"
#include "gui/shared/Messages.h"
#include "gui/shared/Naming.h"
#include "gui/shared/PanelButtons.h"
#include "gui/shared/StayDisabled.h"
#include "gui/shared/Text.h"
#include "gui/timecard/CalcSettingsDialog.h"
#include "gui/timecard/EntryWindow.h"

namespace pb {

namespace {

constexpr int kMinWidth = 480;
constexpr int kMinHeight = 470;
constexpr int kDailyWidth = 660;
constexpr int kHourlyWidth = 725;

const QString kShowPanelHint = QStringLiteral("入力データ選択パネル表示");
const QString kHidePanelHint = QStringLiteral("入力データ選択パネル消去");

}  // namespace

MainWindow::MainWindow(const QString& programFolder, FileSystem& fs, QWidget* parent)
    : QMainWindow(parent), fs_(fs) {
    Name(this, QStringLiteral("TMainFrom"));
    setProperty("HelpContext", 2);
    setAttribute(Qt::WA_DeleteOnClose, false);

    programFolder_ = programFolder;
    if (!programFolder_.endsWith(QLatin1Char('/')))
        programFolder_ += QLatin1Char('/');

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    BuildToolbar();
    panel_ = new SelectionPanel(files_, this);
    panel_->SetMonthWindowCloser([this](const std::string& id, int year, int month) {
        return windows_->CloseEntriesOf(id, year, month);
    });
    connect(panel_, &SelectionPanel::startClicked, this, &MainWindow::StartClicked);
    windows_ = new ChildWindows(files_, settings_, central);
    QMdiArea* area = windows_->Area();
    connect(windows_, &ChildWindows::monthSaved, panel_, &SelectionPanel::UpdateMonthState);
    connect(windows_, &ChildWindows::monthSaved, this, &MainWindow::monthSaved);
    connect(windows_, &ChildWindows::mainWidthWanted, this, &MainWindow::SetMainWidth);
    connect(windows_, &ChildWindows::employeesChanged, this, &MainWindow::RefreshLists);
    column->addWidget(toolPanel_);
    column->addWidget(panel_);
    column->addWidget(area, 1);
    setCentralWidget(central);
    MakeFileCommands();
    BuildMenu();

    // Creation, in the order the rest of the program relies on.
    settings_.ProgramFolder = S(programFolder_);
    ReadSettings(fs_, settings_, GrayTextColorRef());
    files_ = AssignDataFiles(settings_.ProgramFolder, fs_);
    // Before the first change of each day the data files are backed up. When
    // that fails the operator may still save: losing the day's backup is
    // better than losing the typed month, and the box says what is at stake.
    KeepDailyBackups(files_, settings_.Backup.KeepDays);
    files_.backup->goOnWithout = [this](const std::string& failure) {
        return AskToGoOnWithoutBackup(this, failure);
    };
    RunBackupsBeside(this, *files_.backup);
    files_.NextCellFile =
        NextCellFileFor(fs_, files_.Folder, S(QCoreApplication::applicationDirPath()));
    // The help window opens where the operator last left it, in this run or an
    // earlier one.
    KeepHelpPlaceInSettings(this, settings_, fs_, [this] { return !readOnly_; });
    toolPanel_->ShowColours(settings_.FontColor);
    // One listing of the folder for every file asked about here.
    const FolderListing entries(programFolder_);
    UpdateDataConvertItem(entries);
    const bool salarium = !entries.SalariumProgram().isEmpty();
    salariumButton_->setEnabled(salarium);
    salariumItem_->setEnabled(salarium);
    UpdateInputButton(entries);
    setWindowTitle(QStringLiteral("Punchbook 2.0"));
    panel_->FillYearList();
    panel_->FillEmployees();

    setMinimumSize(kMinWidth, kMinHeight);
    setMaximumWidth(mainWidth_);
    resize(544, 452);  // the lower limit then takes the height to 470
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

MainWindow::~MainWindow() = default;

// --- building -------------------------------------------------------------

void MainWindow::BuildToolbar() {
    toolPanel_ = new ToolPanel(this);
    struct ToolButton {
        TPanelButton** field;
        const char* name;
        const char* caption;
        const char* hint;
        const char* glyph;
        void (MainWindow::*click)();
    };
    const ToolButton tools[] = {
        {&exitButton_, "PanelButton12", "終了", "PBookの終了", "Exit", &MainWindow::ExitClicked},
        {&dailyButton_, "PanelButton1", "登録", "日給制", "DailyWages",
         &MainWindow::RegisterDailyClicked},
        {&hourlyButton_, "PanelButton2", "登録", "時給制", "TimeWages",
         &MainWindow::RegisterHourlyClicked},
        {&panelButton_, "PanelButton3", "入力", "入力データ選択パネル表示", "Input",
         &MainWindow::SelectionPanelClicked},
        {&calcButton_, "PanelButton4", "設定", "計算方法", "Settings",
         &MainWindow::CalcSettingsClicked},
        {&viewerButton_, "PanelButton5", "表示", "従業員情報", "View", &MainWindow::ViewerClicked},
        {&salariumButton_, "PanelButton11", "", "Salarium起動", "Salarium",
         &MainWindow::SalariumClicked},
    };
    for (const ToolButton& tool : tools) {
        TPanelButton* button =
            toolPanel_->AddButton(QString::fromUtf8(tool.name), QString::fromUtf8(tool.caption),
                                  QString::fromUtf8(tool.hint), QString::fromUtf8(tool.glyph));
        connect(button, &TPanelButton::clicked, this, tool.click);
        *tool.field = button;
    }
}

void MainWindow::MakeFileCommands() {
    const auto year = [this] {
        return panel_->Year().isEmpty() ? QDate::currentDate().year() : panel_->Year().toInt();
    };
    FileCommandsContext context{
        .files = files_,
        .settings = settings_,
        .fs = fs_,
        .folder = programFolder_,
        .exportStart =
            [this, year] {
                ExportStart start;
                start.scheme = panel_->Scheme();
                start.id = S(panel_->ID());
                start.year = year();
                start.month = panel_->Month();
                start.years = panel_->Years();
                windows_->DescribeCurrentEntry(start);
                return start;
            },
        // A window of a month the import writes would go on showing the times
        // as they were: it closes first, asking about its unsaved edits.
        .closeWindows =
            [this](const std::vector<ImportMonth>& months) {
                return std::all_of(months.begin(), months.end(), [this](const ImportMonth& m) {
                    return windows_->CloseEntriesOf(m.id, m.year, m.month);
                });
            },
        .showUnsavedWindow = [this] { return windows_->ShowUnsavedEntry(); },
        .closeAllWindows = [this] { windows_->CloseAll(); },
        .monthsWritten =
            [this] {
                panel_->FillYearList();
                panel_->UpdateMonthState();
            },
        .folderRestored =
            [this] {
                panel_->FillYearList();
                RefreshLists();
            },
    };
    fileCommands_ = new FileCommands(std::move(context), this);
}

void MainWindow::BuildMenu() {
    QMenuBar* bar = menuBar();
    auto item = [this](QMenu* menu, const QString& name, const QString& text,
                       void (MainWindow::*slot)()) {
        QAction* action = menu->addAction(text);
        Name(action, name);
        if (slot != nullptr)
            connect(action, &QAction::triggered, this, slot);
        return action;
    };

    QMenu* fileMenu = bar->addMenu(QStringLiteral("ファイル(&F)"));
    Name(fileMenu, QStringLiteral("FileMenu"));
    dataConvertItem_ = item(fileMenu, QStringLiteral("DataConvertItem"),
                            QStringLiteral("データコンバート"), &MainWindow::DataConversionClicked);
    fileCommands_->AddItems(fileMenu);
    fileMenu->addSeparator();
    item(fileMenu, QStringLiteral("ExitItem"), QStringLiteral("終了(&X)"),
         &MainWindow::ExitClicked);
    connect(fileMenu, &QMenu::aboutToShow, this,
            [this] { UpdateDataConvertItem(FolderListing(programFolder_)); });

    QMenu* view = bar->addMenu(QStringLiteral("表示(&V)"));
    Name(view, QStringLiteral("ViewMenu"));
    item(view, QStringLiteral("ViewerItem"), QStringLiteral("従業員情報"),
         &MainWindow::ViewerClicked);
    item(view, QStringLiteral("MonthOverviewItem"), QStringLiteral("月次一覧"),
         &MainWindow::MonthOverviewClicked);
    selectionPanelItem_ =
        item(view, QStringLiteral("SelectionPanelItem"), QStringLiteral("勤務データ選択パネル"),
             &MainWindow::SelectionPanelClicked);
    selectionPanelItem_->setCheckable(true);
    startItem_ = item(view, QStringLiteral("StartItem"), QStringLiteral("入力開始"),
                      &MainWindow::StartClicked);
    deleteMonthItem_ =
        item(view, QStringLiteral("DeleteMonthItem"), QStringLiteral("入力勤務データの削除"),
             &MainWindow::DeleteMonthClicked);
    // The panel's two commands, enabled with their buttons.
    for (auto [button, action] : {std::pair{panel_->StartButton(), startItem_},
                                  std::pair{panel_->DeleteButton(), deleteMonthItem_}}) {
        action->setEnabled(button->isEnabled());
        button->installEventFilter(this);
    }

    QMenu* entry = bar->addMenu(QStringLiteral("登録(&R)"));
    Name(entry, QStringLiteral("RegisterMenu"));
    dailyItem_ = item(entry, QStringLiteral("DailyWagesItem"), QStringLiteral("日給制従業員"),
                      &MainWindow::RegisterDailyClicked);
    hourlyItem_ = item(entry, QStringLiteral("TimeWagesItem"), QStringLiteral("時給制従業員"),
                       &MainWindow::RegisterHourlyClicked);

    QMenu* options = bar->addMenu(QStringLiteral("オプション(&O)"));
    Name(options, QStringLiteral("OptionsMenu"));
    salariumItem_ = item(options, QStringLiteral("SalariumItem"), QStringLiteral("Salarium"),
                         &MainWindow::SalariumClicked);
    calcItem_ = item(options, QStringLiteral("CalcSettingsItem"), QStringLiteral("計算設定"),
                     &MainWindow::CalcSettingsClicked);
    QMenu* colours = options->addMenu(QStringLiteral("フォント色(&C)"));
    Name(colours, QStringLiteral("FontColorMenu"));
    item(colours, QStringLiteral("ValidColorItem"), QStringLiteral("有効色"),
         &MainWindow::ValidColorClicked);
    item(colours, QStringLiteral("InvalidColorItem"), QStringLiteral("無効色"),
         &MainWindow::InvalidColorClicked);

    windowMenu_ = bar->addMenu(QStringLiteral("ウィンドウ(&W)"));
    Name(windowMenu_, QStringLiteral("WindowMenu"));
    minimizeAllItem_ = item(windowMenu_, QStringLiteral("MinimizeAllItem"),
                            QStringLiteral("すべてをアイコン化"), &MainWindow::MinimizeAllClicked);
    connect(windowMenu_, &QMenu::aboutToShow, this,
            [this] { windows_->FillWindowMenu(windowMenu_, minimizeAllItem_); });

    QMenu* help = bar->addMenu(QStringLiteral("ヘルプ(&H)"));
    Name(help, QStringLiteral("HelpMenu"));
    item(help, QStringLiteral("HelpContentsItem"), QStringLiteral("目次"),
         &MainWindow::HelpContentsClicked);
    help->addSeparator();
    item(help, QStringLiteral("VersionItem"), QStringLiteral("バージョン情報"),
         &MainWindow::AboutClicked);
}

// --- the selection -----------------------------------------------------------

QMdiArea* MainWindow::ClientArea() const {
    return windows_->Area();
}

bool MainWindow::MonthStored() const {
    return panel_->MonthStored();
}

void MainWindow::SetMainWidth(int width, bool resizeWindow) {
    mainWidth_ = width;
    setMaximumWidth(std::max(width, kMinWidth));
    if (resizeWindow)
        resize(width, height());
}

void MainWindow::FillYearList() {
    panel_->FillYearList();
}

void MainWindow::UpdateMonthState() {
    panel_->UpdateMonthState();
}

void MainWindow::UpdateInputButton() {
    UpdateInputButton(FolderListing(programFolder_));
}

void MainWindow::UpdateInputButton(const FolderListing& entries) {
    const bool data = entries.Has(QString::fromLatin1(kTimeWagesFileName)) ||
                      entries.Has(QString::fromLatin1(kDailyWagesFileName));
    panelButton_->setEnabled(data);
    selectionPanelItem_->setEnabled(data);
    fileCommands_->SetExportEnabled(data);
    windows_->ShowFirstSteps(!data);
}

void MainWindow::RefreshLists() {
    UpdateInputButton();
    panel_->FillEmployees();
}

bool MainWindow::event(QEvent* event) {
    if (event->type() == QEvent::Paint && !painted_) {
        painted_ = true;
        // Once the main window is on screen and the operator reads it, the
        // selected year's index is made ready.
        QTimer::singleShot(0, this, [this] {
            panel_->IndexYearsWhenIdle();
            afterPaintBegun_ = true;
        });
    }
    return QMainWindow::event(event);
}

bool MainWindow::Settled() const {
    return painted_ && afterPaintBegun_ && !windows_->WarmingUp() && !panel_->Indexing();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::EnabledChange && startItem_ != nullptr) {
        if (watched == panel_->StartButton())
            startItem_->setEnabled(panel_->StartButton()->isEnabled());
        else if (watched == panel_->DeleteButton())
            deleteMonthItem_->setEnabled(panel_->DeleteButton()->isEnabled());
    }
    return QMainWindow::eventFilter(watched, event);
}

// --- commands -------------------------------------------------------------

void MainWindow::ExitClicked() {
    close();
}

void MainWindow::RegisterDailyClicked() {
    OpenDailyWagesForm();
    RefreshLists();
}

void MainWindow::RegisterHourlyClicked() {
    OpenTimeWagesForm();
    RefreshLists();
}

void MainWindow::ShowSelectionPanel(bool visible) {
    panel_->setVisible(visible);
    // Shown, the panel takes the keyboard: the pay scheme comes first. An
    // entry window is soon to come: what its first one alone waits for is
    // made ready while the operator chooses.
    if (visible) {
        panel_->TakeFocus();
        windows_->WarmUpEntryWindow();
    }
    selectionPanelItem_->setChecked(visible);
    panelButton_->setHint(visible ? kHidePanelHint : kShowPanelHint);
}

void MainWindow::SelectionPanelClicked() {
    ShowSelectionPanel(!panel_->isVisibleTo(this));
}

void MainWindow::CalcSettingsClicked() {
    OpenCalcSettings();
}

void MainWindow::ViewerClicked() {
    windows_->OpenViewer();
}

void MainWindow::SalariumClicked() {
    const QString program = FolderListing(programFolder_).SalariumProgram();
    if (program.isEmpty())
        return;
    if (!QProcess::startDetached(program, {}, programFolder_))
        Messages::Error(this, QStringLiteral("Salarium を起動できません。\n%1")
                                  .arg(QDir::toNativeSeparators(program)));
}

void MainWindow::StartClicked() {
    // A year typed without Enter is taken over, or refused, before anything
    // opens: the window opened is always the year the box shows.
    if (!panel_->TakeTypedYear() || panel_->Year().isEmpty()) {
        Messages::Information(this, QStringLiteral("入力年度が不正です。"));
        return;
    }
    ShowSelectionPanel(false);
    OpenMonth(panel_->Scheme(), panel_->ID(), panel_->Year().toInt(), panel_->Month());
}

void MainWindow::OpenMonth(PayScheme scheme, const QString& id, int year, int month) {
    const int width = scheme == PayScheme::Daily ? kDailyWidth : kHourlyWidth;
    if (QMdiSubWindow* found =
            windows_->FindEntry(EntryWindow::MakeEntryKey(scheme, S(id), year, month))) {
        SetMainWidth(width, true);
        windows_->BringUp(found);
        return;
    }
    EntrySelection selection;
    selection.id = S(id);
    selection.year = year;
    selection.month = month;
    // The panel has looked the month up already when it shows it.
    if (panel_->Scheme() == scheme && panel_->ID() == id && panel_->Year().toInt() == year &&
        panel_->Month() == month) {
        selection.newMonth = !panel_->MonthStored();
    } else {
        Guarded(this, [&] { selection.newMonth = FindMonthIndex(files_, S(id), year, month) < 0; });
    }
    if (EntryWindow* entry = windows_->MakeEntryWindow(selection))
        windows_->ShowEntry(entry, width);
}

void MainWindow::DeleteMonthClicked() {
    panel_->DeleteMonth();
}

void MainWindow::MonthOverviewClicked() {
    OpenMonthOverview();
}

// The overview starts on the selection's scheme and month; a row opens its
// month as 開始 does.
void MainWindow::OpenMonthOverview() {
    const int year =
        panel_->Year().isEmpty() ? QDate::currentDate().year() : panel_->Year().toInt();
    auto* overview = new TMonthOverview({files_, settings_, fs_, RealFileSystem(), &ChooseSaveFile},
                                        panel_->Scheme(), year, panel_->Month());
    connect(overview, &TMonthOverview::monthWanted, this, &MainWindow::OpenMonth);
    connect(overview, &TMonthOverview::mainWidthWanted, this,
            [this](int width) { SetMainWidth(width, false); });
    windows_->Show(overview);
}

bool MainWindow::PickFontColor(bool valid) {
    if (!toolPanel_->PickColour(valid, settings_.FontColor))
        return false;
    Guarded(this, [&] { WriteSettings(fs_, settings_); });
    // Every window draws with these colours: repaint them all now.
    emit FontColorsChanged();
    for (QWidget* widget : QApplication::allWidgets())
        widget->update();
    return true;
}

void MainWindow::ValidColorClicked() {
    PickFontColor(true);
}

void MainWindow::InvalidColorClicked() {
    PickFontColor(false);
}

void MainWindow::MinimizeAllClicked() {
    windows_->MinimizeAll();
}

void MainWindow::UpdateDataConvertItem(const FolderListing& entries) {
    const bool oldFiles =
        entries.Has(QStringLiteral("HIREDATA.DAT")) || entries.Has(QStringLiteral("HIREDATA.CBF"));
    dataConvertItem_->setEnabled(oldFiles && !readOnly_);
}

void MainWindow::HelpContentsClicked() {
    ShowHelp(this, 0);
}

void MainWindow::AboutClicked() {
    AboutDialog dialog(programFolder_, this);
    dialog.exec();
}

void MainWindow::DataConversionClicked() {
    UpdateDataConvertItem(FolderListing(programFolder_));
    if (dataConvertItem_->isEnabled())
        OpenDataConversion();
}

// --- window ---------------------------------------------------------------

void MainWindow::BringToFront() {
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Entry windows with unsaved changes ask first; one that is kept open
    // keeps the program running.
    if (!windows_->CloseAll()) {
        event->ignore();
        return;
    }
    // The help window goes with the program, and its place is kept.
    CloseHelp();
    event->accept();
}

// --- a folder held by another copy -------------------------------------------

void MainWindow::SetReadOnly() {
    readOnly_ = true;
    // Backups are the business of the copy that writes.
    files_.backup->keepDays = 0;
    setWindowTitle(QStringLiteral("Punchbook 2.0 (読み取り専用)"));
    panel_->SetReadOnly();
    windows_->SetReadOnly();
    fileCommands_->SetReadOnly();
    for (QWidget* button :
         {static_cast<QWidget*>(dailyButton_), static_cast<QWidget*>(hourlyButton_),
          static_cast<QWidget*>(calcButton_), static_cast<QWidget*>(panel_->DeleteButton())})
        KeepDisabled(button);
    for (QAction* item : {dailyItem_, hourlyItem_, calcItem_, dataConvertItem_, deleteMonthItem_})
        item->setEnabled(false);
    for (auto* item : findChildren<QAction*>(QRegularExpression(QStringLiteral("ColorItem$"))))
        item->setEnabled(false);
    follower_ = new FolderFollower(files_, *panel_, *windows_, this);
    connect(follower_, &FolderFollower::folderFreed, this, &MainWindow::folderFreed);
}

void MainWindow::SetWritable() {
    // Called from the follower's own signal: it goes once that has returned.
    if (follower_ != nullptr) {
        follower_->Stop();
        follower_->deleteLater();
        follower_ = nullptr;
    }
    readOnly_ = false;
    Guarded(this, [this] { ReadSettings(fs_, settings_, GrayTextColorRef()); });
    toolPanel_->ShowColours(settings_.FontColor);
    files_.backup->keepDays = settings_.Backup.KeepDays;
    setWindowTitle(QStringLiteral("Punchbook 2.0"));
    for (QWidget* button :
         {static_cast<QWidget*>(dailyButton_), static_cast<QWidget*>(hourlyButton_),
          static_cast<QWidget*>(calcButton_)})
        LetEnabled(button, true);
    LetEnabled(panel_->DeleteButton(), false);
    panel_->SetWritable();
    windows_->SetWritable();
    fileCommands_->SetWritable();
    for (QAction* item : {dailyItem_, hourlyItem_, calcItem_})
        item->setEnabled(true);
    for (auto* item : findChildren<QAction*>(QRegularExpression(QStringLiteral("ColorItem$"))))
        item->setEnabled(true);
    UpdateDataConvertItem(FolderListing(programFolder_));
    emit FontColorsChanged();
}

void MainWindow::LookAtFolder() {
    if (follower_ != nullptr)
        follower_->Look();
}

// --- windows of other parts --------------------------------------------------

// The forms reach their own window from their worker, so no process-wide
// reference to them is kept; each lives for one modal use.
void MainWindow::OpenDailyWagesForm() {
    ReNewConfirmer confirmer(this, files_, settings_);
    MessageOperator op(this, &confirmer);
    TInputD form({files_, settings_, op, GrayTextColorRef()}, this);
    form.exec();
}

void MainWindow::OpenTimeWagesForm() {
    ReNewConfirmer confirmer(this, files_, settings_);
    MessageOperator op(this, &confirmer);
    TInputT form({files_, settings_, op, GrayTextColorRef()}, this);
    form.exec();
}

// Open entry windows read the rules at their next calculation; they are not
// recalculated here.
void MainWindow::OpenCalcSettings() {
    const FontColorSettings colours = settings_.FontColor;
    CalcSettingsDialog dialog(settings_, fs_, GrayTextColorRef(), this);
    dialog.exec();
    // The dialog read the whole file again, font colours included.
    if (settings_.FontColor != colours) {
        toolPanel_->ShowColours(settings_.FontColor);
        emit FontColorsChanged();
    }
}

// A conversion adds employees and years, and its restore may take them away
// again: the selection panel is filled anew when the files changed.
void MainWindow::OpenDataConversion() {
    TChangeD dialog(files_, this);
    dialog.exec();
    if (dialog.FilesChanged()) {
        panel_->FillYearList();
        RefreshLists();
    }
    UpdateDataConvertItem(FolderListing(programFolder_));
}

}  // namespace pb
