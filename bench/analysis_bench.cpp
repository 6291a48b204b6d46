// Each of the main window's analyses over every draw of the real 福彩3D history.
#include "common/drawhistory.h"
#include "history/drawfile.h"
#include "mainwindow/analysis/analyses.h"

#include <QFile>
#include "benchdata.h"

#include <benchmark/benchmark.h>

namespace {

void BM_Analysis(benchmark::State& state) {
    const auto kind = analysis::AnalysisKind(state.range(0));
    const common::DrawHistory& h = RealHistory();
    if (h.isEmpty()) {
        state.SkipWithError("shared data/HAO.TXT not found");
        return;
    }
    for (auto _ : state) {
        analysis::AnalysisTable table = analysis::RunAnalysis(kind, h, 0, h.count() - 1);
        benchmark::DoNotOptimize(table);
    }
    state.SetLabel(std::to_string(h.count()) + " draws");
}

}  // namespace

// 质合 和值 奇偶 大中小 大小 跨度 二码 合值 单码 单选012路 组选012路 单选1234 组选1234
BENCHMARK(BM_Analysis)->DenseRange(0, 12)->Unit(benchmark::kMillisecond);
