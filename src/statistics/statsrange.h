#pragma once
// The draws a statistics table works over, as DrawHistory indexes, and what every table takes
// from them: the range caption and the digits of each draw.
#include "common/appstate.h"
#include "common/drawhistory.h"

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace statistics {

struct StatsRange {
    int first = 1;  // DrawHistory index of the oldest draw used
    int last = 0;   // index of the newest; last < first means no draw

    int count() const { return last >= first ? last - first + 1 : 0; }
    bool isEmpty() const { return count() == 0; }
};

// The range of the formula, compound and occurrence statistics: every draw with setting kj,
// otherwise rangeFirst + 1 .. rangeLast + 1. Clipped to the draws that exist, so a stale or
// reversed range gives fewer draws or none instead of reading past the history.
StatsRange AnalysisRange(const common::AppState& app);
// The range of the per-draw fuzzy table: always rangeFirst + 1 .. rangeLast + 1 (clipped).
StatsRange FuzzyRange(const common::AppState& app);

// "统计" first issue "到" last issue "期"; empty for a range without draws.
QString RangeCaption(const common::DrawHistory& history, const StatsRange& range);

// The digits 百 十 个 of a draw; a character that is not a digit reads as 10, which no digit
// set holds and no formula value takes.
using DrawDigits = std::array<std::uint8_t, 3>;
DrawDigits DigitsOfDraw(const common::DrawHistory& history, int index);
std::vector<DrawDigits> RangeDigits(const common::DrawHistory& history, const StatsRange& range);

}  // namespace statistics
