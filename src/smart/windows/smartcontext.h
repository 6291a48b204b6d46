#pragma once
// What the smart windows are given by the program's wiring instead of reaching for globals: the
// run's state (the current lottery and its draws, read as they stand at each use, since a
// lottery switch inside the smart system reloads them), the workbench while it is open and the
// calculator they compute with.
#include "common/appstate.h"

#include <functional>

namespace dialogs {
class WorkbenchApi;
}

namespace smart {

class SchemeCalculator;
class SmartCalculator;

struct SmartContext {
    const common::AppState* state = nullptr;
    // The open workbench, or null (the smart windows then cut a pool of their own).
    std::function<dialogs::WorkbenchApi*()> workbench;
    // The calculator of the smart-system and verification windows (not owned: it outlives them).
    SmartCalculator* calculator = nullptr;

    const common::DrawHistory& history() const { return state->history(); }
    bool lotteryIsP3() const { return state->lotteryIsP3(); }
    dialogs::WorkbenchApi* bench() const { return workbench ? workbench() : nullptr; }
    // The calculator, made on its first use.
    SchemeCalculator& calc() const;
};

}  // namespace smart
