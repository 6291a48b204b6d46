// The engine on the programs a formula writer writes, each also in Python beside it
// (script_programs/NAME.vbs and NAME.py; tools/script-vs-python.py prints the ratios).
// Each run starts a fresh engine, runs the text's top-level code and then Main(), and checks
// Main()'s value, so a faster wrong answer never counts.
#include "scriptengine.h"

#include <QFile>
#include <QString>

#include <benchmark/benchmark.h>

namespace {

QString programText(const char* name) {
    QFile f(QStringLiteral(SIFMORA_BENCH_DIR "/script_programs/%1.vbs").arg(QLatin1String(name)));
    if (!f.open(QIODevice::ReadOnly)) return QString();
    return QString::fromUtf8(f.readAll());
}

void runProgram(benchmark::State& state, const char* name, double expected) {
    const QString code = programText(name);
    if (code.isEmpty()) {
        state.SkipWithError("program file missing");
        return;
    }
    for (auto _ : state) {
        script::ScriptEngine e;
        e.setTimeout(0);
        script::Variant r;
        if (!e.addCode(code) || !e.run(QStringLiteral("Main"), {}, &r)) {
            state.SkipWithError(e.lastError().text().toStdString().c_str());
            return;
        }
        if (r.toDouble() != expected) {
            state.SkipWithError("wrong result");
            return;
        }
    }
}

}  // namespace

static void BM_Program_SumLoop(benchmark::State& s) { runProgram(s, "sum_loop", 50000005000000.0); }
static void BM_Program_AppendModule(benchmark::State& s) { runProgram(s, "append_module", 100000); }
static void BM_Program_AppendFunction(benchmark::State& s) { runProgram(s, "append_function", 1000000); }
static void BM_Program_FibCalls(benchmark::State& s) { runProgram(s, "fib_calls", 196418); }
static void BM_Program_RedimAppend(benchmark::State& s) { runProgram(s, "redim_append", 1000000); }
static void BM_Program_RedimAppend2D(benchmark::State& s) { runProgram(s, "redim_append_2d", 1000000); }
static void BM_Program_MethodCalls(benchmark::State& s) { runProgram(s, "method_calls", 500000500000.0); }
static void BM_Program_DigitFormula(benchmark::State& s) { runProgram(s, "digit_formula", 402); }
static void BM_Program_Appends(benchmark::State& s) { runProgram(s, "appends", 499999500000.0); }
static void BM_Program_AppendsFunction(benchmark::State& s) { runProgram(s, "appends_function", 499999500000.0); }

BENCHMARK(BM_Program_SumLoop)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->Iterations(1);
BENCHMARK(BM_Program_AppendModule)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->Iterations(1);
BENCHMARK(BM_Program_AppendFunction)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->Iterations(1);
BENCHMARK(BM_Program_FibCalls)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->Iterations(1);
BENCHMARK(BM_Program_RedimAppend)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->Iterations(1);
BENCHMARK(BM_Program_RedimAppend2D)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->Iterations(1);
BENCHMARK(BM_Program_MethodCalls)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->Iterations(1);
BENCHMARK(BM_Program_DigitFormula)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->Iterations(1);
BENCHMARK(BM_Program_Appends)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->Iterations(1);
BENCHMARK(BM_Program_AppendsFunction)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->Iterations(1);
