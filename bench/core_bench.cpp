// Loading the real draw history and committing a full pool.
#include "common/appstate.h"
#include "common/numbertables.h"
#include "history/drawfile.h"
#include "pool/numberpool.h"

#include <benchmark/benchmark.h>

#include <QFileInfo>

static void BM_LoadDrawHistory(benchmark::State& state) {
    const QString path = QStringLiteral(SIFMORA_SHARED_DIR "/data/HAO.TXT");
    if (!QFileInfo::exists(path)) {
        state.SkipWithError("shared draw history not found");
        return;
    }
    common::App().drawFilePath = path;
    for (auto _ : state) {
        history::LoadDrawHistory();
        benchmark::DoNotOptimize(common::App().history.count());
    }
}
BENCHMARK(BM_LoadDrawHistory)->Unit(benchmark::kMicrosecond);

static void BM_CommitSet1000(benchmark::State& state) {
    pool::PoolSession s;
    QStringList reversed = common::AllNumbers();
    std::reverse(reversed.begin(), reversed.end());
    for (auto _ : state) {
        s.pool = reversed;
        s.CommitSet();
    }
}
BENCHMARK(BM_CommitSet1000)->Unit(benchmark::kMicrosecond);
