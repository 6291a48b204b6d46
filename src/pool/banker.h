#pragma once
// The banker-digit combination filter (胆码组合过滤): keeps the numbers whose count of
// digits found in a group is allowed.
#include "pool/numberpool.h"

#include <QString>

namespace pool {

// group: any text; every digit character in it belongs to the group (0,1,2 and 012 alike).
// counts: the allowed hit counts as digit characters in any order ("210"); empty allows none.
// repeatCountsOnce (重复号按一个计算): a digit that stands twice or three times in a number
// counts once; otherwise every position counts.
// Removes every number whose hit count is not allowed, compacts and returns how many were
// removed. Writes no log. Entries that are not three digits are left in place untouched.
int FilterBankCombination(NumberPool& pool, const QString& group, const QString& counts, bool repeatCountsOnce);

}  // namespace pool
