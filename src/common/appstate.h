#pragma once
// Process-wide state shared by the windows and routines: the current lottery, its history,
// the analysis range and the mode flags. Lives for the whole run.
#include "common/drawhistory.h"

#include <QString>
#include <QStringList>

namespace common {

struct AppState {
    DrawHistory history;              // the current lottery's draws
    bool lotteryIsP3 = false;         // false 福彩3D (HAO.TXT), true 排列三 (HAOP3.TXT)
    QString drawFilePath;             // the current lottery's draw file

    // The analysis range: every draw, or rangeFirst..rangeLast (0-based: draw i is
    // history.at(i + 1)). useAllDraws is setting kj.
    bool useAllDraws = true;
    int rangeFirst = 0;
    int rangeLast = -1;
    int smartScheme = 1;              // the smart system's scheme (setting zl)
    QString toleranceRange = QStringLiteral("1");  // setting rc

    bool busyFlag = false;            // the program is quitting: nothing new starts
    bool drawListDirty = true;        // the main window's history list must be rebuilt
    bool trayToggleEnabled = true;    // the tray icon may show and hide the main window

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
