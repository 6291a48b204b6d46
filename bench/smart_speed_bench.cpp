// The smart system's heavy work on the real 福彩3D history with a list of 20 schemes: one
// computation (the summary for the newest draw) and the calculator's part of a history
// verification over 300 draws (one computation per verified draw, each from the draws before it).
#include "benchdata.h"
#include "smart/calculator.h"
#include "smart/killdigits.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// 20 built-in conditions with cycle counts 25..37 and 9 verification periods: about 62,000
// condition evaluations per computation, as a served list of that size gives.
QStringList TwentySchemes() {
    const QStringList& items = smart::BuiltInConditions();
    QStringList out;
    for (int k = 0; k < 20; ++k) {
        const QString sideRank = (k % 2 ? QStringLiteral("左") : QStringLiteral("右")) + QString::number(k % 10);
        out << QStringLiteral("3D错误：00  NULL：00|公式：") + items[(k * 3) % items.size()] + QStringLiteral("|") +
                   sideRank + QStringLiteral("|码0|第2020001期，验证009期，周期0") + QString::number(25 + (k % 4) * 4) +
                   QStringLiteral(".txt");
    }
    return out;
}

// The program folder with the real history; null (and the benchmark skipped) without it.
std::unique_ptr<QTemporaryDir> RealProgramDir(benchmark::State& state) {
    auto dir = std::make_unique<QTemporaryDir>();
    const QString source = QStringLiteral(SIFMORA_SHARED_DIR "/data/HAO.TXT");
    if (!QFile::exists(source) || !QFile::copy(source, dir->filePath(QStringLiteral("HAO.TXT")))) {
        state.SkipWithError("shared HAO.TXT not found");
        return nullptr;
    }
    qputenv("SIFMORA_DIR", dir->path().toUtf8());
    return dir;
}

}  // namespace

static void BM_SmartComputation20Schemes(benchmark::State& state) {
    const auto dir = RealProgramDir(state);
    if (!dir) return;
    for (auto _ : state) {
        smart::SchemeCalculator calc;
        smart::HandInDrawFile(calc, false);  // its owner hands it the draw file
        calc.setSchemes(TwentySchemes());
        calc.runBacktests();
        benchmark::DoNotOptimize(calc.summary());
    }
    qunsetenv("SIFMORA_DIR");
}
BENCHMARK(BM_SmartComputation20Schemes)->Unit(benchmark::kMillisecond);

static void BM_Verification300Periods(benchmark::State& state) {
    const auto dir = RealProgramDir(state);
    if (!dir) return;
    const common::DrawHistory& history = RealHistory();
    for (auto _ : state) {
        smart::SchemeCalculator calc;
        smart::HandInDrawFile(calc, false);  // its owner hands it the draw file
        calc.setSchemes(TwentySchemes());
        for (int leaveOut = 300; leaveOut >= 1; --leaveOut) {
            calc.settings().range.newestLeftOut = leaveOut;
            calc.runBacktests();
            // The four schemes' kill digits for the verified draw, as the window does.
            for (int scheme = 0; scheme < 4; ++scheme) {
                pool::NumberPool made;
                QString log;
                benchmark::DoNotOptimize(smart::ComputeKillDigits(history, history.count() - leaveOut,
                                                                  {scheme, 0, 0, 1}, calc.killDigits(),
                                                                  made, log));
            }
        }
    }
    qunsetenv("SIFMORA_DIR");
}
BENCHMARK(BM_Verification300Periods)->Unit(benchmark::kSecond)->Iterations(1);

// A stop pressed during a computation. The window lets its events through every 50 ms (the
// press is seen then); reported is the worst time from the stop mark to the run's end (stop_ms),
// which adds to those 50 ms. Here events are let through every millisecond.
static void BM_SmartStopLatency(benchmark::State& state) {
    const auto dir = RealProgramDir(state);
    if (!dir) return;
    double worst = 0;
    int pressAt = 3;
    for (auto _ : state) {
        smart::SchemeCalculator calc;
        smart::HandInDrawFile(calc, false);  // its owner hands it the draw file
        calc.setSchemes(TwentySchemes());
        QElapsedTimer clock, pumpClock, sinceStop;
        clock.start();
        pumpClock.start();
        calc.runHost().inputWaiting = [&] {
            if (pumpClock.elapsed() < 1) return false;
            pumpClock.restart();
            return true;
        };
        calc.runHost().processEvents = [&] {
            if (!sinceStop.isValid() && clock.elapsed() >= pressAt) {
                calc.stop();
                sinceStop.start();
            }
        };
        calc.runBacktests();
        if (sinceStop.isValid()) worst = std::max(worst, double(sinceStop.nsecsElapsed()) / 1e6);
        pressAt = pressAt % 15 + 2;  // presses at different moments of the run
    }
    state.counters["stop_ms"] = worst;
    qunsetenv("SIFMORA_DIR");
}
BENCHMARK(BM_SmartStopLatency)->Unit(benchmark::kMillisecond)->Iterations(10);

// One step of the batch verification: all 66 built-in schemes at one cycle count and one
// number of verification periods, with its report file.
static void BM_BatchVerificationStep(benchmark::State& state) {
    const auto dir = RealProgramDir(state);
    if (!dir) return;
    for (auto _ : state) {
        smart::SchemeCalculator calc;
        smart::HandInDrawFile(calc, false);  // its owner hands it the draw file
        calc.settings().verification.positionText = QStringLiteral("左3");
        calc.settings().cycle.lengthsTried = calc.settings().verification.batch.lastCycleLength = 30;
        calc.settings().verification.periods = calc.settings().verification.batch.lastVerifyPeriods = 9;
        calc.settings().mode.conditionIndex = 0;
        calc.batchVerification();
        benchmark::DoNotOptimize(calc.reportLines());
    }
    qunsetenv("SIFMORA_DIR");
}
BENCHMARK(BM_BatchVerificationStep)->Unit(benchmark::kMillisecond);
