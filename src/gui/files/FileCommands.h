#pragma once
// The ファイル menu's commands on the data folder: export, import, restore
// from a backup, the folder check and opening the folder. What they need of
// the main window and its child windows is handed in by FileCommandsContext.

#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "core/model/Settings.h"
#include "core/store/DataFiles.h"
#include "core/store/FileSystem.h"
#include "gui/files/ExportDialog.h"
#include "gui/files/ImportDialog.h"

class QAction;
class QMenu;
class QWidget;

namespace pb {

struct FileCommandsContext {
    const DataFiles& files;
    // The rules of the calculation are read; the import remembers its column
    // layout in them, written through `fs`.
    Settings& settings;
    FileSystem& fs;
    // The data folder, ending in "/".
    QString folder;
    // Where an export starts: the selection and the entry window in use; an
    // import takes its employee and month for a file without an ID column.
    std::function<ExportStart()> exportStart;
    // Before an import writes: the windows of its months close (asking about
    // their unsaved edits); false when one stays open.
    std::function<bool(const std::vector<ImportMonth>& months)> closeWindows;
    // Brings forward a window with unsaved edits; false when there is none.
    std::function<bool()> showUnsavedWindow;
    // Closes every child window: nothing may go on showing the data as it was.
    std::function<void()> closeAllWindows;
    // An import wrote months: the stored-data indicator and the years follow.
    std::function<void()> monthsWritten;
    // A backup was restored: every list follows.
    std::function<void()> folderRestored;
};

class FileCommands : public QObject {
    Q_OBJECT
  public:
    // The dialogs and messages appear over `parent`.
    FileCommands(FileCommandsContext context, QWidget* parent);

    // The items of the commands, added to `menu`: データフォルダを開く, then
    // エクスポート, 勤務データの取り込み, バックアップから復元 and データの検査.
    void AddItems(QMenu* menu);
    // Export is offered once there are employees.
    void SetExportEnabled(bool enabled);
    // A copy that may not write: import and restore are disabled.
    void SetReadOnly();
    // The copy may write after all: import and restore again.
    void SetWritable();

  public slots:
    // A month, an employee's year or a scheme's month to a file.
    void Export();
    // Clock times from a CSV file; the open entry windows of the months it
    // writes close first.
    void Import();
    // The data files of a chosen backup, after a question and with the present
    // state backed up first. Refused while an entry window holds unsaved edits.
    void RestoreBackup();
    // The check of the data folder, its report in a window.
    void CheckFolder();
    // The data folder in the file manager.
    void OpenDataFolder();

  private:
    FileCommandsContext context_;
    QWidget* parent_;
    bool readOnly_ = false;
    QAction* exportItem_ = nullptr;
    QAction* importItem_ = nullptr;
    QAction* restoreItem_ = nullptr;
    // The folder of the last export of this run.
    QString exportFolder_;
};

// The day's backup failed for `failure`: asks (over the modal dialog in use,
// else over `window`) whether the change goes on without one.
bool AskToGoOnWithoutBackup(QWidget* window, const std::string& failure);

}  // namespace pb
