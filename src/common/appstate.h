#pragma once
// Process-wide state shared by the windows and routines: the current lottery, its history,
// the analysis range and the mode flags. Lives for the whole run.
#include "common/drawhistory.h"

#include <QString>
#include <QStringList>

namespace common {

struct AppState {
    DrawHistory history;              // DrawHistory of the current lottery
    bool lotteryIsP3 = false;         // LotteryType: false 福彩3D (HAO.TXT), true 排列三 (HAOP3.TXT)
    QString drawFilePath;             // DrawFilePath

    bool useAllDraws = true;          // UseAllDraws (setting kj)
    int rangeFirst = 0;               // RangeFirst, 0-based position: draw i is history.at(i + 1)
    int rangeLast = -1;               // RangeLast
    int smartScheme = 1;              // SmartScheme (setting zl)
    QString toleranceRange = QStringLiteral("1");  // setting rc

    bool busyFlag = false;            // BusyFlag
    bool drawListDirty = true;        // DrawListDirty
    bool trayToggleEnabled = true;    // TrayToggleEnabled
    bool boardOpen = false;           // BoardOpen
    bool straightMode = false;        // StraightMode of the recent-numbers filter

    // The default analysis range after a load: the last 101 draws, or all with fewer than 201.
    void resetAnalysisRange();
    // Positions (0-based) the analyses use: every draw when useAllDraws, else the range.
    int analysisFirst() const;
    int analysisLast() const;
};

AppState& App();

// File name of the draw file of a lottery ("HAO.TXT" / "HAOP3.TXT").
QString DrawFileName(bool lotteryIsP3);
// Path of that file in the program folder (matched without regard to case).
QString DrawFilePathFor(bool lotteryIsP3);

}  // namespace common
