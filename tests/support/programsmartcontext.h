#pragma once
// The smart windows' context as the program's wiring gives it: the run's state and the
// workbench registered at the time of each use (a test's stand-in, or none).
#include "common/appstate.h"
#include "dialogs/workbenchapi.h"
#include "smart/smartcontext.h"

namespace testsupport {

inline smart::SmartContext ProgramSmartContext() { return {&common::App(), [] { return dialogs::Workbench(); }}; }

}  // namespace testsupport
