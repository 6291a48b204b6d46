#include "common/appstate.h"

#include "common/paths.h"
#include "common/settings.h"

namespace common {

void AppState::selectLottery(bool lotteryIsP3, const QString& drawFilePath, DrawHistory draws,
                             const QString& loadError) {
    lotteryIsP3_ = lotteryIsP3;
    drawFilePath_ = drawFilePath;
    history_ = std::move(draws);
    // Part of the switch, told through lotteryChanged rather than a rangeChanged of its own.
    setDefaultRange();
    emit historyReloaded();
    emit lotteryChanged(lotteryIsP3, loadError);
}

void AppState::setHistory(DrawHistory draws) {
    history_ = std::move(draws);
    emit historyReloaded();
}

void AppState::setQuitting(bool quitting) {
    if (quitting_ == quitting) return;
    quitting_ = quitting;
    emit quittingChanged(quitting);
}

void AppState::setRange(int first, int last) {
    rangeFirst_ = first;
    rangeLast_ = last;
    emit rangeChanged();
}

void AppState::setDefaultRange() {
    rangeLast_ = history_.count() - 1;
    rangeFirst_ = rangeLast_ >= 200 ? rangeLast_ - 100 : 0;
}

void AppState::resetAnalysisRange() {
    setDefaultRange();
    emit rangeChanged();
}

int AppState::analysisFirst() const { return SettingUseAllDraws() ? 0 : rangeFirst_; }
int AppState::analysisLast() const { return SettingUseAllDraws() ? history_.count() - 1 : rangeLast_; }

void AppState::reset() {
    history_ = DrawHistory();
    lotteryIsP3_ = false;
    drawFilePath_.clear();
    rangeFirst_ = 0;
    rangeLast_ = -1;
    quitting_ = false;
}

QString DrawFileName(bool lotteryIsP3) {
    return lotteryIsP3 ? QStringLiteral("HAOP3.TXT") : QStringLiteral("HAO.TXT");
}

QString DrawFilePathFor(bool lotteryIsP3) { return ProgramFile(DrawFileName(lotteryIsP3)); }

}  // namespace common
