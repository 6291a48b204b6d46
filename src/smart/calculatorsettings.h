#pragma once
// A scheme calculator's settings as one value, grouped by what they set; the calculator window
// shows each in the control named in brackets.
#include <QString>

namespace smart {

// The modes (项目, Combo3 of the calculator window): a digit anywhere in the draw, or at one place.
inline const QString kModeAnywhere = QStringLiteral("胆码");
inline const QString kModeHundreds = QStringLiteral("百位");
inline const QString kModeTens = QStringLiteral("十位");
inline const QString kModeUnits = QStringLiteral("个位");
// Place 1..3 of a mode, 0 for the anywhere mode (and anything else).
inline int PositionOfMode(const QString& mode) {
    if (mode == kModeHundreds) return 1;
    if (mode == kModeTens) return 2;
    if (mode == kModeUnits) return 3;
    return 0;
}

struct CalculatorSettings {
    // The range of the draws counted (the draws themselves, and their lottery, are handed in).
    struct DrawRange {
        int newestLeftOut = 0;     // newest draws left out (Text11, 近期验证)
        int first = -1;            // first draw of the range (Combo1)
        int last = -1;             // last draw of the range (Combo2)
    } range;
    // The windows the counts are made over.
    struct CycleSettings {
        int length = 10;        // 周期: cycle length (Text1)
        int seriesLength = 5;   // 折线图期数: T, counts in the series (Text4)
        int lengthsTried = 1;   // 循环周期数: cycle lengths tried, 1.. this (Text5)
    } cycle;
    // How a condition is verified, and the bounds of the batch verification.
    struct VerificationSettings {
        int periods = 0;        // 验证期数 (Text2)
        QString positionText;   // 号码位置: side and rank of the current record (Text10)
        QString hundredsText;   // verification text of the "百位" mode (Text3)
        // Batch verification bounds: cycle lengths from cycle.lengthsTried, verification
        // periods from periods, to these by these steps.
        struct BatchBounds {
            int lastCycleLength = 100;  // last cycle count (Text9)
            int cycleStep = 1;          // cycle step (Text8)
            int lastVerifyPeriods = 0;  // last verification periods (Text6)
            int verifyStep = 1;         // verification step (Text7)
        } batch;
    } verification;
    // What is counted and the condition asked of it.
    struct CountMode {
        QString name = kModeAnywhere;  // 项目 (Combo3)
        int digit = 0;                 // 类别: the digit examined (Combo4)
        QString condition;             // the scheme condition (Combo5)
        int conditionIndex = 0;        // selected built-in condition, the first scheme of a batch (Combo5's index)
    } mode;
};

}  // namespace smart
