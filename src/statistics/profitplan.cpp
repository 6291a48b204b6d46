#include "statistics/profitplan.h"

#include "common/omissionstats.h"

#include <cmath>

namespace statistics {

bool ParseProfitTarget(const QString& text, double* target) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value) || value == 0)
        return false;
    *target = value;
    return true;
}

QList<QStringList> ProfitPlanRows(const ProfitPlanInputs& in) {
    QList<QStringList> rows;
    const double bets = in.bets;
    const double prize = in.prize;
    const double rate = in.target / 100.0;
    double multiple = in.startMultiple;
    double spent = 0;  // outlay of the periods so far
    auto whole = [](double v) { return common::FormatDecimals(v, 0); };
    for (int p = 1; p <= in.periods; ++p) {
        // Tries M, M+1, M+3, M+6, ...: the first try keeps the multiple of the period before.
        double step = 0;
        if (in.targetIsAmount) {
            double net = 0;
            while (multiple < kProfitPlanMultipleLimit && net < in.target) {
                multiple += step;
                step += 1;
                net = prize * multiple - (2 * multiple * bets + spent);
            }
        } else {
            double r = 0;
            while (multiple < kProfitPlanMultipleLimit && r < rate) {
                multiple += step;
                step += 1;
                const double outlay = 2 * multiple * bets + spent;
                r = (prize * multiple - outlay) / outlay;
            }
        }
        QStringList row{QString::number(p)};
        if (multiple >= kProfitPlanMultipleLimit) {
            for (int c = 0; c < 6; ++c)
                row << QStringLiteral("0");
        } else {
            const double outlay = 2 * multiple * bets;
            spent += outlay;
            const double income = prize * multiple;
            row << whole(multiple) << whole(outlay) << whole(spent) << whole(income) << whole(income - spent)
                << common::FormatDecimals((income - spent) / spent * 100.0, 2) + QLatin1Char('%');
        }
        rows << row;
    }
    return rows;
}

}  // namespace statistics
