#include "pool/banker.h"

#include "common/drawtext.h"

#include <array>

namespace pool {

int FilterBankCombination(NumberPool& pool, const QString& group, const QString& counts, bool repeatCountsOnce) {
    std::array<bool, 10> inGroup{};
    for (const QChar c : group) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) inGroup[size_t(c.unicode() - '0')] = true;
    }
    std::array<bool, 4> allowed{};
    for (int c = 0; c <= 3; ++c) allowed[size_t(c)] = counts.contains(QChar(u'0' + c));

    int removed = 0;
    for (QString& entry : pool) {
        if (!common::IsNumberText(entry)) continue;
        // With the repeat rule on, a digit found once is struck from the group for this
        // number only: the next number starts from the whole group again.
        std::array<bool, 10> available = inGroup;
        int hits = 0;
        for (int p = 0; p < 3; ++p) {
            const size_t d = size_t(common::DigitAt(entry, p));
            if (available[d]) ++hits;
            if (repeatCountsOnce) available[d] = false;
        }
        if (!allowed[size_t(hits)]) {
            entry.clear();
            ++removed;
        }
    }
    CompactSet(pool);
    return removed;
}

}  // namespace pool
