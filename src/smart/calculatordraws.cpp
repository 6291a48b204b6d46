#include "smart/calculatordraws.h"

#include "common/appstate.h"
#include "history/drawfile.h"
#include "smart/calculator.h"

namespace smart {

bool ReadCalculatorDraws(bool p3, CalculatorDraws* draws, QString* error) {
    QByteArray bytes;
    if (!history::ReadDrawFileBytes(common::DrawFilePathFor(p3), &bytes, error)) return false;
    draws->lotteryIsP3 = p3;
    draws->lines = history::AllDrawTexts(bytes);
    return true;
}

bool HandInDrawFile(SchemeCalculator& calc, bool p3) {
    CalculatorDraws draws;
    QString why;
    if (!ReadCalculatorDraws(p3, &draws, &why)) {
        calc.addError(why);  // "无法读取 <file>：<reason>"
        return false;
    }
    return calc.setDraws(draws);
}

}  // namespace smart
