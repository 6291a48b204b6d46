#pragma once
// The fuzzy (断组) filter: a number stays when its three digits can be shared out among the
// switched-on conditions, each taking an allowed number of them.
#include "pool/numberpool.h"

#include <QList>
#include <QString>

#include <array>

namespace pool {

// One condition row: its switch, its digit set and the hit counts 0..3 it allows.
struct FuzzyRule {
    bool enabled = false;
    QList<int> digits;                      // in list order; repeats allowed (they take nothing more)
    std::array<bool, 4> allowedCounts{};    // allowedCounts[j]: j hits allowed

    // Reads a digit box as typed: one-digit items between "," or "，" (ParseNumberList width 1).
    static FuzzyRule FromText(bool enabled, const QString& digitText, const std::array<bool, 4>& allowedCounts);
};

// Which positions (百, 十, 个) the conditions tried so far in the current order have taken.
using FuzzyUsedPositions = std::array<bool, 3>;

// Evaluates one condition for the digits h, t, u: takes every free position whose digit it
// lists, marks it in used, and is true when the number taken is allowed. A switched-off rule
// is false and takes nothing; the marks stay set whatever the result.
bool FuzzyCondition(const FuzzyRule& rule, int h, int t, int u, FuzzyUsedPositions& used);

// Removes every number that no order of the three conditions (1-2-3, 1-3-2, 2-1-3, 2-3-1,
// 3-2-1, 3-1-2) accounts for completely; appends each removed number and "| " to log,
// compacts, returns the count. Writes no other line. Entries that are not three digits are
// left in place untouched.
int FilterFuzzy(NumberPool& pool, QString& log, const std::array<FuzzyRule, 3>& rules);

}  // namespace pool
