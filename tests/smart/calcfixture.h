#pragma once
// Draw files for the scheme calculator tests: numbers oldest first, issues 2020001 upward.
#include "smart/calculator.h"
#include "testsupport.h"

#include <QByteArray>
#include <QStringList>

namespace calcfixture {

inline QByteArray DrawFileBytes(const QStringList& numbers, int firstSerial = 1) {
    QByteArray out;
    for (int i = 0; i < numbers.size(); ++i)
        out += QStringLiteral("2020%1 %2").arg(firstSerial + i, 3, 10, QLatin1Char('0')).arg(numbers[i]).toLatin1() + "1";
    return out;
}

// 25 x 999, then 555 444 333 222 122 111 (newest): digit gaps from the newest are easy to read.
inline QStringList GapHistory() {
    QStringList n;
    for (int i = 0; i < 25; ++i) n << QStringLiteral("999");
    n << QStringLiteral("555") << QStringLiteral("444") << QStringLiteral("333") << QStringLiteral("222")
      << QStringLiteral("122") << QStringLiteral("111");
    return n;
}

// A fixed pseudo-random history (not the product's generator; any spread of digits will do).
inline QStringList MixedHistory(int count) {
    QStringList n;
    unsigned x = 12345;
    for (int i = 0; i < count; ++i) {
        x = x * 1103515245u + 12345u;
        n << QStringLiteral("%1").arg((x >> 8) % 1000, 3, 10, QLatin1Char('0'));
    }
    return n;
}

// A 79-character scheme condition.
inline QString Condition(const QString& text) { return text.leftJustified(smart::kConditionLength, QLatin1Char(' ')); }

// A scheme record line as the server and the statistics write it.
inline QString Record(const QString& condition79, const QString& sideRank, int cycles, int periods,
                      const QString& errors = QStringLiteral("00"), QChar digit = QLatin1Char('5')) {
    return QStringLiteral("3D错误：") + errors + QStringLiteral("  NULL：00|公式：") + condition79 + QStringLiteral("|") +
           sideRank + QStringLiteral("|码") + digit + QStringLiteral("|第2020032期，验证") +
           QStringLiteral("%1").arg(periods, 3, 10, QLatin1Char('0')) + QStringLiteral("期，周期") +
           QStringLiteral("%1").arg(cycles, 3, 10, QLatin1Char('0')) + QStringLiteral(".txt");
}

}  // namespace calcfixture
