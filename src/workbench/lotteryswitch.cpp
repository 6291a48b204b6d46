#include "workbench/lotteryswitch.h"


namespace workbench {

QString LotterySwitchedMessage(bool toP3) {
    return toP3 ? QStringLiteral("彩票类型已被转换，当前彩票类型为[体彩排列3]。")
                : QStringLiteral("彩票类型已被转换，当前彩票类型为[福彩3D]。");
}

}  // namespace workbench
