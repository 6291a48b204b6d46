#pragma once
// The calculator on a window's thread: the run host a window gives it (events let through,
// questions and messages in message boxes), and the calculator that the smart-system and
// verification windows drive with no calculator window shown.
#include "smart/calculator.h"

#include <functional>
#include <memory>

class QWidget;

namespace smart {

// A host that lets the thread's events through every few milliseconds, sleeps while paused,
// asks and tells through message boxes owned by parent (may be null) and reports a failing
// condition of calc with its text on the clipboard. canResume says whether someone can lift
// a pause.
RunHost WindowRunHost(QWidget* parent, const SchemeCalculator& calc, std::function<bool()> canResume);

// The smart windows' calculator, owned by whoever owns those windows (the program's windows,
// a test) and handed to them in their SmartContext. Made on first use (the program's start
// pays nothing for it), loaded with the 福彩3D draws over their whole range; its background
// work is joined as it ends. Nobody sees it, so a failing condition never pauses its run.
class SmartCalculator {
public:
    SmartCalculator();
    ~SmartCalculator();
    SmartCalculator(const SmartCalculator&) = delete;
    SmartCalculator& operator=(const SmartCalculator&) = delete;

    SchemeCalculator& get();

private:
    struct Made;
    std::unique_ptr<Made> made_;
};

}  // namespace smart
