#pragma once
// バックアップから復元: the backups of the data folder, newest first, with the
// files each holds; the operator chooses the one to go back to. The restore
// itself (after a question, with the present state backed up first) is the
// main window's, which knows the open windows.

#include <QDialog>
#include <QString>

#include "core/store/DataFiles.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace pb {

class TRestoreD : public QDialog {
    Q_OBJECT
  public:
    // Lists BackupNames; throws FileError when the backup folder cannot be read.
    explicit TRestoreD(const DataFiles& files, QWidget* parent = nullptr);

    // The chosen backup's folder name ("2024-05-01"), empty when none.
    QString SelectedName() const;
    // How the operator reads a backup's name: "2024年5月1日(水)" and, for the
    // state kept before a restore, its time ("2024年5月1日(水) 10:30:00（復元の前）").
    static QString Caption(const QString& name);

  public slots:
    void BackupListChange();

  private:
    DataFiles files_;
    QListWidget* backupList_ = nullptr;
    QLabel* filesLabel_ = nullptr;
    QPushButton* restorePB_ = nullptr;
    QPushButton* cancelPB_ = nullptr;
};

}  // namespace pb
