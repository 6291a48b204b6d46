#pragma once
// The per-draw table of the fuzzy digit classes (热温冷, 复隔中, 传邻孤) with, per partition, the
// ratio of the draw's digits over the classes of the row before.
#include "common/drawhistory.h"
#include "statistics/statsrange.h"

#include <QList>
#include <QStringList>

namespace statistics {

// One row per draw of the range, oldest first, 14 texts each: 期号, 奖号, 热, 温, 冷, 比例,
// 复, 隔, 中, 比例, 传, 邻, 孤, 比例. "--" where a window would reach before the first draw and
// where no previous classes exist for a ratio.
QList<QStringList> FuzzyStatsRows(const common::DrawHistory& history, const StatsRange& range);

}  // namespace statistics
