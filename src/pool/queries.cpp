#include "pool/queries.h"

#include "common/drawtext.h"
#include "pool/numberpool.h"

namespace pool {

namespace {

QString HitLine(const common::DrawHistory& history, int k) {
    QString line = QStringLiteral("第") + history.issue(k) + QStringLiteral("期,下期号码");
    if (k < history.count()) line += QStringLiteral("开") + history.number(k + 1);
    else line += QStringLiteral("还未开出");
    return line + kNewLine;
}

QString CountLine(int count) { return QStringLiteral("共出") + QString::number(count) + QStringLiteral("次") + kNewLine; }

}  // namespace

int QuerySingleHistory(QString& log, const common::DrawHistory& history, const QString& number) {
    log += kNewLine + QStringLiteral("要查询[单选]的号码：") + number + kNewLine;
    int count = 0;
    for (int k = 1; k <= history.count(); ++k) {
        if (history.number(k) == number) {
            log += HitLine(history, k);
            ++count;
        }
    }
    log += CountLine(count);
    return count;
}

int QueryNumberHistory(QString& log, const common::DrawHistory& history, const QString& number) {
    QuerySingleHistory(log, history, number);
    log += kNewLine + QStringLiteral("要查询[组选]的号码：") + number + kNewLine;
    const QString sorted = common::SortedDigits(number);
    int count = 0;
    for (int k = 1; k <= history.count(); ++k) {
        if (common::SortedDigits(history.number(k)) == sorted) {
            log += HitLine(history, k);
            ++count;
        }
    }
    log += CountLine(count);
    return count;
}

int QueryIssueSerial(QString& log, const common::DrawHistory& history, const QString& serial) {
    log += kNewLine + QStringLiteral("要查询的期号：") + serial + kNewLine;
    int count = 0;
    for (int k = 1; k <= history.count(); ++k) {
        if (history.at(k).mid(4, 3) == serial) {
            log += history.at(k) + kNewLine;
            ++count;
        }
    }
    return count;
}

}  // namespace pool
