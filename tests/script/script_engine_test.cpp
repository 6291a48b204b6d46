// Engine behaviour the hosts rely on: errors, the time limit, AddCode semantics, arrays by
// reference, and the condition fast path.
#include "builtins.h"
#include "scriptengine.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <QStringList>

#include <pthread.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

// Frames as the optimised build has them: unoptimised or instrumented (ASan) ones are several
// times larger, so a depth counted in levels holds for the optimised build only.
#if defined(__OPTIMIZE__) && !defined(__SANITIZE_ADDRESS__)
#define SCRIPT_TEST_LEAN_FRAMES 1
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#undef SCRIPT_TEST_LEAN_FRAMES
#endif
#endif
#endif

using script::ScriptCondition;
using script::ScriptEngine;
using script::ScriptError;
using script::Variant;

namespace {

ScriptError addError(const QString& code, int timeoutMs = 10000) {
    ScriptEngine e;
    e.setTimeout(timeoutMs);
    EXPECT_FALSE(e.addCode(code)) << code.toStdString();
    return e.lastError();
}

ScriptError runError(const QString& code, const QString& name, int timeoutMs = 10000) {
    ScriptEngine e;
    e.setTimeout(timeoutMs);
    EXPECT_TRUE(e.addCode(code)) << e.lastError().text().toStdString();
    EXPECT_FALSE(e.run(name, {}));
    return e.lastError();
}

// Runs `body` on a new thread with a stack of `bytes` (the engine must find its real size).
void onThreadWithStack(size_t bytes, const std::function<void()>& body) {
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, bytes);
    pthread_t t;
    auto* fn = new std::function<void()>(body);
    const int rc = pthread_create(
        &t, &attr,
        [](void* p) -> void* {
            auto* f = static_cast<std::function<void()>*>(p);
            (*f)();
            delete f;
            return nullptr;
        },
        fn);
    pthread_attr_destroy(&attr);
    ASSERT_EQ(rc, 0);
    pthread_join(t, nullptr);
}

}  // namespace

TEST(ScriptErrors, CompilationErrorsCarryNumberSourceAndPosition) {
    struct Case {
        const char* code;
        int number;
        int line;
    };
    const Case cases[] = {
        {"Function F()\n  F = (1 + \nEnd Function", 1002, 2},
        {"Function F()\n  If 1 Then\n    F = 2\nEnd Function", 1012, 4},
        {"x = \"open", 1033, 1},
        {"Sub S()\n  Exit For\nEnd Sub", 1039, 2},
        {"For i = 1 To 3\n  x = i\n", 1020, 3},
        {"x = 1 +* 2", 1002, 1},
        {"x = To + 1", 1023, 1},
        {"x = a $ b", 1032, 1},
    };
    for (const Case& c : cases) {
        const ScriptError e = addError(QString::fromUtf8(c.code));
        EXPECT_EQ(e.number, c.number) << c.code << " -> " << e.text().toStdString();
        EXPECT_EQ(e.source, script::kCompileSource) << c.code;
        EXPECT_EQ(e.line, c.line) << c.code;
        EXPECT_FALSE(e.description.isEmpty());
    }
}

TEST(ScriptErrors, RuntimeErrorsCarryNumberDescriptionSourceAndLine) {
    const ScriptError div = runError(QStringLiteral("Function F()\n  Dim z\n  F = 1 / z\nEnd Function"), "F");
    EXPECT_EQ(div.number, 11);
    EXPECT_EQ(div.description, QStringLiteral("除数为零"));
    EXPECT_EQ(div.source, script::kRuntimeSource);
    EXPECT_EQ(div.line, 3);

    // The line is where the error happened, inside the called procedure.
    const ScriptError inner = runError(
        QStringLiteral("Function G(a)\n  G = a(6)\nEnd Function\nFunction F()\n  Dim b(5)\n  F = G(b)\nEnd Function"), "F");
    EXPECT_EQ(inner.number, 9);
    EXPECT_EQ(inner.line, 2);

    const ScriptError raised =
        runError(QStringLiteral("Sub S()\n  Err.Raise 1001, \"MyFormula\", \"bad number\"\nEnd Sub"), "S");
    EXPECT_EQ(raised.number, 1001);
    EXPECT_EQ(raised.source, QStringLiteral("MyFormula"));
    EXPECT_EQ(raised.description, QStringLiteral("bad number"));

    ScriptEngine e;
    EXPECT_FALSE(e.run(QStringLiteral("Custom_GL"), {Variant("123")}));
    EXPECT_EQ(e.lastError().number, 35);
    EXPECT_TRUE(e.lastError().description.contains(QStringLiteral("Custom_GL")));

    EXPECT_TRUE(e.addCode(QStringLiteral("Function F(a, b)\nF = a\nEnd Function")));
    EXPECT_FALSE(e.run(QStringLiteral("F"), {Variant(1)}));
    EXPECT_EQ(e.lastError().number, 450);
}

TEST(ScriptErrors, UnsupportedConstructsAreNamed) {
    const char* cases[][2] = {
        {"On Error GoTo Handler", "On Error GoTo"},
        {"x = LoadPicture(\"a.bmp\")", "LoadPicture"},
    };
    for (const auto& c : cases) {
        const ScriptError e = addError(QString::fromUtf8(c[0]));
        EXPECT_TRUE(e.description.contains(QString::fromUtf8(c[1]))) << c[0] << " -> " << e.text().toStdString();
        EXPECT_EQ(e.source, script::kCompileSource);
    }
}

