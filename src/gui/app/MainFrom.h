#pragma once
// The main window: toolbar, menu, the hideable selection panel (pay scheme,
// employee, year, month) and the client area that hosts the entry windows and
// the employee viewer.
//
// Windows of other parts of the program are opened in ONE method each:
//
// clang-format off
//   OpenEntryWindow()     開始 (selection panel)               TInputW   gui/timecard/InputWork.h
//   OpenDailyWagesForm()  登録 日給制, 登録 → 日給制従業員        TInputD   gui/employees/InputDailyWages.h
//   OpenTimeWagesForm()   登録 時給制, 登録 → 時給制従業員        TInputT   gui/employees/InputTimeWages.h
//   OpenCalcSettings()    設定, オプション → 計算設定             TCalcS    gui/timecard/Calc_SetUp.h
//   OpenEmployeeViewer()  表示, 表示 → 従業員情報                TViewRD   gui/employees/ViewRegistData.h
//   OpenDataConversion()  ファイル → データコンバート             TChangeD  gui/convert/ChangeData.h
// clang-format on
//
// What happens around them (the entry key, MainWidth, refreshing the lists
// after registration) is done here, so the methods only create and show.

#include <QMainWindow>
#include <QString>

#include "core/store/DataFiles.h"
#include "core/store/FileSystem.h"
#include "core/store/Settings.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QStringListModel;
class QTimer;

namespace pb {

class TInputW;
class TPanelButton;

class TMainFrom : public QMainWindow {
    Q_OBJECT
  public:
    // `programFolder` holds every data file; it ends in "/". Files are reached
    // through `fs` (tests pass a failing one).
    explicit TMainFrom(const QString& programFolder, FileSystem& fs = RealFileSystem(),
                       QWidget* parent = nullptr);
    ~TMainFrom() override;

    // Another copy of the program holds the folder (or it cannot be written):
    // every command that writes is disabled here and in the windows opened from
    // here; looking, calculating and printing stay. The caption says so.
    void SetReadOnly();
    bool ReadOnly() const { return readOnly_; }

    const QString& ProgramFolder() const { return programFolder_; }
    // The program's one settings record, read at creation; windows read and
    // write its fields directly.
    Settings& CurrentSettings() { return settings_; }
    const Settings& CurrentSettings() const { return settings_; }
    // The full names of the data files, formed from the program folder.
    const DataFiles& Files() const { return files_; }
    QMdiArea* ClientArea() const { return clientArea_; }

    // The widest the window may be dragged: 660 while a daily-wage entry window
    // is active, 725 for an hourly one, 2000 for the employee viewer.
    int MainWidth() const { return mainWidth_; }
    // Sets MainWidth; with `resizeWindow` the window takes that width too.
    void SetMainWidth(int width, bool resizeWindow);

    // Set when entry starts: true when the chosen month has nothing stored, so
    // the entry window starts an empty month. Read while the window is created.
    bool NewMonthFlag() const { return newMonthFlag_; }
    // Pay scheme + ID + year + two-digit month of the last started entry,
    // e.g. "1001199904". An entry window keeps its key as its hint (tool tip);
    // a second 開始 with the same key brings that window to the front.
    const QString& EntryKey() const { return entryKey_; }

    // The selection: scheme 1 (日給制) or 2 (時給制), the ID ("" when none), the
    // selected year item ("" when none) and the month 1..12.
    int SelectedScheme() const;
    QString SelectedID() const;
    QString SelectedYear() const;
    int SelectedMonth() const;

    // The name of the icon shown for the selection: "1_ICON" (nothing stored)
    // or "2_ICON" (stored).
    const QString& MonthIcon() const { return monthIcon_; }

  public slots:
    void FillYearList();
    void UpdateInputButton();
    // The entry window calls it after saving a month, so the indicator follows.
    void UpdateMonthState();
    // Un-minimises, shows, raises and activates the window (a later start of the
    // program asks for this).
    void BringToFront();

    void PanelButton12Click();  // 終了
    void PanelButton1Click();   // 登録 日給制
    void PanelButton2Click();   // 登録 時給制
    void PanelButton3Click();   // 入力: shows or hides the selection panel
    void PanelButton4Click();   // 設定
    void PanelButton5Click();   // 表示
    void PanelButton11Click();  // Salarium
    void PanelButton10Click();  // 開始
    void PanelButton8Click();   // 削除
    void ComboBox4Change();     // pay scheme
    void ComboBox1Change();     // employee
    void ComboBox2Change();     // year
    void ComboBox3Change();     // month
    // Leaving the year box or Enter in it: the typed year is taken over, or the
    // box shows the selected year again; false when a typed text was refused.
    bool ComboBox2Exit();
    void Timer1Timer();  // the stored-data indicator
    void ValidColorClick();
    void InvalidColorClick();
    void MinimizeAllClick();
    void HelpContentsClick();
    void VersionClick();
    // ファイル → データフォルダを開く: the data folder in the file manager.
    void OpenDataFolderClick();
    void DataConvertClick();
    // ファイル → エクスポート: a month, an employee's year or a scheme's month to a file.
    void ExportClick();
    // ファイル → 勤務データの取り込み: clock times from a CSV file; the open
    // entry windows of the months it writes close first.
    void ImportClick();
    // ファイル → バックアップから復元: the data files of a chosen backup, after a
    // question and with the present state backed up first. Refused while an
    // entry window holds unsaved edits, and in a read-only copy.
    void RestoreBackupClick();
    // ファイル → データの検査: the check of the data folder, its report in a window.
    void CheckFolderClick();

