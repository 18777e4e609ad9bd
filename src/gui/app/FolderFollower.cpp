#include "gui/app/FolderFollower.h"

#include <QApplication>
#include <QTimer>
#include <vector>

#include "core/store/FolderLock.h"
#include "core/store/WorkDataFiles.h"
#include "gui/app/ChildWindows.h"
#include "gui/app/SelectionPanel.h"
#include "gui/shared/Guard.h"
#include "gui/shared/Messages.h"
#include "gui/shared/YearIndexer.h"
#include "gui/timecard/EntryWindow.h"

namespace pb {

namespace {

// What a look may read of a year file on the window's thread; a larger one
// is indexed beside the window first.
constexpr std::uint64_t kLookBudget = 64 * 1024;

}  // namespace

FolderFollower::FolderFollower(const DataFiles& files, SelectionPanel& panel, ChildWindows& windows,
                               QObject* parent)
    : QObject(parent), files_(files), panel_(panel), windows_(windows), watch_(*files.fs) {
    indexer_ = new YearIndexer(files_, this);
    connect(indexer_, &YearIndexer::Indexed, this, [this] {
        if (!stopped_ && !looking_)
            CheckEntries();
    });
    timer_ = new QTimer(this);
    timer_->setInterval(kLookEveryMilliseconds);
    connect(timer_, &QTimer::timeout, this, &FolderFollower::Look);
    timer_->start();
    // The stamps as they are now, once whoever listens has connected.
    QTimer::singleShot(0, this, &FolderFollower::Look);
}

void FolderFollower::Look() {
    if (stopped_ || looking_ || QApplication::activeModalWidget() != nullptr)
        return;
    looking_ = true;
    const QString year = panel_.Year();
    const std::string selectedYearFile =
        year.isEmpty() ? std::string() : files_.WorkFile(year.toInt());
    std::vector<std::string> paths = {files_.NameFile, files_.DailyWagesFile, files_.TimeWagesFile};
    if (!selectedYearFile.empty())
        paths.push_back(selectedYearFile);
    for (const EntryWindow* entry : windows_.Entries())
        paths.push_back(files_.WorkFile(entry->Opened().year));

    bool employees = false;
    bool selectedMonth = false;
    for (const std::string& path : watch_.Changed(paths)) {
        if (path == selectedYearFile)
            selectedMonth = true;
        if (const std::optional<std::string> changed = YearOfWorkFile(path))
            changedYears_.insert(std::stoi(*changed));
        else
            employees = true;
    }
    if (employees)
        panel_.FollowEmployees();
    else if (selectedMonth)
        panel_.UpdateMonthState();
    if (!changedYears_.empty())
        CheckEntries();

    const bool free = watch_.FolderFree(files_.Folder);
    const bool offer = free && !offered_;
    offered_ = free;
    looking_ = false;
    if (offer)
        emit folderFreed();
}

void FolderFollower::Stop() {
    stopped_ = true;
    timer_->stop();
}

void FolderFollower::CheckEntries() {
    const bool looking = looking_;
    looking_ = true;
    std::vector<std::pair<EntryWindow*, std::optional<MonthRecord>>> changed;
    for (auto year = changedYears_.begin(); year != changedYears_.end();) {
        bool known = true;
        for (EntryWindow* entry : windows_.Entries()) {
            const OpenedMonth& month = entry->Opened();
            if (month.year != *year)
                continue;
            std::optional<bool> stored;
            Guarded(entry, [&] {
                stored =
                    IsMonthStoredWithin(files_, month.id, month.year, month.month, kLookBudget);
            });
            if (!stored) {
                known = false;
                break;
            }
            std::optional<MonthRecord> record;
            if (*stored)
                Guarded(entry, [&] {
                    record = ReadMonthRecord(files_, month.id, month.year, month.month);
                });
            if (record != Known(entry))
                changed.emplace_back(entry, record);
        }
        if (known) {
            year = changedYears_.erase(year);
        } else {
            indexer_->Request(*year);
            ++year;
        }
    }
    for (const auto& [entry, record] : changed)
        CheckEntry(entry, record);
    looking_ = looking;
}

std::optional<MonthRecord> FolderFollower::Known(EntryWindow* entry) {
    if (const auto known = known_.find(entry); known != known_.end())
        return known->second;
    const OpenedMonth& month = entry->Opened();
    return month.stored ? std::optional(month.record) : std::nullopt;
}

void FolderFollower::CheckEntry(EntryWindow* entry, const std::optional<MonthRecord>& stored) {
    // Asked once per change: an answer of no keeps the window as it is until
    // the month is stored anew.
    if (known_.find(entry) == known_.end())
        connect(entry, &QObject::destroyed, this, [this, entry] { known_.erase(entry); });
    known_[entry] = stored;
    const QString what = stored ? QStringLiteral("別のパソコンでこの月が記録されました。")
                                : QStringLiteral("別のパソコンでこの月が削除されました。");
    if (entry->Modified()) {
        Messages::Information(entry, what + QStringLiteral("\n入力中のデータはそのまま残します。"));
        return;
    }
    if (Messages::Confirm(entry, what + QStringLiteral("読み込み直しますか？")))
        windows_.Reopen(entry);
}

}  // namespace pb
