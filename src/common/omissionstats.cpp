#include "common/omissionstats.h"

namespace common {

QString FormatDecimals(double value, int decimals) {
    QString text = QString::number(value, 'f', decimals);
    // A tiny negative value would otherwise round to "-0.00".
    if (text.startsWith(QLatin1Char('-')) && text.count(QLatin1Char('0')) == text.size() - 2)
        text.remove(0, 1);
    return text;
}

double OmissionStats::hitRate(int n) const { return n > 0 ? double(hitCount) / n : 0.0; }

double OmissionStats::averageGap(int n) const {
    return hitCount > 0 ? double(n - currentGap) / hitCount : 0.0;
}

double OmissionStats::dueRatio(int n) const {
    const double average = averageGap(n);
    return average > 0.0 ? currentGap / average : 0.0;
}

QString OmissionStats::hitRateText(int n) const {
    return FormatDecimals(hitRate(n) * 100.0, 2) + QLatin1Char('%');
}

QString OmissionStats::averageGapText(int n, int decimals) const {
    return FormatDecimals(averageGap(n), decimals);
}

QString OmissionStats::dueRatioText(int n) const { return FormatDecimals(dueRatio(n), 2); }

}  // namespace common
