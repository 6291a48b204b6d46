// Omission analyses of the ten digits over the range, and of each draw's digit over the
// window before it.
#include "smart/calculator.h"

#include "smart/calculatortext.h"

namespace smart {

using namespace calctext;

void SchemeCalculator::omissionAnalysis() {
    const int position = PositionOfMode(mode.name);
    if (position == 0 && mode.name != kModeAnywhere) return;
    if (range.first < 0 || range.last < range.first || range.last >= lines.size()) {
        addError(QStringLiteral("请先选择开奖号的范围。"));
        return;
    }
    for (int d = 0; d <= 9; ++d) {
        counters(d, position);
        tally.label = lines.at(range.first).left(7) + QStringLiteral("—") + lines.at(range.last).left(7) + mode.name +
                    QStringLiteral(" ") + QString::number(d) + QStringLiteral(" 分析");
        addStatRow();
    }
}

bool SchemeCalculator::rollingWindow() {
    const int w = cycle.length;
    const int s = range.first, e = range.last;
    if (w < 1 || s < 0 || e < s || e >= lines.size()) {
        addError(QStringLiteral("周期或开奖号范围不对，无法分析。"));
        return false;
    }
    const int position = PositionOfMode(mode.name);
    for (int i = s; i <= e - w; ++i) {
        range.first = i;
        range.last = i + w - 1;
        const QString& following = lines.at(i + w);
        if (position == 0) continue;
        const QString digits = following.right(3);
        const int digit = digits.at(position - 1).unicode() - '0';
        if (digit < 0 || digit > 9) continue;
        countAtPosition(digit, position);
        tally.label = following + mode.name + QStringLiteral(" ") + QString::number(digit) + QStringLiteral(" 前") +
                    QString::number(cycle.length) + QStringLiteral("期遗漏分析");
        addStatRow();
    }
    return true;
}

void SchemeCalculator::nextDraw() {
    const int last = int(lines.size()) - 1;
    if (range.first < last) ++range.first;
    if (range.last < last) ++range.last;
    omissionAnalysis();
}

}  // namespace smart
