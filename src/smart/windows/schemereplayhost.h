#pragma once
// What the history verification replays from: the smart-system window's model (its settings,
// the kill digits and the pool the computations cut) and the address of its scheme list. The
// smart-system window implements this and opens the verification window; the verification
// window knows only this interface, so the two windows depend one way.
#include <QString>

class QObject;

namespace smart {

class SmartModel;
struct SmartContext;

class SchemeReplayHost {
public:
    virtual ~SchemeReplayHost() = default;
    // The host as an object (the window itself), to notice that it is gone; the verification
    // window keeps only this and finds the host in it again.
    virtual QObject* hostObject() = 0;
    // The address of the scheme list for the current lottery and test mark ("" without a server).
    virtual QString schemeListUrl() const = 0;
    // The smart system's state the verification reads and leaves its last computation in.
    virtual SmartModel& model() = 0;
    // The run's state and the workbench the host works on.
    virtual const SmartContext& context() const = 0;
};

}  // namespace smart
