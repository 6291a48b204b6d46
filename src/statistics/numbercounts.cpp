#include "statistics/numbercounts.h"

#include <algorithm>

namespace statistics {

NumberCounts CountNumbers(const common::DrawHistory& history, const StatsRange& range) {
    NumberCounts counts{};
    for (const DrawDigits& d : RangeDigits(history, range)) {
        if (d[0] > 9 || d[1] > 9 || d[2] > 9)
            continue;
        ++counts[size_t(d[0] * 100 + d[1] * 10 + d[2])];
    }
    return counts;
}

int LargestCount(const NumberCounts& counts) { return *std::max_element(counts.begin(), counts.end()); }

QList<QStringList> NumberCountRows(const NumberCounts& counts) {
    QList<QStringList> rows;
    rows.reserve(1000);
    for (int k = 0; k < 1000; ++k)
        rows << QStringList{QStringLiteral("%1").arg(k, 3, 10, QLatin1Char('0')), QString::number(counts[size_t(k)])};
    return rows;
}

CountPick PickByCount(const QList<QStringList>& rows, int low, int high) {
    CountPick pick;
    for (const QStringList& row : rows) {
        if (row.size() < 2)
            continue;
        const int c = row.at(1).toInt();
        if (low <= c && c <= high) {
            pick.text += row.at(0) + QLatin1Char(' ');
            ++pick.count;
        }
    }
    return pick;
}

QString PickTally(int count) { return QStringLiteral("共计") + QString::number(count) + QStringLiteral("注"); }

}  // namespace statistics
