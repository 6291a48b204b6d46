#pragma once
// Compound statistics: OmissionStats rows of positional digit sets, of the same sets in any
// order, and of the workbench's numbers as group or straight bets; and the producers that
// build many such rows (group N-digit sets, straight combinations, the workbench numbers).
#include "common/drawhistory.h"
#include "common/workprogress.h"
#include "pool/numberpool.h"
#include "statistics/omissionrow.h"
#include "statistics/statsrange.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace statistics {

// Bit d set when the digit's character occurs anywhere in the text: "1,2", "12" and "2211"
// are the same set; "" is the empty set.
using DigitMask = std::uint16_t;
DigitMask DigitSetOf(const QString& text);

// The digits of the draws of one range, read once and shared by many rows.
struct CompoundInput {
    std::vector<DrawDigits> draws;
    int drawCount() const { return int(draws.size()); }
};
CompoundInput MakeCompoundInput(const common::DrawHistory& history, const StatsRange& range);

// a in s1, b in s2, c in s3. Category "s1|s2|s3".
OmissionRow PositionalRow(const CompoundInput& in, const QString& s1, const QString& s2, const QString& s3);
// Some ordering of a, b, c fits s1, s2, s3 (a draw counts once). Category "组选 s1|s2|s3".
OmissionRow AnyOrderRow(const CompoundInput& in, const QString& s1, const QString& s2, const QString& s3);

// " " then every pool element followed by " " (a blank element adds just the blank).
QString PoolText(const pool::NumberPool& numbers);
// The draw's digits in some order form a pool number. Category "组选综合统计" + pool text.
OmissionRow PoolGroupRow(const CompoundInput& in, const pool::NumberPool& numbers);
// The draw itself is a pool number. Category "单选综合统计" + pool text.
OmissionRow PoolStraightRow(const CompoundInput& in, const pool::NumberPool& numbers);

// Every set of k different digits (k 1..9) as its ascending digit string, in lexicographic
// order; k = 10 gives "0123456789"; any other k gives nothing.
QStringList DigitCombinations(int k);

// 组选N码: one positional row per N-digit combination s, as PositionalRow(s, s, s); N 1..9.
std::vector<OmissionRow> GroupCombinationRows(const CompoundInput& in, int n);
// 单选统计: rows for every triple of combinations of sizes (1..10) hundreds, tens, units, the
// units changing fastest. StraightCombinationCount gives the number of rows beforehand.
long long StraightCombinationCount(int hundreds, int tens, int units);

// One 单选统计 row kept compact (up to 16,003,008 of them): the indexes of its sets in the three
// combination lists and its counts; the texts are made only when the row is shown.
struct StraightRow {
    std::uint8_t sets[3] = {0, 0, 0};
    std::uint16_t hitCount = 0;
    std::uint16_t maxGap = 0;
    std::uint16_t prevGap = 0;
    std::uint16_t currentGap = 0;

    common::OmissionStats stats() const { return {hitCount, maxGap, prevGap, currentGap}; }
};

struct StraightRows {
    // The counters are 16-bit: a range may hold at most this many draws.
    static constexpr int kMaxDraws = 65535;

    QStringList sets[3];  // the combination lists of 百, 十, 个
    int drawCount = 0;    // N
    std::vector<StraightRow> rows;

    QString category(const StraightRow& row) const;  // "s1|s2|s3"
    OmissionRow row(size_t i) const;
};

// Fills *out with every row in order, computed on worker threads; progress (may be null) counts
// the pairs of hundreds and tens sets. False, leaving *out empty, when cancelled or when the range
// holds more than kMaxDraws draws. Throws std::bad_alloc when memory is short, counting as short
// when fewer than spareBytes would stay free beside the rows (what the caller needs after them).
bool ComputeStraightRows(const CompoundInput& in, int hundreds, int tens, int units, StraightRows* out,
                         common::WorkProgress* progress = nullptr, std::size_t spareBytes = 0);

// Throws std::bad_alloc unless bytes of memory can be had at this moment; takes nothing.
void RequireFreeMemory(std::size_t bytes);
// The same rows in full.
std::vector<OmissionRow> StraightCombinationRows(const CompoundInput& in, int hundreds, int tens, int units);
// 统计缩水器的号码: the group and straight rows of the whole list, then a positional row per
// number, then an any-order row per number, in pool order (2 + 2n rows for n elements).
std::vector<OmissionRow> WorkbenchNumberRows(const CompoundInput& in, const pool::NumberPool& numbers);

}  // namespace statistics
