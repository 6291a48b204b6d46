#pragma once
// Small helpers the dialogs share: placement and writing the workbench's text boxes.
#include <QString>

class QWidget;

class QHBoxLayout;
class QPushButton;

namespace dialogs {

// A named button at a pixel position.
QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, int x, int y, int w, int h);
// "确定" and "取消" at the end of a button row; Enter does not press them by itself.
struct OkCancel {
    QPushButton* ok;
    QPushButton* cancel;
};
OkCancel AddOkCancel(QWidget* parent, QHBoxLayout* row, const char* okName, const char* cancelName);

// Centres a window on the screen that holds it (or the primary screen).
void CentreOnScreen(QWidget* window);
// Puts a window at the workbench's top-left corner (centred on the screen without one).
void PlaceOnWorkbench(QWidget* window);
// Centres a window over the workbench (centred on the screen without one).
void CentreOnWorkbench(QWidget* window);
// Writes a workbench text box by objectName (one-line or multi-line); false when absent.
bool SetWorkbenchText(const QString& name, const QString& text);
// The workbench window as a parent for dialogs, or null.
QWidget* WorkbenchWidget();

}  // namespace dialogs
