#pragma once
// Ends the application at the first paint of a window, after printing the
// moment of that paint on the system's monotonic clock (nanoseconds), which
// the timing process reads from the same clock, the resident set then (bytes)
// and the CPU time the process has used until then (nanoseconds).

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <functional>
#include <string>

// Calls `then` once, after the first paint of `window` has been delivered.
class FirstPaintCall : public QObject {
  public:
    FirstPaintCall(QObject* window, std::function<void()> then) : then_(std::move(then)) {
        window->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !done_) {
            done_ = true;
            OnPaint();
            // After the paint has been delivered, not from inside it.
            QTimer::singleShot(0, qApp, then_);
        }
        return false;
    }

  protected:
    virtual void OnPaint() {}

  private:
    std::function<void()> then_;
    bool done_ = false;
};

class FirstPaintQuit : public FirstPaintCall {
  public:
    explicit FirstPaintQuit(QObject* window) : FirstPaintCall(window, &QApplication::quit) {}

  protected:
    void OnPaint() override {
        timespec now{}, cpu{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
        long long resident = 0;
        std::ifstream status("/proc/self/status");
        for (std::string line; std::getline(status, line);)
            if (line.rfind("VmRSS:", 0) == 0)
                resident = std::stoll(line.substr(6)) * 1024;
        std::printf("%lld %lld %lld\n",
                    static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec, resident,
                    static_cast<long long>(cpu.tv_sec) * 1000000000LL + cpu.tv_nsec);
        std::fflush(stdout);
    }
};
