#pragma once
// The workbench's openers of the statistics window: the pool and the three positional digit
// lists go with it; which tabs show depends on the button that opens it.
#include "statistics/statisticswindow.h"

namespace dialogs {
class WorkbenchApi;
}

namespace workbench {

// 投资计划 (Command45), 分析 of the fuzzy filter (Command64), the formula statistics.
void OpenStatistics(dialogs::WorkbenchApi& bench, StatisticsWindow::Opener opener);
// 统计 (Command47): the compound statistics of the three digit lists, only when all are filled.
void OpenCompoundStatistics(dialogs::WorkbenchApi& bench);

}  // namespace workbench
