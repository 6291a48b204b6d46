#include "common/appstate.h"

#include "common/paths.h"
#include "common/settings.h"

namespace common {

void AppState::setHistory(DrawHistory draws) {
    history = std::move(draws);
    emit historyReloaded();
}

void AppState::resetAnalysisRange() {
    rangeLast = history.count() - 1;
    rangeFirst = rangeLast >= 200 ? rangeLast - 100 : 0;
}

int AppState::analysisFirst() const { return SettingUseAllDraws() ? 0 : rangeFirst; }
int AppState::analysisLast() const { return SettingUseAllDraws() ? history.count() - 1 : rangeLast; }

void AppState::reset() {
    history = DrawHistory();
    lotteryIsP3 = false;
    drawFilePath.clear();
    rangeFirst = 0;
    rangeLast = -1;
    quitting = false;
}

AppState& App() {
    static AppState state;
    return state;
}

QString DrawFileName(bool lotteryIsP3) {
    return lotteryIsP3 ? QStringLiteral("HAOP3.TXT") : QStringLiteral("HAO.TXT");
}

QString DrawFilePathFor(bool lotteryIsP3) { return ProgramFile(DrawFileName(lotteryIsP3)); }

}  // namespace common
