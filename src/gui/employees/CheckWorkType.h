#pragma once
// The registration forms' background worker: it keeps asking the user-interface
// thread to recompute the work pattern shown in the form's title.

#include <QObject>
#include <QThread>
#include <chrono>
#include <functional>
#include <memory>

namespace pb {

class TCheckWorkType : public QThread {
    Q_OBJECT
  public:
    // `routine` runs on the thread of `target`, once per pass, with the worker
    // waiting until it has run. Passes are `pace` apart so an open form does not
    // keep a processor busy.
    TCheckWorkType(QObject* target, std::function<void()> routine,
                   std::chrono::milliseconds pace = std::chrono::milliseconds(50));
    // Stops the worker (see Stop).
    ~TCheckWorkType() override;

    // Starts the worker at the lowest priority the system offers.
    void StartIdle();

    // Called on the user-interface thread. After it returns the routine never
    // runs again; it does not wait for a pass that is itself waiting for the
    // user-interface thread (that pass gives up instead).
    void Stop();

    // How many times the routine has run.
    int Passes() const;

  protected:
    void run() override;

  private:
    struct Shared;
    QObject* target_;
    std::function<void()> routine_;
    std::chrono::milliseconds pace_;
    std::shared_ptr<Shared> shared_;
};

}  // namespace pb
