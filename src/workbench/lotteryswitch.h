#pragma once
// The workbench's side of switching lottery: the switch itself is history::SelectLottery (setting,
// draw file, history, analysis range); the workbench reads the lottery from the run's state.
#include <QString>

namespace workbench {

// What the workbench tells the player after a switch.
QString LotterySwitchedMessage(bool toP3);

}  // namespace workbench
