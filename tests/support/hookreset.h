#pragma once
// Clears a process-wide test hook when the test ends: a fixture member in place of a reset
// written by hand in TearDown, so no test forgets one.
//     testsupport::HookReset<&ui::SetModalHandler> modalReset;
#include <utility>

namespace testsupport {

template <auto Setter>
class HookReset {
public:
    HookReset() = default;
    ~HookReset() { Setter({}); }
    HookReset(const HookReset&) = delete;
    HookReset& operator=(const HookReset&) = delete;
};

// Gives a value its default for a scope and puts the old one back at the end.
//     testsupport::FreshValue<bool> quitting{app.quitting};
template <class T>
class FreshValue {
public:
    explicit FreshValue(T& value) : value_(value), saved_(std::move(value)) { value_ = T(); }
    ~FreshValue() { value_ = std::move(saved_); }
    FreshValue(const FreshValue&) = delete;
    FreshValue& operator=(const FreshValue&) = delete;

private:
    T& value_;
    T saved_;
};

}  // namespace testsupport
