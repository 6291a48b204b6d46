#pragma once
// The smart windows' context as the program's wiring gives it: the run's state (the test's own,
// which must outlive the windows given it), the open
// workbench (a test's stand-in, or none) and the calculator the test made for its smart windows
// (none for the windows that compute without it).
#include "common/appstate.h"
#include "dialogs/workbenchapi.h"
#include "smart/windows/smartcontext.h"

namespace testsupport {

inline smart::SmartContext ProgramSmartContext(const common::AppState& state, dialogs::WorkbenchApi* bench = nullptr,
                                               smart::SmartCalculator* calculator = nullptr) {
    return {&state, [bench] { return bench; }, calculator};
}

}  // namespace testsupport
