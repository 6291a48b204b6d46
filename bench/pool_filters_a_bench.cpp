// Sum/span/digit, pattern, shape and two-code filters over the full set of 1000 numbers, with
// the removed numbers logged as a run does.
#include "common/numbertables.h"
#include "pool/numberpool.h"
#include "pool/patternfilters.h"
#include "pool/shapefilters.h"
#include "pool/twocode.h"
#include "pool/valuefilters.h"

#include <benchmark/benchmark.h>

#include <functional>

using namespace pool;

namespace {

void Run(benchmark::State& state, const std::function<int(NumberPool&, QString&)>& routine) {
    const NumberPool all = common::AllNumbers();
    for (auto _ : state) {
        NumberPool pool = all;
        QString log;
        benchmark::DoNotOptimize(routine(pool, log));
        benchmark::DoNotOptimize(log.size());
    }
    state.SetItemsProcessed(state.iterations() * all.size());
}

// One run of each family as the workbench would start it: every value of the family ticked.
void BM_ValueFilters(benchmark::State& state) {
    Run(state, [](NumberPool& p, QString& l) {
        int n = 0;
        for (int s = 0; s <= 27; s += 3) n += FilterSum(p, l, s);
        n += FilterSumTail(p, l, 4);
        n += FilterSumOutside(p, l, 3, 24);
        n += FilterContainsDigit(p, l, "7", true);
        for (int s = 0; s <= 9; s += 4) n += FilterSpan(p, l, s);
        return n;
    });
}

void BM_PatternFilters(benchmark::State& state) {
    Run(state, [](NumberPool& p, QString& l) {
        return FilterPattern(PatternFamily::Group012, p, l, "021") +
               FilterPattern(PatternFamily::Single012, p, l, "012") +
               FilterPattern(PatternFamily::OddEven, p, l, "101") +
               FilterPattern(PatternFamily::BigSmall, p, l, "110") +
               FilterPattern(PatternFamily::PrimeComposite, p, l, "001") +
               FilterPattern(PatternFamily::BigMidSmall, p, l, "大中小") +
               FilterPattern(PatternFamily::Single1234, p, l, "321") +
               FilterPattern(PatternFamily::Group1234, p, l, "123");
    });
}

void BM_ShapeFilters(benchmark::State& state) {
    const QStringList patterns = {"1*3", "*55", "9**"};
    Run(state, [&](NumberPool& p, QString& l) {
        int n = FilterPositional(p, l, patterns);
        for (int mode = 1; mode <= 4; ++mode) n += Filter1D(p, l, mode, mode);
        n += FilterAbcType(p, l, 7) + FilterAcValue(p, l, 1) + FilterMean(p, l, 4);
        n += FilterStraightDrop(p, l, QStringLiteral("2024100 936"), 3);
        n += FilterDiagonalLink(p, l, QStringLiteral("2024100 936"), 4);
        return n;
    });
}

void BM_TwoCode(benchmark::State& state) {
    Run(state, [](NumberPool& p, QString& l) {
        int n = 0;
        for (const char* code : {"05", "37", "19", "44", "28"}) n += FilterTwoCode(p, l, code, false, 0);
        for (int position = 1; position <= 3; ++position) n += FilterTwoCode(p, l, "26", false, position);
        CompactSet(p);
        return n;
    });
}

}  // namespace

BENCHMARK(BM_ValueFilters);
BENCHMARK(BM_PatternFilters);
BENCHMARK(BM_ShapeFilters);
BENCHMARK(BM_TwoCode);