TEST(ScriptErrors, OnErrorResumeNextAndErrObject) {
    ScriptEngine e;
    ASSERT_TRUE(e.addCode(QStringLiteral(
        "Function F()\n"
        "  On Error Resume Next\n"
        "  x = CInt(\"abc\")\n"
        "  F = Err.Number & \"|\" & Err.Description & \"|\" & Err.Source\n"
        "End Function")));
    Variant r;
    ASSERT_TRUE(e.run(QStringLiteral("F"), {}, &r));
    EXPECT_EQ(r.toString(), QStringLiteral("13|类型不匹配|Microsoft VBScript 运行时错误"));
}

TEST(ScriptLimits, TimeLimitStopsRunawayLoops) {
    const char* loops[] = {
        "Do\nLoop",
        "While True\nWend",
        "For i = 1 To 2 Step 0\nNext",
        "On Error Resume Next\nDo\n  x = 1 / 0\nLoop",
        "Sub R()\n  On Error Resume Next\n  R\n  R\nEnd Sub\nR",
    };
    for (const char* code : loops) {
        const ScriptError e = addError(QString::fromUtf8(code), 100);
        EXPECT_EQ(e.number, script::kErrTimeout) << code << " -> " << e.text().toStdString();
    }
    // A runaway formula: the call fails, the engine stays usable.
    ScriptEngine e;
    e.setTimeout(100);
    ASSERT_TRUE(e.addCode(QStringLiteral("Function Custom_GL(NUMBER)\n  Do While NUMBER <> \"\"\n  Loop\nEnd Function\n"
                                         "Function Ok()\n  Ok = 7\nEnd Function")));
    EXPECT_FALSE(e.run(QStringLiteral("Custom_GL"), {Variant("123")}));
    EXPECT_EQ(e.lastError().number, script::kErrTimeout);
    Variant r;
    EXPECT_TRUE(e.run(QStringLiteral("Ok"), {}, &r));
    EXPECT_EQ(r.toString(), QStringLiteral("7"));
}

TEST(ScriptLimits, StopFlagEndsARunningCallAndTheEngineStaysUsable) {
    std::atomic<bool> stop{false};
    ScriptEngine e;
    e.setTimeout(0);
    e.setStopFlag(&stop);
    ASSERT_TRUE(e.addCode(QStringLiteral("Function Spin()\n  On Error Resume Next\n  Do\n    x = 1 / 0\n  Loop\nEnd Function\n"
                                         "Function Ok()\n  Ok = 7\nEnd Function")));
    std::thread setter([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        stop = true;
    });
    EXPECT_FALSE(e.run(QStringLiteral("Spin"), {}));
    setter.join();
    EXPECT_EQ(e.lastError().number, script::kErrStopped);
    EXPECT_EQ(e.lastError().description, QStringLiteral("脚本运行已被取消"));
    stop = false;
    Variant r;
    EXPECT_TRUE(e.run(QStringLiteral("Ok"), {}, &r));
    EXPECT_EQ(r.toString(), QStringLiteral("7"));
    // A condition forwards the flag to its own engine; a stop set before a call ends it at once.
    ScriptCondition c;
    c.setStopFlag(&stop);
    ASSERT_TRUE(c.compile(QStringLiteral("a(0) = 1")));
    stop = true;
    Variant series, result;
    EXPECT_FALSE(c.evaluate(series, &result));
    EXPECT_EQ(c.lastError().number, script::kErrStopped);
}

TEST(ScriptLimits, DeepRecursionIsAnErrorNotACrash) {
    ScriptEngine engine;
    ASSERT_TRUE(engine.addCode(QStringLiteral("Function F(n)\n  F = F(n + 1)\nEnd Function")));
    EXPECT_FALSE(engine.run(QStringLiteral("F"), {Variant(0)}));
    EXPECT_EQ(engine.lastError().number, 28);
    EXPECT_EQ(engine.lastError().description, QStringLiteral("堆栈溢出"));

    // Deeply nested source is refused at compile time.
    QString nested = QStringLiteral("x = ") + QString(5000, u'(') + u'1' + QString(5000, u')');
    EXPECT_NE(addError(nested).number, 0);
    QString chain = QStringLiteral("x = 1") + QStringLiteral(" + 1").repeated(20000);
    EXPECT_NE(addError(chain).number, 0);
}

