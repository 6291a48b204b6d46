#pragma once
// Small helpers the dialogs share: buttons bound to their handlers, the one window of a kind,
// placement and writing the workbench's text inputs.
#include <QObject>
#include <QPushButton>
#include <QString>
#include <QWidget>

#include "dialogs/workbenchapi.h"
#include "platform/ui/controls.h"
#include "pool/workbenchmodel.h"

class QHBoxLayout;

namespace dialogs {

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
// that opens it owns it: it is the workbench's child, made at first use (again after it was
// discarded) and found among its children, so no one else keeps it. instance() makes it;
// existing() never does. The window keeps the workbench it was made over (bench_).
template <class Window>
class LastingWindow {
public:
    static Window* instance(WorkbenchApi& bench) {
        if (Window* window = existing(bench)) return window;
        return new Window(bench);
    }
    static Window* existing(WorkbenchApi& bench) {
        return bench.dialogParent()->template findChild<Window*>(QString(), Qt::FindDirectChildrenOnly);
    }

protected:
    explicit LastingWindow(WorkbenchApi& bench) : bench_(bench) {}
    WorkbenchApi& bench_;
};

// Centres a window on the screen that holds it (or the primary screen).
void CentreOnScreen(QWidget* window);
// Puts a window at the workbench's top-left corner.
void PlaceOnWorkbench(WorkbenchApi& bench, QWidget* window);
// Centres a window over the workbench.
void CentreOnWorkbench(WorkbenchApi& bench, QWidget* window);

}  // namespace dialogs
