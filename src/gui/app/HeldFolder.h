#pragma once
// The program folder as this copy holds it, for as long as the program runs:
// the folder's lock, or the read-only door when another copy holds it. A copy
// that opened read-only because another held the folder offers to write when
// the folder frees, and takes it the way a start does.

#include <QObject>
#include <QString>
#include <memory>

#include "core/store/FileSystem.h"
#include "core/store/FolderLock.h"

namespace pb {

class MainWindow;
class Operator;

class HeldFolder final : public QObject {
    Q_OBJECT
  public:
    // `folder` ends in "/".
    HeldFolder(const QString& folder, QObject* parent);
    ~HeldFolder() override;

    // Takes the folder's lock and repairs a change cut short, before anything
    // is read; when another copy holds it (or it cannot be written) `op` hears
    // why, and the folder is read-only.
    void Take(Operator& op);
    bool Holds() const { return lock_ != nullptr; }
    // What the main window reaches the files through: the machine's own file
    // system, or the door that refuses writes until this copy writes.
    FileSystem& Door();

    // Once `window` is shown: the lock file goes to the disk after the first
    // paint and its time moves while the program runs; read-only, the window
    // offers to write when the folder frees.
    void Serve(MainWindow& window);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void KeepLockFresh();
    // "書き込みできるようになりました。切り替えますか？" and, on yes, the
    // lock and the repair as at a start, then the window writes.
    void OfferWriting(MainWindow& window);

    QString folder_;
    std::unique_ptr<FolderLock> lock_;
    ReadOnlyFileSystem readOnly_;
    bool heldElsewhere_ = false;  // read-only because another copy holds the folder
};

}  // namespace pb