// The guard follows the running thread's own stack: a small one ends endless recursion
// cleanly, a usual one holds deep plain recursion.
TEST(ScriptLimits, RecursionDepthFollowsTheThreadsRealStack) {
    const QString code = QStringLiteral(
        "Dim reached\nFunction Down(n)\n  If n = 0 Then\n    Down = 0\n  Else\n    Down = Down(n - 1) + 1\n  End If\nEnd Function\n"
        "Function Deepest()\n  On Error Resume Next\n  reached = 0\n  Probe 1\n  Deepest = reached & \" \" & Err.Number\nEnd Function\n"
        "Sub Probe(n)\n  reached = n\n  Probe n + 1\nEnd Sub\n"
        "Function Endless(n)\n  Endless = Endless(n + 1)\nEnd Function\n");
    for (size_t stack : {size_t(1) << 20, size_t(2) << 20}) {
        onThreadWithStack(stack, [&] {
            ScriptEngine e;
            ASSERT_TRUE(e.addCode(code));
            EXPECT_FALSE(e.run(QStringLiteral("Endless"), {Variant(0)}));
            EXPECT_EQ(e.lastError().number, 28) << stack;
            EXPECT_EQ(e.lastError().description, QStringLiteral("堆栈溢出"));
            Variant r;
            EXPECT_TRUE(e.run(QStringLiteral("Down"), {Variant(100)}, &r));  // still usable
            EXPECT_EQ(r.toLong(), 100);
        });
    }
    // Deep recursion that compiles deeply nested code or evaluates the tallest expression the
    // compiler allows at every level still ends cleanly on the small stack.
    const QString tall = QStringLiteral("1") + QStringLiteral(" + 1").repeated(990);
    const QString heavy = QStringLiteral(
        "Function Nested(n)\n  x = Eval(String(95, \"(\") & n & String(95, \")\"))\n  Nested = Nested(n + 1)\nEnd Function\n"
        "Function Tall(n)\n  x = %1\n  Tall = Tall(n + 1)\nEnd Function\n").arg(tall);
    onThreadWithStack(size_t(1) << 20, [&] {
        ScriptEngine e;
        e.setTimeout(0);
        ASSERT_TRUE(e.addCode(heavy)) << e.lastError().text().toStdString();
        for (const char* name : {"Nested", "Tall"}) {
            EXPECT_FALSE(e.run(QString::fromLatin1(name), {Variant(0)}));
            EXPECT_EQ(e.lastError().number, 28) << name;
        }
    });
    onThreadWithStack(size_t(8) << 20, [&] {
        ScriptEngine e;
        e.setTimeout(0);
        ASSERT_TRUE(e.addCode(code));
        Variant r;
#ifdef SCRIPT_TEST_LEAN_FRAMES
        EXPECT_TRUE(e.run(QStringLiteral("Down"), {Variant(10000)}, &r)) << e.lastError().text().toStdString();
        EXPECT_EQ(r.toLong(), 10000);
#endif
        ASSERT_TRUE(e.run(QStringLiteral("Deepest"), {}, &r));
        const QStringList parts = r.toString().split(u' ');
        std::printf("[ depth    ] %s levels on an 8 MB stack\n", qPrintable(parts[0]));
        EXPECT_EQ(parts.value(1), QStringLiteral("28"));
    });
}

// The tallest expression of each kind the compiler takes evaluates, and evaluated at every
// level of an endless recursion it ends with 28, not past the thread's stack: its own height
// needs about as much stack as the engine keeps in reserve below a call's check (a member
// chain more), so each level of an expression checks the stack. Each text is the tallest the
// compiler accepts, found by trying, so the cases follow the compiler's limits.
TEST(ScriptLimits, TheTallestExpressionOfEachKindEndsCleanlyAtTheStacksEnd) {
    using Text = std::function<QString(int)>;
    const auto repeat = [](const char* part, int n) { return QString::fromLatin1(part).repeated(n); };
    const auto chain = [=](const char* first, const char* op) {
        return Text([=](int n) { return QString::fromLatin1(first) + repeat(op, n); });
    };
    const auto nest = [=](const char* open, const char* core) {
        return Text([=](int n) { return repeat(open, n) + QString::fromLatin1(core) + QString(n, u')'); });
    };
    const struct {
        const char* kind;
        Text text;
        Text value;  // with v = 1, t = "a", b = True, f = False
    } kinds[] = {
        {"+", chain("v", " + v"), [](int n) { return QString::number(n + 1); }},
        {"&", chain("t", " & t"), [](int n) { return QString(n + 1, u'a'); }},
        {"^", chain("v", " ^ v"), [](int) { return QStringLiteral("1"); }},
        {"And", chain("b", " And b"), [](int) { return QStringLiteral("True"); }},
        {"Or", chain("f", " Or f"), [](int) { return QStringLiteral("False"); }},
        {"=", chain("v", " = v"), [](int) { return QStringLiteral("False"); }},
        {"<", chain("v", " < v"), [](int) { return QStringLiteral("True"); }},
        {"()", nest("(", "v"), [](int) { return QStringLiteral("1"); }},
        {"v + (", nest("v + (", "v"), [](int n) { return QString::number(n + 1); }},
        {"Abs(", nest("Abs(", "v"), [](int) { return QStringLiteral("1"); }},
        {"a(", nest("a(", "0"), [](int) { return QStringLiteral("0"); }},
        {"Not", [=](int n) { return repeat("Not ", n) + u'b'; },
         [](int n) { return n % 2 ? QStringLiteral("False") : QStringLiteral("True"); }},
        {"-", [=](int n) { return repeat("-", n) + u'v'; }, [](int n) { return QString::number(n % 2 ? -1 : 1); }},
        {".n", [=](int n) { return QStringLiteral("TypeName(o") + repeat(".n", n) + u')'; },
         [](int) { return QStringLiteral("C"); }},
    };
    const auto module = [](const QString& e) {
        return QStringLiteral("Class C\n Public n\nEnd Class\nDim o, a\nSet o = New C\nSet o.n = o\na = Array(0)\n"
                              "Function Value(v, t, b, f)\n Value = %1\nEnd Function\n"
                              "Function Deep(v, t, b, f)\n x = %1\n Deep = Deep(v, t, b, f)\nEnd Function\n")
            .arg(e);
    };
    for (const auto& k : kinds) {
        int lo = 1, hi = 2000;
        while (lo < hi) {
            const int mid = (lo + hi + 1) / 2;
            ScriptEngine probe;
            if (probe.addCode(module(k.text(mid))))
                lo = mid;
            else
                hi = mid - 1;
        }
        ScriptEngine taller;
        EXPECT_FALSE(taller.addCode(module(k.text(lo + 1))));
        EXPECT_EQ(taller.lastError().number, 1001) << k.kind;  // refused for its height alone
        ScriptEngine e;
        e.setTimeout(0);
        ASSERT_TRUE(e.addCode(module(k.text(lo)))) << k.kind;
        std::vector<Variant> args = {Variant(1), Variant(QStringLiteral("a")), Variant(true), Variant(false)};
        Variant r;
        ASSERT_TRUE(e.run(QStringLiteral("Value"), args, &r)) << k.kind << ": " << e.lastError().text().toStdString();
        EXPECT_EQ(r.toString(), k.value(lo)) << k.kind << " x " << lo;
        onThreadWithStack(size_t(1) << 20, [&] {
            EXPECT_FALSE(e.run(QStringLiteral("Deep"), args)) << k.kind;
            EXPECT_EQ(e.lastError().number, 28) << k.kind;
            EXPECT_EQ(e.lastError().description, QStringLiteral("堆栈溢出")) << k.kind;
        });
    }
}

