#pragma once
// The main window of a copy that opened the folder read-only follows the copy
// that writes it: every few seconds the files that matter are looked at by
// their stamps (a share sends no change notices, so this is polled, not
// watched), and what changed is shown: the employees, the selected month's
// mark, an open month that was stored anew (its window offers to read it
// again; typed edits are never dropped). When the folder frees it says so,
// once until the folder is taken and freed again.

#include <QObject>
#include <QString>
#include <map>
#include <optional>
#include <set>

#include "core/model/Records.h"
#include "core/store/DataFiles.h"
#include "core/store/FolderWatch.h"

class QTimer;

namespace pb {

class ChildWindows;
class EntryWindow;
class SelectionPanel;
class YearIndexer;

class FolderFollower : public QObject {
    Q_OBJECT
  public:
    // How often the files are looked at.
    static constexpr int kLookEveryMilliseconds = 3000;

    // `files` (the read-only copy's, and its file system), the panel and the
    // windows must outlive the follower. It starts looking at once.
    FolderFollower(const DataFiles& files, SelectionPanel& panel, ChildWindows& windows,
                   QObject* parent);

    // One look at the files (the timer's; tests call it). Skipped while a modal
    // window is open: no question piles up over the operator's dialog.
    void Look();
    // No more looks (the copy writes now); the follower may then be deleted
    // later, also from a slot of its own signal.
    void Stop();

  signals:
    // The folder's lock is free: this copy could take the folder and write.
    void folderFreed();

  private:
    // The open months of the years whose files changed, as far as their
    // indexes tell without waiting; the others once read beside the window.
    void CheckEntries();
    void CheckEntry(EntryWindow* entry, const std::optional<MonthRecord>& stored);
    // The month the window was opened with, or last told about.
    std::optional<MonthRecord> Known(EntryWindow* entry);

    const DataFiles& files_;
    SelectionPanel& panel_;
    ChildWindows& windows_;
    FolderWatch watch_;
    QTimer* timer_ = nullptr;
    YearIndexer* indexer_ = nullptr;
    bool looking_ = false;
    bool stopped_ = false;
    bool offered_ = false;
    std::set<int> changedYears_;
    std::map<const EntryWindow*, std::optional<MonthRecord>> known_;
};

}  // namespace pb
