// Omission analyses of the ten digits over the range, and of each draw's digit over the
// window before it.
#include "smart/calculator.h"

#include "smart/calculatortext.h"

namespace smart {

using namespace calctext;

void SchemeCalculator::omissionAnalysis() {
    const Operation op(*this);
    const int position = PositionOfMode(run_.mode.name);
    if (position == 0 && run_.mode.name != kModeAnywhere) return;
    if (run_.range.first < 0 || run_.range.last < run_.range.first || run_.range.last >= run_.lines.size()) {
        addError(QStringLiteral("请先选择开奖号的范围。"));
        return;
    }
    for (int d = 0; d <= 9; ++d) {
        counters(d, position);
        run_.tally.label = run_.lines.at(run_.range.first).left(7) + QStringLiteral("—") + run_.lines.at(run_.range.last).left(7) + run_.mode.name +
                    QStringLiteral(" ") + QString::number(d) + QStringLiteral(" 分析");
        addStatRow();
    }
}

bool SchemeCalculator::rollingWindow() {
    const Operation op(*this);
    const int w = run_.cycle.length;
    const int s = run_.range.first, e = run_.range.last;
    if (w < 1 || s < 0 || e < s || e >= run_.lines.size()) {
        addError(QStringLiteral("周期或开奖号范围不对，无法分析。"));
        return false;
    }
    const int position = PositionOfMode(run_.mode.name);
    for (int i = s; i <= e - w; ++i) {
        run_.range.first = i;
        run_.range.last = i + w - 1;
        const QString& following = run_.lines.at(i + w);
        if (position == 0) continue;
        const QString digits = following.right(3);
        const int digit = digits.at(position - 1).unicode() - '0';
        if (digit < 0 || digit > 9) continue;
        countAtPosition(digit, position);
        run_.tally.label = following + run_.mode.name + QStringLiteral(" ") + QString::number(digit) + QStringLiteral(" 前") +
                    QString::number(run_.cycle.length) + QStringLiteral("期遗漏分析");
        addStatRow();
    }
    return true;
}

void SchemeCalculator::nextDraw() {
    const Operation op(*this);
    const int last = int(run_.lines.size()) - 1;
    if (run_.range.first < last) ++run_.range.first;
    if (run_.range.last < last) ++run_.range.last;
    omissionAnalysis();
}

}  // namespace smart
