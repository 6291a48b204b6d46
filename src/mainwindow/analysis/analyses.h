#pragma once
// The main window's thirteen hit-and-omission analyses. Each one walks the analysis range of a
// draw history oldest first, keeps one OmissionStats record per category and returns the caption
// for MainWindow's Label1 and the whole table for MainWindow's Text1; the window only shows them.
//
// Range: `first` and `last` are 0-based positions as in common::AppState (the draw at position i
// is history.at(i + 1)); callers pass App().analysisFirst() and App().analysisLast(), which
// already honour UseAllDraws. Positions outside the history are clamped to it. An empty range
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

// ---- Class analyses -------------------------------------------------------------------------
// 质合分析: Command1 "质合分析"; Toolbar2 "中奖分析" drop-down item 7.
AnalysisTable PrimeCompositeAnalysis(const common::DrawHistory& history, int first, int last);
// 和值分析: Command10 "和值分析"; drop-down item 9.
AnalysisTable SumAnalysis(const common::DrawHistory& history, int first, int last);
// 奇偶分析: Command12 "奇偶分析"; drop-down item 6.
AnalysisTable OddEvenAnalysis(const common::DrawHistory& history, int first, int last);
// 大中小分析: Command13 "大中小分析"; drop-down item 11.
AnalysisTable BigMiddleSmallAnalysis(const common::DrawHistory& history, int first, int last);
// 大小分析: Command14 "大小分析"; drop-down item 12.
AnalysisTable BigSmallAnalysis(const common::DrawHistory& history, int first, int last);
// 跨度分析: Command5 "跨值分析"; drop-down item 5 "跨度分析".
AnalysisTable SpanAnalysis(const common::DrawHistory& history, int first, int last);

// ---- Digit, pair and sum-tail analyses ------------------------------------------------------
// 二码分析: Command2 "二码分析"; drop-down item 8.
AnalysisTable PairAnalysis(const common::DrawHistory& history, int first, int last);
// 合值分析: Command4 "合值分析"; drop-down item 4.
AnalysisTable SumTailAnalysis(const common::DrawHistory& history, int first, int last);
// 单码分析: Command7 "单码分析"; drop-down item 10.
AnalysisTable SingleDigitAnalysis(const common::DrawHistory& history, int first, int last);

// ---- Route and 1234 analyses ----------------------------------------------------------------
// MainWindow keeps two flags, lastRouteGroup and last1234Group (false at creation, not saved).
// Each handler below first sets its flag, then runs its analysis:
//   p1d_Click (popup1 "单选", drop-down item 13 "单选012路"): lastRouteGroup = false; StraightRouteAnalysis
//   p1z_Click (popup1 "组选", drop-down item 14 "组选012路"): lastRouteGroup = true;  GroupRouteAnalysis
//   p2d_Click (popup2 "单选", drop-down item 15 "单选1234分析"): last1234Group = false; Straight1234Analysis
//   p2z_Click (popup2 "组选", drop-down item 16 "组选1234分析"): last1234Group = true;  Group1234Analysis
//   Command3 "012路分析": lastRouteGroup ? p1z_Click() : p1d_Click()   (popup1 opens from Picture4)
//   Command8 "1234分析":  last1234Group ? p2z_Click() : p2d_Click()    (popup2 opens from Picture3)
// RouteAnalysis / Class1234Analysis take the flag directly (group = true for 组选).
AnalysisTable StraightRouteAnalysis(const common::DrawHistory& history, int first, int last);  // 单选012路
AnalysisTable GroupRouteAnalysis(const common::DrawHistory& history, int first, int last);     // 组选012路
AnalysisTable Straight1234Analysis(const common::DrawHistory& history, int first, int last);   // 单选1234
AnalysisTable Group1234Analysis(const common::DrawHistory& history, int first, int last);      // 组选1234
AnalysisTable RouteAnalysis(const common::DrawHistory& history, int first, int last, bool group);
AnalysisTable Class1234Analysis(const common::DrawHistory& history, int first, int last, bool group);

// ---- All thirteen by kind (for a table-driven dispatch, e.g. the toolbar drop-down) --------
enum class AnalysisKind {
    PrimeComposite, Sum, OddEven, BigMiddleSmall, BigSmall, Span,
    Pair, SumTail, SingleDigit,
    StraightRoute, GroupRoute, Straight1234, Group1234,
};
AnalysisTable RunAnalysis(AnalysisKind kind, const common::DrawHistory& history, int first, int last);

}  // namespace analysis
