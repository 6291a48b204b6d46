#pragma once
// Loading the current lottery's history and switching lottery. Every window switches through
// SelectLottery and follows a switch through the state's lotteryChanged, whoever made it.
#include <QString>

namespace common {
class AppState;
}  // namespace common

namespace history {

// The main window's reload: the draw file from setting fclx ("1" 排列三, anything else 福彩3D),
// LoadDrawHistory, then the default analysis range. False with *error when the file cannot be
// read (the history is then empty).
bool ReloadCurrentLottery(common::AppState& state, QString* error = nullptr);

// The switch's common steps, only when the lottery changes: setting fclx "0"/"1", the lottery and
// its draw file in state, LoadDrawHistory, default analysis range, then the state's
// lotteryChanged. Returns true when the lottery changed. Windows then update their own labels
// and lists; the routine never calls a window.
bool SelectLottery(common::AppState& state, bool lotteryIsP3, QString* error = nullptr);

// The lottery's name as the main window's label shows it: "全国福彩3D" / "体彩排列3".
QString LotteryLabel(bool lotteryIsP3);

}  // namespace history
