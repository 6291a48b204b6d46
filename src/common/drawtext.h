#pragma once
// DrawText: "IIIIIII DDD" (issue, blank, three digits). Taken apart by position only.
#include <QString>
#include <QStringView>

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
// '0'..'9' only: the draw files, lists and boxes take no other digits (QChar::isDigit would
// take full-width and other scripts' digits too).
inline bool IsAsciiDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }
// True when the text has at least one character and every one is an ASCII digit.
bool IsAsciiDigits(QStringView text);
// True when the text is a drawn number: exactly three ASCII digits.
inline bool IsNumberText(QStringView text) { return text.size() == 3 && IsAsciiDigits(text); }
// True when the text is an issue: exactly seven ASCII digits (year and serial). Signs, decimal
// points, exponents or blanks inside would corrupt a draw file.
inline bool IsIssueText(QStringView text) { return text.size() == 7 && IsAsciiDigits(text); }
// Straight match compares digits in order; group match compares the sorted digits.
QString SortedDigits(const QString& number);
inline bool GroupEquals(const QString& a, const QString& b) { return SortedDigits(a) == SortedDigits(b); }

}  // namespace common
