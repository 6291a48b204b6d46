#include "smart/verificationtexts.h"

#include "common/drawtext.h"

namespace smart {

QString GroupNumberOf(const QString& number) { return common::SortedDigits(number); }

QString VerifyRemark(const QString& number) {
    const QString s = GroupNumberOf(number);
    if (s.size() != 3) return {};
    if (s.at(0) == s.at(1) && s.at(1) == s.at(2)) return QStringLiteral("豹子");
    if (s.at(0) == s.at(1) || s.at(1) == s.at(2)) return QStringLiteral("本期开组三");
    return {};
}

QString OldVerifyRemark(const QString& number) {
    return VerifyRemark(number).isEmpty() ? QString() : QStringLiteral("本期开组三");
}

QString VerifyCell(const QString& code, bool hit) {
    return QStringLiteral("杀码") + code + (hit ? QStringLiteral("|正确") : QStringLiteral("|××"));
}

bool VerifyHit(const QString& code, const QStringList& pool, const QString& groupNumber) {
    return !code.isEmpty() && pool.contains(groupNumber);
}

QString VerifyCopyLine(const QString& issue, const QString& number, const std::array<QString, 4>& cells) {
    QString line = issue.leftJustified(10) + number.leftJustified(5);
    for (int k = 0; k < 3; ++k) line += cells[size_t(k)] + QString(qMax(0, 2 * (10 - int(cells[size_t(k)].size()))), QLatin1Char(' '));
    return line + cells[3] + QStringLiteral("\r\n");
}

QString VerifySummary(const std::array<int, 4>& hits) {
    static const char* const names[4] = {"方案一中", "方案二中", "方案三中", "方案四中"};
    QString text;
    for (int k = 0; k < 4; ++k)
        text += QString::fromUtf8(names[k]) + QString::number(hits[size_t(k)]) + QStringLiteral("次 ");
    return text;
}

QString VerifyProgress(int done, int total) {
    return QStringLiteral("已验证%1/%2期，正在验证第%3期").arg(done).arg(total).arg(done + 1);
}

QString OldVerifySummary(int baseType, int draws, int groupThreeDraws, int hits) {
    if (baseType == 0)
        return QStringLiteral("最近100期组六共开出") + QString::number(draws - groupThreeDraws) + QStringLiteral("次,智能中") +
               QString::number(hits) + QStringLiteral("次。");
    return QStringLiteral("最近100期组三共开出") + QString::number(groupThreeDraws) + QStringLiteral("次,智能中") +
           QString::number(hits) + QStringLiteral("次。");
}

}  // namespace smart
