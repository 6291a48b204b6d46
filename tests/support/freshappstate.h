#pragma once
// Starts a test from the run's state as it is before the first load, and leaves it so: the
// state object announces changes and cannot be copied away and back.
#include "common/appstate.h"

namespace testsupport {

class FreshAppState {
public:
    FreshAppState() { common::App().reset(); }
    ~FreshAppState() { common::App().reset(); }
    FreshAppState(const FreshAppState&) = delete;
    FreshAppState& operator=(const FreshAppState&) = delete;
};

}  // namespace testsupport
