#pragma once
// The smart windows' tests use the shared stand-in for the workbench (tests/support).
#include "fakeworkbench.h"

using SmartFakeWorkbench = FakeWorkbench;
