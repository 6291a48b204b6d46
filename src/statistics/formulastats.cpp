#include "statistics/formulastats.h"

#include <cstdlib>
#include <vector>

namespace statistics {

int FormulaMaxValue(FormulaOp op) {
    switch (op) {
    case FormulaOp::Add: return 18;
    case FormulaOp::Subtract: return 9;
    case FormulaOp::Multiply: return 81;
    }
    return 0;
}

QList<OmissionRow> FormulaStatsRows(const common::DrawHistory& history, const StatsRange& range, int firstPosition,
                                    FormulaOp op, int secondPosition) {
    const int maxValue = FormulaMaxValue(op);
    std::vector<common::OmissionStats> stats(size_t(maxValue + 1));
    const size_t p1 = size_t(qBound(0, firstPosition, 2));
    const size_t p2 = size_t(qBound(0, secondPosition, 2));
    for (const DrawDigits& d : RangeDigits(history, range)) {
        const int x = d[p1], y = d[p2];
        int v = -1;  // a draw without digits there hits no value
        if (x <= 9 && y <= 9) {
            switch (op) {
            case FormulaOp::Add: v = x + y; break;
            case FormulaOp::Subtract: v = std::abs(x - y); break;
            case FormulaOp::Multiply: v = x * y; break;
            }
        }
        if (v >= 0)
            stats[size_t(v)].hit();
        for (int j = 0; j <= maxValue; ++j)
            stats[size_t(j)].endDraw(j == v);
    }
    QList<OmissionRow> rows;
    const int n = range.count();
    for (int j = 0; j <= maxValue; ++j)
        rows << OmissionRow{QString::number(j), stats[size_t(j)], n};
    return rows;
}

}  // namespace statistics
