// The statistics window's heaviest computations over every draw of the real 福彩3D history.
#include "common/drawhistory.h"
#include "history/drawfile.h"
#include "statistics/compoundstats.h"
#include "statistics/fuzzystats.h"
#include "statistics/statstable.h"
#include "statistics/tablecopy.h"

#include <QFile>
#include "benchdata.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace {

// True, with the benchmark marked skipped, when the shared history is absent.
bool SkippedWithoutHistory(const common::DrawHistory& h, benchmark::State& state) {
    if (!h.isEmpty())
        return false;
    state.SkipWithError("shared data/HAO.TXT not found");
    return true;
}

// The largest resident size of the process so far, in KiB.
long MaxRssKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// 开始单选统计 at sizes n, n, n over every draw (1: 1000 rows, 2: 91,125, 3: 1,728,000).
void BM_StraightCombinations(benchmark::State& state) {
    const common::DrawHistory& h = RealHistory();
    if (SkippedWithoutHistory(h, state))
        return;
    const int n = int(state.range(0));
    const auto in = statistics::MakeCompoundInput(h, statistics::StatsRange{1, h.count()});
    for (auto _ : state) {
        statistics::StraightRows rows;
        statistics::ComputeStraightRows(in, n, n, n, &rows);
        benchmark::DoNotOptimize(rows.rows.data());
    }
}

// 开始单选统计 at sizes 5, 5, 5 (16,003,008 rows) over the newest 101 draws (the default range)
// or every draw. Peak memory: the process's largest resident size (getrusage ru_maxrss) after the
// runs less its size before the first 5,5,5 run of the process, in MiB; run one benchmark alone
// (--benchmark_filter) for its own figure.
void StraightCombinations555(benchmark::State& state, bool allDraws) {
    const common::DrawHistory& h = RealHistory();
    if (SkippedWithoutHistory(h, state))
        return;
    const statistics::StatsRange range = allDraws ? statistics::StatsRange{1, h.count()}
                                                  : statistics::StatsRange{h.count() - 100, h.count()};
    const auto in = statistics::MakeCompoundInput(h, range);
    static const long before = MaxRssKiB();
    for (auto _ : state) {
        statistics::StraightRows rows;
        statistics::ComputeStraightRows(in, 5, 5, 5, &rows);
        benchmark::DoNotOptimize(rows.rows.data());
    }
    state.counters["peak_MiB_above_start"] = double(MaxRssKiB() - before) / 1024.0;
    state.counters["rows"] = double(statistics::StraightCombinationCount(5, 5, 5));
}
void BM_StraightCombinations555Range101(benchmark::State& state) { StraightCombinations555(state, false); }
void BM_StraightCombinations555AllDraws(benchmark::State& state) { StraightCombinations555(state, true); }

// Sorting the 16,003,008 rows of sizes 5, 5, 5 over every draw by one column (0 类别 by its text,
// 1 开出次数 .. 7 出号几率 by value), descending as the window sorts; each iteration sorts the rows
// as the run left them. The window's sort of this table must stay under 3 s.
void BM_SortStraight555(benchmark::State& state) {
    const common::DrawHistory& h = RealHistory();
    if (SkippedWithoutHistory(h, state))
        return;
    static statistics::StatsTable* table = [&h] {
        auto* t = new statistics::StatsTable(QStringList{QStringLiteral("类别")} + statistics::OmissionMeasureTitles());
        statistics::StraightRows rows;
        statistics::ComputeStraightRows(statistics::MakeCompoundInput(h, statistics::StatsRange{1, h.count()}), 5, 5, 5,
                                        &rows);
        t->appendStraight(std::move(rows));
        return t;
    }();
    for (auto _ : state) {
        auto order = table->sortedOrder(int(state.range(0)), Qt::DescendingOrder);
        benchmark::DoNotOptimize(order.data());
    }
}

// 组选N码 at its largest (N = 5, 252 rows) over every draw.
void BM_GroupCombinations5(benchmark::State& state) {
    const common::DrawHistory& h = RealHistory();
    if (SkippedWithoutHistory(h, state))
        return;
    const auto in = statistics::MakeCompoundInput(h, statistics::StatsRange{1, h.count()});
    for (auto _ : state) {
        auto rows = statistics::GroupCombinationRows(in, 5);
        benchmark::DoNotOptimize(rows);
    }
}

// 复制结果 of the fuzzy table over every draw (the largest copy: the compound copy stops at 1000).
void BM_CopyFuzzyTable(benchmark::State& state) {
    const common::DrawHistory& h = RealHistory();
    if (SkippedWithoutHistory(h, state))
        return;
    const QList<QStringList> rows = statistics::FuzzyStatsRows(h, statistics::StatsRange{1, h.count()});
    for (auto _ : state) {
        QString text = statistics::CopyText(statistics::FuzzyCopyLayout(), int(rows.size()),
                                            [&rows](int r) { return rows[r]; });
        benchmark::DoNotOptimize(text);
    }
}

// 统计缩水器的号码 with all 1000 numbers on the workbench (2002 rows) over every draw.
void BM_WorkbenchNumberRows1000(benchmark::State& state) {
    const common::DrawHistory& h = RealHistory();
    if (SkippedWithoutHistory(h, state))
        return;
    const auto in = statistics::MakeCompoundInput(h, statistics::StatsRange{1, h.count()});
    pool::NumberPool numbers;
    for (int v = 0; v < 1000; ++v)
        numbers.append(QStringLiteral("%1").arg(v, 3, 10, QLatin1Char('0')));
    for (auto _ : state) {
        auto rows = statistics::WorkbenchNumberRows(in, numbers);
        benchmark::DoNotOptimize(rows);
    }
}

void BM_FuzzyTable(benchmark::State& state) {
    const common::DrawHistory& h = RealHistory();
    if (SkippedWithoutHistory(h, state))
        return;
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
BENCHMARK(BM_SortStraight555)->DenseRange(0, 7)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GroupCombinations5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WorkbenchNumberRows1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyFuzzyTable)->Unit(benchmark::kMillisecond);
