#include "statistics/fuzzystats.h"

#include "pool/fuzzyclasses.h"

namespace statistics {

namespace {

const QString kNoValue = QStringLiteral("--");

// "2:1:0": how many of the draw's digits (a repeated digit counts each time) lie in each class
// of the previous row.
QString FuzzyRatio(const pool::DigitPartition& previous, const DrawDigits& digits) {
    if (previous.isEmpty())
        return kNoValue;
    int counts[3] = {0, 0, 0};
    for (const auto d : digits) {
        const int k = previous.classOf(d);
        if (k >= 0)
            ++counts[k];
    }
    return QStringLiteral("%1:%2:%3").arg(counts[0]).arg(counts[1]).arg(counts[2]);
}

// Writes the three classes and the ratio of one partition, and makes the classes the previous.
void AppendPartition(QStringList* row, pool::DigitPartition* previous, const pool::DigitPartition& current,
                     const DrawDigits& digits) {
    const QString ratio = FuzzyRatio(*previous, digits);
    for (int k = 0; k < 3; ++k)
        *row << current.digitsText(k);
    *row << ratio;
    *previous = current;
}

void AppendNoValues(QStringList* row) {
    for (int k = 0; k < 4; ++k)
        *row << kNoValue;
}

}  // namespace

QList<QStringList> FuzzyStatsRows(const common::DrawHistory& history, const StatsRange& range) {
    QList<QStringList> rows;
    rows.reserve(range.count());
    pool::DigitPartition prevHot, prevRepeat, prevDrawn;
    for (int i = range.first; i <= range.last; ++i) {
        const DrawDigits digits = DigitsOfDraw(history, i);
        QStringList row{history.issue(i), history.number(i)};
        // The seven-draw window needs draws i-6..i; before that no classes are shown.
        if (i > 6)
            AppendPartition(&row, &prevHot, pool::HotWarmColdClasses(history, i), digits);
        else
            AppendNoValues(&row);
        if (i > 2)
            AppendPartition(&row, &prevRepeat, pool::RepeatGapMiddleClasses(history, i), digits);
        else
            AppendNoValues(&row);
        AppendPartition(&row, &prevDrawn, pool::DrawnNeighbourLoneClasses(history, i), digits);
        rows << row;
    }
    return rows;
}

}  // namespace statistics
