#pragma once
// Ends the application at the first paint of a window, after printing the
// moment of that paint on the system's monotonic clock (nanoseconds), which
// the timing process reads from the same clock.

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <cstdio>
#include <ctime>

class FirstPaintQuit : public QObject {
  public:
    explicit FirstPaintQuit(QObject* window) { window->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !done_) {
            done_ = true;
            timespec now{};
            clock_gettime(CLOCK_MONOTONIC, &now);
            std::printf("%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
            std::fflush(stdout);
            // After the paint has been delivered, not from inside it.
            QTimer::singleShot(0, qApp, &QApplication::quit);
        }
        return false;
    }

  private:
    bool done_ = false;
};
