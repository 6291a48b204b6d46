#pragma once
// The windows there is one of per run, made and owned by the program's wiring: the main window
// (Form1), the filter workbench (Form2) and the smart system's opener. Each is handed what it
// needs and knows nothing of the others: the main window gets its openers (the workbench, draw
// entry, settings), the workbench its links back (the main window, the smart system), the smart
// system the run's state, the open workbench and the calculator it computes with.
#include "smart/windows/calculatorhost.h"
#include "smart/windows/smartsystemwindow.h"
#include "workbench/workbenchlinks.h"

#include <memory>

class MainWindow;
class WorkbenchWindow;
namespace common {
class AppState;
}  // namespace common

namespace app {

class ProgramWindows : public workbench::WorkbenchLinks {
public:
    explicit ProgramWindows(common::AppState& state);
    // The smart system and the workbench go first, then the main window.
    ~ProgramWindows() override;
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;

    // The start road's end: makes the main window over the run's state and starts it, then shows
    // it unless a close request closed it during the start. Later calls show it again.
    MainWindow* showMainWindow();
    // The main window, or null before the start road made it.
    MainWindow* mainWindow() const { return main_.get(); }

    // The main window's "过滤缩水": makes the workbench at its first opening and then, with the
    // workbench kept, runs its smart-system gate; shows it over the hidden main window. Nothing
    // while quitting.
    void showWorkbench();
    // The workbench, or null before its first opening.
    WorkbenchWindow* workbench() const { return workbench_.get(); }

    // The smart system's opener, which owns the smart system window while it is loaded.
    SmartSystemOpener& smartSystem() { return smartSystem_; }

    // workbench::WorkbenchLinks
    void workbenchClosed() override;
    void openSmartSystem(QWidget* workbench) override;

private:
    common::AppState& state_;
    std::unique_ptr<MainWindow> main_;
    std::unique_ptr<WorkbenchWindow> workbench_;
    // The smart windows' calculator, made at their first use and ended after them, with the
    // program's windows: its background work is joined then.
    smart::SmartCalculator smartCalculator_;
    // Declared last, so that it is destroyed first, while the workbench it reads still stands.
    SmartSystemOpener smartSystem_;
};

}  // namespace app
