// Building the main window's history list over every draw of the real 3D history.
#include "history/drawfile.h"
#include "mainwindow/historylist.h"

#include <QCoreApplication>
#include <QDir>
#include <benchmark/benchmark.h>

namespace {

QStringList RealDraws() {
    QStringList draws;
    history::ReadDrawFile(QDir(QStringLiteral(SIFMORA_SHARED_DIR)).filePath(QStringLiteral("data/HAO.TXT")), &draws);
    return draws;
}

void BM_HistoryListAllDraws(benchmark::State& state) {
    const QStringList draws = RealDraws();
    if (draws.isEmpty()) {
        state.SkipWithError("shared data/HAO.TXT not found");
        return;
    }
    for (auto _ : state) {
        QString text = mainwindow::BuildHistoryText(draws, 0, int(draws.size()) - 1);
        benchmark::DoNotOptimize(text);
    }
    state.SetItemsProcessed(state.iterations() * draws.size());
}
BENCHMARK(BM_HistoryListAllDraws)->Unit(benchmark::kMillisecond);

// The same with the window's per-line event handling (no window open here).
void BM_HistoryListAllDrawsWithEvents(benchmark::State& state) {
    const QStringList draws = RealDraws();
    if (draws.isEmpty()) {
        state.SkipWithError("shared data/HAO.TXT not found");
        return;
    }
    int argc = 1;
    char arg0[] = "bench";
    char* argv[] = {arg0, nullptr};
    QCoreApplication app(argc, argv);
    for (auto _ : state) {
        QString text = mainwindow::BuildHistoryText(draws, 0, int(draws.size()) - 1, [] {
            QCoreApplication::processEvents();
            return true;
        });
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_HistoryListAllDrawsWithEvents)->Unit(benchmark::kMillisecond);

}  // namespace
