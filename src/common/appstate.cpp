#include "common/appstate.h"

#include "common/paths.h"

namespace common {

void AppState::resetAnalysisRange() {
    rangeLast = history.count() - 1;
    rangeFirst = rangeLast >= 200 ? rangeLast - 100 : 0;
}

int AppState::analysisFirst() const { return useAllDraws ? 0 : rangeFirst; }
int AppState::analysisLast() const { return useAllDraws ? history.count() - 1 : rangeLast; }

AppState& App() {
    static AppState state;
    return state;
}

QString DrawFileName(bool lotteryIsP3) {
    return lotteryIsP3 ? QStringLiteral("HAOP3.TXT") : QStringLiteral("HAO.TXT");
}

QString DrawFilePathFor(bool lotteryIsP3) { return ProgramFile(DrawFileName(lotteryIsP3)); }

}  // namespace common
