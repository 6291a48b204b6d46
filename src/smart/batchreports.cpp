// Batch verification over ranges of cycle lengths and periods, and the report files.
#include "smart/calculator.h"

#include "smart/calculatortext.h"
#include "common/atomicfile.h"
#include "common/paths.h"

#include <QElapsedTimer>
#include <QTime>

namespace smart {

using namespace calctext;

QString SchemeCalculator::batchReportFileName(int periods, int cycleCount) const {
    return QStringLiteral("第") + run_.nextIssue + QStringLiteral("期，验证") + Zero3(periods) +
           QStringLiteral("期，周期") + Zero3(cycleCount) + QStringLiteral(".txt");
}

QString SchemeCalculator::reportLineFileName(const QString& hhmmss) const {
    return QStringLiteral("第") + run_.nextIssue + QStringLiteral("期 ") + hhmmss + QStringLiteral(".txt");
}

QString SchemeCalculator::reportFileOfLine(const QString& line) {
    if (line.size() < 26) return QString();
    return common::ProgramFile(line.right(26));
}

QString SchemeCalculator::schemeTagOfLine(const QString& line) { return line.right(37).left(4); }

void SchemeCalculator::batchVerification() {
    const Operation op(*this, Operation::Run);
    lastError_.clear();
    if (host_->confirm &&
        !host_->confirm(QStringLiteral("此步骤将开始算号并进行大量数据的验证，可能会花几个小时的时间，是否继续?")))
        return;
    const QChar side = run_.verification.positionText.isEmpty() ? QChar() : run_.verification.positionText.at(0);
    const QChar rank = run_.verification.positionText.isEmpty() ? QChar() : run_.verification.positionText.at(run_.verification.positionText.size() - 1);
    if (run_.verification.positionText.size() != 2 || (side != QChar(u'左') && side != QChar(u'右')) || !rank.isDigit()) {
        addError(QStringLiteral("号码位置没有设置（左或右加名次，如“左3”），无法批量验证。"));
        return;
    }
    const int firstV = run_.verification.periods;
    const int firstC = run_.cycle.lengthsTried;
    runState_ = RunState::Running;
    const int startItem = run_.mode.conditionIndex;
    reportLines_.clear();
    const QStringList& items = BuiltInConditions();
    const int lastC = run_.verification.batch.lastCycleLength, stepC = run_.verification.batch.cycleStep;
    for (int c = firstC; stepC >= 0 ? c <= lastC : c >= lastC; c += stepC) {
        pump();
        if (stopped()) return;
        run_.cycle.lengthsTried = c;
        const int lastV = run_.verification.batch.lastVerifyPeriods, stepV = run_.verification.batch.verifyStep;
        for (int v = firstV; stepV >= 0 ? v <= lastV : v >= lastV; v += stepV) {
            if (stopped()) return;
            run_.verification.periods = v;
            if (!cutLines()) return;
            const QString path = common::ProgramFile(batchReportFileName(v, c));
            summary_.clear();
            QString fileText;
            QString why;
            if (!common::WriteAnsiFile(path, fileText, &why)) {
                addError(QStringLiteral("无法写入报告文件%1：%2").arg(path, why));
                return;
            }
            // The file grows scheme by scheme. Rewriting it after every scheme made the writes
            // cost more than the schemes, so it is written at most once a second, and always
            // before the step ends or stops, with the same text.
            QElapsedTimer sinceWrite;
            sinceWrite.start();
            bool unwritten = false;
            auto write = [&] {
                unwritten = false;
                sinceWrite.restart();
                if (common::WriteAnsiFile(path, fileText, &why)) return true;
                addError(QStringLiteral("无法写入报告文件%1：%2").arg(path, why));
                return false;
            };
            for (int item = startItem; item < items.size(); ++item) {
                if (stopped()) return;
                run_.mode.conditionIndex = item;
                run_.mode.condition = items.at(item);
                if (run_.mode.condition.trimmed().isEmpty()) continue;
                if (!cutLines()) {
                    if (unwritten) write();
                    return;
                }
                const QString rule(83, QLatin1Char('='));
                run_.reportText = rule + kCrLf + QStringLiteral("条件：") + run_.mode.condition + kCrLf + rule + kCrLf;
                backtestCondition();
                fileText += run_.reportText + kCrLf;
                unwritten = true;
                if ((stopped() || item == items.size() - 1 || sinceWrite.elapsed() >= 1000) && !write()) return;
            }
            if (unwritten && !write()) return;
            if (stepV == 0 && stopped()) return;
        }
    }
    writeReportLines(false);
}

bool SchemeCalculator::writeReportLines(bool emptyList) {
    if (cutLines()) {
        run_.range.first = 0;
        run_.range.last = int(run_.lines.size()) - 1;
    }
    const QString path = common::ProgramFile(reportLineFileName(QTime::currentTime().toString(QStringLiteral("HH-mm-ss"))));
    QString text;
    for (const QString& line : reportLines_) text += line + kCrLf;
    QString why;
    if (!common::WriteAnsiFile(path, text, &why)) {
        addError(QStringLiteral("无法保存%1：%2").arg(path, why));
        return false;
    }
    if (emptyList) reportLines_.clear();
    if (host_->message) host_->message(QStringLiteral("保存成功！"));
    return true;
}

bool SchemeCalculator::saveReportLines() {
    const Operation op(*this);
    lastError_.clear();
    return writeReportLines(false);
}

bool SchemeCalculator::saveAndClearReportLines() {
    const Operation op(*this);
    lastError_.clear();
    return writeReportLines(true);
}

int SchemeCalculator::importReportLines(const QString& path) {
    const Operation op(*this);
    bool ok = false;
    const QStringList incoming = ReadImportLines(path, &ok);
    if (!ok) return -1;
    reportLines_ << incoming;
    return int(incoming.size());
}

}  // namespace smart
