#pragma once
// Loading the current lottery's history and switching lottery. Every window switches through
// SelectLottery and follows a switch through the state's lotteryChanged, whoever made it.
#include <QString>

namespace common {
class AppState;
}  // namespace common

namespace history {

// The main window's start: the lottery of setting fclx ("1" 排列三, anything else 福彩3D) becomes
// the run's with its draw file, its history and the default analysis range, told through the
// state's lotteryChanged. False with *error when the file cannot be read (the history is then
// empty).
bool LoadSavedLottery(common::AppState& state, QString* error = nullptr);

// The main window's reload (after the draw entry): the run's lottery's draw file read again
// (LoadDrawHistory), then the default analysis range. The lottery is the run's, not the
// setting's: a switch whose setting could not be saved stands. False with *error when the file
// cannot be read (the history is then empty).
bool ReloadCurrentLottery(common::AppState& state, QString* error = nullptr);

// The switch, only when the lottery changes: setting fclx "0"/"1", then the lottery, its draw
// file, its history and the default range in state at once (AppState::selectLottery, which
// tells lotteryChanged). Returns true when the lottery changed. Windows then update their own
// labels and lists; the routine never calls a window.
bool SelectLottery(common::AppState& state, bool lotteryIsP3, QString* error = nullptr);

// The lottery's name as the main window's label shows it: "全国福彩3D" / "体彩排列3".
QString LotteryLabel(bool lotteryIsP3);

}  // namespace history
