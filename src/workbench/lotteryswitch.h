#pragma once
// The workbench's side of switching lottery, without its window: the common switch
// (history::SelectLottery: setting, draw file, history, analysis range) and the model's lottery.
#include "pool/workbenchmodel.h"

#include <QString>

namespace workbench {

// Switches to 排列三 (toP3) or 福彩3D when that is not the current lottery. Returns true when it
// switched; *error says why the new history could not be read (it is then empty).
bool SwitchLottery(pool::WorkbenchModel& model, bool toP3, QString* error = nullptr);

// What the workbench tells the player after a switch.
QString LotterySwitchedMessage(bool toP3);

}  // namespace workbench
