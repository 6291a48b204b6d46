#include "history/lottery.h"

#include "common/appstate.h"
#include "common/settings.h"
#include "history/drawfile.h"

namespace history {

namespace {

// Reads the lottery's draw file and makes the lottery the run's, whatever the read gave.
bool TakeLottery(common::AppState& app, bool lotteryIsP3, QString* error) {
    const QString path = common::DrawFilePathFor(lotteryIsP3);
    QStringList draws;
    QString why;
    const bool read = ReadDrawFile(path, &draws, &why);
    app.selectLottery(lotteryIsP3, path, read ? common::DrawHistory(std::move(draws)) : common::DrawHistory(), why);
    if (error) *error = why;
    return read;
}

}  // namespace

bool LoadSavedLottery(common::AppState& app, QString* error) {
    return TakeLottery(app, common::SettingLotteryIsP3(), error);
}

bool ReloadCurrentLottery(common::AppState& app, QString* error) {
    const bool ok = LoadDrawHistory(app, error);
    app.resetAnalysisRange();
    return ok;
}

bool SelectLottery(common::AppState& app, bool lotteryIsP3, QString* error) {
    if (app.lotteryIsP3() == lotteryIsP3) return false;
    common::SaveLotteryIsP3(lotteryIsP3);
    TakeLottery(app, lotteryIsP3, error);
    return true;
}

QString LotteryLabel(bool lotteryIsP3) {
    return lotteryIsP3 ? QStringLiteral("体彩排列3") : QStringLiteral("全国福彩3D");
}

}  // namespace history