// Locals of calls in progress never share storage: recursion across the engine's slot chunks,
// a procedure with more locals than a chunk holds, and locals released in between.
TEST(ScriptLimits, LocalsOfNestedCallsStayApart) {
    QString wide = QStringLiteral("Function Wide(n)\n");
    for (int i = 0; i < 1100; ++i)
        wide += QStringLiteral("  Dim v%1\n  v%1 = n * %1\n").arg(i);
    wide += QStringLiteral("  If n > 0 Then Wide = Narrow(n - 1) + v1099 Else Wide = v1099\nEnd Function\n");
    ScriptEngine e;
    ASSERT_TRUE(e.addCode(wide + QStringLiteral(
        "Function Narrow(n)\n  Dim a, b\n  a = n\n  b = Wide(n)\n  Narrow = a + b\nEnd Function\n"
        "Function Sum(n)\n  Dim keep\n  keep = n\n  If n > 0 Then Sum = Sum(n - 1) + keep Else Sum = 0\nEnd Function\n")));
    Variant r;
    ASSERT_TRUE(e.run(QStringLiteral("Narrow"), {Variant(4)}, &r)) << e.lastError().text().toStdString();
    // Narrow(k) = k + Wide(k); Wide(k) = Narrow(k - 1) + 1099k; Wide(0) = 0.
    EXPECT_EQ(r.toLong(), 4 + (3 + (2 + (1 + (0 + 0 + 1099) + 2198) + 3297) + 4396));
    ASSERT_TRUE(e.run(QStringLiteral("Sum"), {Variant(3000)}, &r));
    EXPECT_EQ(r.toLong(), 3000 * 3001 / 2);
    ASSERT_TRUE(e.run(QStringLiteral("Narrow"), {Variant(1)}, &r));
    EXPECT_EQ(r.toLong(), 1 + 0 + 1099);
}

TEST(ScriptAddCode, DefinitionsStayAndLaterOnesReplaceEarlierOnes) {
    ScriptEngine e;
    ASSERT_TRUE(e.addCode(QStringLiteral("Function Custom_GL(NUMBER)\n  Custom_GL = \"first\"\nEnd Function")));
    ASSERT_TRUE(e.addCode(QStringLiteral("Function Helper()\n  Helper = Custom_GL(1)\nEnd Function")));
    Variant r;
    ASSERT_TRUE(e.run(QStringLiteral("helper"), {}, &r));
    EXPECT_EQ(r.toString(), QStringLiteral("first"));

    // A later definition replaces the earlier one, also for callers compiled before it.
    ASSERT_TRUE(e.addCode(QStringLiteral("Function Custom_GL(NUMBER)\n  Custom_GL = \"second\"\nEnd Function")));
    ASSERT_TRUE(e.run(QStringLiteral("Helper"), {}, &r));
    EXPECT_EQ(r.toString(), QStringLiteral("second"));

    // Code without Custom_GL (an empty formula box) leaves the earlier definition in place.
    ASSERT_TRUE(e.addCode(QString()));
    ASSERT_TRUE(e.run(QStringLiteral("Custom_GL"), {Variant("000")}, &r));
    EXPECT_EQ(r.toString(), QStringLiteral("second"));

    // A failing text changes nothing.
    EXPECT_FALSE(e.addCode(QStringLiteral("Function Custom_GL(NUMBER)\n  Custom_GL = \nEnd Function")));
    ASSERT_TRUE(e.run(QStringLiteral("Custom_GL"), {Variant("000")}, &r));
    EXPECT_EQ(r.toString(), QStringLiteral("second"));

    e.reset();
    EXPECT_FALSE(e.run(QStringLiteral("Custom_GL"), {Variant("000")}, &r));
}