  signals:
    // The font colours changed; windows that colour their labels when activated
    // may listen to redo it at once.
    void FontColorsChanged();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void DisableWriting(QWidget* window);
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void WarmUp();
    // Reads the rest of the selected year's file into its index once the
    // program is idle, so that later selection steps read nothing.
    void IndexSelectedYearWhenIdle();
    void OpenEntryWindow(int mainWidth);
    void MakeRoomFor(const TInputW& entry, int mainWidth);
    void OpenDailyWagesForm();
    void OpenTimeWagesForm();
    void OpenCalcSettings();
    void OpenEmployeeViewer();
    void OpenDataConversion();
    // Adds a window to the client area as a maximised child and activates it.
    void ShowChild(QWidget* window);

    void BuildToolbar();
    void BuildSelectionPanel();
    void BuildMenu();
    void LayOutRightAligned();
    void FillWindowMenu();
    // The files of the program folder, listed once for the look-ups below.
    QStringList ProgramFolderEntries() const;
    // The full name of the entry that is `name` without regard to case, or "".
    QString FindIn(const QStringList& entries, const QString& name) const;
    void UpdateInputButton(const QStringList& entries);
    void UpdateDataConvertItem(const QStringList& entries);
    // The entry window in use (the active one, else the last one active), or null.
    TInputW* CurrentEntryWindow() const;
    void ShowSelectionPanel(bool visible);
    bool PickFontColor(bool valid);
    void ColourToolbarLabels();
    QString SalariumProgram(const QStringList& entries) const;
    void ShowIcon(const QString& name);

    QString programFolder_;
    FileSystem& fs_;
    Settings settings_;
    DataFiles files_;
    int mainWidth_ = 725;
    bool newMonthFlag_ = false;
    bool readOnly_ = false;
    QString entryKey_;
    QString monthIcon_;
    const QString noDataIcon_;
    int blink_ = 1;
    bool painted_ = false;
    // The folder of the last export of this run.
    QString exportFolder_;

    QWidget* toolPanel_ = nullptr;
    QWidget* selectionPanel_ = nullptr;
    QMdiArea* clientArea_ = nullptr;
    // What to do first, shown in the empty client area while nobody is registered.
    QLabel* firstSteps_ = nullptr;
    QLabel* validLabel_ = nullptr;
    QLabel* invalidLabel_ = nullptr;
    TPanelButton* PanelButton12 = nullptr;
    TPanelButton* PanelButton1 = nullptr;
    TPanelButton* PanelButton2 = nullptr;
    TPanelButton* PanelButton3 = nullptr;
    TPanelButton* PanelButton4 = nullptr;
    TPanelButton* PanelButton5 = nullptr;
    TPanelButton* PanelButton11 = nullptr;
    TPanelButton* PanelButton10 = nullptr;
    TPanelButton* PanelButton8 = nullptr;
    QComboBox* ComboBox4 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QStringListModel* idList_ = nullptr;  // ComboBox1's items
    QLineEdit* NameEdit = nullptr;
    QComboBox* ComboBox2 = nullptr;
    QComboBox* ComboBox3 = nullptr;
    QLabel* Image1 = nullptr;
    QTimer* Timer1 = nullptr;

    QMenu* fileMenu_ = nullptr;
    QMenu* windowMenu_ = nullptr;
    QAction* dataConvertItem_ = nullptr;
    QAction* exportItem_ = nullptr;
    QAction* importItem_ = nullptr;
    QAction* restoreItem_ = nullptr;
    QAction* selectionPanelItem_ = nullptr;
    QAction* startItem_ = nullptr;
    QAction* deleteMonthItem_ = nullptr;
    QAction* viewerItem_ = nullptr;
    QAction* dailyItem_ = nullptr;
    QAction* hourlyItem_ = nullptr;
    QAction* salariumItem_ = nullptr;
    QAction* calcItem_ = nullptr;
    QAction* minimizeAllItem_ = nullptr;
};

}  // namespace pb
