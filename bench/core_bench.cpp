// Loading the real draw history and committing a full pool.
#include "common/appstate.h"
#include "common/atomicfile.h"
#include "common/numbertables.h"
#include "history/drawfile.h"
#include "pool/numberpool.h"

#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QTemporaryDir>

static void BM_LoadDrawHistory(benchmark::State& state) {
    const QString path = QStringLiteral(SIFMORA_SHARED_DIR "/data/HAO.TXT");
    if (!QFileInfo::exists(path)) {
        state.SkipWithError("shared draw history not found");
        return;
    }
    common::AppState appState;
    appState.selectLottery(false, path, common::DrawHistory());
    for (auto _ : state) {
        history::LoadDrawHistory(appState);
        benchmark::DoNotOptimize(appState.history().count());
    }
}
BENCHMARK(BM_LoadDrawHistory)->Unit(benchmark::kMicrosecond);

// A whole file replaced the safe way (written, synced, renamed, folder synced): a collection-sized
// file and a draw-file-sized one.
static void BM_WriteFileAtomically(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.txt"));
    const QByteArray bytes(state.range(0), 'x');
    for (auto _ : state) benchmark::DoNotOptimize(common::WriteFileAtomically(path, bytes));
}
BENCHMARK(BM_WriteFileAtomically)->Arg(5002)->Arg(100000)->Unit(benchmark::kMicrosecond);

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
