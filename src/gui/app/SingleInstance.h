#pragma once
// Keeps one copy of the program per user and display. The first copy listens on a local
// socket in the abstract namespace (no socket file, the kernel frees the name
// when the process dies, and a second bind() fails, which is the lock); a
// later start connects, asks the first copy to show itself and ends.
//
// Plain sockets watched by a QSocketNotifier: a start loads no network
// library for this.

#include <QObject>
#include <QString>

class QSocketNotifier;

namespace pb {

class SingleInstance : public QObject {
    Q_OBJECT
  public:
    // `name` is the lock's name; the program passes DefaultName().
    explicit SingleInstance(QString name, QObject* parent = nullptr);
    ~SingleInstance() override;

    // "hSinPBK2" followed by the user's id and the display, so that two users
    // on one machine each run their own copy, and a user logged in on a second
    // seat or remotely gets a window there instead of raising one on a screen
    // nobody sees. PUNCHBOOK_INSTANCE_NAME replaces it, which lets tests run
    // beside a copy that someone is using.
    static QString DefaultName();
    // The name for a user and display (the Wayland one when set, else the X one).
    static QString NameFor(unsigned uid, const QString& waylandDisplay, const QString& x11Display);

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
    void AcceptWaiting();

    QString name_;
    int listening_ = -1;  // the socket holding the name, -1 before Acquire()
    QSocketNotifier* waiting_ = nullptr;
};

}  // namespace pb
