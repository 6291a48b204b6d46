#pragma once
// The state there is one of per run: the current lottery with its draw history and file, the
// analysis range and the quitting flag. Settings are not kept here: they are read and written
// through common/settings. Windows follow a reloaded history through historyReloaded instead of
// flags that someone must remember to set.
#include "common/drawhistory.h"

#include <QObject>
#include <QString>
#include <QStringList>

namespace common {

class AppState : public QObject {
    Q_OBJECT
public:
    AppState() = default;

    DrawHistory history;              // the current lottery's draws
    bool lotteryIsP3 = false;         // false 福彩3D (HAO.TXT), true 排列三 (HAOP3.TXT)
    QString drawFilePath;             // the current lottery's draw file

    // The analysis range: every draw (setting kj), or rangeFirst..rangeLast (0-based: draw i is
    // history.at(i + 1)).
    int rangeFirst = 0;
    int rangeLast = -1;

    bool quitting = false;            // the main window is closing: nothing new starts

    // Replaces the history with what was read from the draw file and announces it.
    void setHistory(DrawHistory draws);
    // The default analysis range after a load: the last 101 draws, or all with fewer than 201.
    void resetAnalysisRange();
    // Positions (0-based) the analyses use: every draw when setting kj is on, else the range.
    int analysisFirst() const;
    int analysisLast() const;
    // Back to the state before the first load (tests start each case from it).
    void reset();

signals:
    // The history was read again (a load, a lottery switch, the draw entry): lists built from
    // the old one are stale.
    void historyReloaded();
    // The lottery was switched (history::SelectLottery, whichever window asked; the history is
    // read already). loadError: why the new lottery's draw file could not be read (empty when it
    // was). Windows follow it to refresh their own labels and lists.
    void lotteryChanged(bool lotteryIsP3, const QString& loadError);
};

// The one state of the run. Taken by the program's wiring (src/app), which hands it to the
// windows it makes; windows and routines are given it, never reach for it (tests take it as the
// state of their run).
AppState& App();

// File name of the draw file of a lottery ("HAO.TXT" / "HAOP3.TXT").
QString DrawFileName(bool lotteryIsP3);
// Path of that file in the program folder (matched without regard to case).
QString DrawFilePathFor(bool lotteryIsP3);

}  // namespace common
