#pragma once
// The three digit partitions of the fuzzy filter and the fuzzy statistics: 热温冷, 复隔中 and
// 传邻孤, each relative to a reference draw of the history.
#include "common/drawhistory.h"

#include <QList>
#include <QString>

#include <array>

namespace pool {

// Every digit 0-9 in exactly one of three classes (each ascending), or all three empty when
// there was no reference draw to classify against.
struct DigitPartition {
    std::array<QList<int>, 3> classes;

    bool isEmpty() const { return classes[0].isEmpty() && classes[1].isEmpty() && classes[2].isEmpty(); }
    // 0, 1 or 2; -1 for a digit in no class.
    int classOf(int digit) const;
    // Class k as the workbench's digit boxes hold it: "0,3,7"; empty class: "".
    QString listText(int k) const;
    // Class k as the statistics table writes it: "037".
    QString digitsText(int k) const;
};

// 热 / 温 / 冷: how often each digit occurs (every position counted) in the seven draws
// reference-6 .. reference: 3 or more, exactly 2, at most 1. A shorter history counts the
// draws that exist.
DigitPartition HotWarmColdClasses(const common::DrawHistory& history, int reference);
// 复 / 隔 / 中: draws since the digit was last seen, counted back from the reference draw:
// 0, 1, 2 or more. A digit never seen counts every draw from the first, so at the first draw
// every digit not in it is 隔.
DigitPartition RepeatGapMiddleClasses(const common::DrawHistory& history, int reference);
// 传 / 邻 / 孤: the reference draw's digits, their neighbours (0 and 9 adjacent), the rest.
DigitPartition DrawnNeighbourLoneClasses(const common::DrawHistory& history, int reference);

struct FuzzyDigitClasses {
    DigitPartition hotWarmCold;        // 热温冷
    DigitPartition repeatGapMiddle;    // 复隔中
    DigitPartition drawnNeighbourLone; // 传邻孤
};

// All three partitions at the reference draw (1-based DrawHistory index; the workbench passes
// history.count()). A reference outside 1..count() gives empty partitions.
FuzzyDigitClasses ComputeFuzzyDigitClasses(const common::DrawHistory& history, int reference);

}  // namespace pool
