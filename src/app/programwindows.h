#pragma once
// The windows there is one of per run, made and owned by the program's wiring: the main window
// (Form1) and the filter workbench (Form2). Each is handed what it needs and knows nothing of the
// other: the main window gets its openers (the workbench, draw entry, settings), the workbench
// its links back (the main window, the smart system).
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
    // The workbench goes first, then the main window.
    ~ProgramWindows() override;
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;

    // The start road's end: makes the main window over the run's state and starts it, then shows
    // it unless a close request closed it during the start. Later calls show it again.
    MainWindow* showMainWindow();
    // The main window, or null before the start road made it.
    MainWindow* mainWindow() const { return main_.get(); }

    // The main window's "过滤缩水": makes the workbench at its first opening (which runs the
    // smart-system gate) and shows it over the hidden main window. Nothing while quitting.
    void showWorkbench();
    // The workbench, or null before its first opening.
    WorkbenchWindow* workbench() const { return workbench_.get(); }

    // workbench::WorkbenchLinks
    void workbenchClosed() override;
    void openSmartSystem(QWidget* workbench) override;

private:
    common::AppState& state_;
    std::unique_ptr<MainWindow> main_;
    std::unique_ptr<WorkbenchWindow> workbench_;
};

}  // namespace app
