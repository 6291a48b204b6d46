#pragma once
// The kill-digit computation of the smart system: a group table cut by a few sums taken from
// the history at fixed distances and by the kill digits the calculator's summary names; and the
// deterministic generator that picks the distances.
#include "common/drawhistory.h"
#include "pool/numberpool.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

namespace smart {

// A small deterministic generator: a reset from a negative seed, a re-seed from a number and
// values 0 <= r < 1. Equal seeds give equal sequences on every machine.
class SmartRandom {
public:
    // Starts over from a negative seed; returns the value this reset draws (callers drop it).
    double Reset(int negativeSeed);
    // Mixes a number into the state (the state before it counts too).
    void Seed(double number);
    double Next();
    // Int(r * span + 1): a whole number from 1 to span.
    int NextIndex(int span);

private:
    std::uint32_t state_ = 0x50000;
};

// Distances into the base sums of the sum exclusion (shared with the older selection).
inline constexpr std::array<int, 20> kSumDistance = {139, 174, 334, 312, 287, 78,  194, 114, 16, 231,
                                                     377, 406, 42,  57,  12,  136, 53,  142, 89, 88};

// A computation sees the 500 draws ending at its base: the base must be 500 or more and a draw.
inline constexpr int kBaseDrawsNeeded = 500;
bool BaseIsUsable(const common::DrawHistory& history, int base);
// The refusal shown when the history is too short for a base.
QString ShortHistoryMessage(int drawsNeeded);

// Element k - 1 is the digit sum of the draw k - 1 places before the base (element 0 is the
// base itself); 500 elements. The base must be usable.
QList<int> BaseSums(const common::DrawHistory& history, int base);
// Same layout for the span (largest digit minus smallest).
QList<int> BaseSpans(const common::DrawHistory& history, int base);

// Places in the calculator's kill digits (its summary) that a scheme kills, by the kill count
// 1..3 (设置杀胆个数 "1个".."3个") and scheme 0..3; empty for anything else.
QList<int> KillLines(int killCount, int scheme);

// Base table by the base type: 0 全部组选 (220), 1 组选六 (120), 2 组选三 (90).
const QStringList& KillDigitBaseTable(int baseType);

// Excludes up to `count` distinct sums: starting after entry `start` (1-based) of the distance
// table, each candidate sum 2..25 not excluded yet is removed from the pool. Stops at the end
// of the table when too few qualify. Returns the sums excluded, in order.
QList<int> ExcludeSums(pool::NumberPool& pool, QString& log, const QList<int>& baseSums, int start, int count);

struct KillDigitSettings {
    int scheme = 0;         // 0..3 (方案1..方案4)
    int baseType = 0;       // 0 全部组选, 1 组选六, 2 组选三
    int sumCount = 0;       // sums to exclude, 0..3
    int killCount = 1;      // 1..3 ("1个".."3个")
};

// One scheme's computation for the draw after `base`: the pool becomes the base table cut by
// the excluded sums and the kill digits taken from the calculator's (a missing place gives no
// digit). Removed numbers are appended to log. Returns the kill digits in table order. The
// base must be usable.
QString ComputeKillDigits(const common::DrawHistory& history, int base, const KillDigitSettings& settings,
                          const QList<int>& summaryDigits, pool::NumberPool& pool, QString& log,
                          QList<int>* excludedSums = nullptr);

}  // namespace smart
