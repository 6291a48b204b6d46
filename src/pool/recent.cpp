#include "pool/recent.h"

#include "common/drawattributes.h"
#include "common/drawtext.h"
#include "pool/valuefilters.h"

#include <QList>

#include <algorithm>
#include <array>

namespace pool {

namespace {

const QString kSeparator = QStringLiteral("| ");

// Match key of a three-digit text: its value (straight) or the value of its sorted digits
// (group); -1 for anything else, which then matches nothing.
int MatchKey(const QString& text, bool straightMode) {
    if (!common::IsNumberText(text)) return -1;
    return (straightMode ? text : common::SortedDigits(text)).toInt();
}

// The 1-based positions from last down to last - n + 1 that hold a draw, newest first.
QList<int> WindowPositions(const common::DrawHistory& history, int n, int last) {
    QList<int> positions;
    for (int pos = std::min(last, history.count()); pos > last - n && pos >= 1; --pos) positions.append(pos);
    return positions;
}

}  // namespace

int FilterNumberMatch(NumberPool& pool, QString& log, const QString& number, bool straightMode) {
    const int target = MatchKey(number, straightMode);
    int removed = 0;
    if (target >= 0) {
        for (QString& entry : pool) {
            if (MatchKey(entry, straightMode) != target) continue;
            log += entry + kSeparator;
            entry.clear();
            ++removed;
        }
    }
    CompactSet(pool);
    return removed;
}

int FilterRecentNumbers(NumberPool& pool, QString& log, const common::DrawHistory& history, int n, int last,
                        bool straightMode) {
    log += kNewLine + (straightMode ? QStringLiteral("单选过滤近") : QStringLiteral("[组选]过滤近")) +
           QString::number(n) + QStringLiteral("期号码开始") + kNewLine;

    // One pass instead of one per draw: each key gets the rank of the first draw (newest
    // first) that would remove it; a later draw with the same key would find nothing left.
    // The removed entries are then logged by rank, in pool order within a rank, which is the
    // text the per-draw passes write.
    std::array<int, 1000> rankOfKey;
    rankOfKey.fill(-1);
    int ranks = 0;
    for (int pos : WindowPositions(history, n, last)) {
        const int key = MatchKey(history.number(pos), straightMode);
        if (key >= 0 && rankOfKey[size_t(key)] < 0) rankOfKey[size_t(key)] = ranks++;
    }
    QList<QString> byRank(ranks);
    int total = 0;
    for (QString& entry : pool) {
        const int key = MatchKey(entry, straightMode);
        if (key < 0 || rankOfKey[size_t(key)] < 0) continue;
        byRank[rankOfKey[size_t(key)]] += entry + kSeparator;
        entry.clear();
        ++total;
    }
    for (const QString& part : byRank) log += part;
    CompactSet(pool);

    log += FilterLogFooter(total, int(pool.size()));
    return total;
}

int FilterRecentSums(NumberPool& pool, QString& log, const common::DrawHistory& history, int n) {
    log += kNewLine + QStringLiteral("近") + QString::number(n) + QStringLiteral("期和值过滤开始 ") + kNewLine;

    std::array<bool, 28> done{};
    int total = 0;
    for (int pos : WindowPositions(history, n, history.count())) {
        const QString number = history.number(pos);
        if (!common::IsNumberText(number)) continue;
        const int sum = common::Sum(common::Digits::Of(number));
        // A sum met again would find nothing left to remove.
        if (done[size_t(sum)]) continue;
        done[size_t(sum)] = true;
        total += FilterSum(pool, log, sum);
    }

    log += FilterLogFooter(total, int(pool.size()));
    return total;
}

}  // namespace pool
