#pragma once
// What the workbench window calls out through: the opener of the smart-system window and the
// main window's closing handler. The program and the tests install them; the window only calls them, so it never depends on its own entry points
// (workbench.h) or on the windows it tells.
#include "platform/ui/filedialogs.h"

#include <QString>

#include <functional>

class QWidget;

namespace workbench {

// The save dialog of the export (tests answer it through ui::FileDialogAnswerScope).
using ui::AskSaveFileName;

// Opener of the smart-system window, installed by that window's module; Command69 calls it
// when the history holds at least 600 draws.
using WindowOpener = std::function<void(QWidget* workbench)>;
void SetSmartSystemOpener(WindowOpener opener);
WindowOpener SmartSystemOpener();

// What the workbench tells the main window, which updates its own controls (a lottery switch
// reaches it through history::LotteryNotifier). Without a closing handler the workbench shows the
// main window itself.
struct MainWindowLink {
    std::function<void()> workbenchClosed;  // the workbench hid: the main window shows again, tray toggle on
};
void SetMainWindowLink(MainWindowLink link);
const MainWindowLink& MainWindowLinks();

}  // namespace workbench
