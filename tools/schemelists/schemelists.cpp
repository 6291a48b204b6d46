// schemelists: the scheme lists of the home folder, made from the calculator's own batch
// verification on a draw history.
//
//   schemelists batch  <3d|p3> <draw file> <side and rank> <first cycle> <last cycle> <cycle step> <periods>
//       Runs the batch verification (every built-in scheme condition, every cycle count of the
//       range, the given verification periods) for one side and rank ("左3", "右9") and prints
//       the report lines it collected, one per line (UTF-8).
//   schemelists select <list.xml> <test list.xml> <report line files...>
//       Picks the best report line of every side and rank (rule below) and writes the scheme
//       list; the runner-up of every side and rank goes into the test list.
//
// Selection rule, per side and rank (左0..左9, 右0..右9, each its own list position):
//   1. only lines whose rank named a digit in at least 90% of the verified periods take part
//      (a rank that mostly names nothing has few errors only because it rarely speaks);
//   2. fewest errors ("错误" count);
//   3. then fewer NULL;
//   4. then the built-in order of the scheme condition (方案01 first), then the smaller cycle count.
// Lines appear in the list left 0..9, then right 0..9; a side and rank without a qualifying line
// has none. Every line of a batch has the same verification periods, so the counts compare.
#include "common/atomicfile.h"
#include "smart/calculator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <map>
#include <tuple>
#include <vector>

namespace {

int Fail(const QString& text) {
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    return 1;
}

int Usage() {
    return Fail(QStringLiteral(
        "用法：schemelists batch <3d|p3> <开奖数据文件> <左0..右9> <起始周期> <结束周期> <周期间隔> <验证期数>\n"
        "      schemelists select <方案列表.xml> <测试方案列表.xml> <报告行文件...>"));
}

int Batch(const QStringList& args) {
    if (args.size() != 7) return Usage();
    const bool p3 = args[0] == QLatin1String("p3");
    if (!p3 && args[0] != QLatin1String("3d")) return Usage();
    bool ok[4] = {};
    const int firstC = args[3].toInt(&ok[0]), lastC = args[4].toInt(&ok[1]), stepC = args[5].toInt(&ok[2]),
              periods = args[6].toInt(&ok[3]);
    if (!ok[0] || !ok[1] || !ok[2] || !ok[3] || stepC < 1 || firstC < 1 || periods < 1 || periods > 999)
        return Usage();
    // The draws are read from the program folder, where the calculator writes its report files: a
    // throw-away folder keeps both away from the real one.
    QTemporaryDir dir;
    const QString drawName = p3 ? QStringLiteral("HAOP3.TXT") : QStringLiteral("HAO.TXT");
    if (!dir.isValid() || !QFile::copy(args[1], dir.filePath(drawName)))
        return Fail(QStringLiteral("无法读取开奖数据文件：%1").arg(args[1]));
    qputenv("SIFMORA_DIR", dir.path().toLocal8Bit());

    smart::SchemeCalculator calc;
    if (!smart::HandInDrawFile(calc, p3)) return Fail(calc.lastError());
    calc.settings().verification.positionText = args[2];
    calc.settings().cycle.lengthsTried = firstC;
    calc.settings().verification.batch.lastCycleLength = lastC;
    calc.settings().verification.batch.cycleStep = stepC;
    calc.settings().verification.periods = periods;
    calc.settings().verification.batch.lastVerifyPeriods = periods;
    calc.settings().verification.batch.verifyStep = 1;
    calc.settings().mode.conditionIndex = 0;
    calc.batchVerification();
    if (!calc.lastError().isEmpty()) return Fail(calc.lastError());
    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    for (const QString& line : calc.reportLines()) out << line << '\n';
    return 0;
}

struct Candidate {
    QString line;
    int errors = 0, nulls = 0, scheme = 0, cycle = 0, periods = 0;
};

// The counts at the front of a report line ("3D错误：07  NULL：03|公式：...").
bool ReadCandidate(const QString& line, Candidate* c) {
    const int errorsAt = line.indexOf(QStringLiteral("错误："));
    const int nullAt = line.indexOf(QStringLiteral("  NULL："));
    const int formulaAt = line.indexOf(QStringLiteral("|公式："));
    if (errorsAt < 0 || nullAt < 0 || formulaAt < 0 || line.size() < smart::kMinRecordLength) return false;
    bool ok1 = false, ok2 = false;
    c->line = line;
    c->errors = line.mid(errorsAt + 3, nullAt - errorsAt - 3).toInt(&ok1);
    c->nulls = line.mid(nullAt + 7, formulaAt - nullAt - 7).toInt(&ok2);
    smart::SchemeRecord record;
    if (!ok1 || !ok2 || !smart::ParseSchemeRecord(line, &record)) return false;
    c->scheme = int(smart::BuiltInConditions().indexOf(record.condition));
    c->cycle = record.cycleCount;
    c->periods = record.verifyPeriods;
    return c->scheme >= 0;
}

QByteArray ListXml(const QStringList& records) {
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<fangan>\n";
    for (QString r : records) {
        // "<" and ">" of the conditions travel as "[" and "]".
        r.replace(QLatin1Char('<'), QLatin1Char('[')).replace(QLatin1Char('>'), QLatin1Char(']'));
        r.replace(QLatin1Char('&'), QStringLiteral("&amp;")).replace(QLatin1Char('"'), QStringLiteral("&quot;"));
        xml += "  <gs v=\"" + r.toUtf8() + "\"/>\n";
    }
    return xml + "</fangan>\n";
}

int Select(const QStringList& args) {
    if (args.size() < 3) return Usage();
    std::map<QString, std::vector<Candidate>> bySideRank;
    for (int i = 2; i < args.size(); ++i) {
        QFile file(args[i]);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            return Fail(QStringLiteral("无法读取报告行文件：%1").arg(args[i]));
        const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (const QString& line : lines) {
            Candidate c;
            if (!ReadCandidate(line.trimmed(), &c)) return Fail(QStringLiteral("不是报告行：%1").arg(line));
            if (c.periods > 0 && c.nulls * 10 > c.periods) continue;  // rule 1
            smart::SchemeRecord record;
            smart::ParseSchemeRecord(c.line, &record);
            bySideRank[record.sideRank].push_back(c);
        }
    }
    QStringList best, runnersUp;
    for (const QChar side : {QChar(u'左'), QChar(u'右')}) {
        for (int rank = 0; rank <= 9; ++rank) {
            auto it = bySideRank.find(QString(side) + QString::number(rank));
            if (it == bySideRank.end()) continue;
            std::vector<Candidate>& list = it->second;
            std::stable_sort(list.begin(), list.end(), [](const Candidate& a, const Candidate& b) {
                return std::tie(a.errors, a.nulls, a.scheme, a.cycle) < std::tie(b.errors, b.nulls, b.scheme, b.cycle);
            });
            best << list[0].line;
            if (list.size() > 1) runnersUp << list[1].line;
        }
    }
    if (best.isEmpty()) return Fail(QStringLiteral("没有可用的报告行。"));
    QString why;
    if (!common::WriteFileAtomically(args[0], ListXml(best), &why) ||
        !common::WriteFileAtomically(args[1], ListXml(runnersUp), &why))
        return Fail(why);
    QTextStream(stdout) << QStringLiteral("方案%1条，测试方案%2条\n").arg(best.size()).arg(runnersUp.size());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) return Usage();
    const QString command = args.takeFirst();
    if (command == QLatin1String("batch")) return Batch(args);
    if (command == QLatin1String("select")) return Select(args);
    return Usage();
}
