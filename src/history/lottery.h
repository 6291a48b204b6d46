#pragma once
// Loading the current lottery's history and switching lottery. Every window switches through
// SelectLottery and follows a switch through LotteryNotifier::lotteryChanged, whoever made it.
#include <QObject>
#include <QString>

namespace common {
class AppState;
}  // namespace common

namespace history {

// Told after every switch SelectLottery makes (the history is already reloaded). Windows connect
// to it to refresh their own labels and lists; the routine never calls a window.
class LotteryNotifier : public QObject {
    Q_OBJECT
public:
    static LotteryNotifier& instance();

signals:
    // loadError: why the new lottery's draw file could not be read (empty when it was).
    void lotteryChanged(bool lotteryIsP3, const QString& loadError);
};

// The main window's reload: the draw file from setting fclx ("1" 排列三, anything else 福彩3D),
// LoadDrawHistory, then the default analysis range. False with *error when the file cannot be
// read (the history is then empty).
bool ReloadCurrentLottery(common::AppState& state, QString* error = nullptr);

// The switch's common steps, only when the lottery changes: setting fclx "0"/"1", the lottery and
// its draw file in state, LoadDrawHistory, default analysis range, then
// LotteryNotifier::lotteryChanged. Returns true when the lottery changed. Windows then update
// their own labels and lists.
bool SelectLottery(common::AppState& state, bool lotteryIsP3, QString* error = nullptr);

// The lottery's name as the main window's label shows it: "全国福彩3D" / "体彩排列3".
QString LotteryLabel(bool lotteryIsP3);

}  // namespace history
