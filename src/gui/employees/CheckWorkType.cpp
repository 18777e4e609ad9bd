#include "gui/employees/CheckWorkType.h"

#include <condition_variable>
#include <mutex>

namespace pb {

struct TCheckWorkType::Shared {
    std::mutex mutex;
    std::condition_variable wake;
    bool stopping = false;
    int passes = 0;
};

TCheckWorkType::TCheckWorkType(QObject* target, std::function<void()> routine,
                               std::chrono::milliseconds pace)
    : target_(target),
      routine_(std::move(routine)),
      pace_(pace),
      shared_(std::make_shared<Shared>()) {}

TCheckWorkType::~TCheckWorkType() {
    Stop();
}

void TCheckWorkType::StartIdle() {
    start(QThread::IdlePriority);
}

void TCheckWorkType::Stop() {
    {
        std::lock_guard lock(shared_->mutex);
        shared_->stopping = true;
    }
    shared_->wake.notify_all();
    // The worker is either pacing or waiting for a pass; both waits end on the
    // flag, so this returns at once and never needs the event loop.
    wait();
}

int TCheckWorkType::Passes() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->passes;
}

void TCheckWorkType::run() {
    const std::shared_ptr<Shared> shared = shared_;
    const std::function<void()> routine = routine_;
    std::unique_lock lock(shared->mutex);
    while (!shared->stopping) {
        auto done = std::make_shared<bool>(false);
        // Posted under the lock: Stop() takes it before the form is torn down, so
        // nothing is posted once stopping has begun. A call still queued when the
        // target dies is dropped by Qt along with the target's events.
        QMetaObject::invokeMethod(
            target_,
            [shared, routine, done] {
                {
                    std::lock_guard guard(shared->mutex);
                    if (shared->stopping)
                        return;
                }
                // Stop() runs on this same thread, so it cannot begin while the
                // routine runs.
                routine();
                {
                    std::lock_guard guard(shared->mutex);
                    *done = true;
                    ++shared->passes;
                }
                shared->wake.notify_all();
            },
            Qt::QueuedConnection);
        shared->wake.wait(lock, [&] { return shared->stopping || *done; });
        shared->wake.wait_for(lock, pace_, [&] { return shared->stopping; });
    }
}

}  // namespace pb
