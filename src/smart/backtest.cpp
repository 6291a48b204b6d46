// The backtest: a condition ranked for the next issue and for past periods, and the run over
// every record of the scheme list.
#include "smart/calculator.h"

#include "smart/calculatortext.h"

#include <algorithm>

namespace smart {

using namespace calctext;

namespace {

QString RankMark(const QString& cell, const QString& draw) {
    if (!cell.isEmpty() && draw.right(3).contains(cell)) return QStringLiteral("√ ");
    if (draw != kUndrawn) return cell == kNoRank ? QStringLiteral("● ") : QStringLiteral("■ ");
    return QStringLiteral("   ");
}

}  // namespace

void SchemeCalculator::pauseOrResume() {
    runState_ = runState_ == RunState::Running ? RunState::Paused : RunState::Running;
}

void SchemeCalculator::runBacktests() {
    lastError.clear();
    if (!loadDraws()) {
        // A run that cannot read its draws leaves no summary: the previous base's kill digits
        // must not pass for this one's.
        summary.clear();
        reportLines.clear();
        return;
    }
    runState_ = RunState::Running;
    summary.clear();
    reportLines.clear();
    const int count = int(schemes.size());
    if (host_->progress) host_->progress->setTotal(count);
    for (int i = 0; i < count && i < schemes.size(); ++i) {
        if (i > 0 && host_->progress) host_->progress->advance();
        if (stopped()) return;
        SchemeRecord record;
        QString why;
        if (!ParseSchemeRecord(schemes.at(i), &record, &why)) {
            addError(why);  // the record is skipped; the others still count
            continue;
        }
        cycle.lengthsTried = record.cycleCount;
        verification.periods = record.verifyPeriods;
        mode.condition = record.condition;
        verification.positionText = record.sideRank;
        if (!loadDraws()) return;
        const QString rule(83, QLatin1Char('='));
        reportText = rule + kCrLf + QStringLiteral("条件：") + mode.condition + kCrLf + rule + kCrLf;
        backtestCondition();
    }
    if (host_->progress) host_->progress->advance();
    if (!loadDraws()) return;
    summarise();
}

void SchemeCalculator::backtestCondition() {
    verifyPeriod = 0;
    runState_ = RunState::Running;
    inBacktest_ = true;
    digitsChecked_ = false;
    nextIssueRanked_ = false;
    scriptErrorShownThisBacktest_ = false;
    const QString six(6, QLatin1Char(' '));
    QString left = six, right = six;
    QString draw = kUndrawn;
    pump();
    const int periods = verification.periods + 1;
    const int needed = std::max(1, cycle.seriesLength + cycle.lengthsTried - 2);
    for (int k = 1; k <= periods; ++k) {
        if (verifyPeriod >= kRankRows) break;
        if (lines.size() < needed) {
            addError(QStringLiteral("开奖数据不足：验证第%1期需要%2期开奖号，只剩%3期。")
                          .arg(verifyPeriod).arg(needed).arg(lines.size()));
            break;
        }
        if (mode.name == kModeHundreds) {
            const QString r = rankDigits();
            const QString hundreds = draw.right(3).left(1);
            verification.hundredsText += r + QString(std::max(0, 10 - int(r.size())), QLatin1Char(' ')) +
                     (r.contains(hundreds) ? QStringLiteral("√") : QStringLiteral("×")) +
                     QStringLiteral("  开奖号") + draw + kCrLf;
        } else if (mode.name == kModeAnywhere) {
            rankDigits();
            if (stopped()) break;
            const RankRow& lrow = leftRanks[verifyPeriod];
            const RankRow& rrow = rightRanks[verifyPeriod];
            for (int j = 0; j < 10; ++j) {
                left += lrow[j] + RankMark(lrow[j], draw);
                right += rrow[j] + RankMark(rrow[j], draw);
            }
            const QString tail = QStringLiteral("  开奖号") + draw + kCrLf + six;
            left += tail;
            right += tail;
        }
        if (verifyPeriod == 0 && !stopped()) nextIssueRanked_ = true;
        leftRanks[verifyPeriod][10] = rightRanks[verifyPeriod][10] = draw.right(3);
        ++verifyPeriod;
        if (lines.isEmpty()) break;
        draw = lines.takeLast();
        range.first = std::min(range.first, int(lines.size()) - 1);
        range.last = std::min(range.last, int(lines.size()) - 1);
    }
    reportText += kCrLf + left;
    leftRankStatistics();
    reportText += kCrLf + right;
    rightRankStatistics();
    inBacktest_ = false;
    nextIssueRanked_ = true;
}

}  // namespace smart
