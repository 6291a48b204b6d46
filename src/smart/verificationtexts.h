#pragma once
// Texts of the two verification windows: the remark of a drawn number, the cells of a scheme,
// the copied table and the summaries.
#include <QString>
#include <QStringList>

#include <array>

namespace smart {

// "豹子" for a triple, "本期开组三" when two digits are equal, else empty.
QString VerifyRemark(const QString& number);
// The remark of the older verification: "本期开组三" for any two equal digits, triples too.
QString OldVerifyRemark(const QString& number);
// The drawn number's digits ascending ("202" gives "022").
QString GroupNumberOf(const QString& number);

// A scheme's cell: "杀码" + code + "|正确" / "|××".
QString VerifyCell(const QString& code, bool hit);
// A draw survived a scheme when its group number is in the pool and there were kill digits.
bool VerifyHit(const QString& code, const QStringList& pool, const QString& groupNumber);

// One copied row: issue padded to 10, number padded to 5, the first three cells each followed by
// twice (10 - length) blanks, the fourth cell, CR LF.
QString VerifyCopyLine(const QString& issue, const QString& number, const std::array<QString, 4>& cells);
// "方案一中" n "次 " ... for the four schemes.
QString VerifySummary(const std::array<int, 4>& hits);
// The run's progress while it verifies: "已验证3/10期，正在验证第4期".
QString VerifyProgress(int done, int total);
// The older verification's summary over n draws by base type (0 组选六, else 组选三).
QString OldVerifySummary(int baseType, int draws, int groupThreeDraws, int hits);

}  // namespace smart
