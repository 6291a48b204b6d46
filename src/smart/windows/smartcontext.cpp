#include "smart/windows/smartcontext.h"

#include "smart/windows/calculatorhost.h"

namespace smart {

SchemeCalculator& SmartContext::calc() const { return calculator->get(); }

}  // namespace smart
