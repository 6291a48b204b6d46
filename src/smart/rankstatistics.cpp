// Rank statistics of a backtest (its report line) and the summary of the report lines.
#include "smart/calculator.h"

#include "smart/calculatortext.h"

#include <algorithm>

namespace smart {

using namespace calctext;

void SchemeCalculator::rankStatistics(const RankTable& table, QChar side) {
    run_.reportText += kCrLf;
    QString hitsRow, nullsRow, errorsRow;
    const bool namesThisSide = !run_.verification.positionText.isEmpty() && run_.verification.positionText.at(0) == side;
    const QChar rankChar = run_.verification.positionText.isEmpty() ? QChar() : run_.verification.positionText.at(run_.verification.positionText.size() - 1);
    const int wantedRank = (rankChar >= QLatin1Char('0') && rankChar <= QLatin1Char('9')) ? rankChar.unicode() - '0' : -1;
    const int lastPeriod = std::min(run_.verifyPeriod, kRankRows) - 1;
    for (int r = 0; r <= 9; ++r) {
        int hits = 0, nulls = 0, misses = 0;
        for (int p = lastPeriod; p >= 1; --p) {
            const QString& d = table[p][r];
            if (d == kNoRank) ++nulls;
            else if (table[p][10].contains(d)) ++hits;
            else ++misses;
        }
        hitsRow += Zero2(hits) + QStringLiteral("  ");
        nullsRow += Zero2(nulls) + QStringLiteral("  ");
        errorsRow += Zero2(misses) + QStringLiteral("  ");
        // A backtest stopped before ranking the next issue must not report the previous
        // record's prediction as its own.
        if (namesThisSide && wantedRank == r && table[0][r] != kNoRank && run_.nextIssueRanked) {
            reportLines_ << (draws_.lotteryIsP3 ? QStringLiteral("P3错误：") : QStringLiteral("3D错误：")) + Zero2(misses) +
                         QStringLiteral("  NULL：") + Zero2(nulls) + QStringLiteral("|公式：") + run_.mode.condition +
                         QStringLiteral("|") + side + QString::number(r) + QStringLiteral("|码") + table[0][r] +
                         QStringLiteral("|第") + run_.nextIssue + QStringLiteral("期，验证") + Zero3(run_.verification.periods) +
                         QStringLiteral("期，周期") + Zero3(run_.cycle.lengthsTried) + QStringLiteral(".txt");
            break;
        }
    }
    run_.reportText += QStringLiteral("正确：") + hitsRow + kCrLf + QStringLiteral("NULL：") + nullsRow + kCrLf +
                  QStringLiteral("错误：") + errorsRow + kCrLf;
}

void SchemeCalculator::leftRankStatistics() {
    const Operation op(*this);
    rankStatistics(run_.leftRanks, QChar(u'左'));
}
void SchemeCalculator::rightRankStatistics() {
    const Operation op(*this);
    rankStatistics(run_.rightRanks, QChar(u'右'));
}

QString SummaryEntry::text() const {
    // More than 90 lines naming one digit would leave the letters; keep the mark printable.
    const int mark = std::max(33, 91 - lineCount);
    return QString(QChar(char16_t(mark))) + QChar(char16_t(65 + firstLine)) + QChar(char16_t(u'0' + digit));
}

void SchemeCalculator::summarise() {
    const Operation op(*this);
    int count[10] = {};
    std::vector<std::pair<int, int>> named;  // (report line, digit)
    for (int i = 0; i < reportLines_.size(); ++i) {
        const QChar digit = ReportLineDigit(reportLines_.at(i));
        if (digit < QLatin1Char('0') || digit > QLatin1Char('9')) continue;  // not a report line
        named.emplace_back(i, digit.unicode() - '0');
        ++count[digit.unicode() - '0'];
    }
    for (const auto& [line, digit] : named) {
        const bool present = std::any_of(summary_.begin(), summary_.end(), [d = digit](const SummaryEntry& e) { return e.digit == d; });
        if (present) continue;
        summary_.push_back({digit, count[digit], line});
    }
    // In the order of the display lines, which is the order the kill tables read.
    std::sort(summary_.begin(), summary_.end(), [](const SummaryEntry& a, const SummaryEntry& b) { return a.text() < b.text(); });
}

QStringList SchemeCalculator::summaryLines() const {
    QStringList out;
    out.reserve(qsizetype(summary_.size()));
    for (const SummaryEntry& e : summary_) out << e.text();
    return out;
}

QList<int> SchemeCalculator::killDigits() const {
    QList<int> out;
    out.reserve(qsizetype(summary_.size()));
    for (const SummaryEntry& e : summary_) out << e.digit;
    return out;
}

}  // namespace smart
