#pragma once
// Formula statistics: the value of x + y, |x - y| or x * y over two digit positions of each
// draw, rated per value with OmissionStats.
#include "common/drawhistory.h"
#include "statistics/omissionrow.h"
#include "statistics/statsrange.h"

#include <QList>

namespace statistics {

enum class FormulaOp { Add = 0, Subtract = 1, Multiply = 2 };

// The largest value the operator can give: 18, 9 or 81.
int FormulaMaxValue(FormulaOp op);

// One row per value 0..FormulaMaxValue(op), ascending, also for values no draw can give.
// Positions: 0 百, 1 十, 2 个 (the same position may be chosen twice).
QList<OmissionRow> FormulaStatsRows(const common::DrawHistory& history, const StatsRange& range, int firstPosition,
                                    FormulaOp op, int secondPosition);

}  // namespace statistics
