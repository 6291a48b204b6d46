#include "workbench/lotteryswitch.h"

#include "common/appstate.h"
#include "history/lottery.h"

namespace workbench {

bool SwitchLottery(pool::WorkbenchModel& model, bool toP3, QString* error) {
    model.lotteryIsP3 = common::App().lotteryIsP3;
    if (model.lotteryIsP3 == toP3) return false;
    QString why;
    history::SelectLottery(toP3, &why);
    model.lotteryIsP3 = toP3;
    if (error) *error = why;
    return true;
}

QString LotterySwitchedMessage(bool toP3) {
    return toP3 ? QStringLiteral("彩票类型已被转换，当前彩票类型为[体彩排列3]。")
                : QStringLiteral("彩票类型已被转换，当前彩票类型为[福彩3D]。");
}

}  // namespace workbench
