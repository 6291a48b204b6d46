// Script engine speed with objects: method calls and property reads on class instances, and
// Scripting.Dictionary lookups, as formula writers use them for tables of their own.
#include "scriptengine.h"

#include <benchmark/benchmark.h>

using script::ScriptEngine;
using script::Variant;

namespace {

const QString kObjects = QStringLiteral(R"VB(
Class Counter
  Private n
  Public Sub Add(k)
    n = n + k
  End Sub
  Public Property Get Value()
    Value = n
  End Property
End Class
Function Calls(times)
  Dim c, i
  Set c = New Counter
  For i = 1 To times
    c.Add i Mod 7
  Next
  Calls = c.Value
End Function
Function Lookups(times)
  Dim d, i, s
  Set d = CreateObject("Scripting.Dictionary")
  For i = 0 To 99
    d.Add CStr(i), i
  Next
  For i = 1 To times
    s = s + d(CStr(i Mod 100))
  Next
  Lookups = s
End Function
)VB");

void run(benchmark::State& state, const QString& name) {
    ScriptEngine e;
    if (!e.addCode(kObjects)) {
        state.SkipWithError("compile failed");
        return;
    }
    for (auto _ : state) {
        Variant r;
        e.run(name, {Variant(10000)}, &r);
        benchmark::DoNotOptimize(r);
    }
}

}  // namespace

// 10,000 method calls on one instance.
static void BM_ObjectMethodCalls10000(benchmark::State& state) { run(state, QStringLiteral("Calls")); }
BENCHMARK(BM_ObjectMethodCalls10000)->Unit(benchmark::kMillisecond);

// 10,000 Dictionary reads by text key.
static void BM_DictionaryLookups10000(benchmark::State& state) { run(state, QStringLiteral("Lookups")); }
BENCHMARK(BM_DictionaryLookups10000)->Unit(benchmark::kMillisecond);
