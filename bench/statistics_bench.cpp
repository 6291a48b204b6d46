// The statistics window's heaviest computations over every draw of the real 福彩3D history.
#include "common/drawhistory.h"
#include "history/drawfile.h"
#include "statistics/compoundstats.h"
#include "statistics/fuzzystats.h"

#include <QFile>
#include "benchdata.h"

#include <benchmark/benchmark.h>

namespace {

// 开始单选统计 at sizes n, n, n (1: 1000 rows, 2: 91,125 rows).
void BM_StraightCombinations(benchmark::State& state) {
    const common::DrawHistory& h = RealHistory();
    if (h.isEmpty()) {
        state.SkipWithError("shared data/HAO.TXT not found");
        return;
    }
    const int n = int(state.range(0));
    const auto in = statistics::MakeCompoundInput(h, statistics::StatsRange{1, h.count()});
    for (auto _ : state) {
        auto rows = statistics::StraightCombinationRows(in, n, n, n);
        benchmark::DoNotOptimize(rows);
    }
}

void BM_FuzzyTable(benchmark::State& state) {
    const common::DrawHistory& h = RealHistory();
    if (h.isEmpty()) {
        state.SkipWithError("shared data/HAO.TXT not found");
        return;
    }
    for (auto _ : state) {
        auto rows = statistics::FuzzyStatsRows(h, statistics::StatsRange{1, h.count()});
        benchmark::DoNotOptimize(rows);
    }
}

}  // namespace

BENCHMARK(BM_StraightCombinations)->DenseRange(1, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FuzzyTable)->Unit(benchmark::kMillisecond);
