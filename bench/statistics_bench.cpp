// The statistics window's heaviest computations over every draw of the real 福彩3D history.
#include "common/drawhistory.h"
#include "history/drawfile.h"
#include "statistics/compoundstats.h"
#include "statistics/fuzzystats.h"

#include <QFile>
#include "benchdata.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace {

// The largest resident size of the process so far, in KiB.
long MaxRssKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// 开始单选统计 at sizes n, n, n over every draw (1: 1000 rows, 2: 91,125, 3: 1,728,000).
void BM_StraightCombinations(benchmark::State& state) {
    const common::DrawHistory& h = RealHistory();
    if (h.isEmpty()) {
        state.SkipWithError("shared data/HAO.TXT not found");
        return;
    }
    const int n = int(state.range(0));
    const auto in = statistics::MakeCompoundInput(h, statistics::StatsRange{1, h.count()});
    for (auto _ : state) {
        statistics::StraightRows rows;
        statistics::ComputeStraightRows(in, n, n, n, &rows);
        benchmark::DoNotOptimize(rows.rows.data());
    }
}

// 开始单选统计 at sizes 5, 5, 5 (16,003,008 rows) over the newest 101 draws (the default range)
// or every draw. Peak memory: the growth of the process's ru_maxrss (getrusage) across the
// run, so it is measured only when the run is the first to grow the process that far.
void StraightCombinations555(benchmark::State& state, bool allDraws) {
    const common::DrawHistory& h = RealHistory();
    if (h.isEmpty()) {
        state.SkipWithError("shared data/HAO.TXT not found");
        return;
    }
    const statistics::StatsRange range = allDraws ? statistics::StatsRange{1, h.count()}
                                                  : statistics::StatsRange{h.count() - 100, h.count()};
    const auto in = statistics::MakeCompoundInput(h, range);
    const long before = MaxRssKiB();
    for (auto _ : state) {
        statistics::StraightRows rows;
        statistics::ComputeStraightRows(in, 5, 5, 5, &rows);
        benchmark::DoNotOptimize(rows.rows.data());
    }
    state.counters["peak_MiB_maxrss_delta"] = double(MaxRssKiB() - before) / 1024.0;
    state.counters["rows"] = double(statistics::StraightCombinationCount(5, 5, 5));
}
void BM_StraightCombinations555Range101(benchmark::State& state) { StraightCombinations555(state, false); }
void BM_StraightCombinations555AllDraws(benchmark::State& state) { StraightCombinations555(state, true); }

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

BENCHMARK(BM_StraightCombinations)->DenseRange(1, 3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StraightCombinations555Range101)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StraightCombinations555AllDraws)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FuzzyTable)->Unit(benchmark::kMillisecond);
