// The main window: the analysis buttons and drop-down items, each showing one table.
#include "mainwindow/mainwindow.h"

#include "common/appstate.h"

#include "mainwindow/analysis/analyses.h"

#include <QLabel>
#include <QPlainTextEdit>

void MainWindow::showAnalysis(int kind) {
    const common::AppState& app = common::App();
    const analysis::AnalysisTable table = analysis::RunAnalysis(static_cast<analysis::AnalysisKind>(kind), app.history,
                                                                app.analysisFirst(), app.analysisLast());
    Label1->setText(table.title);
    showText(table.text);
    // A table is read from its header down, unlike the history list, which shows its newest end.
    Text1->moveCursor(QTextCursor::Start);
    Text1->ensureCursorVisible();
}
#define SIFMORA_ANALYSIS(kind) showAnalysis(int(analysis::AnalysisKind::kind))

void MainWindow::Command1_Click() { SIFMORA_ANALYSIS(PrimeComposite); }
void MainWindow::Command2_Click() { SIFMORA_ANALYSIS(Pair); }
void MainWindow::Command4_Click() { SIFMORA_ANALYSIS(SumTail); }
void MainWindow::Command5_Click() { SIFMORA_ANALYSIS(Span); }
void MainWindow::Command7_Click() { SIFMORA_ANALYSIS(SingleDigit); }
void MainWindow::Command10_Click() { SIFMORA_ANALYSIS(Sum); }
void MainWindow::Command12_Click() { SIFMORA_ANALYSIS(OddEven); }
void MainWindow::Command13_Click() { SIFMORA_ANALYSIS(BigMiddleSmall); }
void MainWindow::Command14_Click() { SIFMORA_ANALYSIS(BigSmall); }
void MainWindow::p1d_Click() {
    lastRouteGroup_ = false;
    SIFMORA_ANALYSIS(StraightRoute);
}
void MainWindow::p1z_Click() {
    lastRouteGroup_ = true;
    SIFMORA_ANALYSIS(GroupRoute);
}
void MainWindow::p2d_Click() {
    last1234Group_ = false;
    SIFMORA_ANALYSIS(Straight1234);
}
void MainWindow::p2z_Click() {
    last1234Group_ = true;
    SIFMORA_ANALYSIS(Group1234);
}
void MainWindow::Command3_Click() { lastRouteGroup_ ? p1z_Click() : p1d_Click(); }
void MainWindow::Command8_Click() { last1234Group_ ? p2z_Click() : p2d_Click(); }
