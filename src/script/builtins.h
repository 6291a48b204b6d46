#pragma once
// Built-in functions: one row per function (its name, how many arguments it takes, the
// handler that runs it, and whether it is pure or talks, which the condition reader asks). The compiler finds a name's row once; a call goes straight to the
// handler. Each group's rows sit beside its handlers: builtins.cpp (text, conversions,
// numbers, arrays, types, the engine and the locale; objects and code from text),
// datefunctions.cpp, format.cpp, bytetext.cpp. Internal to the engine.
#include "variant.h"

#include <QString>

#include <span>
#include <vector>

namespace script {

struct Interp;

// A built-in's arguments, evaluated; a handler may take them over (Array does).
using BuiltinArgs = std::vector<Variant>;
using BuiltinHandler = Variant (*)(Interp& I, BuiltinArgs& args);
// The arguments where they are (variables, literals, elements), none of them an object.
using BuiltinOperands = std::span<const Variant* const>;
using BuiltinReader = Variant (*)(Interp& I, BuiltinOperands args);

struct Builtin {
    const char* name;  // lower case
    int minArgs;
    int maxArgs;  // -1: any
    BuiltinHandler call;
    // The same function over arguments read in place, for a built-in that only reads them:
    // used when every argument is a variable or a literal, so no text is copied to be read.
    BuiltinReader read = nullptr;
    // Its result follows from its arguments alone (no clock, no random state, no host, no
    // side effect): a condition of such calls over the series may be kept per series.
    bool pure = false;
    // It shows a box or runs text as code: a condition that names it must run where the
    // window can answer.
    bool talks = false;
};

// A row marked pure or talking, for the tables.
constexpr Builtin PureBuiltin(Builtin row) {
    row.pure = true;
    return row;
}
constexpr Builtin TalkingBuiltin(Builtin row) {
    row.talks = true;
    return row;
}

// Most arguments a built-in that reads them in place takes.
constexpr size_t kMostReadArguments = 3;

// The call of such a built-in is its reader over the evaluated arguments: one function for
// both ways in (ReadingBuiltin makes the row).
template <BuiltinReader Read>
Variant CallReader(Interp& I, BuiltinArgs& args) {
    const Variant* in[kMostReadArguments];
    for (size_t k = 0; k < args.size(); ++k)
        in[k] = &args[k];
    return Read(I, BuiltinOperands(in, args.size()));
}
template <BuiltinReader Read, int MinArgs, int MaxArgs>
constexpr Builtin ReadingBuiltin(const char* name) {
    static_assert(MinArgs >= 0 && MaxArgs >= MinArgs && size_t(MaxArgs) <= kMostReadArguments);
    return Builtin{name, MinArgs, MaxArgs, CallReader<Read>, Read};
}

// The row of the built-in named `key` (lower case), or null.
const Builtin* FindBuiltin(const QString& key);

// The rows of each group.
std::span<const Builtin> CoreBuiltins();    // builtins.cpp
std::span<const Builtin> DateBuiltins();    // date and time functions, Rnd, Randomize
std::span<const Builtin> FormatBuiltins();  // FormatNumber, FormatCurrency, FormatPercent, CCur
std::span<const Builtin> TextBuiltins();    // Filter, Escape/Unescape, the byte functions

// A whole-number argument (a count, a position, a code) as CLng reads it; Null is error 94.
inline int32_t IntArgument(const Variant& v) {
    if (v.isNull())
        Throw(94);
    return v.toLong();
}
// A compare-mode argument at a[i] (absent: binary): 0 binary, 1 text, else error 5.
Qt::CaseSensitivity CompareMode(const std::vector<Variant>& a, size_t i);

// Constants such as vbCrLf; false when the name is none.
bool FindConstant(const QString& key, Variant* value);
// Names the engine deliberately does not provide; empty when allowed.
QString UnsupportedReason(const QString& key);

}  // namespace script
