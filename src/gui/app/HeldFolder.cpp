#include "gui/app/HeldFolder.h"

#include <QEvent>
#include <QTimer>
#include <string>

#include "core/store/DataFiles.h"
#include "core/store/Recovery.h"
#include "gui/app/MainWindow.h"
#include "gui/shared/MessageOperator.h"
#include "gui/shared/Messages.h"
#include "gui/shared/Text.h"

namespace pb {

HeldFolder::HeldFolder(const QString& folder, QObject* parent) : QObject(parent), folder_(folder) {}

HeldFolder::~HeldFolder() = default;

void HeldFolder::Take(Operator& op) {
    LockOutcome outcome = LockProgramFolder(RealFileSystem(), S(folder_), op);
    if (outcome.lock) {
        lock_ = std::move(outcome.lock);
        // Only the copy that holds the lock repairs, and before anything is read.
        if (!RecoverProgramFolder(AssignDataFiles(S(folder_)), op))
            lock_.reset();
    } else if (outcome.holder) {
        heldElsewhere_ = true;
        op.Information(ReadOnlyNotice(*outcome.holder));
    } else {
        op.Information(outcome.problem);
    }
}

FileSystem& HeldFolder::Door() {
    return lock_ ? RealFileSystem() : readOnly_;
}

void HeldFolder::Serve(MainWindow& window) {
    if (lock_) {
        window.installEventFilter(this);
        KeepLockFresh();
    } else if (heldElsewhere_) {
        connect(&window, &MainWindow::folderFreed, this, [this, &window] { OfferWriting(window); });
    }
}

// The lock file's time moves while this copy runs: another PC takes over only
// a lock whose time has stood still for minutes.
void HeldFolder::KeepLockFresh() {
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, [this] {
        if (lock_)
            lock_->Refresh();
    });
    timer->start(std::chrono::milliseconds(kLockRefreshEvery));
}

bool HeldFolder::eventFilter(QObject* watched, QEvent* event) {
    // The lock file goes to the disk once the window has been painted, so
    // that the start does not wait for it.
    if (event->type() == QEvent::Paint) {
        watched->removeEventFilter(this);
        QTimer::singleShot(0, this, [this] {
            if (lock_)
                lock_->MakeDurable();
        });
    }
    return false;
}

void HeldFolder::OfferWriting(MainWindow& window) {
    if (lock_ || !Messages::Confirm(
                     &window, QStringLiteral("書き込みできるようになりました。切り替えますか？")))
        return;
    MessageOperator op(&window);
    LockOutcome outcome = LockProgramFolder(RealFileSystem(), S(folder_), op);
    if (!outcome.lock) {
        // Another copy was quicker, the takeover was declined, or the folder
        // cannot be written: still read-only, as the notice says.
        std::string notice = outcome.holder ? ReadOnlyNotice(*outcome.holder) : outcome.problem;
        const std::string opens = "読み取り専用で開きます。";
        if (notice.ends_with(opens))
            notice.replace(notice.size() - opens.size(), opens.size(),
                           "読み取り専用のままにします。");
        op.Information(notice);
        return;
    }
    if (!RecoverProgramFolder(AssignDataFiles(S(folder_)), op))
        return;
    lock_ = std::move(outcome.lock);
    lock_->MakeDurable();
    KeepLockFresh();
    readOnly_.AllowWrites();
    window.SetWritable();
}

}  // namespace pb
