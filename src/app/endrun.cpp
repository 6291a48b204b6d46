#include "app/endrun.h"

#include "common/appstate.h"
#include "mainwindow/mainwindow.h"
#include "platform/ui/messagebox.h"

#include <QCoreApplication>
#include <QEvent>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace app {

namespace {

// A run that cannot unwind (work that never looks at its stop) must still leave the updater a
// program to replace: after a grace time the process ends where it stands.
void EndAfterGraceTime() {
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
