#pragma once
// The profit plan: per period the smallest multiple (never lower than the period before) at
// which a win would return everything spent so far plus a target amount or rate.
#include <QList>
#include <QString>
#include <QStringList>

namespace statistics {

struct ProfitPlanInputs {
    int periods = 20;        // 期数
    int bets = 20;           // 注数 per period
    int startMultiple = 1;   // 倍数 of the first period's first try
    int prize = 1000;        // 单倍奖金 of one winning bet
    double target = 1000;    // 收益: an amount, or a rate in percent
    bool targetIsAmount = true;  // 以奖金计算
};

// Multiples at or above this give a row of zeros.
inline constexpr double kProfitPlanMultipleLimit = 100000;

// The target text as the plan reads it: trimmed; false when it is not a finite number or is 0.
bool ParseProfitTarget(const QString& text, double* target);

// One row per period: 期数, 投入倍数, 本期投入奖金, 累积投入奖金, 本期收入金额, 净收入, 收入率.
QList<QStringList> ProfitPlanRows(const ProfitPlanInputs& in);

}  // namespace statistics
