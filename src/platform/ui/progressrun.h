#pragma once
// Long work off the window's thread: a progress box with a 取消 button shows how far the work
// is while the window keeps processing its events.
#include "common/workprogress.h"

#include <QString>

#include <functional>

class QWidget;

namespace ui {

// Runs work(progress) on a worker thread; meanwhile a window-modal progress box (objectName
// "ProgressBox", shown only when the work is not done within a moment) over parent shows
// progress.perMille(), and its 取消 button cancels the progress. The calling thread processes
// events at least every kProgressTick milliseconds until the work returns. An exception of the
// work is thrown again here. Returns false when the work was cancelled.
constexpr int kProgressTick = 25;
bool RunWithProgress(QWidget* parent, const QString& label, const std::function<void(common::WorkProgress&)>& work);

}  // namespace ui
