#pragma once
// What the batch filters read from the windows: the workbench's ticked family boxes and, for
// each, the ticks of its condition editor (loaded unseen when it was never opened).
#include "workbench/batch.h"

#include <QList>

class QWidget;

namespace workbench {

// The basic families whose box is ticked on the workbench, in box order, with the pattern
// editor's ticked boxes; their family boxes are unticked.
QList<BasicCondition> TakeBasicConditions(QWidget* workbench);
// The same for the advanced families: PositionPatterns, the sum, 1D and option editors. A 1D
// mode set to "不过滤" contributes no values.
QList<AdvancedCondition> TakeAdvancedConditions(QWidget* workbench);

}  // namespace workbench
