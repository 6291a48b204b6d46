#pragma once
// Long work that must not freeze the window: a progress box with a 取消 button shows how far
// the work is while the window keeps processing its events.
#include "common/workprogress.h"

#include <QString>

#include <functional>
#include <memory>

class QProgressDialog;
class QTimer;
class QWidget;

namespace ui {

// How often the box shows the progress and looks at its 取消 (milliseconds).
constexpr int kProgressTick = 25;
// How long the waiting window thread goes at most without letting its events through.
constexpr int kEventGap = 5;

// The one progress box of long work: window-modal over parent (so no second run starts from
// the window meanwhile), objectName "ProgressBox", title 请稍候, a 取消 button, shown only when
// the work is not done within 0.4 s. While the window's thread processes events it shows
// progress.perMille(); 取消 cancels the progress and then calls cancelled (once).
class ProgressBox {
public:
    ProgressBox(QWidget* parent, const QString& label, common::WorkProgress& progress,
                std::function<void()> cancelled = {});
    ~ProgressBox();
    ProgressBox(const ProgressBox&) = delete;
    ProgressBox& operator=(const ProgressBox&) = delete;

private:
    void cancel();
    common::WorkProgress& progress_;
    std::function<void()> cancelled_;
    std::unique_ptr<QProgressDialog> box_;
    std::unique_ptr<QTimer> tick_;
};

// Runs work(progress) on a worker thread under a ProgressBox; the calling thread processes
// events at least every kEventGap milliseconds until the work returns. An exception of the
// work is thrown again here. Returns false when the work was cancelled.
bool RunWithProgress(QWidget* parent, const QString& label, const std::function<void(common::WorkProgress&)>& work);

}  // namespace ui
