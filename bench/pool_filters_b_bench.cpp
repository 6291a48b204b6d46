// Fuzzy, banker-combination, recent-draw and history-query routines over the 1000 numbers,
// log text included.
#include "common/drawhistory.h"
#include "common/drawtext.h"
#include "common/numbertables.h"
#include "history/drawfile.h"
#include "pool/banker.h"
#include "pool/fuzzy.h"
#include "pool/fuzzyclasses.h"
#include "pool/queries.h"
#include "pool/recent.h"

#include <QFile>

#include <benchmark/benchmark.h>

namespace {

// The shared 福彩3D history when it is there, else 5000 made-up draws.
const common::DrawHistory& History() {
    static const common::DrawHistory history = [] {
        QStringList draws;
        const QString path = QStringLiteral(SIFMORA_SHARED_DIR) + QStringLiteral("/data/HAO.TXT");
        if (QFile::exists(path)) history::ReadDrawFile(path, &draws);
        if (draws.isEmpty()) {
            unsigned x = 12345;
            for (int i = 0; i < 5000; ++i) {
                x = x * 1103515245u + 12345u;
                draws << common::MakeDrawText(QStringLiteral("2000001"),
                                              QString::number((x >> 8) % 1000).rightJustified(3, u'0'));
            }
        }
        return common::DrawHistory(draws);
    }();
    return history;
}

void BM_FilterFuzzy(benchmark::State& state) {
    const pool::DigitPartition hwc = pool::HotWarmColdClasses(History(), History().count());
    const std::array<pool::FuzzyRule, 3> rules{
        pool::FuzzyRule::FromText(true, hwc.listText(0), {false, true, true, false}),
        pool::FuzzyRule::FromText(true, hwc.listText(1), {true, true, false, false}),
        pool::FuzzyRule::FromText(true, hwc.listText(2), {true, true, true, false})};
    for (auto _ : state) {
        pool::NumberPool p = common::AllNumbers();
        QString log;
        benchmark::DoNotOptimize(pool::FilterFuzzy(p, log, rules));
    }
}
BENCHMARK(BM_FilterFuzzy);

void BM_FuzzyDigitClasses(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(pool::ComputeFuzzyDigitClasses(History(), History().count()));
}
BENCHMARK(BM_FuzzyDigitClasses);

void BM_FilterBankCombination(benchmark::State& state) {
    for (auto _ : state) {
        pool::NumberPool p = common::AllNumbers();
        benchmark::DoNotOptimize(pool::FilterBankCombination(p, QStringLiteral("1,3,5,7"), QStringLiteral("21"), true));
    }
}
BENCHMARK(BM_FilterBankCombination);

void BM_FilterRecentNumbers(benchmark::State& state) {
    const bool straight = state.range(0) != 0;
    for (auto _ : state) {
        pool::NumberPool p = common::AllNumbers();
        QString log;
        benchmark::DoNotOptimize(pool::FilterRecentNumbers(p, log, History(), 100, History().count(), straight));
    }
}
BENCHMARK(BM_FilterRecentNumbers)->Arg(1)->Arg(0);

void BM_FilterRecentSums(benchmark::State& state) {
    for (auto _ : state) {
        pool::NumberPool p = common::AllNumbers();
        QString log;
        benchmark::DoNotOptimize(pool::FilterRecentSums(p, log, History(), 10));
    }
}
BENCHMARK(BM_FilterRecentSums);

void BM_FilterNumberMatch(benchmark::State& state) {
    for (auto _ : state) {
        pool::NumberPool p = common::AllNumbers();
        QString log;
        benchmark::DoNotOptimize(pool::FilterNumberMatch(p, log, QStringLiteral("123"), false));
    }
}
BENCHMARK(BM_FilterNumberMatch);

void BM_QueryNumberHistory(benchmark::State& state) {
    const QString newest = History().number(History().count());
    for (auto _ : state) {
        QString log;
        benchmark::DoNotOptimize(pool::QueryNumberHistory(log, History(), newest));
    }
}
BENCHMARK(BM_QueryNumberHistory);

}  // namespace
