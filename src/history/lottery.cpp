#include "history/lottery.h"

#include "common/appstate.h"
#include "common/settings.h"
#include "history/drawfile.h"

namespace history {

bool ReloadCurrentLottery(common::AppState& app, QString* error) {
    app.drawFilePath = common::DrawFilePathFor(common::SettingLotteryIsP3());
    const bool ok = LoadDrawHistory(app, error);
    app.resetAnalysisRange();
    return ok;
}

bool SelectLottery(common::AppState& app, bool lotteryIsP3, QString* error) {
    if (app.lotteryIsP3 == lotteryIsP3) return false;
    common::SaveLotteryIsP3(lotteryIsP3);
    app.lotteryIsP3 = lotteryIsP3;
    app.drawFilePath = common::DrawFilePathFor(lotteryIsP3);
    QString why;
    LoadDrawHistory(app, &why);
    app.resetAnalysisRange();
    if (error) *error = why;
    emit app.lotteryChanged(lotteryIsP3, why);
    return true;
}

QString LotteryLabel(bool lotteryIsP3) {
    return lotteryIsP3 ? QStringLiteral("体彩排列3") : QStringLiteral("全国福彩3D");
}

}  // namespace history
