#pragma once
// Small helpers the dialogs share: buttons bound to their handlers, the one window of a kind,
// placement and writing the workbench's text inputs.
#include <QObject>
#include <QPushButton>
#include <QString>
#include <QWidget>

#include "platform/ui/controls.h"
#include "pool/workbenchmodel.h"

class QHBoxLayout;

namespace dialogs {

// The workbench window as a parent for dialogs, or null.
QWidget* WorkbenchWidget();

// Named buttons at a pixel place, with or without the window's handler: the shared factory.
using ui::MakeButton;
// A named button that runs the window's handler when clicked; the caller places it.
template <class Window>
QPushButton* HandlerButton(Window* parent, const char* name, const QString& caption, void (Window::*handler)()) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    QObject::connect(b, &QPushButton::clicked, parent, handler);
    return b;
}
// "确定" and "取消" at the end of a button row; Enter does not press them by itself.
struct OkCancel {
    QPushButton* ok;
    QPushButton* cancel;
};
OkCancel AddOkCancel(QWidget* parent, QHBoxLayout* row, const char* okName, const char* cancelName);
// The same, the two running the window's handlers.
template <class Window>
OkCancel AddOkCancel(Window* window, QHBoxLayout* row, const char* okName, void (Window::*onOk)(),
                     const char* cancelName, void (Window::*onCancel)()) {
    const OkCancel buttons = AddOkCancel(window, row, okName, cancelName);
    QObject::connect(buttons.ok, &QPushButton::clicked, window, onOk);
    QObject::connect(buttons.cancel, &QPushButton::clicked, window, onCancel);
    return buttons;
}

// The one window of its kind for the run, as a second base of the window class. The workbench
// owns it: it is the workbench's child, made at first use (again after it was discarded) and
// found among its children, so no one else keeps it. instance() makes it; existing() never does.
// With no workbench (a window tried on its own) each instance() is a window of its own.
template <class Window>
class LastingWindow {
public:
    static Window* instance() {
        if (Window* window = existing()) return window;
        return new Window(WorkbenchWidget());
    }
    static Window* existing() {
        QWidget* bench = WorkbenchWidget();
        return bench ? bench->findChild<Window*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    }
};

// Centres a window on the screen that holds it (or the primary screen).
void CentreOnScreen(QWidget* window);
// Puts a window at the workbench's top-left corner (centred on the screen without one).
void PlaceOnWorkbench(QWidget* window);
// Centres a window over the workbench (centred on the screen without one).
void CentreOnWorkbench(QWidget* window);
// Writes one of the workbench's text inputs; false without a workbench.
bool SetWorkbenchInput(pool::InputBox box, const QString& text);

}  // namespace dialogs
