#include "smart/calculatordraws.h"

#include "common/appstate.h"
#include "history/drawfile.h"

namespace smart {

bool ReadCalculatorDraws(bool p3, CalculatorDraws* draws, QString* error) {
    QByteArray bytes;
    if (!history::ReadDrawFileBytes(common::DrawFilePathFor(p3), &bytes, error)) return false;
    draws->lotteryIsP3 = p3;
    draws->lines = history::AllDrawTexts(bytes);
    return true;
}

}  // namespace smart
