#include "smart/smartmodel.h"

namespace smart {

void SmartModel::setScheme(int scheme) {
    settings.scheme = scheme;
    if (schemeChanged) schemeChanged(scheme);
}

QString SmartModel::computeScheme(const common::DrawHistory& history, int base, int scheme, QString& log) {
    setScheme(scheme);
    if (!BaseIsUsable(history, base)) return {};
    return ComputeKillDigits(history, base, settings.forScheme(scheme), summaryValid ? summary : QList<int>(),
                             numberPool(), log);
}

}  // namespace smart
