#include <gtest/gtest.h>

#include <QApplication>
#include <QProgressDialog>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <thread>

#include "core/store/FileSystem.h"
#include "gui/shared/BackupRunner.h"

namespace pb {
namespace {

// A backup that lasts shows its progress in a modal dialog while its copies
// run beside the window; a quick one shows nothing; a failure reaches the
// change that asked for the backup.
TEST(BackupRunner, ALastingBackupShowsItsProgressAndPassesOnItsFailure) {
    QWidget window;
    DataFiles::Backup backup;
    RunBackupsBeside(&window, backup);
    ASSERT_TRUE(backup.run && backup.progress);

    QString modal;
    int shownValue = -1;
    QTimer look;
    look.setSingleShot(true);
    QObject::connect(&look, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget())) {
            modal = dialog->objectName();
            shownValue = dialog->value();
        }
    });
    look.start(450);
    bool ranElsewhere = false;
    const auto gui = std::this_thread::get_id();
    backup.run([&] {
        ranElsewhere = std::this_thread::get_id() != gui;
        backup.progress(0, 1000);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        backup.progress(500, 1000);
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        backup.progress(1000, 1000);
    });
    EXPECT_TRUE(ranElsewhere);
    EXPECT_EQ(modal, QStringLiteral("BackupProgress"));
    EXPECT_EQ(shownValue, 500);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    modal.clear();
    look.start(0);
    backup.run([&] { backup.progress(1, 1); });
    QApplication::processEvents();
    EXPECT_TRUE(modal.isEmpty());

    EXPECT_THROW(backup.run([] { throw FileError("backup", 28, "backup: no space"); }), FileError);
}

}  // namespace
}  // namespace pb
