#pragma once
// What the history verification replays through: the smart-system window's scheme list, its
// backtest of the scheme records and its computation of one scheme. The smart-system window
// implements this and opens the verification window; the verification window knows only this
// interface, so the two windows depend one way.
#include "pool/numberpool.h"

#include <QString>

class QObject;

namespace smart {

class SchemeReplayHost {
public:
    virtual ~SchemeReplayHost() = default;
    // The object that ends when the host ends (the window itself), to notice that it is gone.
    virtual QObject* hostObject() = 0;
    // The address of the scheme list for the current lottery and test mark ("" without a server).
    virtual QString schemeListUrl() const = 0;
    // Backtests the loaded scheme records on the draws up to base; false when it could not.
    virtual bool backtestSchemes(int base) = 0;
    // Scheme 0..3 for the draw after base; returns its kill digits (see the window).
    virtual QString computeScheme(int base, int scheme, bool replay) = 0;
    // The number pool as the last computation left it.
    virtual const pool::NumberPool& numberPool() = 0;
};

}  // namespace smart
