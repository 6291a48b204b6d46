#pragma once
// The smart windows' context as the program's wiring gives it: the run's state and the open
// workbench (a test's stand-in, or none).
#include "common/appstate.h"
#include "dialogs/workbenchapi.h"
#include "smart/smartcontext.h"

namespace testsupport {

inline smart::SmartContext ProgramSmartContext(dialogs::WorkbenchApi* bench = nullptr) {
    return {&common::App(), [bench] { return bench; }};
}

}  // namespace testsupport
