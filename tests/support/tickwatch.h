#pragma once
// Watching a window stay responsive during long work: a 10 ms timer of the test counts how
// often it fired and the longest wait between two firings (or from its start), that is how
// long the window went without processing events; onTick may act meanwhile (press 取消).
#include <QElapsedTimer>
#include <QObject>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <functional>

namespace testsupport {

struct TickWatch {
    QTimer timer;
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longest = 0;
    int ticks = 0;
    std::function<void()> onTick;

    TickWatch() {
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            const qint64 now = clock.elapsed();
            longest = std::max(longest, now - last);
            last = now;
            ++ticks;
            if (onTick)
                onTick();
        });
        clock.start();
        timer.start();
    }
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
