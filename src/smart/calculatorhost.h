#pragma once
// The calculator on a window's thread: the run host a window gives it (events let through,
// questions and messages in message boxes), and the program's one shared calculator that the
// smart-system and verification windows drive with no calculator window shown.
#include "smart/calculator.h"

#include <functional>

class QWidget;

namespace smart {

// A host that lets the thread's events through every few milliseconds, sleeps while paused,
// asks and tells through message boxes owned by parent (may be null) and reports a failing
// condition of calc with its text on the clipboard. canResume says whether someone can lift
// a pause.
RunHost WindowRunHost(QWidget* parent, const SchemeCalculator& calc, std::function<bool()> canResume);

// The shared calculator: loaded with the 福彩3D draws over their whole range on first use, kept
// until the program ends. Nobody sees it, so a failing condition never pauses its run.
SchemeCalculator& SharedCalculator();

}  // namespace smart
