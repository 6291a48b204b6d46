#pragma once
// What a player does to a window's controls, found by objectName: press a button, pick an item of
// a drop-down or a menu, click or double-click a label or a list, let a timer tick (now). A missing
// control fails the test.
#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QMouseEvent>
#include <QString>
#include <QTimer>
#include <QTreeWidget>
#include <QWidget>
#include <gtest/gtest.h>

namespace testsupport {

// The control of that objectName and kind under window; the test fails when there is none.
template <class T>
T* Find(const QWidget* window, const QString& name) {
    T* control = window->findChild<T*>(name);
    if (!control) ADD_FAILURE() << "no control " << name.toStdString();
    return control;
}

// Clicks the button of that objectName (hidden windows too: click() needs no screen).
inline void Press(const QWidget* window, const QString& name) {
    if (auto* button = Find<QAbstractButton>(window, name)) button->click();
}

// Picks the menu item (an action) of that objectName.
inline void Trigger(const QWidget* window, const QString& name) {
    if (auto* action = Find<QAction>(window, name)) action->trigger();
}

// Picks item index of a drop-down as the player does: it becomes current and is activated.
inline void Choose(QComboBox* box, int index) {
    if (!box) return;
    box->setCurrentIndex(index);
    emit box->activated(index);
}
inline void Choose(const QWidget* window, const QString& name, int index) {
    Choose(Find<QComboBox>(window, name), index);
}

// A left click in the middle of a widget that has no click of its own (a label): press and release.
inline void ClickOn(QWidget* widget) {
    if (!widget) return;
    const QPointF at = QRectF(widget->rect()).center();
    const QPointF global = widget->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &release);
}

// A left double click in the middle of a widget (a list's viewport, say).
inline void DoubleClickOn(QWidget* widget) {
    if (!widget) return;
    const QPointF at = QRectF(widget->rect()).center();
    QMouseEvent click(QEvent::MouseButtonDblClick, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &click);
}

// In a folder tree whose first top item is the program folder (the bet folder chooser's), expands
// that item and makes its subfolder `name` current, as a click on it does.
inline void ChooseSubfolder(const QWidget* window, const QString& treeName, const QString& name) {
    auto* tree = Find<QTreeWidget>(window, treeName);
    if (!tree || tree->topLevelItemCount() == 0) return;
    QTreeWidgetItem* top = tree->topLevelItem(0);
    top->setExpanded(true);
    for (int i = 0; i < top->childCount(); ++i) {
        if (top->child(i)->text(0) != name) continue;
        tree->setCurrentItem(top->child(i));
        return;
    }
    ADD_FAILURE() << "no subfolder " << name.toStdString();
}

// Runs the event loop until the timer of that objectName has ticked once, so that the window's
// handler of the tick has run.
inline void WaitForTick(const QWidget* window, const QString& name) {
    auto* timer = Find<QTimer>(window, name);
    if (!timer || !timer->isActive()) {
        if (timer) ADD_FAILURE() << "timer " << name.toStdString() << " is not running";
        return;
    }
    QEventLoop loop;
    // Queued: the window's own handler, connected first, has run when the loop ends.
    QObject::connect(timer, &QTimer::timeout, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    loop.exec();
}

// Lets the timer of that objectName tick now rather than when it is due (starting it if it was
// not running) and waits until the window's handler of the tick has run.
inline void TickNow(const QWidget* window, const QString& name) {
    if (auto* timer = Find<QTimer>(window, name)) timer->start(0);
    WaitForTick(window, name);
}

}  // namespace testsupport
