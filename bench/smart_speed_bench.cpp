// The smart system's heavy work on the real 福彩3D history with a list of 20 schemes: one
// computation (the summary for the newest draw) and the calculator's part of a history
// verification over 300 draws (one computation per verified draw, each from the draws before it).
#include "smart/calculator.h"

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
        calc.List4 = TwentySchemes();
        calc.Command17_Click();
        benchmark::DoNotOptimize(calc.List2);
    }
    qunsetenv("SIFMORA_DIR");
}
BENCHMARK(BM_SmartComputation20Schemes)->Unit(benchmark::kMillisecond);

static void BM_Verification300Periods(benchmark::State& state) {
    const auto dir = RealProgramDir(state);
    if (!dir) return;
    for (auto _ : state) {
        smart::SchemeCalculator calc;
        calc.List4 = TwentySchemes();
        for (int leaveOut = 300; leaveOut >= 1; --leaveOut) {
            calc.Text11 = leaveOut;
            calc.Command17_Click();
            benchmark::DoNotOptimize(calc.List2);
        }
    }
    qunsetenv("SIFMORA_DIR");
}
BENCHMARK(BM_Verification300Periods)->Unit(benchmark::kSecond)->Iterations(1);
