#include "pool/valuefilters.h"

#include "pool/filterwalk.h"

namespace pool {

using common::Digits;
using detail::BlankMatching;

int FilterSum(NumberPool& pool, QString& log, int sum) {
    const int removed = BlankMatching(pool, log, [sum](const QString&, const Digits& d) { return common::Sum(d) == sum; });
    CompactSet(pool);
    return removed;
}

int FilterSumTail(NumberPool& pool, QString& log, int tail) {
    if (tail < 0 || tail > 9) return 0;
    // Sums stop at 27, so the tails 8 and 9 have only two sums.
    int removed = FilterSum(pool, log, tail) + FilterSum(pool, log, tail + 10);
    if (tail <= 7) removed += FilterSum(pool, log, tail + 20);
    return removed;
}

int FilterSumOutside(NumberPool& pool, QString& log, int low, int high) {
    const int removed = BlankMatching(
        pool, log,
        [low, high](const QString&, const Digits& d) {
            const int s = common::Sum(d);
            return s < low || s > high;
        },
        kNewLine);
    CompactSet(pool);
    return removed;
}

int FilterContainsDigit(NumberPool& pool, QString& log, const QString& digit, bool compact) {
    int removed = 0;
    if (digit.size() == 1) {
        const QChar ch = digit.at(0);
        removed = BlankMatching(pool, log, [ch](const QString& n, const Digits&) {
            return n.at(0) == ch || n.at(1) == ch || n.at(2) == ch;
        });
    }
    if (compact) CompactSet(pool);
    return removed;
}

int FilterSpan(NumberPool& pool, QString& log, int span) {
    const int removed = BlankMatching(pool, log, [span](const QString&, const Digits& d) { return common::Span(d) == span; });
    CompactSet(pool);
    return removed;
}

}  // namespace pool
