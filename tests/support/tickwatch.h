#pragma once
// Watching a window stay responsive during long work without a stopwatch (a busy machine makes
// any wall-clock bound a coin toss): a zero-interval timer of the test counts the turns of the
// window's event loop while the work runs, and the processor time of the window's thread is
// kept apart from that of the whole process, so a test sees whether the work ran away from the
// window's thread. onTick may act meanwhile (press 取消).
#include <QObject>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

#include <ctime>
#include <functional>

namespace testsupport {

// Processor time in milliseconds of the calling thread, or of the whole process.
inline double CpuMs(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return double(t.tv_sec) * 1000.0 + double(t.tv_nsec) / 1e6;
}

struct TickWatch {
    QTimer timer;
    int ticks = 0;
    std::function<void()> onTick;

    // Create it on the window's thread, just before the work starts.
    TickWatch() : threadStart_(CpuMs(CLOCK_THREAD_CPUTIME_ID)), processStart_(CpuMs(CLOCK_PROCESS_CPUTIME_ID)) {
        timer.setInterval(0);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            ++ticks;
            if (onTick)
                onTick();
        });
        timer.start();
    }
    // Processor time since the start spent by threads other than the window's (call on it).
    double awayCpuMs() const {
        return (CpuMs(CLOCK_PROCESS_CPUTIME_ID) - processStart_) - (CpuMs(CLOCK_THREAD_CPUTIME_ID) - threadStart_);
    }
    // Processor time since the start spent by the window's thread (call on it).
    double windowCpuMs() const { return CpuMs(CLOCK_THREAD_CPUTIME_ID) - threadStart_; }

private:
    double threadStart_;
    double processStart_;
};

// The shared progress box of long work over window, or null while none is up.
inline QProgressDialog* ProgressBoxOf(QObject* window) {
    return window->findChild<QProgressDialog*>(QStringLiteral("ProgressBox"));
}

// Presses the progress box's 取消; false when there is no such box or button.
inline bool PressProgressCancel(QObject* window) {
    QProgressDialog* box = ProgressBoxOf(window);
    QPushButton* cancel = box ? box->findChild<QPushButton*>() : nullptr;
    if (!cancel || cancel->text() != QStringLiteral("取消")) return false;
    cancel->click();
    return true;
}

}  // namespace testsupport
