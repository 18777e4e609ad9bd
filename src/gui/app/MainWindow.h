#pragma once
// The main window: toolbar, menu, the hideable selection panel (pay scheme,
// employee, year, month) and the client area that hosts the entry windows and
// the employee viewer.
//
// Windows of other parts of the program are opened in ONE method each:
//
// clang-format off
//   OpenEntryWindow()     開始 (selection panel)               EntryWindow   gui/timecard/EntryWindow.h
//   OpenDailyWagesForm()  登録 日給制, 登録 → 日給制従業員        TInputD   gui/employees/InputDailyWages.h
//   OpenTimeWagesForm()   登録 時給制, 登録 → 時給制従業員        TInputT   gui/employees/InputTimeWages.h
//   OpenCalcSettings()    設定, オプション → 計算設定             CalcSettingsDialog    gui/timecard/CalcSettingsDialog.h
//   OpenEmployeeViewer()  表示, 表示 → 従業員情報                TViewRD   gui/employees/ViewRegistData.h
//   OpenDataConversion()  ファイル → データコンバート             TChangeD  gui/convert/ChangeData.h
//   OpenMonthOverview()   表示 → 月次一覧                       TMonthOverview gui/overview/MonthOverviewW.h
// clang-format on
//
// What happens around them (the entry key, MainWidth, refreshing the lists
// after registration) is done here, so the methods only create and show. The
// selection panel is a widget of its own (SelectionPanel), the child windows
// are kept by ChildWindows, the ファイル menu's data commands are FileCommands
// (gui/files).

#include <QMainWindow>
#include <QString>

#include "core/model/PayScheme.h"
#include "core/store/DataFiles.h"
#include "core/store/FileSystem.h"
#include "core/store/Settings.h"

class QAction;
class QLabel;
class QMdiArea;
class QMenu;

namespace pb {

class ChildWindows;
class FileCommands;
class FolderFollower;
class FolderListing;
class SelectionPanel;
class EntryWindow;
class TPanelButton;
class ToolPanel;

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    // `programFolder` holds every data file; it ends in "/". Files are reached
    // through `fs` (tests pass a failing one).
    explicit MainWindow(const QString& programFolder, FileSystem& fs = RealFileSystem(),
                        QWidget* parent = nullptr);
    ~MainWindow() override;

    // Another copy of the program holds the folder (or it cannot be written):
    // every command that writes is disabled here and in the windows opened from
    // here; looking, calculating and printing stay. The caption says so.
    // It follows the copy that writes (FolderFollower): the employees, the
    // stored-month mark, open months stored anew; folderFreed() when the folder frees.
    void SetReadOnly();
    // This copy took the folder after all: every command of SetReadOnly comes
    // back, here and in the windows open, without a new start. The settings are
    // read anew (the copy that wrote may have changed them).
    void SetWritable();
    bool ReadOnly() const { return readOnly_; }
    // One look at the folder as the read-only copy's timer takes it every few
    // seconds (tests call it); nothing while this copy writes.
    void LookAtFolder();
    // Whether the work after the first paint is done: the selected year's
    // index, and the entry window's warm-up once the selection panel was
    // shown (both beside the operator's keys).
    bool Settled() const;

    const QString& ProgramFolder() const { return programFolder_; }
    // The program's one settings record, read at creation; windows read and
    // write its fields directly.
    Settings& CurrentSettings() { return settings_; }
    const Settings& CurrentSettings() const { return settings_; }
    // The full names of the data files, formed from the program folder.
    const DataFiles& Files() const { return files_; }
    QMdiArea* ClientArea() const;

    // The widest the window may be dragged: 660 while a daily-wage entry window
    // is active, 725 for an hourly one, 2000 for the employee viewer.
    int MainWidth() const { return mainWidth_; }
    // Sets MainWidth; with `resizeWindow` the window takes that width too.
    void SetMainWidth(int width, bool resizeWindow);

    // Whether the month chosen in the selection panel has a stored record.
    bool MonthStored() const;

  public slots:
    // Opens the entry window of an employee's month,
    // or brings the one open to the front: what 開始 does for the selection.
    void OpenMonth(PayScheme scheme, const QString& id, int year, int month);
    void FillYearList();
    void UpdateInputButton();
    // After a month was saved, so the indicator follows.
    void UpdateMonthState();
    // Un-minimises, shows, raises and activates the window (a later start of the
    // program asks for this).
    void BringToFront();

    void ExitClicked();            // 終了
    void RegisterDailyClicked();   // 登録 日給制
    void RegisterHourlyClicked();  // 登録 時給制
    void SelectionPanelClicked();  // 入力: shows or hides the selection panel
    void CalcSettingsClicked();    // 設定
    void ViewerClicked();          // 表示
    void SalariumClicked();        // Salarium
    void StartClicked();           // 開始
    void DeleteMonthClicked();     // 削除
    void MonthOverviewClicked();   // 表示 → 月次一覧
    void ValidColorClicked();
    void InvalidColorClicked();
    void MinimizeAllClicked();
    void HelpContentsClicked();
    void AboutClicked();
    void DataConversionClicked();

  signals:
    // The font colours changed; windows that colour their labels when activated
    // may listen to redo it at once.
    void FontColorsChanged();
    // An entry window wrote the month of `id`.
    void monthSaved(const QString& id, int year, int month);
    // Read-only: the folder's lock is free now, this copy could write.
    void folderFreed();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // The lists of the selection panel anew after employees changed.
    void RefreshLists();
    void OpenDailyWagesForm();
    void OpenTimeWagesForm();
    void OpenCalcSettings();
    void OpenDataConversion();
    void OpenMonthOverview();

    void BuildToolbar();
    void BuildMenu();
    void MakeFileCommands();
    void UpdateInputButton(const FolderListing& entries);
    void UpdateDataConvertItem(const FolderListing& entries);
    void ShowSelectionPanel(bool visible);
    bool PickFontColor(bool valid);

    QString programFolder_;
    FileSystem& fs_;
    Settings settings_;
    DataFiles files_;
    int mainWidth_ = 725;
    bool readOnly_ = false;
    bool painted_ = false;
    bool afterPaintBegun_ = false;  // the work after the first paint begun

    ToolPanel* toolPanel_ = nullptr;
    SelectionPanel* panel_ = nullptr;
    ChildWindows* windows_ = nullptr;
    FileCommands* fileCommands_ = nullptr;
    FolderFollower* follower_ = nullptr;  // while read-only
    TPanelButton* exitButton_ = nullptr;
    TPanelButton* dailyButton_ = nullptr;
    TPanelButton* hourlyButton_ = nullptr;
    TPanelButton* panelButton_ = nullptr;
    TPanelButton* calcButton_ = nullptr;
    TPanelButton* viewerButton_ = nullptr;
    TPanelButton* salariumButton_ = nullptr;

    QMenu* windowMenu_ = nullptr;
    QAction* dataConvertItem_ = nullptr;
    QAction* selectionPanelItem_ = nullptr;
    QAction* startItem_ = nullptr;
    QAction* deleteMonthItem_ = nullptr;
    QAction* dailyItem_ = nullptr;
    QAction* hourlyItem_ = nullptr;
    QAction* salariumItem_ = nullptr;
    QAction* calcItem_ = nullptr;
    QAction* minimizeAllItem_ = nullptr;
};

}  // namespace pb
