#pragma once
// Filters by the most recent draws: the numbers of a window of draws (straight or group) and
// the digit sums of the newest draws; and the single-number match they are built on.
#include "common/drawhistory.h"
#include "pool/numberpool.h"

#include <QString>

namespace pool {

// Removes every entry matching number (straight: the same three characters; group: the same
// three digits in any order; only three-digit texts match anything), appends each followed
// by "| " to log, compacts (also when nothing matched) and returns the count.
int FilterNumberMatch(NumberPool& pool, QString& log, const QString& number, bool straightMode);

// Removes every entry matching the number of a draw at positions last-n+1 .. last (1-based
// DrawHistory positions), newest draw first, and writes the whole log frame itself:
// "\n单选过滤近" (or "\n[组选]过滤近") n "期号码开始\n", the removed numbers grouped by draw,
// then "\n过滤" total "注\n还剩" m "注\n". Leaves the pool compact and uncommitted; returns
// the total. Positions of the window outside the history have no draw and remove nothing.
int FilterRecentNumbers(NumberPool& pool, QString& log, const common::DrawHistory& history, int n, int last,
                        bool straightMode);

// Removes every entry whose digit sum is the digit sum of one of the n newest draws, writing
// the frame "\n近" n "期和值过滤开始 \n", the removed numbers grouped by sum (newest draw
// first, each sum removed by FilterSum), "\n过滤" total "注\n还剩" m "注\n". Returns the
// total. A window longer than the history uses the draws there are.
int FilterRecentSums(NumberPool& pool, QString& log, const common::DrawHistory& history, int n);

}  // namespace pool
