#pragma once
// The real draws of the engine's fixture with a workbench holding a committed set and the smart
// windows' calculator: the smart system as a player meets it.
#include "../realhistory.h"
#include "fakeworkbench.h"
#include "smart/windows/calculatorhost.h"

namespace smartwin {

struct RealHistoryFixture : RealDrawsFixture {
    RealHistoryFixture() { bench.commit({QStringLiteral("012")}, QStringLiteral("\n大底共1注\n")); }
    FakeWorkbench bench{app};
    smart::SmartCalculator calc;  // the smart windows', handed in through their context
};

}  // namespace smartwin
