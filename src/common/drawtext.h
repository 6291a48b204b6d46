#pragma once
// DrawText: "IIIIIII DDD" (issue, blank, three digits). Taken apart by position only.
#include <QString>

namespace common {

inline constexpr int kDrawTextLength = 11;

// Issue: the first 7 characters.
QString IssueOf(const QString& drawText);
// The drawn number: the last 3 characters.
QString NumberOf(const QString& drawText);
// Year: first 4 characters; serial: the 3 characters from position 5.
QString YearOf(const QString& drawText);
int SerialOf(const QString& drawText);
// Issue, a blank and the number, padded with blanks or cut to 11 characters.
QString MakeDrawText(const QString& issue, const QString& number);
QString FixDrawTextWidth(const QString& text);
// Same year, serial plus one formatted "000"; no year roll-over.
QString NextIssue(const QString& issue);

// Digit d (0 = hundreds, 1 = tens, 2 = units) of a three-character number.
inline int DigitAt(const QString& number, int d) { return number.at(d).unicode() - '0'; }
// True when the text is exactly three ASCII digits.
bool IsNumberText(const QString& text);
// Straight match compares digits in order; group match compares the sorted digits.
QString SortedDigits(const QString& number);
inline bool GroupEquals(const QString& a, const QString& b) { return SortedDigits(a) == SortedDigits(b); }

}  // namespace common
