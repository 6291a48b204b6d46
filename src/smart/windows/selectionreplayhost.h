#pragma once
// What the older selection's verification replays from: the settings chosen in the older smart
// selection window and the number pool it makes its sets in. That window implements this and
// opens the verification window; the verification window knows only this interface, so the
// two windows depend one way.
#include "pool/numberpool.h"
#include "smart/olderselection.h"
#include "smart/windows/smartcontext.h"

class QObject;

namespace smart {

class SelectionReplayHost {
public:
    virtual ~SelectionReplayHost() = default;
    // The object that ends when the host ends (the window itself), to notice that it is gone.
    virtual QObject* hostObject() = 0;
    // The settings chosen in the window (base type 0 组选六, 1 组选三; sums; scheme).
    virtual OlderSelectionSettings selectionSettings() const = 0;
    // The number pool the sets are made in (the workbench's, or the window's own without one).
    virtual pool::NumberPool& numberPool() = 0;
    // The run's state (the draws the selection is made from) and the workbench.
    virtual const SmartContext& context() const = 0;
};

}  // namespace smart
