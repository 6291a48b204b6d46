#pragma once
// The run's end that a close request asks for (what `update` sends before it swaps the program):
// it ends the program from any state, also while a verification runs or a box waits for a button.
#include <functional>

class MainWindow;
namespace common {
class AppState;
}  // namespace common
namespace platform {
class SingleInstance;
}  // namespace platform

namespace app {

// The exit code of a run that had not ended kForcedEndMs after its close request and was ended
// there: its files are whole, every one written to a temporary name and renamed. The time leaves
// the updater's 20 s for a close a margin.
constexpr int kForcedEndCode = 3;
constexpr int kForcedEndMs = 15000;

// Nothing new starts (state.quitting()), the main window runs its closing path (or none is made
// yet), every other window closes through its own (running work stops there), every modal loop
// ends, and the program leaves its event loop with exit code 0 once the work has unwound.
// Returns true: the program always agrees to close.
bool EndRun(common::AppState& state, MainWindow* main);

// Every quit of the application (a desktop's log-out, the main window's own closing path, the
// start's end) goes through EndRun from now on: Qt's own quit is cancelled by any window that
// refuses to close. main: the main window, or null before it is made.
void EndRunOnQuit(common::AppState& state, std::function<MainWindow*()> main);

// Every close request the running copy receives (the updater's, before it swaps the program) ends
// the run whatever the window thread is doing: the request is read and answered on the copy's
// own thread, which sets the forced end at once; the window thread then runs beforeEnd (the
// start stops; optional) and EndRun as soon as it gets there. A window thread held in a long
// layout, a lock wait or a long formula never gets there, and the forced end ends the process.
void EndRunOnCloseRequest(platform::SingleInstance& instance, common::AppState& state,
                          std::function<MainWindow*()> main, std::function<void()> beforeEnd = {});

}  // namespace app
