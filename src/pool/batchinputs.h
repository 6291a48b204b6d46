#pragma once
// What the batch filters read from the workbench's model: the ticked families of each batch
// and, for each, the ticks of its condition editor. No window is needed.
#include "pool/batch.h"
#include "pool/workbenchmodel.h"

#include <QList>

namespace pool {

// The basic families ticked in the conditions, in family order, with the pattern ticks and
// captions; the families are unticked.
QList<BasicCondition> TakeBasicConditions(EditorConditions& conditions);
// The same for the advanced families: the positional patterns, the sum, 1D and option ticks. A
// 1D mode set to "不过滤" contributes no values.
QList<AdvancedCondition> TakeAdvancedConditions(EditorConditions& conditions);

// Takes the model's basic / advanced conditions and runs that batch over the model's session.
void RunBasicBatch(WorkbenchModel& model);
QString RunAdvancedBatch(WorkbenchModel& model, const common::DrawHistory& history);

}  // namespace pool
