#pragma once
// The two-code (二码) filter: removes the numbers that hold a two-digit code, in either order,
// anywhere in the number or at one pair of positions.
#include "pool/numberpool.h"

#include <QString>

namespace pool {

// Positions searched for a code.
enum TwoCodePosition { kTwoCodeAll = 0, kTwoCodeHundredsTens = 1, kTwoCodeTensUnits = 2, kTwoCodeHundredsUnits = 3 };

// The code as the filter reads it: a number written with at least two digits ("5" -> "05",
// "-1" -> "-01"); a text that is not a number stays as it is.
QString FormatTwoCode(const QString& code);

// Blanks every non-blank entry that holds both code digits (the larger twice for a doubled
// code such as 33) at the positions asked for (0 all, 1 百十, 2 十个, 3 百个; the order inside the
// pair does not matter), appends it followed by "| " to log and counts it. Compacts only when
// compact is true, so a caller can run several codes and tell the matched entries by their
// blanks. Another position, or a code with a sign or other non-digit, matches nothing.
int FilterTwoCode(NumberPool& pool, QString& log, const QString& code, bool compact, int position);
inline int FilterTwoCode(NumberPool& pool, QString& log, int code, bool compact, int position) {
    return FilterTwoCode(pool, log, QString::number(code), compact, position);
}

}  // namespace pool
