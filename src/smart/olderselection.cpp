#include "smart/olderselection.h"

#include "common/drawtext.h"
#include "common/numbertables.h"
#include "pool/recent.h"
#include "pool/valuefilters.h"
#include "smart/killdigits.h"

namespace smart {

QString RecentDigits(const common::DrawHistory& history, int base) {
    QString digits;
    digits.reserve(240);
    for (int i = base - 79; i <= base; ++i) digits += history.number(i);
    return digits;
}

namespace {

// The character at a 1-based place of the recent digits (empty past its end).
QString OldRecentDigitAt(const QString& digits, int place) {
    return place >= 1 && place <= digits.size() ? QString(digits.at(place - 1)) : QString();
}

// Excludes one span after entry `start` of the distance table: the first whose span differs
// from the base draw's and is above `floor`. Returns it, or -1 when the table runs out.
int OldExcludeOneSpan(pool::NumberPool& pool, QString& log, const QList<int>& spans, int start, int floor) {
    for (int idx = start + 1; idx <= int(kSpanDistance.size()); ++idx) {
        const int span = spans.at(kSpanDistance[size_t(idx - 1)] - 1);
        if (span == spans.at(0) || span <= floor) continue;
        pool::FilterSpan(pool, log, span);
        return span;
    }
    return -1;
}

}  // namespace

void MakeOlderSelection(const common::DrawHistory& history, int base, const OlderSelectionSettings& settings,
                       pool::NumberPool& pool, QString& log, OlderSelectionTrace* trace) {
    OlderSelectionTrace local;
    OlderSelectionTrace& t = trace ? *trace : local;
    t = {};
    const QList<int> sums = BaseSums(history, base);
    const QList<int> spans = BaseSpans(history, base);

    SmartRandom random;
    random.Reset(-1);
    random.Seed(sums.at(1));

    int span = -1;
    if (settings.baseType == 0) {
        pool = common::GroupSixTable();
        pool::FilterSpan(pool, log, 2);
        t.excludedSpans << 2;
        span = OldExcludeOneSpan(pool, log, spans, random.NextIndex(10), 2);
    } else {
        pool = common::GroupThreeTable();
        span = OldExcludeOneSpan(pool, log, spans, random.NextIndex(10), 0);
    }
    if (span >= 0) t.excludedSpans << span;

    pool::FilterRecentNumbers(pool, log, history, 10, base, false);
    pool::FilterSumOutside(pool, log, 2, 25);

    random.Seed(sums.at(0));
    t.excludedSums = ExcludeSums(pool, log, sums, random.NextIndex(10), settings.sumCount);

    const QString digits = RecentDigits(history, base);
    if (settings.scheme == 0) {
        random.Seed(sums.at(7));
        int row = random.NextIndex(10);
        QString d1, d2;
        do {
            d1 = OldRecentDigitAt(digits, kKillPairPositions[size_t(row - 1)][0]);
            d2 = OldRecentDigitAt(digits, kKillPairPositions[size_t(row - 1)][1]);
            ++row;
        } while (row <= int(kKillPairPositions.size()) && d1 == d2);
        pool::FilterContainsDigit(pool, log, d1, true);
        pool::FilterContainsDigit(pool, log, d2, true);
        t.killDigits = d1 + d2;
    } else if (settings.scheme == 1) {
        random.Seed(sums.at(5));
        const QString d = OldRecentDigitAt(digits, kKillDigitPositions[size_t(random.NextIndex(7) - 1)]);
        pool::FilterContainsDigit(pool, log, d, true);
        t.killDigits = d;
    }
}

QString OlderSelectionLogLine(bool lotteryIsP3, const QString& newestDrawText, int count) {
    return (lotteryIsP3 ? QStringLiteral("体彩排列三 第") : QStringLiteral("福彩3D 第")) +
           common::NextIssue(common::IssueOf(newestDrawText)) + QStringLiteral("期智能选号共生成") +
           QString::number(count) + QStringLiteral("注") + pool::kNewLine;
}

}  // namespace smart
