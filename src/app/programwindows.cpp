#include "app/programwindows.h"

#include "common/appstate.h"
#include "history/windows/drawentrywindow.h"
#include "history/windows/settingswindow.h"
#include "mainwindow/mainwindow.h"
#include "smart/windows/smartsystemwindow.h"
#include "workbench/workbench.h"
#include "workbench/workbenchwindow.h"

namespace app {

ProgramWindows::ProgramWindows(common::AppState& state)
    : state_(state),
      smartSystem_({&state_, [this]() -> dialogs::WorkbenchApi* { return workbench_.get(); }, &smartCalculator_}) {}

// The members go in reverse order of declaration: the smart system, its calculator, the
// workbench, the main window.
ProgramWindows::~ProgramWindows() = default;

MainWindow* ProgramWindows::showMainWindow() {
    if (!main_) {
        MainWindow::Openers openers;
        openers.workbench = [this] { showWorkbench(); };
        // Modal over the main window, which reloads and rebuilds after them itself.
        openers.drawEntry = [this](QWidget* parent) { history::OpenDrawEntry(parent, state_); };
        openers.settings = [this](QWidget* parent) {
            history::OpenSettings(parent, state_, [this](bool toP3) {
                if (main_) main_->switchLottery(toP3);
            });
        };
        // Kept before its start, so that a close request during the start's message finds it.
        main_ = std::make_unique<MainWindow>(state_, std::move(openers));
        main_->start();
    }
    main_->present();
    return main_.get();
}

void ProgramWindows::showWorkbench() {
    if (state_.quitting()) return;
    if (!workbench_) {
        workbench_ = std::make_unique<WorkbenchWindow>(state_, main_.get(), this);
        // Once the workbench is kept: the smart system it may open works on it through
        // smartSystem_'s context, which finds it here only now.
        workbench_->offerSmartSystem();
    }
    workbench::ShowWorkbench(*workbench_, main_.get());
}

void ProgramWindows::workbenchClosed() {
    if (main_) main_->workbenchClosed();
}

void ProgramWindows::openSmartSystem(QWidget*) {
    if (state_.quitting()) return;  // nothing new opens while the run ends
    smartSystem_.open();
}

}  // namespace app
