#pragma once
// The older smart selection: a group set for the draw after a base made without the scheme
// calculator, from spans, the last ten draws, a sum range, sums at fixed distances and kill
// digits read at fixed places of the last 80 draws.
#include "common/drawhistory.h"
#include "pool/numberpool.h"

#include <QList>
#include <QString>

#include <array>

namespace smart {

// Distances into the base spans of the span exclusion.
inline constexpr std::array<int, 15> kSpanDistance = {320, 462, 429, 435, 400, 78, 194, 114,
                                                      16,  231, 377, 406, 42,  57,  12};
// Rows of two places in the 240 recent digits (scheme 杀两码).
inline constexpr std::array<std::array<int, 2>, 15> kKillPairPositions = {{{136, 142},
                                                                           {136, 146},
                                                                           {89, 142},
                                                                           {89, 136},
                                                                           {53, 142},
                                                                           {69, 136},
                                                                           {37, 136},
                                                                           {53, 136},
                                                                           {113, 136},
                                                                           {11, 113},
                                                                           {136, 143},
                                                                           {27, 136},
                                                                           {116, 136},
                                                                           {124, 136},
                                                                           {11, 37}}};
// Places in the recent digits (scheme 杀一码).
inline constexpr std::array<int, 7> kKillDigitPositions = {136, 53, 142, 89, 88, 137, 116};

struct OlderSelectionSettings {
    int baseType = 0;  // 0 组选六, 1 组选三
    int sumCount = 0;  // sums to exclude, 0..3
    int scheme = 0;    // 0 杀两码, 1 杀一码, 2 不杀码 (anything else kills nothing)
};

// The three digits of each of the 80 draws ending at the base, oldest first (240 characters).
QString RecentDigits(const common::DrawHistory& history, int base);

// What a selection picked, for the log and for tests.
struct OlderSelectionTrace {
    QList<int> excludedSpans;
    QList<int> excludedSums;
    QString killDigits;  // the digits passed to the digit filter, in order (may repeat)
};

// Makes the set for the draw after `base` into the pool (group matching for the recent draws),
// appending every filter's removed numbers to log. The base must be usable (500 draws).
void MakeOlderSelection(const common::DrawHistory& history, int base, const OlderSelectionSettings& settings,
                       pool::NumberPool& pool, QString& log, OlderSelectionTrace* trace = nullptr);

// The workbench's one log line after 确定: "福彩3D 第" / "体彩排列三 第", the next issue,
// "期智能选号共生成", the count, "注" and a line break.
QString OlderSelectionLogLine(bool lotteryIsP3, const QString& newestDrawText, int count);

}  // namespace smart
