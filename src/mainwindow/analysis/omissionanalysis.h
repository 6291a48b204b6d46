#pragma once
// The hit-and-omission engine behind the main window's analyses: a member names its categories
// and says which of them a draw hits; the engine walks the range oldest first, keeps one
// OmissionStats per category and lays out the table.
#include "common/omissionstats.h"
#include "mainwindow/analysis/analysistable.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace common {
class DrawHistory;
}

namespace analysis {

inline const QString kTableNewLine = QStringLiteral("\r\n");

// Header line of members whose label names a class per position (label cell 8 columns).
extern const QString kPatternHeader;
// Header line of members whose category is one value of the draw (label cell 6 columns).
extern const QString kValueHeader;

// The categories a draw hits. A category may be added more than once (a digit that stands twice
// in the draw): its count grows each time, its gaps close once.
struct HitList {
    int index[8];
    int size = 0;
    void add(int category) { index[size++] = category; }
};

// Maps the digits of a draw (hundreds, tens, units) to the categories it hits.
using HitRule = void (*)(int a, int b, int c, HitList& hits);

struct AnalysisMember {
    QString titleText;   // "(质合分析 "
    QString headerText;  // first line of the table
    QStringList labels;  // label cell of each category, in table order
    HitRule hitRule = nullptr;
};

// Draws of the range as 1-based indexes of the history; empty when last < first.
struct DrawRange {
    int first = 1;
    int last = 0;
    bool isEmpty() const { return last < first; }
};
// The range of 0-based positions, clamped to the history.
DrawRange ResolveRange(const common::DrawHistory& history, int firstPosition, int lastPosition);

// Caption of Label1: titleText, the oldest and the newest issue of the range, ")".
QString AnalysisTitle(const QString& titleText, const common::DrawHistory& history, DrawRange range);

// The walk: one record per category, and the number of draws counted (a draw whose last three
// characters are not digits is skipped).
struct OmissionCount {
    QList<common::OmissionStats> stats;
    int drawCount = 0;
};
OmissionCount CountOmissions(const common::DrawHistory& history, DrawRange range, int categoryCount,
                             HitRule hitRule);

// One table line: label cell, then the seven measure cells at the given widths, then CR LF.
struct MeasureWidths {
    int hitCount = 11, hitRate = 10, averageGap = 11, maxGap = 10, prevGap = 10, currentGap = 10;
};
QString MeasureLine(const QString& label, const common::OmissionStats& stats, int n,
                    const MeasureWidths& widths = MeasureWidths());

// The whole analysis with the standard table: header, empty line, one line per category.
AnalysisTable RunOmissionAnalysis(const AnalysisMember& member, const common::DrawHistory& history,
                                  int firstPosition, int lastPosition);

}  // namespace analysis
