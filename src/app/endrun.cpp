#include "app/endrun.h"

#include "common/appstate.h"
#include "mainwindow/mainwindow.h"
#include "platform/closerequest.h"
#include "platform/ui/messagebox.h"

#include <QCoreApplication>
#include <QEvent>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace app {

namespace {

// A run that cannot unwind (work that never looks at its stop, a window thread held in a layout or
// a wait) must still leave the updater a program to replace: after a grace time the process ends
// where it stands, from a thread of its own. That is safe for the files: every file the program
// writes (draws, pools, settings, exports) goes to a temporary name, is synced and renamed, so an
// end at any instant leaves each one old or new, never half-written; a temporary left behind is
// removed by the next start, and the kernel releases the locks (the program folder's, a settings
// lock's flock, which the next start then finds left over and removes). Set once, from any thread.
void EndAfterGraceTime() {
    static std::atomic<bool> set{false};
    if (set.exchange(true)) return;
    std::thread([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(kForcedEndMs));
        std::_Exit(kForcedEndCode);
    }).detach();
}

class QuitFilter : public QObject {
public:
    QuitFilter(common::AppState& state, std::function<MainWindow*()> main)
        : QObject(QCoreApplication::instance()), state_(state), main_(std::move(main)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != QCoreApplication::instance() || event->type() != QEvent::Quit) return false;
        EndRun(state_, main_());
        return true;
    }

private:
    common::AppState& state_;
    std::function<MainWindow*()> main_;
};

}  // namespace

void EndRunOnQuit(common::AppState& state, std::function<MainWindow*()> main) {
    QCoreApplication::instance()->installEventFilter(new QuitFilter(state, std::move(main)));
}

void EndRunOnCloseRequest(platform::SingleInstance& instance, common::AppState& state,
                          std::function<MainWindow*()> main, std::function<void()> beforeEnd) {
    // On the instance's thread: the process is now sure to end, so the request is answered at once.
    instance.setCloseRequestArrival([] {
        EndAfterGraceTime();
        return true;
    });
    instance.onCloseRequest = [&state, main = std::move(main), beforeEnd = std::move(beforeEnd)] {
        if (beforeEnd) beforeEnd();
        return EndRun(state, main());
    };
}

bool EndRun(common::AppState& state, MainWindow* main) {
    // The main window's closing path quits the application, which comes back here.
    static bool ending = false;
    if (ending) return true;
    ending = true;
    state.setQuitting(true);
    // Every event loop ends, the nested ones of boxes and dialogs as their callers return, and a
    // box opened from now on (a window's closing path, the work unwinding) returns at once with
    // its close button's answer. The application's quit is not used: any window that refuses
    // to close would cancel it.
    QCoreApplication::exit(0);
    if (main) main->close();
    ui::CloseEveryWindow();
    EndAfterGraceTime();
    return true;
}

}  // namespace app
