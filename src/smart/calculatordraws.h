#pragma once
// The draws a scheme calculator works on, as one value: the lottery and its draw lines, oldest
// first, each "IIIIIII DDD". The calculator's owner hands them in: a computation's history, or
// the lottery's draw file read by ReadCalculatorDraws (HandInDrawFile, calculator.h, reads and
// hands in at once).
#include <QString>
#include <QStringList>

namespace smart {

struct CalculatorDraws {
    bool lotteryIsP3 = false;  // 福彩3D or 排列三
    QStringList lines;
};

// The draws of a lottery's draw file (named by common::DrawFilePathFor) as a calculator counts
// them: every whole record in file order, its text, whatever its flag; a missing file holds no
// draws. False with the reason when the file cannot be read.
bool ReadCalculatorDraws(bool p3, CalculatorDraws* draws, QString* error);

}  // namespace smart
