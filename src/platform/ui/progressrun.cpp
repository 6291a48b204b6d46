#include "platform/ui/progressrun.h"

#include <QCoreApplication>
#include <QProgressDialog>
#include <QTimer>

namespace ui {

ProgressBox::ProgressBox(QWidget* parent, const QString& label, common::WorkProgress& progress,
                         std::function<void()> cancelled)
    : progress_(progress), cancelled_(std::move(cancelled)),
      box_(std::make_unique<QProgressDialog>(label, QStringLiteral("取消"), 0, 1000, parent)),
      tick_(std::make_unique<QTimer>()) {
    box_->setObjectName(QStringLiteral("ProgressBox"));
    box_->setWindowTitle(QStringLiteral("请稍候"));
    box_->setWindowModality(Qt::WindowModal);
    box_->setMinimumDuration(400);
    box_->setAutoReset(false);
    box_->setAutoClose(false);
    QObject::connect(box_.get(), &QProgressDialog::canceled, box_.get(), [this] { cancel(); });
    tick_->setInterval(kProgressTick);
    QObject::connect(tick_.get(), &QTimer::timeout, box_.get(), [this] {
        if (box_->wasCanceled()) cancel();
        else box_->setValue(progress_.perMille());
    });
    tick_->start();
}

ProgressBox::~ProgressBox() {
    tick_->stop();
    box_->hide();
}

void ProgressBox::cancel() {
    if (progress_.cancelled()) return;
    progress_.cancel();
    if (cancelled_) cancelled_();
}

bool RunWithProgress(QWidget* parent, const QString& label, const std::function<void(common::WorkProgress&)>& work) {
    common::WorkProgress progress;
    const ProgressBox box(parent, label, progress);
    common::RunAway([&] { work(progress); }, [] { QCoreApplication::processEvents(); }, kEventGap);
    return !progress.cancelled();
}

}  // namespace ui
