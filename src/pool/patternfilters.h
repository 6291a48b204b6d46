#pragma once
// Pattern filters: each family classifies the three digits of a number, forms the number's
// three-character pattern and removes the numbers whose pattern equals the one given.
//
//   OddEven         per position, 1 = odd, 0 = even                        "010"
//   BigSmall        per position, 1 = big (5-9), 0 = small (0-4)            "110"
//   PrimeComposite  per position, 0 = prime (1 2 3 5 7), 1 = composite      "101"
//   Single012       per position, the route d mod 3                         "120"
//   Group012        how many digits have route 0, 1 and 2                   "021"
//   BigMidSmall     per position, 大 (7-9), 中 (3-6), 小 (0-2)               "大小中"
//   Single1234      per position, 1 = {1,3} 2 = {0,2,4} 3 = {5,7,9} 4 = {6,8}  "321"
//   Group1234       the three 1234 classes sorted ascending                 "123"
//
// Every routine walks the pool in order, appends each removed number followed by "| " to `log`,
// compacts the pool and returns the count. A pattern outside the family's alphabet (wrong
// length, unsorted 1234 codes, ...) matches no number.
#include "pool/numberpool.h"

#include <QString>

namespace pool {

enum class PatternFamily { OddEven, BigSmall, PrimeComposite, Single012, Group012, BigMidSmall, Single1234, Group1234 };

// The pattern of a three-digit number in a family (empty for any other text).
QString PatternOf(PatternFamily family, const QString& number);
// Removes the numbers whose pattern in the family equals pattern.
int FilterPattern(PatternFamily family, NumberPool& pool, QString& log, const QString& pattern);

}  // namespace pool
