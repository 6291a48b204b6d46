#pragma once
// The draws a smart computation works on, taken once as it starts: the run's history as the
// program read it, with its lottery (a value: a reload meanwhile changes nothing), and what its
// draw file held then, so that the end of the computation can tell whether the file changed on
// disk under it (a download, another program). The computation itself never reads the file.
#include "common/drawhistory.h"

#include <QByteArray>
#include <QString>

namespace common {
class AppState;
}

namespace smart {

class DrawSnapshot {
public:
    // The state's current lottery and history as they stand now.
    explicit DrawSnapshot(const common::AppState& state);

    const common::DrawHistory& history() const { return history_; }
    bool lotteryIsP3() const { return p3_; }
    // True when the draw file no longer holds what it held as the snapshot was taken (rewritten,
    // grown, gone); a file written again with the same draws has not changed.
    bool fileChanged() const;
    // What the window says, once, after a computation whose draw file changed under it.
    QString fileChangedMessage() const;

private:
    common::DrawHistory history_;
    bool p3_ = false;
    QString filePath_;
    QByteArray fileDigest_;
};

}  // namespace smart