TEST(ScriptAddCode, TopLevelStatementsRunAtEveryAdditionOfTheSameText) {
    ScriptEngine e;
    const QString code = QStringLiteral(
        "Dim calls\n"
        "calls = calls + 1\n"
        "Const LIMIT = 5\n"
        "Function Custom_GL(NUMBER)\n"
        "  Custom_GL = (CInt(Right(NUMBER, 1)) < LIMIT)\n"
        "End Function\n"
        "Function Calls_()\n  Calls_ = calls\nEnd Function");
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(e.addCode(code)) << e.lastError().text().toStdString();
    Variant r;
    ASSERT_TRUE(e.run(QStringLiteral("Calls_"), {}, &r));
    EXPECT_EQ(r.toString(), QStringLiteral("3"));  // compiled once, run three times
    ASSERT_TRUE(e.run(QStringLiteral("Custom_GL"), {Variant("124")}, &r));
    EXPECT_TRUE(r.equalsTrue());

    // A different text in between does not disturb the reused one.
    ASSERT_TRUE(e.addCode(QStringLiteral("calls = 100")));
    ASSERT_TRUE(e.addCode(code));
    ASSERT_TRUE(e.run(QStringLiteral("Calls_"), {}, &r));
    EXPECT_EQ(r.toString(), QStringLiteral("101"));
}

TEST(ScriptAddCode, ChineseCommentsAndStringsAndCrLf) {
    ScriptEngine e;
    ASSERT_TRUE(e.addCode(QStringLiteral("' 去掉和值尾为0的号码\r\nRem 万能公式\r\n"
                                         "Function Custom_GL(NUMBER)\r\n"
                                         "  Dim t : t = \"和值\" ' 注释\r\n"
                                         "  Custom_GL = (Len(t) = 2 And Right(NUMBER, 1) = \"0\")\r\n"
                                         "End Function\r\n")))
        << e.lastError().text().toStdString();
    Variant r;
    ASSERT_TRUE(e.run(QStringLiteral("Custom_GL"), {Variant("120")}, &r));
    EXPECT_TRUE(r.equalsTrue());
    ASSERT_TRUE(e.run(QStringLiteral("Custom_GL"), {Variant("121")}, &r));
    EXPECT_FALSE(r.equalsTrue());
}

TEST(ScriptArrays, ArrayPassedByReferenceIsReadBack) {
    ScriptEngine e;
    ASSERT_TRUE(e.addCode(QStringLiteral(
        "Function ReGS2 ( a() )\n  a(1) = a(1) + 10\n  a(0) = \"seen\"\n  ReGS2 = UBound(a)\nEnd Function\n"
        "Sub Bump(n)\n  n = n + 1\nEnd Sub")));
    std::vector<Variant> args{Variant::makeArray(std::vector<Variant>{Variant(), Variant(5), Variant(6)})};
    Variant r;
    ASSERT_TRUE(e.run(QStringLiteral("regs2"), args, &r));
    EXPECT_EQ(r.debugText(), QStringLiteral("Long|2"));
    const std::vector<Variant> items = args[0].arrayItems();
    EXPECT_EQ(items[0].toString(), QStringLiteral("seen"));
    EXPECT_EQ(items[1].debugText(), QStringLiteral("Integer|15"));

    std::vector<Variant> n{Variant(41)};
    ASSERT_TRUE(e.run(QStringLiteral("Bump"), n));
    EXPECT_EQ(n[0].toString(), QStringLiteral("42"));
}

TEST(ScriptArrays, ByRefElementsSurviveReDimAndSelfAssignment) {
    // A procedure that ReDims or overwrites the array whose element it holds ByRef must not
    // leave a dangling reference.
    ScriptEngine e;
    ASSERT_TRUE(e.addCode(QStringLiteral(
        "Dim g\n"
        "Sub Grow(x)\n  On Error Resume Next\n  ReDim Preserve g(100)\n  g = 0\n  x = 7\nEnd Sub\n"
        "Sub Nest(x)\n  x = g\nEnd Sub\n"
        "Function Main()\n  ReDim g(2)\n  Grow g(1)\n  ReDim g(2)\n  Nest g(0)\n  Main = TypeName(g) & TypeName(g(0))\nEnd Function")));
    Variant r;
    ASSERT_TRUE(e.run(QStringLiteral("Main"), {}, &r)) << e.lastError().text().toStdString();
    EXPECT_EQ(r.toString(), QStringLiteral("Variant()Variant()"));
}

