#pragma once
// Filters on a derived value of a number: the four 1D values, positional exclusion patterns,
// the digit-order shape, the AC value, the mean, and two relations to the last draw
// (直落号 count and 斜连值).
//
// Every routine walks the pool in order, appends each removed number followed by "| " to `log`,
// compacts the pool and returns how many it removed; entries that are not three-digit numbers
// are never matched. The caller writes the log frame and commits.
#include "common/drawattributes.h"
#include "common/drawhistory.h"
#include "pool/numberpool.h"

#include <QString>
#include <QStringList>

namespace pool {

// 1D value of a number: mode 1 正1D, 2 负1D, 3 反正1D, 4 反负1D (0..9); -1 for another mode.
int OneDValue(const common::Digits& d, int mode);
// Shape index 0..12 in the order AAA ABB BAA ABA BAB AAB BBA ABC ACB BAC BCA CAB CBA.
int AbcTypeOf(const common::Digits& d);
// The caption of a shape index ("AAA".."CBA"); empty outside 0..12.
QString AbcTypeName(int kind);
// Digit sum divided by 3, truncated.
int MeanOf(const common::Digits& d);
// How many distinct digits of the last draw occur anywhere in the number (0..3).
int StraightDropCount(const common::Digits& number, const common::Digits& lastDraw);
// Pairs (d, e) of distinct last-draw digit d and distinct number digit e that are neighbours
// (|d - e| = 1, or 0 and 9); 0..5.
int DiagonalLinkValue(const common::Digits& number, const common::Digits& lastDraw);

// Removes the numbers whose 1D value of mode (1..4) equals value.
int Filter1D(NumberPool& pool, QString& log, int mode, int value);
// Removes the numbers that match any pattern (three characters, a digit or "*" per position;
// the positions compare a pattern's first, second and last character, so "12" acts as "122"
// and a shorter pattern matches nothing). Patterns run one after another, so a number is
// logged under the first pattern that takes it.
int FilterPositional(NumberPool& pool, QString& log, const QStringList& positionPatterns);
// Removes the numbers of shape index kind (0..12).
int FilterAbcType(NumberPool& pool, QString& log, int kind);
// Removes the numbers whose AC value equals value (1..3).
int FilterAcValue(NumberPool& pool, QString& log, int value);
// Removes the numbers whose mean equals value (0..9).
int FilterMean(NumberPool& pool, QString& log, int value);

// The last-draw relations compare with the last three characters of lastDraw (a DrawText or
// a bare number), or with the newest draw of the history. Without a last draw (empty history,
// a text that does not end in three digits) they remove nothing and return 0.
int FilterStraightDrop(NumberPool& pool, QString& log, const QString& lastDraw, int value);
int FilterStraightDrop(NumberPool& pool, QString& log, const common::DrawHistory& history, int value);
int FilterDiagonalLink(NumberPool& pool, QString& log, const QString& lastDraw, int value);
int FilterDiagonalLink(NumberPool& pool, QString& log, const common::DrawHistory& history, int value);

}  // namespace pool
