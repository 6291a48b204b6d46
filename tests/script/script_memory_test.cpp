// Running out of memory inside a script: each case runs in a child process (a fresh start of
// this program, so nothing the error path needs was made before) whose address space is limited
// a little above what it maps. An allocation that fails is the script's error 7, which On Error
// Resume Next catches like any run-time error; the engine then runs the next text.
#include "scriptengine.h"
#include "addresslimit.h"
#include "sanitized.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

using script::ScriptEngine;
using script::Variant;

namespace {

// A text's outcome: "ERR n" when adding or running it fails, else Main()'s value as text when
// the text defines Main, else "OK".
QString Outcome(ScriptEngine& e, const char* code) {
    if (!e.addCode(QString::fromUtf8(code)))
        return QStringLiteral("ERR %1").arg(e.lastError().number);
    const ScriptEngine::Procedure main = e.procedure(QStringLiteral("Main"));
    if (!main.isValid())
        return QStringLiteral("OK");
    std::vector<Variant> none;
    Variant r;
    if (!e.call(main, none, &r))
        return QStringLiteral("ERR %1").arg(e.lastError().number);
    return r.toString();
}

struct MemoryCase {
    const char* name;
    const char* code;      // runs out of memory
    const char* expected;  // its outcome
    const char* next;      // then runs in the same engine
    const char* nextExpected;
};

// In a child: the case under an address space `extraMiB` larger than now. The exit code says
// whether both outcomes were the expected ones; stderr says what they were.
[[noreturn]] void RunOutOfMemory(const MemoryCase& c, size_t extraMiB) {
    if (!testsupport::LimitAddressSpace(extraMiB << 20))
        std::_Exit(2);
    ScriptEngine e;
    const QString first = Outcome(e, c.code);
    const QString after = Outcome(e, c.next);
    std::fprintf(stderr, "%s, then %s\n", qPrintable(first), qPrintable(after));
    std::_Exit(first == QString::fromUtf8(c.expected) && after == QString::fromUtf8(c.nextExpected) ? 0 : 1);
}

const char* kNextMain = "Function Main()\n  ReDim a(1000)\n  a(1000) = 5\n  Main = a(1000) + 1\nEnd Function\n";

const MemoryCase kCases[] = {
    {"strings in a function, not caught", R"VB(
Function Main()
  ReDim k(1000000)
  For i = 0 To 1000000
    k(i) = Space(100) & i
  Next
  Main = "filled"
End Function
)VB", "ERR 7", kNextMain, "6"},
    {"strings in a function, caught; the script frees what it filled", R"VB(
Function Main()
  On Error Resume Next
  ReDim k(1000000)
  For i = 0 To 1000000
    k(i) = Space(100) & i
    If Err.Number <> 0 Then Exit For
  Next
  n = Err.Number & " " & Err.Description & " " & (i < 1000000)
  Erase k
  Main = n & " " & Len(Space(1000) & "x")
End Function
)VB", "7 内存不够 True 1001", kNextMain, "6"},
    {"strings at module level, not caught; the next text frees them", R"VB(
ReDim k(1000000)
For i = 0 To 1000000
  k(i) = Space(100) & i
Next
)VB", "ERR 7", "Erase k\nFunction Main()\n  Main = 6\nEnd Function\n", "6"},
    {"objects in a function, not caught", R"VB(
Class C : End Class
Function Main()
  ReDim k(1000000)
  For i = 0 To 1000000
    Set k(i) = New C
  Next
  Main = "filled"
End Function
)VB", "ERR 7", kNextMain, "6"},
    {"objects with fields and a terminate in a function, caught", R"VB(
Dim gone
Class C
  Public v, w
  Private Sub Class_Terminate() : gone = gone + 1 : End Sub
End Class
Function Main()
  On Error Resume Next
  ReDim k(1000000)
  For i = 0 To 1000000
    Set k(i) = New C
    If Err.Number <> 0 Then Exit For
  Next
  n = Err.Number & " " & (i < 1000000)
  Erase k
  Main = n & " " & (gone >= i)
End Function
)VB", "7 True True", kNextMain, "6"},
    {"objects at module level, caught; the next text frees them", R"VB(
Class C : End Class
On Error Resume Next
ReDim k(1000000)
For i = 0 To 1000000
  Set k(i) = New C
  If Err.Number <> 0 Then Exit For
Next
r = Err.Number
)VB", "OK", "Erase k\nFunction Main()\n  Main = r\nEnd Function\n", "7"},
    // The caller's On Error Resume Next holds inside the text, so the text's loop leaves at the
    // error itself: a million more failing allocations would take the time limit's seconds.
    {"text run by Execute, caught inside it and seen where Execute stands", R"VB(
Function Main()
  On Error Resume Next
  Execute "ReDim k(1000000)" & vbLf & "For i = 0 To 1000000" & vbLf & "k(i) = Space(100) & i" & vbLf & _
    "If Err.Number <> 0 Then Exit For" & vbLf & "Next"
  n = Err.Number
  Erase k
  Main = n
End Function
)VB", "7", kNextMain, "6"},
};

}  // namespace

// Strings, objects and arrays that outgrow the address space, at several limits so that the
// failing allocation is sometimes the array, sometimes an element: error 7 every time, caught or
// ending the run, and the engine goes on with the next text.
TEST(ScriptMemory, RunningOutOfMemoryIsErrorSevenAndTheEngineGoesOn) {
#ifdef SIFMORA_SANITIZED
    GTEST_SKIP() << "a sanitizer's shadow memory does not fit under the limit";
#endif
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (const MemoryCase& c : kCases)
        for (const size_t extraMiB : {48, 96, 160})
            EXPECT_EXIT(RunOutOfMemory(c, extraMiB), testing::ExitedWithCode(0), "")
                << c.name << " under " << extraMiB << " MiB more";
}

// Growth under an address space 24 MB larger than now, where the arrays want about 40 MB: error 7,
// not a crash, whether a block grows in place, moves or is copied.
TEST(ScriptMemory, ArrayGrowthPastTheLimitIsErrorSeven) {
#ifdef SIFMORA_SANITIZED
    GTEST_SKIP() << "a sanitizer's shadow memory does not fit under the limit";
#endif
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const MemoryCase oneDimension{"one dimension", "Function Main()\n  ReDim a(-1)\n  For i = 0 To 1000000\n"
                                  "    ReDim Preserve a(i)\n    a(i) = i\n  Next\nEnd Function\n",
                                  "ERR 7", kNextMain, "6"};
    const MemoryCase twoDimensions{"two dimensions", "Function Main()\n  ReDim m(1, -1)\n  For i = 0 To 500000\n"
                                   "    ReDim Preserve m(1, i)\n    m(1, i) = i\n  Next\nEnd Function\n",
                                   "ERR 7", kNextMain, "6"};
    EXPECT_EXIT(RunOutOfMemory(oneDimension, 24), testing::ExitedWithCode(0), "ERR 7, then 6");
    EXPECT_EXIT(RunOutOfMemory(twoDimensions, 24), testing::ExitedWithCode(0), "ERR 7, then 6");
}