// How a call binds its arguments and finds its procedure: a name binds ByRef to the caller's
// storage and only for that call (the same parameter then takes a value), constants and
// bracketed arguments pass values, and a procedure replaced or hidden between calls is the
// one found at the next call. Each program's Main() gives the text shown, or "ERR n".
TEST(ScriptCalls, ArgumentsBindAndProceduresAreFoundAsTheyStandAtEachCall) {
    const QString module = QStringLiteral(
        "Dim g\n"
        "Sub Inc(x)\n  x = x + 1\nEnd Sub\n"
        "Function Twice(ByVal x)\n  x = x * 2\n  Twice = x\nEnd Function\n"
        "Sub Acc(n, total)\n  If n > 0 Then\n    total = total + n\n    Acc n - 1, total\n  End If\nEnd Sub\n"
        "Sub Deep(n, x)\n  If n = 0 Then\n    x = 99\n  Else\n    Deep n - 1, x\n  End If\nEnd Sub\n"
        "Function Two()\n  Two = 2\nEnd Function\n"
        "Function Fib(n)\n  If n < 2 Then\n    Fib = n\n  Else\n    Fib = Fib(n - 1) + Fib(n - 2)\n  End If\nEnd Function\n"
        "Function Tries()\n  On Error Resume Next\n  x = 1 / 0\n  Tries = Err.Number & \" \" & Fib(10)\nEnd Function\n"
        "Class Counter\n  Private t\n  Private v\n"
        "  Public Sub Add(x)\n    t = t + x\n  End Sub\n"
        "  Public Sub Zero(x)\n    x = 0\n  End Sub\n"
        "  Public Property Get Total()\n    Total = t\n  End Property\n"
        "  Public Property Let Doubled(x)\n    v = x * 2\n  End Property\n"
        "  Public Sub SetThroughProperty()\n    Doubled = 5\n    t = v\n  End Sub\n"
        "  Private Sub Hidden()\n  End Sub\n"
        "  Public Sub CallsHidden()\n    Hidden\n    t = -1\n  End Sub\n"
        "End Class\n"
        "Function Fresh()\n  Dim t, o\n  Fresh = TypeName(t) & TypeName(o)\n  t = \"x\": o = Array(1)\nEnd Function\n"
        "Function InWith(c)\n  With c\n    .Add 1\n    If .Total > 0 Then Exit Function\n  End With\nEnd Function\n"
        "Function FailsInWith(c)\n  With c\n    .Hidden\n  End With\nEnd Function\n");
    const char* cases[][2] = {
        {"Dim a: a = 1\nInc a\nInc a\nMain = a", "3"},
        // The parameter bound to `a` takes values in the calls after it.
        {"Dim a: a = 1\nInc a\nInc (a)\nInc a + 0\nCall Inc(5)\nMain = a", "2"},
        {"Dim a: a = 1\nMain = Twice(a) & \" \" & a", "2 1"},
        {"Const k = 5\nInc k\nMain = k", "5"},
        {"Dim a(1): a(0) = 1\nInc a(0)\nMain = a(0)", "2"},
        {"g = 1\nInc g\nMain = g", "2"},
        {"Dim s: s = 0\nAcc 100, s\nMain = s", "5050"},
        {"Dim a\nDeep 50, a\nMain = a", "99"},
        {"Dim a\nInc a, 1\nMain = a", "ERR 450"},
        {"Main = Fib(20)", "6765"},
        {"Main = Tries()", "11 55"},
        {"x = Two()\nExecuteGlobal \"Function Two()\" & vbLf & \"Two = 3\" & vbLf & \"End Function\"\nMain = x & Two()",
         "23"},
        {"x = Two()\nExecuteGlobal \"Dim Two\"\nOn Error Resume Next\ny = Two()\nMain = x & \" \" & Err.Number", "2 13"},
        {"Dim c, i: Set c = New Counter\nFor i = 1 To 4\n  c.Add i\nNext\nMain = c.Total & \" \" & i", "10 5"},
        {"Dim c, a, b: Set c = New Counter\na = 5: b = 5\nc.Zero a\nc.Zero (b)\nMain = a & \" \" & b", "0 5"},
        {"Dim c: Set c = New Counter\nc.SetThroughProperty\nMain = c.Total", "10"},
        {"Dim c: Set c = New Counter\nc.CallsHidden\nMain = c.Total", "-1"},
        {"Dim c: Set c = New Counter\nc.Hidden\nMain = 1", "ERR 438"},
        // Operators as arguments: a quick sum of a variable bound elsewhere, one whose left
        // operand is a call, one that widens, one that is no quick sum.
        {"Dim a: a = 3\nMain = Twice(a + 1) & \" \" & Twice(Two() + a) & \" \" & a", "8 10 3"},
        {"Dim a: a = 32767\nMain = TypeName(Twice(a + 1)) & \" \" & Twice(a + 1)", "Long 65536"},
        {"Dim a: a = \"4\"\nMain = Twice(a & 1) & \" \" & Twice(a + 1)", "82 10"},
        {"Inc 1 + 1\nMain = Fib(5 - Two())", "2"},
        // A call's end leaves its slots Empty for the next call, texts and arrays too.
        {"Main = Fresh() & \" \" & Fresh()", "EmptyEmpty EmptyEmpty"},
        // An element bound ByRef is unpinned when the call ends: the array grows after it.
        {"Dim a(): ReDim a(1): a(0) = 1\nInc a(0)\nReDim Preserve a(3)\nMain = a(0) & UBound(a)", "23"},
        // A With ended inside a call, by Exit Function or by an error, leaves the caller's With
        // object where its members find it.
        {"Dim c, d: Set c = New Counter: Set d = New Counter\nWith d\n  InWith c\n  .Add 5\nEnd With\n"
         "Main = c.Total & \" \" & d.Total", "1 5"},
        {"Dim c, d: Set c = New Counter: Set d = New Counter\nOn Error Resume Next\nWith d\n  FailsInWith c\n"
         "  .Add 7\nEnd With\nMain = Err.Number & \" \" & d.Total", "438 7"},
    };
    for (const auto& c : cases) {
        ScriptEngine e;
        ASSERT_TRUE(e.addCode(module + QStringLiteral("Function Main()\n") + QString::fromUtf8(c[0]) +
                              QStringLiteral("\nEnd Function\n")))
            << c[0] << " " << e.lastError().text().toStdString();
        Variant r;
        const QString got = e.run(QStringLiteral("Main"), {}, &r) ? r.toString()
                                                                  : QStringLiteral("ERR %1").arg(e.lastError().number);
        EXPECT_EQ(got, QString::fromUtf8(c[1])) << c[0];
    }
}

