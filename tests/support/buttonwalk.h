#pragma once
// Walks the visible buttons of a window and names those whose press reaches no handler: a button
// left unconnected (or connected to a handler that was renamed away) compiles and does nothing.
// Any window test can apply it:
//     EXPECT_EQ(testsupport::UnboundButtons(window), QStringList{});
#include <QStringList>

#include <functional>
#include <initializer_list>
#include <memory>

class QWidget;

namespace testsupport {

struct ButtonWalk {
    // Check boxes and option buttons that only hold a choice other handlers read; they need no
    // handler of their own. objectName patterns with * for any text: "Check1(*)" for a control array.
    QStringList choices;
    // Buttons to leave out, by objectName pattern as above (a button built only for its objectName, say).
    QStringList skipped;
};

// Every visible QAbstractButton under window (pages of tab and stacked widgets count as visible;
// explicitly hidden buttons do not) whose press reaches nothing: no receiver of its clicked,
// toggled (or, for a push button, pressed/released), no menu, no default action that has a
// receiver, and no button group that passes the press on. Clickable labels and pictures count
// too when their window gives them click signals through a helper object (ui::ClickSource, say:
// any non-widget child with a parameterless clicked/pressed/released/doubleClicked signal); they
// are listed by the widget's objectName. Unnamed buttons are listed by class and caption. Sorted.
QStringList UnboundButtons(const QWidget* window, const ButtonWalk& walk = {});

// How many buttons UnboundButtons looked at, so that a test can tell that the walk saw the window.
int WalkedButtonCount(const QWidget* window, const ButtonWalk& walk = {});

// One window of a walk over several: its name in the failure trace, how to build it, the walk.
struct WalkedWindow {
    const char* name;
    std::function<std::unique_ptr<QWidget>()> make;
    ButtonWalk walk;
};
// Builds each window in turn and expects the walk to see buttons and find none unbound.
void ExpectEveryButtonBound(std::initializer_list<WalkedWindow> windows);

}  // namespace testsupport
