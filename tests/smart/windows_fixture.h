#pragma once
// Histories for the smart windows' tests, in the calculator fixture's issue numbering, and the
// program state they need.
#include "calcfixture.h"
#include "common/appstate.h"
#include "common/drawhistory.h"

#include <QStringList>

namespace smartwin {

inline common::DrawHistory HistoryOf(const QStringList& numbers) {
    common::DrawHistory history;
    for (int i = 0; i < numbers.size(); ++i)
        history.append(QStringLiteral("2020%1 %2").arg(i + 1, 3, 10, QLatin1Char('0')).arg(numbers[i]));
    return history;
}

// Puts a history in place as the current 福彩3D history.
inline void UseHistory(const QStringList& numbers) {
    common::AppState& app = common::App();
    app.history = HistoryOf(numbers);
    app.lotteryIsP3 = false;
    app.smartScheme = 1;
    app.straightMode = true;
}

}  // namespace smartwin