// Sums, differences and products of whole numbers and Doubles keep the language's subtypes
// and overflow rules, whether the operands are literals, locals or calls.
TEST(ScriptCalls, ArithmeticOnWholeNumbersAndDoublesKeepsSubtypes) {
    const char* cases[][2] = {
        {"a = 32767: b = 1: x = a + b", "Long|32768"},
        {"a = 2: b = 3: x = a * b", "Integer|6"},
        {"a = 200: b = 200: x = a * b", "Long|40000"},
        {"a = -32768: b = 1: x = a - b", "Long|-32769"},
        {"a = 2147483647: x = a + 1", "Double|2147483648"},
        {"a = CLng(5): x = a - 2", "Long|3"},
        {"a = 1.5: x = a + 2", "Double|3.5"},
        {"a = 1.5: x = CInt(2) - a", "Double|0.5"},
        {"a = 1E308: x = a * 10", "ERR 6"},
        {"a = CByte(200): b = CByte(100): x = a - b", "Byte|100"},
        {"a = True: x = a + 1", "Integer|0"},
        {"a = \"2\": x = a + 1", "Double|3"},
        {"a = Null: x = a + 1", "Null|"},
    };
    for (const auto& c : cases) {
        ScriptEngine e;
        ASSERT_TRUE(e.addCode(QStringLiteral("Function T()\n  Dim a, b, x\n  ") + QString::fromUtf8(c[0]) +
                              QStringLiteral("\n  T = TypeName(x) & \"|\" & x\nEnd Function\n")))
            << c[0];
        Variant r;
        const QString got = e.run(QStringLiteral("T"), {}, &r) ? r.toString()
                                                               : QStringLiteral("ERR %1").arg(e.lastError().number);
        EXPECT_EQ(got, QString::fromUtf8(c[1])) << c[0];
    }
}

TEST(ScriptCondition, WrapperIsTheSevenLineFunction) {
    EXPECT_EQ(ScriptCondition::wrap(QStringLiteral("a(1) = a(2)")),
              QStringLiteral("Function ReGS2 ( a() )\r\n If a(1) = a(2) then\r\n  ReGS2 = 1 \r\n    Else\r\n"
                             "        ReGS2 = 0\r\n    End If\r\nEnd Function\r\n"));
}

// Pure: an expression over a() and built-ins whose result follows from their arguments, so a
// host may keep its result per series. Anything that reads a clock, a generator, a box, a
// variable, an object or runs statements is not.
TEST(ScriptCondition, TellsWhetherAConditionReadsOnlyItsSeriesAndWhetherItMayTalk) {
    const struct {
        const char* condition;
        bool pure;
        bool talks;
    } cases[] = {
        {"a(1) < a(2) And a(2) <> a(3)", true, false},
        {"A(1) = A(2) Or Not (a(3) >= a(4))   then '方案03", true, false},
        {"Abs(a(1) - a(2)) Mod 2 = Int(a(3) / 2) And UBound(a) = 5", true, false},
        {"Len(CStr(a(1))) > 1 And a(2) & \"\" = \"3\"", true, false},
        {"a(1) < Rnd * 10", false, false},
        {"a(1) < Second(Now)", false, false},
        {"a(1) < x", false, false},
        {"MsgBox(a(1)) = 1", false, true},
        {"Eval(\"a(1)\") = 1", false, true},
        {"a(1) = 1 then a(2) = 5", false, false},
        {"a(1) < 2 : Execute \"x = 1\"", false, true},
        {"a(1) < 2 : EXECUTEGLOBAL \"x = 1\"", false, true},
        {"InputBox(\"?\") = a(1)", false, true},
        {"a(1) < CreateObject(\"Scripting.Dictionary\").Count", false, false},
        {"a(1) < 2\nDim x", false, false},
        // Names, not the words inside other names, strings or comments.
        {"a(1) = \"msgbox\" then '方案01 Eval", true, false},
        {"a(1) < evaluation", false, false},
        // A text no token starts with compiles to nothing that runs.
        {"a(1) < 2 @ MsgBox 1", false, false},
    };
    for (const auto& c : cases) {
        const script::ConditionTraits traits = script::ReadConditionTraits(QString::fromUtf8(c.condition));
        EXPECT_EQ(traits.pure, c.pure) << c.condition;
        EXPECT_EQ(traits.mayTalk, c.talks) << c.condition;
        ScriptCondition compiled;
        const bool ok = compiled.compile(QString::fromUtf8(c.condition));
        EXPECT_EQ(compiled.mayTalk(), c.talks) << c.condition;
        if (ok) { EXPECT_EQ(compiled.isPure(), c.pure) << c.condition; }
    }
}

