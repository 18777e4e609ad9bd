#pragma once
// Keeps one copy of the program per user. The first copy listens on a local
// socket in the abstract namespace (no socket file, the kernel frees the name
// when the process dies, and a second listen() fails, which is the lock); a
// later start connects, asks the first copy to show itself and ends.

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace pb {

class SingleInstance : public QObject {
    Q_OBJECT
  public:
    // `name` is the lock's name; the program passes DefaultName().
    explicit SingleInstance(QString name, QObject* parent = nullptr);

    // "hSinPBK2" followed by the user's id, so that two users on one machine
    // each run their own copy. PUNCHBOOK_INSTANCE_NAME replaces it, which lets
    // tests run beside a copy that someone is using.
    static QString DefaultName();

    // Takes the lock. False when another copy holds it.
    bool Acquire();

    // Asks the copy holding the lock to come to the front. False when no copy
    // answered within `timeoutMs` (it may be closing down).
    bool SignalRunningCopy(int timeoutMs = 1000) const;

    const QString& Name() const { return name_; }

  signals:
    // A later start asked this copy to show its main window.
    void ActivationRequested();

  private:
    void ReadRequest();

    QString name_;
    QLocalServer server_;
};

}  // namespace pb
