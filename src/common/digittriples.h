#pragma once
// Reading three-digit numbers out of any text, whatever its layout: digits are collected in
// reading order, every other character is skipped, every three digits make one number, and
// one or two digits left at the end are dropped.
#include <QString>
#include <QStringList>

namespace common {

// Full-width digits count as the corresponding digits. With acceptStar, "*" counts as a
// further character (wildcard positions of the positional exclusion editor).
QStringList ExtractDigitTriples(const QString& text, bool acceptStar = false);

}  // namespace common
