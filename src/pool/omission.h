#pragma once
// The omission filter and the omission picker's choices, on the DigitOmissionTable counted
// over the whole draw history (common/digitomission.h).
#include "common/digitomission.h"
#include "pool/numberpool.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

namespace pool {

using common::DigitOmissionTable;

// The five omission families of the workbench, in the order its filter runs them.
enum class OmissionFamily { Group, Hundreds, Tens, Units, Single };

// The omission of digits a, b, c (hundreds, tens, units) in a family: 组选 the sum of the
// any-position counters, 百位/十位/个位 the counter of the digit at that position, 单选 the sum
// of the three positional counters.
int OmissionOf(const DigitOmissionTable& table, OmissionFamily family, int a, int b, int c);

// Removes every three-digit entry whose omission in the family equals value, appends each
// followed by "| " to log, compacts and returns the count.
int FilterOmission(NumberPool& pool, QString& log, const DigitOmissionTable& table, OmissionFamily family,
                   int value);

// Reads an omission value box: integers between "," or "，", blanks around them ignored,
// anything that is not a whole number skipped. The values keep their text order.
QList<int> ParseOmissionValues(const QString& text);

// The values a picker offers per family, as its lists show them (ascending text order):
// 组选 and 单选 the distinct sums over all 1000 digit triples ("00" and "000" formats),
// 百位/十位/个位 the ten counters of the position, repeats kept ("00").
QStringList OmissionChoices(const DigitOmissionTable& table, OmissionFamily family);

}  // namespace pool
