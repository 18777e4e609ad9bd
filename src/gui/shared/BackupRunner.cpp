#include "gui/shared/BackupRunner.h"

#include <QApplication>
#include <QEventLoop>
#include <QPointer>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <exception>
#include <memory>

#include "gui/shared/Naming.h"

namespace pb {
namespace {

constexpr int kQuietMilliseconds = 300;
constexpr int kSteps = 1000;

// What the backup's thread has copied, read by the window's timer.
struct Copied {
    std::atomic<std::uint64_t> done{0};
    std::atomic<std::uint64_t> total{0};
    int Step() const {
        const std::uint64_t all = total;
        return all == 0 ? 0 : static_cast<int>(done * kSteps / all);
    }
};

std::unique_ptr<QProgressDialog> ShowProgress(QWidget* over) {
    auto dialog = std::make_unique<QProgressDialog>(
        QStringLiteral("データファイルのバックアップを作成しています..."), QString(), 0, kSteps,
        over);
    Name(dialog.get(), QStringLiteral("BackupProgress"));
    dialog->setWindowTitle(QStringLiteral("バックアップ"));
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->setAutoClose(false);
    dialog->setAutoReset(false);
    dialog->setMinimumDuration(0);
    dialog->show();
    return dialog;
}

}  // namespace

void RunBackupsBeside(QWidget* window, DataFiles::Backup& backup) {
    auto copied = std::make_shared<Copied>();
    backup.progress = [copied](std::uint64_t done, std::uint64_t total) {
        copied->total = total;
        copied->done = done;
    };
    QPointer<QWidget> main(window);
    backup.run = [copied, main](const std::function<void()>& work) {
        copied->done = 0;
        copied->total = 0;
        std::exception_ptr failure;
        const std::unique_ptr<QThread> thread(QThread::create([&] {
            try {
                work();
            } catch (...) {
                failure = std::current_exception();
            }
        }));
        QEventLoop loop;
        QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit);
        std::unique_ptr<QProgressDialog> dialog;
        QTimer tick;
        tick.setInterval(50);
        QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
            if (dialog)
                dialog->setValue(copied->Step());
        });
        QTimer quiet;
        quiet.setSingleShot(true);
        QObject::connect(&quiet, &QTimer::timeout, &loop, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            dialog = ShowProgress(modal != nullptr ? modal : main.data());
            dialog->setValue(copied->Step());
            tick.start();
        });
        thread->start();
        quiet.start(kQuietMilliseconds);
        // The change waits for its backup: what the operator types meanwhile
        // is delivered after it, as it would be were the copies made here.
        if (!thread->isFinished())
            loop.exec(QEventLoop::ExcludeUserInputEvents);
        thread->wait();
        if (failure)
            std::rethrow_exception(failure);
    };
}

}  // namespace pb
