#pragma once
// The four number tables, built once, each ascending (0-based lists).
#include <QStringList>

namespace common {

const QStringList& GroupTable();       // 220: digits not decreasing, triples included
const QStringList& TripleTable();      // 10: 000 .. 999
const QStringList& GroupThreeTable();  // 90: exactly two equal digits
const QStringList& GroupSixTable();    // 120: three different digits, increasing
// All 1000 numbers "000".."999".
const QStringList& AllNumbers();

}  // namespace common
