#pragma once
// What the older selection's verification replays through: the older smart selection window
// makes its set for a base and tells its base type. That window implements this and opens the
// verification window; the verification window knows only this interface, so the two windows
// depend one way.
#include "pool/numberpool.h"

class QObject;

namespace smart {

class SelectionReplayHost {
public:
    virtual ~SelectionReplayHost() = default;
    // The object that ends when the host ends (the window itself), to notice that it is gone.
    virtual QObject* hostObject() = 0;
    // The set for the draw after base into the number pool (uncommitted).
    virtual void makeSelection(int base) = 0;
    // The number pool as makeSelection leaves it.
    virtual const pool::NumberPool& numberPool() = 0;
    // The base type chosen in the window: 0 组选六, 1 组选三.
    virtual int baseType() const = 0;
};

}  // namespace smart
