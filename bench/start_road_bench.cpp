// The whole start road with unreachable servers: version check, draw update of both lotteries,
// main window created and shown with its history list (the fixed one-second and 100 ms waits are
// left out: the start-up window's Timer1 ticks at once and the history list is shown directly).
#include "app/programwindows.h"
#include "benchdata.h"
#include "common/appstate.h"
#include "mainwindow/mainwindow.h"
#include "startup/startupwindow.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

#include <benchmark/benchmark.h>

namespace {

// Lets the start-up window's Timer1 tick now and waits until its start road has run.
void RunStartRoad(StartupWindow& window) {
    auto* timer = window.findChild<QTimer*>(QStringLiteral("Timer1"));
    if (!timer) return;
    QEventLoop loop;
    QObject::connect(timer, &QTimer::timeout, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    timer->start(0);
    loop.exec();
}

void BM_StartRoadUnreachable(benchmark::State& state) {
    QTemporaryDir config, programDir;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("SIFMORA_DIR", programDir.path().toLocal8Bit());
    qputenv("SIFMORA_RESULTS_URL", "http://127.0.0.1:1");
    qputenv("SIFMORA_HOME_URL", "http://127.0.0.1:1");
    if (!PrepareOfflineProgramDir(programDir.path())) {
        state.SkipWithError("shared draw files not found");
        return;
    }

    int argc = 1;
    char arg0[] = "bench";
    char* argv[] = {arg0, nullptr};
    QApplication app(argc, argv);
    int n = 0;
    common::AppState appState;  // the run's state, outlives the windows of every iteration
    for (auto _ : state) {
        appState.reset();
        auto windows = std::make_unique<app::ProgramWindows>(appState);
        StartupWindow startupWindow;
        startupWindow.instanceName = QStringLiteral("SifmoraBench%1").arg(++n);
        startupWindow.hooks.showMainWindow = [&windows] { windows->showMainWindow(); };
        RunStartRoad(startupWindow);
        windows->mainWindow()->showHistoryList();
        QApplication::processEvents();
        state.PauseTiming();
        windows->mainWindow()->quitOnClose = false;
        windows.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartRoadUnreachable)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
