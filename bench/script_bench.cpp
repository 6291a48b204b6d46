// Script engine speed: the smart system's scheme condition evaluated over a count series,
// and the formula filter's pattern (add the code, call Custom_GL) over 1000 numbers.
#include "scriptengine.h"

#include <QStringList>

#include <benchmark/benchmark.h>

using script::ScriptCondition;
using script::ScriptEngine;
using script::Variant;

namespace {

// A typical formula: sum of the last digits of the three pair products, tested against a list.
const QString kFormula = QStringLiteral(
    "' 百×十、百×个、十×个的尾数之和在列表中则去掉\r\n"
    "Function Custom_GL(NUMBER)\r\n"
    "  Dim b, s, g, S1, T\r\n"
    "  b = CInt(Mid(NUMBER, 1, 1))\r\n"
    "  s = CInt(Mid(NUMBER, 2, 1))\r\n"
    "  g = CInt(Mid(NUMBER, 3, 1))\r\n"
    "  S1 = (b * s) Mod 10 + (b * g) Mod 10 + (s * g) Mod 10\r\n"
    "  T = \"1,5,9,13,17\"\r\n"
    "  Custom_GL = InStr(\",\" & T & \",\", \",\" & S1 & \",\") > 0\r\n"
    "End Function\r\n");

Variant series(int a1, int a2, int a3, int a4, int a5) {
    std::vector<Variant> items{Variant(), Variant(a1), Variant(a2), Variant(a3), Variant(a4), Variant(a5)};
    return Variant::makeArray(items);
}

}  // namespace

// One evaluation of a compiled scheme condition (the smart system makes about 10,000).
static void BM_SchemeConditionEvaluate(benchmark::State& state) {
    ScriptCondition c;
    if (!c.compile(QStringLiteral("a(1) > a(2) And a(2) >= a(3)"))) {
        state.SkipWithError("compile failed");
        return;
    }
    Variant a = series(5, 3, 3, 0, 0);
    Variant r;
    for (auto _ : state) {
        c.evaluate(a, &r);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_SchemeConditionEvaluate);

// A whole smart computation's worth: 10,000 evaluations over changing series.
static void BM_SmartComputation10000(benchmark::State& state) {
    ScriptCondition c;
    c.compile(QStringLiteral("a(1) = a(2)").leftJustified(69, u' ') + QStringLiteral("then '方案01"));
    Variant a = series(0, 0, 0, 0, 0);
    auto& items = a.arrayData()->items;
    Variant r;
    for (auto _ : state) {
        int held = 0;
        for (int i = 0; i < 10000; ++i) {
            items[1] = Variant(i % 7);
            items[2] = Variant(i % 5);
            if (c.evaluate(a, &r) && r.toLong() == 1)
                ++held;
        }
        benchmark::DoNotOptimize(held);
    }
}
BENCHMARK(BM_SmartComputation10000)->Unit(benchmark::kMillisecond);

// The formula filter over 1000 numbers: AddCode before every call, as the workbench does.
static void BM_FormulaFilter1000(benchmark::State& state) {
    ScriptEngine e;
    QStringList numbers;
    for (int n = 0; n < 1000; ++n)
        numbers << QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0'));
    for (auto _ : state) {
        int removed = 0;
        for (const QString& n : numbers) {
            Variant r;
            if (e.addCode(kFormula) && e.run(QStringLiteral("Custom_GL"), {Variant(n)}, &r) && r.equalsTrue())
                ++removed;
        }
        benchmark::DoNotOptimize(removed);
    }
}
BENCHMARK(BM_FormulaFilter1000)->Unit(benchmark::kMillisecond);

// String building: 100,000 appends of one character (linear in the length built).
static void BM_StringAppend100000(benchmark::State& state) {
    ScriptEngine e;
    e.setTimeout(0);
    e.addCode(QStringLiteral("Function Build(n)\n  Dim s, i\n  For i = 1 To n\n    s = s & \"x\"\n  Next\n"
                             "  Build = Len(s)\nEnd Function\n"));
    for (auto _ : state) {
        Variant r;
        if (!e.run(QStringLiteral("Build"), {Variant(100000)}, &r) || r.toLong() != 100000) {
            state.SkipWithError("append loop failed");
            return;
        }
    }
}
BENCHMARK(BM_StringAppend100000)->Unit(benchmark::kMillisecond);

// Growing an array one element at a time at module level (linear: grown in place).
static void BM_ReDimPreserveAppend16000(benchmark::State& state) {
    const QString code = QStringLiteral(
        "ReDim a(0)\nFor i = 1 To 16000\n  ReDim Preserve a(UBound(a) + 1)\n  a(UBound(a)) = i\nNext\n"
        "If UBound(a) <> 16000 Then Err.Raise 5\n");
    for (auto _ : state) {
        ScriptEngine e;
        e.setTimeout(0);
        if (!e.addCode(code)) {
            state.SkipWithError("append loop failed");
            return;
        }
    }
}
BENCHMARK(BM_ReDimPreserveAppend16000)->Unit(benchmark::kMillisecond);
