#include "platform/ui/progressrun.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>

#include <atomic>
#include <exception>
#include <thread>

namespace ui {

bool RunWithProgress(QWidget* parent, const QString& label, const std::function<void(common::WorkProgress&)>& work) {
    common::WorkProgress progress;
    std::atomic<bool> finished{false};
    std::exception_ptr failure;
    QEventLoop loop;

    QProgressDialog box(label, QStringLiteral("取消"), 0, 1000, parent);
    box.setObjectName(QStringLiteral("ProgressBox"));
    box.setWindowTitle(QStringLiteral("请稍候"));
    box.setWindowModality(Qt::WindowModal);  // no second run can start from the window meanwhile
    box.setMinimumDuration(400);
    box.setAutoReset(false);
    box.setAutoClose(false);
    QObject::connect(&box, &QProgressDialog::canceled, &box, [&progress] { progress.cancel(); });

    QTimer tick;
    tick.setInterval(kProgressTick);
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        if (finished.load()) {
            loop.quit();
            return;
        }
        if (box.wasCanceled())
            progress.cancel();
        else
            box.setValue(progress.perMille());
    });

    std::thread worker([&] {
        try {
            work(progress);
        } catch (...) {
            failure = std::current_exception();
        }
        finished.store(true);
    });
    tick.start();
    loop.exec();
    worker.join();
    tick.stop();
    box.hide();
    if (failure)
        std::rethrow_exception(failure);
    return !progress.cancelled();
}

}  // namespace ui
