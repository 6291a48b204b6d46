// The calculator's draws: the draws handed in, the lines cut from them, the range, the counters and statistics rows.
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

SchemeCalculator::SchemeCalculator() {
    settings_.mode.condition = BuiltInConditions().first();
    static_cast<CalculatorSettings&>(run_) = settings_;
    // The script engine's time limit stays at its default, as one evaluation is tiny.
}

SchemeCalculator::Operation::Operation(SchemeCalculator& calc, Kind kind)
    : calc_(calc), outermost_(calc.operationDepth_++ == 0), writesBack_(kind == WritesBack) {
    if (outermost_) static_cast<CalculatorSettings&>(calc_.run_) = calc_.settings_;
}

SchemeCalculator::Operation::~Operation() {
    --calc_.operationDepth_;
    if (outermost_ && writesBack_) calc_.settings_ = calc_.run_;
}

void SchemeCalculator::pump() {
    if (host_->processEvents) host_->processEvents();
}

void SchemeCalculator::wait(int ms) {
    if (host_->sleep) host_->sleep(ms);
}

bool SchemeCalculator::loadLines() {
    const Operation op(*this);
    return cutLines();
}

bool SchemeCalculator::cutLines() {
    const QStringList& records = draws_.lines;
    const int count = int(records.size());
    const int drop = std::max(0, run_.range.newestLeftOut);
    if (count - drop < 1) {
        addError(QStringLiteral("开奖数据不足：只有%1期，要去掉最近%2期。").arg(count).arg(drop));
        return false;
    }
    // A list of its own, so that a backtest taking lines off does not copy the records. Lines
    // that are still the records' own (a backtest took the newest off) just get them back.
    const qsizetype wanted = count - drop;
    bool ownRecords = run_.lines.size() <= wanted && !run_.lines.isEmpty() && run_.lines.constData() != records.constData();
    for (qsizetype i = 0; ownRecords && i < run_.lines.size(); ++i)
        ownRecords = run_.lines.at(i).constData() == records.at(i).constData();
    if (ownRecords) {
        run_.lines.reserve(wanted);
        for (qsizetype i = run_.lines.size(); i < wanted; ++i) run_.lines << records.at(i);
    } else {
        run_.lines = QStringList(records.cbegin(), records.cbegin() + wanted);
    }
    run_.range.first = -1;
    run_.range.last = -1;
    run_.nextIssue = CalculatorNextIssue(run_.lines.last());
    digitCounts_.forget();
    return true;
}

bool SchemeCalculator::setDraws(const CalculatorDraws& draws) {
    const Operation op(*this);
    // The same draws handed in again keep the lines they share, and with them the counts made
    // from them (a kept ranking is found by them).
    if (draws_.lines != draws.lines) draws_.lines = draws.lines;
    draws_.lotteryIsP3 = draws.lotteryIsP3;
    if (!cutLines()) return false;
    run_.range.first = 0;
    run_.range.last = int(run_.lines.size()) - 1;
    return true;
}

bool SchemeCalculator::setSeriesRange() {
    const Operation op(*this);
    const int count = int(run_.lines.size());
    const int first = count - run_.cycle.seriesLength - run_.cycle.length + 2;
    if (count == 0 || first < 0 || first > count - 1) {
        addError(QStringLiteral("开奖数据不足：周期%1、折线图期数%2需要%3期，只有%4期。")
                      .arg(run_.cycle.length).arg(run_.cycle.seriesLength).arg(run_.cycle.seriesLength + run_.cycle.length - 2).arg(count));
        return false;
    }
    run_.range.first = first;
    run_.range.last = count - 1;
    return true;
}

void SchemeCalculator::counters(int d, int position) { countersOver(d, position, run_.range.first, run_.range.last); }

void SchemeCalculator::countersOver(int d, int position, int first, int last) {
    run_.tally = DigitTally{QString::number(d)};
    if (d < 0 || d > 9 || first < 0 || last >= run_.lines.size()) return;
    const QChar ch = QChar(u'0' + d);
    for (int i = first; i <= last; ++i) {
        if (LineHasDigit(run_.lines.at(i), ch, position)) {
            ++run_.tally.hitCount;
            if (run_.tally.currentGap > run_.tally.maxGap) run_.tally.maxGap = run_.tally.currentGap;
            run_.tally.prevGap = run_.tally.currentGap;
            run_.tally.currentGap = 0;
        } else {
            ++run_.tally.currentGap;
        }
    }
}

void SchemeCalculator::countAnywhere(int d) {
    const Operation op(*this);
    counters(d, 0);
}
void SchemeCalculator::countAtPosition(int d, int position) {
    const Operation op(*this);
    counters(d, position);
}

void SchemeCalculator::addStatRow() {
    const Operation op(*this);
    StatRow row;
    static_cast<DigitTally&>(row) = run_.tally;
    row.drawCount = rangeLength();
    statRows_.push_back(row);
}

bool HandInDrawFile(SchemeCalculator& calc, bool p3) {
    CalculatorDraws draws;
    QString why;
    if (!ReadCalculatorDraws(p3, &draws, &why)) {
        calc.addError(why);  // "无法读取 <file>：<reason>"
        return false;
    }
    return calc.setDraws(draws);
}

}  // namespace smart
