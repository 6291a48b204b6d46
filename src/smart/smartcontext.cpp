#include "smart/smartcontext.h"

#include "smart/calculatorhost.h"

namespace smart {

SchemeCalculator& SmartContext::calc() const { return calculator->get(); }

}  // namespace smart