// The reader takes each built-in's pure and talking marks from the built-in table: a condition
// calling one built-in over the series is pure exactly when the row says so, and talks exactly
// when the row says so.
TEST(ScriptCondition, ReadsWhatTheBuiltinTableSaysOfEachFunction) {
    int pure = 0, talking = 0;
    for (auto group : {script::CoreBuiltins(), script::DateBuiltins(), script::FormatBuiltins(), script::TextBuiltins()}) {
        for (const script::Builtin& row : group) {
            EXPECT_FALSE(row.pure && row.talks) << row.name;
            QStringList args;
            for (int k = 0; k < row.minArgs; ++k) args << QStringLiteral("a(%1)").arg(k + 1);
            const QString name = QString::fromLatin1(row.name).toUpper();
            const QString condition = (args.isEmpty() ? name : name + QLatin1Char('(') + args.join(QLatin1Char(',')) + QLatin1Char(')')) +
                                      QStringLiteral(" = a(1)");
            const script::ConditionTraits traits = script::ReadConditionTraits(condition);
            EXPECT_EQ(traits.pure, row.pure) << condition.toStdString();
            EXPECT_EQ(traits.mayTalk, row.talks) << condition.toStdString();
            pure += row.pure;
            talking += row.talks;
        }
    }
    EXPECT_GT(pure, 0);
    EXPECT_EQ(talking, 5);  // MsgBox, InputBox, Execute, ExecuteGlobal, Eval
}

TEST(ScriptCondition, EvaluatesRepeatedlyLikeAFreshEngine) {
    ScriptCondition c;
    // Item 01 of the built-in scheme list: condition, blanks to 69 characters, then "then '方案01".
    ASSERT_TRUE(c.compile(QStringLiteral("a(1) = a(2)").leftJustified(69, u' ') + QStringLiteral("then '方案01")))
        << c.lastError().text().toStdString();
    Variant series = Variant::makeArray(std::vector<Variant>(6));
    auto& items = series.arrayData()->items;
    Variant r;
    for (int i = 0; i < 4; ++i) {
        items[1] = Variant(i % 2);
        items[2] = Variant(0);
        ASSERT_TRUE(c.evaluate(series, &r));
        EXPECT_EQ(r.toString(), i % 2 ? QStringLiteral("0") : QStringLiteral("1"));
    }

    // An element beyond the series: error 9 with its description and source, then the next
    // evaluation is unaffected.
    ScriptCondition bad;
    ASSERT_TRUE(bad.compile(QStringLiteral("a(6) > 0")));
    EXPECT_FALSE(bad.evaluate(series, &r));
    EXPECT_EQ(bad.lastError().number, 9);
    EXPECT_EQ(bad.lastError().description, QStringLiteral("下标越界"));
    EXPECT_EQ(bad.lastError().source, script::kRuntimeSource);
    Variant longer = Variant::makeArray(std::vector<Variant>(7, Variant(1)));
    ASSERT_TRUE(bad.evaluate(longer, &r)) << bad.lastError().text().toStdString();
    EXPECT_EQ(r.toString(), QStringLiteral("1"));

    // A condition that is not valid script fails to compile with a compilation error.
    ScriptCondition broken;
    EXPECT_FALSE(broken.compile(QStringLiteral("a(1) >")));
    EXPECT_EQ(broken.lastError().source, script::kCompileSource);
    EXPECT_FALSE(broken.evaluate(series, &r));
}

TEST(ScriptVariant, WhatCountsAsTrueForTheFormulaFilter) {
    struct Case {
        Variant v;
        bool removed;
    };
    const Case cases[] = {
        {Variant(true), true},       {Variant(-1), true},          {Variant::makeDouble(-1), true},
        {Variant(false), false},     {Variant(1), false},          {Variant(-2), false},
        {Variant(), false},          {Variant("True"), false},     {Variant::makeNull(), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.v.equalsTrue(), c.removed) << c.v.debugText().toStdString();
}

TEST(ScriptRegressions, InputsFoundByFuzzingFailCleanly) {
    // "Name (x) & y" first reads "(x)" as the argument list, then re-reads it as an expression.
    const char* inputs[] = {
        "Function Main()\n  Dimin()\n  Dim x\n  x = 5 Xor 3\n  Maime(x) & \"|\" & x\nEnd Function\n",
        "Err.Raise (1) + q, 2\n",
        // An unknown Err member's arguments are parsed and dropped: their names must go with them.
        "Err.t u\n",
        "Function Main()\n  Err.t u, v(w)\n  Main = u\nEnd Function\n",
    };
    for (const char* code : inputs) {
        ScriptEngine e;
        e.setTimeout(100);
        e.addCode(QString::fromUtf8(code));
        e.run(QStringLiteral("Main"), {});
        SUCCEED();
    }
}

TEST(ScriptLanguage, ReDimReachesModuleVariablesAndCreatesLocalsOtherwise) {
    ScriptEngine e;
    ASSERT_TRUE(e.addCode(QStringLiteral(
        "Dim g\n"
        "Sub Fill()\n  ReDim g(3)\n  g(3) = \"m\"\nEnd Sub\n"
        "Function Main()\n  ReDim q(2)\n  q(1) = 5\n  Fill\n  Main = UBound(q) & q(1) & UBound(g) & g(3)\nEnd Function\n"
        "Function Explicit_()\n  Explicit_ = TypeName(q)\nEnd Function")));
    Variant r;
    ASSERT_TRUE(e.run(QStringLiteral("Main"), {}, &r)) << e.lastError().text().toStdString();
    EXPECT_EQ(r.toString(), QStringLiteral("253m"));
    ASSERT_TRUE(e.run(QStringLiteral("Explicit_"), {}, &r));
    EXPECT_EQ(r.toString(), QStringLiteral("Empty"));  // q was local to Main

    ScriptEngine strict;
    EXPECT_FALSE(strict.addCode(QStringLiteral("Option Explicit\nDim a\na = 1\nb = 2\n")));
    EXPECT_EQ(strict.lastError().number, 500);
    EXPECT_EQ(strict.lastError().line, 4);
}
