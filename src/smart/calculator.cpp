// The calculator's draws: the draws read or handed in, the range, the counters and statistics rows.
#include "smart/calculator.h"

#include "common/omissionstats.h"

#include <algorithm>

namespace smart {

namespace {

bool LineHasDigit(const QString& line, QChar digit, int position) {
    const QString digits = line.right(3);
    if (position >= 1 && position <= 3) return digits.size() >= position && digits.at(position - 1) == digit;
    return digits.contains(digit);
}

}  // namespace

QString CalculatorNextIssue(const QString& lastLine) {
    const QString head = lastLine.left(7);
    int n = 0;
    while (n < head.size() && head.at(n).isDigit() && head.at(n).unicode() < 128) ++n;
    return QString::number(head.left(n).toLongLong() + 1);
}

QStringList StatRow::columns() const {
    common::OmissionStats s;
    s.hitCount = hitCount;
    s.maxGap = maxGap;
    s.prevGap = prevGap;
    s.currentGap = currentGap;
    return {label, QString::number(hitCount), s.hitRateText(drawCount), s.averageGapText(drawCount, 2),
            QString::number(maxGap), QString::number(prevGap), QString::number(currentGap), s.dueRatioText(drawCount)};
}

QStringList StatColumnHeaders() {
    return {QStringLiteral("类别"), QStringLiteral("出现次数"), QStringLiteral("出现概率"), QStringLiteral("平均遗漏"),
            QStringLiteral("最大遗漏"), QStringLiteral("上期遗漏"), QStringLiteral("本期遗漏"), QStringLiteral("欲出几率")};
}

SchemeCalculator::SchemeCalculator()
    : leftRanks(kRankRows), rightRanks(kRankRows) {
    mode.condition = BuiltInConditions().first();
    // The script engine's time limit stays at its default, as one evaluation is tiny.
}

void SchemeCalculator::pump() {
    if (host_->processEvents) host_->processEvents();
}

void SchemeCalculator::wait(int ms) {
    if (host_->sleep) host_->sleep(ms);
}

bool SchemeCalculator::readDrawFile() {
    CalculatorDraws read;
    QString why;
    if (!ReadCalculatorDraws(range.lotteryIsP3, &read, &why)) {
        addError(why);  // "无法读取 <file>：<reason>"
        return false;
    }
    // The same draws read again keep the lines they share, and with them the counts made from
    // them (a kept ranking is found by them).
    if (read.lines != draws_.lines || read.lotteryIsP3 != draws_.lotteryIsP3) draws_ = std::move(read);
    return true;
}

bool SchemeCalculator::loadDraws() {
    if (!drawsHandedIn_ && !readDrawFile()) return false;
    return cutLines();
}

bool SchemeCalculator::cutLines() {
    const QStringList& records = draws_.lines;
    const int count = int(records.size());
    const int drop = std::max(0, range.newestLeftOut);
    if (count - drop < 1) {
        addError(QStringLiteral("开奖数据不足：只有%1期，要去掉最近%2期。").arg(count).arg(drop));
        return false;
    }
    // A list of its own, so that a backtest taking lines off does not copy the records. Lines
    // that are still the records' own (a backtest took the newest off) just get them back.
    const qsizetype wanted = count - drop;
    bool ownRecords = lines.size() <= wanted && !lines.isEmpty() && lines.constData() != records.constData();
    for (qsizetype i = 0; ownRecords && i < lines.size(); ++i)
        ownRecords = lines.at(i).constData() == records.at(i).constData();
    if (ownRecords) {
        lines.reserve(wanted);
        for (qsizetype i = lines.size(); i < wanted; ++i) lines << records.at(i);
    } else {
        lines = QStringList(records.cbegin(), records.cbegin() + wanted);
    }
    range.first = -1;
    range.last = -1;
    nextIssue = CalculatorNextIssue(lines.last());
    digitCounts_.forget();
    return true;
}

bool SchemeCalculator::useDraws(const CalculatorDraws& draws) {
    range.lotteryIsP3 = draws.lotteryIsP3;
    if (draws_.lines.constData() != draws.lines.constData() || draws_.lines.size() != draws.lines.size())
        draws_.lines = draws.lines;
    draws_.lotteryIsP3 = draws.lotteryIsP3;
    drawsHandedIn_ = true;
    if (!cutLines()) return false;
    range.first = 0;
    range.last = int(lines.size()) - 1;
    return true;
}

void SchemeCalculator::reloadWholeRange() {
    if (!loadDraws()) return;
    range.first = 0;
    range.last = int(lines.size()) - 1;
}

void SchemeCalculator::selectLottery(bool p3) {
    drawsHandedIn_ = false;
    range.lotteryIsP3 = p3;
    reloadWholeRange();
}

bool SchemeCalculator::setSeriesRange() {
    const int count = int(lines.size());
    const int first = count - cycle.seriesLength - cycle.length + 2;
    if (count == 0 || first < 0 || first > count - 1) {
        addError(QStringLiteral("开奖数据不足：周期%1、折线图期数%2需要%3期，只有%4期。")
                      .arg(cycle.length).arg(cycle.seriesLength).arg(cycle.seriesLength + cycle.length - 2).arg(count));
        return false;
    }
    range.first = first;
    range.last = count - 1;
    return true;
}

void SchemeCalculator::counters(int d, int position) { countersOver(d, position, range.first, range.last); }

void SchemeCalculator::countersOver(int d, int position, int first, int last) {
    tally = DigitTally{QString::number(d)};
    if (d < 0 || d > 9 || first < 0 || last >= lines.size()) return;
    const QChar ch = QChar(u'0' + d);
    for (int i = first; i <= last; ++i) {
        if (LineHasDigit(lines.at(i), ch, position)) {
            ++tally.hitCount;
            if (tally.currentGap > tally.maxGap) tally.maxGap = tally.currentGap;
            tally.prevGap = tally.currentGap;
            tally.currentGap = 0;
        } else {
            ++tally.currentGap;
        }
    }
}

void SchemeCalculator::countAnywhere(int d) { counters(d, 0); }
void SchemeCalculator::countAtPosition(int d, int position) { counters(d, position); }

void SchemeCalculator::addStatRow() {
    StatRow row;
    static_cast<DigitTally&>(row) = tally;
    row.drawCount = rangeLength();
    statRows.push_back(row);
}

}  // namespace smart
