#include "app/endrun.h"

#include "common/appstate.h"
#include "mainwindow/mainwindow.h"
#include "platform/ui/messagebox.h"

#include <QCoreApplication>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace app {

namespace {

// A run that cannot unwind (work that never looks at its stop) must still leave the updater a
// program to replace: after a grace time the process ends where it stands.
void EndAfterGraceTime() {
    static bool armed = false;
    if (armed) return;
    armed = true;
    std::thread([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(kForcedEndMs));
        std::_Exit(kForcedEndCode);
    }).detach();
}

}  // namespace

bool EndRun(common::AppState& state, MainWindow* main) {
    state.quitting = true;
    if (main) main->close();
    ui::CloseEveryWindow();
    // Every event loop ends, the nested ones of boxes and dialogs as their callers return, and a
    // box opened while the work unwinds returns at once; the application's quit is not used,
    // since a window that refuses to close would cancel it.
    QCoreApplication::exit(0);
    EndAfterGraceTime();
    return true;
}

}  // namespace app
