#pragma once
// What the batch filters read from the workbench's model: the ticked families of each batch
// and, for each, the ticks of its condition editor. No window is needed.
#include "pool/workbenchmodel.h"
#include "workbench/batch.h"

#include <QList>

namespace workbench {

// The basic families ticked in the conditions, in family order, with the pattern ticks and
// captions; the families are unticked.
QList<BasicCondition> TakeBasicConditions(pool::EditorConditions& conditions);
// The same for the advanced families: the positional patterns, the sum, 1D and option ticks. A
// 1D mode set to "不过滤" contributes no values.
QList<AdvancedCondition> TakeAdvancedConditions(pool::EditorConditions& conditions);

// Takes the model's basic / advanced conditions and runs that batch over the model's session.
void RunBasicBatch(pool::WorkbenchModel& model);
QString RunAdvancedBatch(pool::WorkbenchModel& model, const common::DrawHistory& history);

}  // namespace workbench
