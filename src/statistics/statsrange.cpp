#include "statistics/statsrange.h"

#include "common/settings.h"

#include <algorithm>

namespace statistics {

namespace {

StatsRange ClippedRange(const common::DrawHistory& history, int first, int last) {
    StatsRange r;
    r.first = std::max(1, first);
    r.last = std::min(history.count(), last);
    return r;
}

}  // namespace

StatsRange AnalysisRange(const common::AppState& app) {
    if (common::SettingUseAllDraws())
        return ClippedRange(app.history(), 1, app.history().count());
    return FuzzyRange(app);
}

StatsRange FuzzyRange(const common::AppState& app) {
    return ClippedRange(app.history(), app.rangeFirst() + 1, app.rangeLast() + 1);
}

QString RangeCaption(const common::DrawHistory& history, const StatsRange& range) {
    if (range.isEmpty())
        return QString();
    return QStringLiteral("统计") + history.issue(range.first) + QStringLiteral("到") + history.issue(range.last) +
           QStringLiteral("期");
}

DrawDigits DigitsOfDraw(const common::DrawHistory& history, int index) {
    const QString number = history.number(index);
    DrawDigits d{10, 10, 10};
    for (int k = 0; k < 3 && k < number.size(); ++k) {
        const char16_t c = number.at(k).unicode();
        if (c >= u'0' && c <= u'9')
            d[size_t(k)] = std::uint8_t(c - u'0');
    }
    return d;
}

std::vector<DrawDigits> RangeDigits(const common::DrawHistory& history, const StatsRange& range) {
    std::vector<DrawDigits> digits;
    digits.reserve(size_t(range.count()));
    for (int i = range.first; i <= range.last; ++i)
        digits.push_back(DigitsOfDraw(history, i));
    return digits;
}

}  // namespace statistics
