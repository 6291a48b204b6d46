#pragma once
// How often each straight number 000..999 was drawn over a range, and the pick of numbers by a
// range of counts.
#include "common/drawhistory.h"
#include "statistics/statsrange.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

namespace statistics {

using NumberCounts = std::array<int, 1000>;

// Straight match: the draw 123 counts for 123 only.
NumberCounts CountNumbers(const common::DrawHistory& history, const StatsRange& range);
int LargestCount(const NumberCounts& counts);
// 1000 rows: the number with three digits and its count.
QList<QStringList> NumberCountRows(const NumberCounts& counts);

struct CountPick {
    QString text;   // each picked number followed by one blank
    int count = 0;  // numbers picked
};
// The numbers of the rows (in their order) whose count (second text) lies in low..high, both
// inclusive; nothing when low > high.
CountPick PickByCount(const QList<QStringList>& rows, int low, int high);
// "共计" n "注"
QString PickTally(int count);

}  // namespace statistics
