#pragma once
// Ends the application once the work after the first paint of a window is
// done, printing on one line (nanoseconds on the monotonic clock, bytes, CPU
// nanoseconds of every thread): the first paint's moment, resident set and CPU
// time; the same when settled; and the longest the event loop kept a posted
// event waiting between the two, which is how late a key press would have
// been answered at worst.

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <functional>
#include <string>

#include "bench/FirstPaintQuit.h"

namespace bench {

inline long long Clock(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

inline long long Resident() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stoll(line.substr(6)) * 1024;
    return 0;
}

struct Moment {
    long long at = 0, resident = 0, cpu = 0;
    static Moment Now() {
        return {Clock(CLOCK_MONOTONIC), Resident(), Clock(CLOCK_PROCESS_CPUTIME_ID)};
    }
};

class SettleQuit : public FirstPaintCall {
  public:
    // `settled` is asked every millisecond after the first paint.
    SettleQuit(QObject* window, std::function<bool()> settled)
        : FirstPaintCall(window, [this] { Watch(); }), settled_(std::move(settled)) {}

  protected:
    void OnPaint() override { paint_ = Moment::Now(); }

    bool event(QEvent* event) override {
        if (event->type() != QEvent::User)
            return FirstPaintCall::event(event);
        longest_ = std::max(longest_, Clock(CLOCK_MONOTONIC) - posted_);
        waiting_ = false;
        return true;
    }

  private:
    void Watch() {
        poll_.setTimerType(Qt::PreciseTimer);
        poll_.setInterval(1);
        QObject::connect(&poll_, &QTimer::timeout, this, [this] {
            if (!settled_()) {
                Ping();
                return;
            }
            poll_.stop();
            const Moment idle = Moment::Now();
            std::printf("%lld %lld %lld %lld %lld %lld %lld\n", paint_.at, paint_.resident,
                        paint_.cpu, idle.at, idle.resident, idle.cpu, longest_);
            std::fflush(stdout);
            QCoreApplication::quit();
        });
        Ping();
        poll_.start();
    }
    // One event in the queue at a time; its wait is the loop's delay.
    void Ping() {
        if (waiting_)
            return;
        waiting_ = true;
        posted_ = Clock(CLOCK_MONOTONIC);
        QCoreApplication::postEvent(this, new QEvent(QEvent::User));
    }

    std::function<bool()> settled_;
    QTimer poll_;
    Moment paint_;
    long long posted_ = 0;
    long long longest_ = 0;
    bool waiting_ = false;
};

}  // namespace bench
