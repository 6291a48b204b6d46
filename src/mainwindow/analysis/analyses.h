#pragma once
// The main window's thirteen hit-and-omission analyses. Each one walks the analysis range of a
// draw history oldest first, keeps one OmissionStats record per category and returns the caption
// for MainWindow's Label1 and the whole table for MainWindow's Text1; the window only shows them.
//
// Range: `first` and `last` are 0-based positions as in common::AppState (the draw at position i
// is history.at(i + 1)); callers pass AppState::analysisFirst() and analysisLast(), which
// already honour setting kj. Positions outside the history are clamped to it. An empty range
// (no draws, or last before first) gives the header line alone and a caption without issues;
// nothing is divided by zero.
//
// Table lines end with "\r\n" (a text edit shows them as plain line breaks). The table is built
// in memory: assign it to Text1 in one call.
//
// The library is sifmora_analysis (src/mainwindow/analysis); link it to use these functions.
#include "mainwindow/analysis/analysistable.h"

#include <QString>

namespace common {
class DrawHistory;
}

namespace analysis {

// ---- All thirteen by kind; the main window's buttons and drop-down items run them ----------
enum class AnalysisKind {
    PrimeComposite,  // 质合分析: Command1; Toolbar2 "中奖分析" drop-down item 7
    Sum,             // 和值分析: Command10; item 9
    OddEven,         // 奇偶分析: Command12; item 6
    BigMiddleSmall,  // 大中小分析: Command13; item 11
    BigSmall,        // 大小分析: Command14; item 12
    Span,            // 跨度分析: Command5 "跨值分析"; item 5
    Pair,            // 二码分析: Command2; item 8
    SumTail,         // 合值分析: Command4; item 4
    SingleDigit,     // 单码分析: Command7; item 10
    // MainWindow keeps which of 单选/组选 ran last (lastRouteGroup, last1234Group, false at
    // creation, not saved); Command3 "012路分析" and Command8 "1234分析" repeat that choice.
    StraightRoute,   // 单选012路: popup1 "单选" (p1d_Click); item 13
    GroupRoute,      // 组选012路: popup1 "组选" (p1z_Click); item 14
    Straight1234,    // 单选1234: popup2 "单选" (p2d_Click); item 15
    Group1234,       // 组选1234: popup2 "组选" (p2z_Click); item 16
};
AnalysisTable RunAnalysis(AnalysisKind kind, const common::DrawHistory& history, int first, int last);

// The same as RunAnalysis with the kind named.
AnalysisTable SumAnalysis(const common::DrawHistory& history, int first, int last);
AnalysisTable PairAnalysis(const common::DrawHistory& history, int first, int last);
AnalysisTable SumTailAnalysis(const common::DrawHistory& history, int first, int last);
AnalysisTable SingleDigitAnalysis(const common::DrawHistory& history, int first, int last);

}  // namespace analysis
