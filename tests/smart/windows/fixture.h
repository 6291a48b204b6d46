#pragma once
// Histories for the smart windows' tests, in the calculator fixture's issue numbering, and the
// program state they need.
#include "calcfixture.h"
#include "common/appstate.h"
#include "common/settings.h"
#include "historyof.h"
#include "hookreset.h"
#include "common/drawhistory.h"

#include "smart/windows/calculatorhost.h"
#include "smart/windows/smartsystemwindow.h"
#include "smart/windows/schemecalculatorwindow.h"

#include <QStringList>

#include <functional>
#include <optional>

namespace smartwin {

inline common::DrawHistory HistoryOf(const QStringList& numbers) {
    return testsupport::HistoryOf(numbers, QStringLiteral("2020"));
}

// Puts a history in place as the state's current 福彩3D history.
inline void UseHistory(common::AppState& app, const QStringList& numbers) {
    app.selectLottery(false, common::DrawFilePathFor(false), HistoryOf(numbers));
    common::SaveSmartScheme(1);
}

// For the life of the object the smart windows' calculator's (calc's) first event pump of a run
// (inside its backtest) calls action, a stop or a close; every pump then goes on as before.
// With when, the first pump at which when() holds calls it.
class ActionAtFirstPump {
public:
    ActionAtFirstPump(smart::SchemeCalculator& calc, std::function<void()> action, std::function<bool()> when = {})
        : hooks_(calc.runHost()), before_(hooks_.processEvents) {
        hooks_.processEvents = [this, action = std::move(action), when = std::move(when)] {
            if (!acted && (when ? when() : pumps == 0)) {
                acted = true;
                action();
            }
            ++pumps;
            before_();
        };
    }
    ~ActionAtFirstPump() { hooks_.processEvents = before_; }
    int pumps = 0;
    bool acted = false;

private:
    smart::RunHost& hooks_;
    std::function<void()> before_;
};

}  // namespace smartwin
