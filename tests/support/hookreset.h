#pragma once
// Clears a process-wide test hook when the test ends: a fixture member in place of a reset
// written by hand in TearDown, so no test forgets one.
//     testsupport::HookReset<&ui::SetModalHandler> modalReset;

namespace testsupport {

template <auto Setter>
class HookReset {
public:
    HookReset() = default;
    ~HookReset() { Setter({}); }
    HookReset(const HookReset&) = delete;
    HookReset& operator=(const HookReset&) = delete;
};

}  // namespace testsupport
