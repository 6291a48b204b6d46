#pragma once
// Filters that remove numbers by one value of their digits: sum, sum tail (合值), sum range,
// a digit anywhere in the number, span (跨度).
//
// Every routine walks the pool in order, blanks each matching entry and appends it to `log`
// (followed by "| ", or a line break for FilterSumOutside), compacts the pool (FilterContainsDigit
// only when asked) and returns how many it removed. Entries that are not three-digit numbers
// (blanks left by an earlier uncompacted call, stray text) are never matched. The caller writes
// the rest of the log frame and commits.
#include "pool/numberpool.h"

#include <QString>

namespace pool {

// Removes the numbers whose digit sum equals sum.
int FilterSum(NumberPool& pool, QString& log, int sum);
// Removes the numbers whose sum ends in tail (0..9): the sums tail, tail + 10 and tail + 20,
// lowest sum first, each as its own FilterSum. Any other tail removes nothing. Returns the
// total removed.
int FilterSumTail(NumberPool& pool, QString& log, int tail);
// Removes the numbers whose sum lies outside low..high; each removed number is logged followed
// by a line break. low above high removes every number.
int FilterSumOutside(NumberPool& pool, QString& log, int low, int high);
// Removes the numbers that hold the digit character (a one-character text "0".."9") at any
// position. With compact false the removed entries stay blank in place, so several digits can
// run in a row, each taking only what the earlier ones left. Any other text matches nothing.
int FilterContainsDigit(NumberPool& pool, QString& log, const QString& digit, bool compact);
// Removes the numbers whose span (largest digit minus smallest) equals span.
int FilterSpan(NumberPool& pool, QString& log, int span);

}  // namespace pool
