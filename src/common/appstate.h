#pragma once
// The state there is one of per run: the current lottery with its draw history and file, the
// analysis range and the quitting flag. The program's main owns the run's one and hands it to
// the windows it makes; windows and routines are given it, never reach for it (each test owns
// its own). Settings are not kept here: they are read and written through common/settings.
// Windows follow a reloaded history through historyReloaded, a lottery switch through
// lotteryChanged, a new range through rangeChanged and the end of the run through
// quittingChanged instead of flags that someone must remember to set. Every field changes only
// through the state's own setters, which assign and then announce.
#include "common/drawhistory.h"

#include <QObject>
#include <QString>
#include <QStringList>

namespace common {

class AppState : public QObject {
    Q_OBJECT
public:
    AppState() = default;

    // The current lottery's draws.
    const DrawHistory& history() const { return history_; }
    // false 福彩3D (HAO.TXT), true 排列三 (HAOP3.TXT)
    bool lotteryIsP3() const { return lotteryIsP3_; }
    // The current lottery's draw file.
    const QString& drawFilePath() const { return drawFilePath_; }
    // The analysis range: every draw (setting kj), or rangeFirst..rangeLast (0-based: draw i is
    // history().at(i + 1)).
    int rangeFirst() const { return rangeFirst_; }
    int rangeLast() const { return rangeLast_; }

    // The main window is closing: nothing new starts.
    bool quitting() const { return quitting_; }

    // Makes a lottery the run's: the lottery, its draw file, the draws read from it (loadError:
    // why it could not be read, empty when it was) and the default analysis range go in
    // together, and only then are the listeners told: historyReloaded, then lotteryChanged
    // once. The one way to set the lottery and its file, so the three never disagree.
    void selectLottery(bool lotteryIsP3, const QString& drawFilePath, DrawHistory draws,
                       const QString& loadError = QString());
    // Replaces the history with what was read again from the draw file and announces it.
    void setHistory(DrawHistory draws);
    // The run ends (true) or, in a test, goes on again; announced through quittingChanged when
    // it changes.
    void setQuitting(bool quitting);
    // A range chosen by the player (0-based positions), announced through rangeChanged.
    void setRange(int first, int last);
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
    // The lottery was switched (selectLottery, whichever window asked; the history is read and
    // the range reset already). loadError: why the new lottery's draw file could not be read
    // (empty when it was). Windows follow it to refresh their own labels and lists.
    void lotteryChanged(bool lotteryIsP3, const QString& loadError);
    // The analysis range changed (setRange, resetAnalysisRange): lists of the range are stale.
    void rangeChanged();
    // setQuitting changed the flag: windows stop starting work when it is true.
    void quittingChanged(bool quitting);

private:
    void setDefaultRange();

    DrawHistory history_;
    bool quitting_ = false;
    bool lotteryIsP3_ = false;
    QString drawFilePath_;
    int rangeFirst_ = 0;
    int rangeLast_ = -1;
};

// File name of the draw file of a lottery ("HAO.TXT" / "HAOP3.TXT").
QString DrawFileName(bool lotteryIsP3);
// Path of that file in the program folder (matched without regard to case).
QString DrawFilePathFor(bool lotteryIsP3);

}  // namespace common
