#pragma once
// Entry points of the filter workbench for the other windows, and the hooks tests and later
// windows plug into.
#include <QString>

#include <functional>

class QWidget;
class WorkbenchWindow;

namespace workbench {

// The main window's "过滤缩水": creates the workbench once (its first creation runs the smart
// system gate), hides the main window, turns the tray toggle off and shows the workbench
// modeless. Closing the workbench hides it and shows the main window again.
void ShowWorkbench(QWidget* mainWindow);
// The workbench, created (not shown) when it does not exist yet.
WorkbenchWindow* EnsureWorkbench(QWidget* mainWindow = nullptr);
// The workbench when it exists, else null.
WorkbenchWindow* ExistingWorkbench();
// Destroys the workbench (program end; tests).
void DestroyWorkbench();

// The save dialog of the export. The hook answers instead of a dialog (empty = cancelled).
using SaveFileHook = std::function<QString(const QString& title, const QString& defaultName, const QString& filter)>;
void SetSaveFileHook(SaveFileHook hook);
QString AskSaveFileName(QWidget* parent, const QString& title, const QString& defaultName, const QString& filter);

// Opener of the smart-system window, installed by that window's module; Command69 calls it
// when the history holds at least 600 draws.
using WindowOpener = std::function<void(QWidget* workbench)>;
void SetSmartSystemOpener(WindowOpener opener);
WindowOpener SmartSystemOpener();

// What the workbench tells the main window. Without a handler it shows the main window
// itself and writes the main window's Label3, Text1 and Label1 by name.
struct MainWindowLink {
    std::function<void()> workbenchClosed;  // the workbench hid: show the main window, tray toggle on
    std::function<void()> lotteryChanged;   // the workbench switched the lottery (history reloaded)
};
void SetMainWindowLink(MainWindowLink link);
const MainWindowLink& MainWindowLinks();

}  // namespace workbench
