#include "buttonwalk.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QMenu>
#include <QMetaMethod>
#include <QPushButton>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolButton>
#include <QWidget>

namespace testsupport {
namespace {

// QObject::isSignalConnected and receivers are protected; pointers to them formed through a
// derived class may be called on any object.
struct SignalPeek : QObject {
    static bool connected(const QObject* object, const QMetaMethod& signal) {
        return (object->*(&SignalPeek::isSignalConnected))(signal);
    }
    static int receiverCount(const QObject* object, const char* signal) {
        return (object->*(&SignalPeek::receivers))(signal);
    }
};

template <typename Signal>
bool Connected(const QObject* object, Signal signal) {
    return object && SignalPeek::connected(object, QMetaMethod::fromSignal(signal));
}

bool ShownInside(const QWidget* widget, const QWidget* window) {
    for (const QWidget* w = widget; w && w != window; w = w->parentWidget()) {
        // A tab's or a stack's page other than the current one is hidden by its stack, not by the window.
        if (w->isHidden() && !qobject_cast<const QStackedWidget*>(w->parentWidget())) return false;
    }
    return true;
}

// Every tool button and menu that shows an action listens to its triggered signal itself; only
// receivers beyond those reach a handler.
bool ActionBound(const QAction* action) {
    if (!action) return false;
    if (action->menu() || Connected(action, &QAction::toggled)) return true;
    int own = 0;
    for (const QObject* shown : action->associatedObjects())
        if (qobject_cast<const QToolButton*>(shown) || qobject_cast<const QMenu*>(shown)) ++own;
    return SignalPeek::receiverCount(action, SIGNAL(triggered(bool))) > own;
}

bool GroupBound(const QAbstractButton* button) {
    const QButtonGroup* group = button->group();
    return group && (Connected(group, &QButtonGroup::buttonClicked) || Connected(group, &QButtonGroup::idClicked) ||
                     Connected(group, &QButtonGroup::buttonToggled) || Connected(group, &QButtonGroup::idToggled) ||
                     Connected(group, &QButtonGroup::buttonPressed) || Connected(group, &QButtonGroup::idPressed) ||
                     Connected(group, &QButtonGroup::buttonReleased) || Connected(group, &QButtonGroup::idReleased));
}

bool Bound(const QAbstractButton* button) {
    if (Connected(button, &QAbstractButton::clicked) || Connected(button, &QAbstractButton::toggled)) return true;
    if (GroupBound(button)) return true;
    if (const auto* tool = qobject_cast<const QToolButton*>(button))
        // A tool button listens to its own pressed/released; its press reaches its action or menu.
        return ActionBound(tool->defaultAction()) || tool->menu();
    if (const auto* push = qobject_cast<const QPushButton*>(button))
        if (push->menu()) return true;
    if (const auto* check = qobject_cast<const QCheckBox*>(button))
        if (Connected(check, &QCheckBox::stateChanged)) return true;
    return Connected(button, &QAbstractButton::pressed) || Connected(button, &QAbstractButton::released);
}

QString Name(const QAbstractButton* button) {
    if (!button->objectName().isEmpty()) return button->objectName();
    return QString::fromLatin1(button->metaObject()->className()) + QLatin1Char('(') + button->text() +
           QLatin1Char(')');
}

// The scroll arrows of a tab bar and Qt's other inner buttons belong to their widget, not to the window.
bool PartOfQtWidget(const QAbstractButton* button) {
    return qobject_cast<const QTabBar*>(button->parentWidget()) || button->objectName().startsWith(QLatin1String("qt_"));
}

bool Matches(const QString& name, const QStringList& patterns) {
    for (const QString& pattern : patterns)
        if (QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern)).match(name).hasMatch())
            return true;
    return false;
}

// A helper object that gives its parent widget click signals (a clickable label or picture):
// not a widget itself, with a parameterless clicked(), pressed(), released(), doubleClicked() or
// dragged().
const char* const kClickSignals[] = {"clicked()", "pressed()", "released()", "doubleClicked()", "dragged()"};

bool IsClickSource(const QObject* object) {
    if (object->isWidgetType() || !object->parent() || !object->parent()->isWidgetType()) return false;
    for (const char* signal : kClickSignals)
        if (object->metaObject()->indexOfSignal(signal) >= 0) return true;
    return false;
}

bool ClickSourceBound(const QObject* source) {
    for (const char* signal : kClickSignals) {
        const int index = source->metaObject()->indexOfSignal(signal);
        if (index >= 0 && SignalPeek::connected(source, source->metaObject()->method(index))) return true;
    }
    return false;
}

template <typename Visit>
void Walk(const QWidget* window, const ButtonWalk& walk, Visit visit) {
    for (const QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (PartOfQtWidget(button) || !ShownInside(button, window) || Matches(button->objectName(), walk.skipped))
            continue;
        if (button->isCheckable() && Matches(button->objectName(), walk.choices)) continue;
        visit(Name(button), Bound(button));
    }
    for (const QObject* source : window->findChildren<QObject*>()) {
        if (!IsClickSource(source)) continue;
        const auto* target = static_cast<const QWidget*>(source->parent());
        if (!ShownInside(target, window) || Matches(target->objectName(), walk.skipped)) continue;
        visit(target->objectName(), ClickSourceBound(source));
    }
}

}  // namespace

QStringList UnboundButtons(const QWidget* window, const ButtonWalk& walk) {
    QStringList unbound;
    Walk(window, walk, [&](const QString& name, bool bound) {
        if (!bound) unbound << name;
    });
    unbound.sort();
    return unbound;
}

int WalkedButtonCount(const QWidget* window, const ButtonWalk& walk) {
    int count = 0;
    Walk(window, walk, [&](const QString&, bool) { ++count; });
    return count;
}

void ExpectEveryButtonBound(std::initializer_list<WalkedWindow> windows) {
    for (const WalkedWindow& w : windows) {
        SCOPED_TRACE(w.name);
        const std::unique_ptr<QWidget> window = w.make();
        EXPECT_GT(WalkedButtonCount(window.get(), w.walk), 0);
        EXPECT_EQ(UnboundButtons(window.get(), w.walk), QStringList{});
    }
}

}  // namespace testsupport
