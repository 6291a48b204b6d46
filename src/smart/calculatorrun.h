#pragma once
// One computation of a scheme calculator under way, apart from the settings it started from:
// its own copy of them as it moves them (a record's cycle count, periods, condition and place;
// the range, cycle length and digit of each count), the lines it counts over and what the
// counts, the series and the backtest leave behind.
#include "script/scriptengine.h"
#include "smart/calculatorcaches.h"
#include "smart/calculatorsettings.h"

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

namespace smart {

// A table of ranks: rows 0..1000 (verification periods), columns 0..9 ranks ("B" none),
// column 10 the drawn digits ("未开奖" in period 0).
inline constexpr int kRankRows = 1001;
using RankRow = std::array<QString, 11>;
using RankTable = std::vector<RankRow>;

struct CalculatorRun : CalculatorSettings {
    QStringList lines;       // the loaded draws, oldest first; a backtest takes the newest off
    DigitTally tally;        // the last count; its label names the next statistics row
    QString nextIssue;       // the issue after the newest loaded draw
    QString reportText;      // the current scheme's report block
    int verifyPeriod = 0;    // period being verified (0: the next issue)
    RankTable leftRanks = RankTable(kRankRows);
    RankTable rightRanks = RankTable(kRankRows);
    script::Variant series;  // the count series a(0..T) the condition sees
    int seriesPos = 0;       // next slot of the series to fill (newest first)
    // The anywhere mode's series as counts, before it is made into the script's array.
    std::vector<int> pendingValues;  // a(0..T) counted, -1 Empty
    bool seriesPending = false;      // series lags behind pendingValues
    std::array<int, 3> countedWindow{};  // digit, first, last of the latest window
    bool counted = false;                // the counters lag behind countedWindow
    bool inBacktest = false;
    bool nextIssueRanked = true;         // row 0 of the rank tables belongs to this backtest
    bool scriptErrorShown = false;       // a failing condition was told in this backtest
};

}  // namespace smart
