// One scheme calculator run over the real 福彩3D history: four built-in schemes as records.
#include "common/paths.h"
#include "smart/calculator.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

static void BM_SchemeCalculatorRun(benchmark::State& state) {
    const QString source = QStringLiteral(SIFMORA_SHARED_DIR "/data/HAO.TXT");
    QTemporaryDir dir;
    if (!QFile::exists(source) || !QFile::copy(source, dir.filePath(QStringLiteral("HAO.TXT")))) {
        state.SkipWithError("shared HAO.TXT not found");
        return;
    }
    qputenv("SIFMORA_DIR", dir.path().toUtf8());
    const QStringList& items = smart::BuiltInConditions();
    auto record = [](const QString& cond, const QString& sideRank) {
        return QStringLiteral("3D错误：00  NULL：00|公式：") + cond + QStringLiteral("|") + sideRank +
               QStringLiteral("|码0|第2020001期，验证010期，周期030.txt");
    };
    for (auto _ : state) {
        smart::SchemeCalculator calc;
        smart::HandInDrawFile(calc, false);  // its owner hands it the draw file
        calc.setSchemes({record(items[0], QStringLiteral("右9")), record(items[12], QStringLiteral("左0")),
                         record(items[44], QStringLiteral("右8")), record(items[60], QStringLiteral("左1"))});
        calc.runBacktests();
        benchmark::DoNotOptimize(calc.summary());
    }
    qunsetenv("SIFMORA_DIR");
}
BENCHMARK(BM_SchemeCalculatorRun)->Unit(benchmark::kMillisecond);
