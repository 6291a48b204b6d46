// Scheme records, scheme list documents and the built-in conditions.
#include "smart/schemerecords.h"

#include "common/drawtext.h"
#include "platform/download.h"
#include "smart/calculatortext.h"

#include <QXmlStreamReader>

namespace smart {

using namespace calctext;

namespace {

// A field of digits only (the record's counts); false otherwise.
bool DigitField(const QString& s, int* out) {
    if (!common::IsAsciiDigits(s)) return false;
    *out = s.toInt();
    return true;
}

}  // namespace

QString SchemeListPath(bool lotteryIsP3, bool testMark) {
    if (testMark) return lotteryIsP3 ? kSchemeListTestP3 : kSchemeListTest3D;
    return lotteryIsP3 ? kSchemeListP3 : kSchemeList3D;
}

bool ParseSchemeRecord(const QString& line, SchemeRecord* record, QString* error) {
    const int n = line.size();
    if (n < kMinRecordLength) {
        if (error) *error = QStringLiteral("方案记录太短（%1个字符）：%2").arg(n).arg(line);
        return false;
    }
    SchemeRecord r;
    if (!DigitField(line.mid(n - 7, 3), &r.cycleCount) || !DigitField(line.mid(n - 14, 3), &r.verifyPeriods)) {
        if (error) *error = QStringLiteral("方案记录的周期或验证期数不是数字：%1").arg(line);
        return false;
    }
    r.condition = line.mid(n - 112, kConditionLength);
    r.sideRank = line.mid(n - 32, 2);
    r.digit = line.at(n - 28);
    *record = r;
    return true;
}

QChar ReportLineDigit(const QString& line) { return line.size() >= 28 ? line.at(line.size() - 28) : QChar(); }

SchemeListResult ParseSchemeListXml(const QByteArray& xml) {
    SchemeListResult result;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd() && !reader.isStartElement()) reader.readNext();
    if (!reader.isStartElement()) {
        result.error = QStringLiteral("方案列表不是XML文档");
        return result;
    }
    QStringList malformed;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isEndElement()) break;  // the root closes
        if (reader.isStartElement()) {
            const QXmlStreamAttributes attrs = reader.attributes();
            if (attrs.isEmpty()) {
                malformed << reader.name().toString();
            } else {
                const QString value = TrimBlanks(attrs.at(0).value().toString());
                if (value.endsWith(QStringLiteral("txt"))) {
                    QString record = value;
                    record.replace(QLatin1Char('['), QLatin1Char('<')).replace(QLatin1Char(']'), QLatin1Char('>'));
                    result.records << record;
                }
            }
            reader.skipCurrentElement();
        } else if (reader.isCharacters() && !reader.isWhitespace()) {
            malformed << reader.text().toString().trimmed().left(20);
        }
    }
    if (reader.hasError()) {
        // A document that does not parse to its end is no document at all.
        result.records.clear();
        result.error = QStringLiteral("方案列表无法解析（第%1行第%2列）").arg(reader.lineNumber()).arg(reader.columnNumber());
        return result;
    }
    result.loaded = true;
    if (!malformed.isEmpty())
        result.error = QStringLiteral("方案列表中有%1项格式不对，已跳过：%2").arg(malformed.size()).arg(malformed.join(QStringLiteral("，")));
    return result;
}

SchemeListResult FetchSchemeList(const QString& url, platform::Downloader* downloader) {
    QByteArray body;
    const platform::DownloadResult dl = downloader ? downloader->fetch(url, &body) : platform::FetchUrl(url, &body);
    if (!dl.ok) {
        SchemeListResult r;
        r.error = dl.error;
        return r;
    }
    return ParseSchemeListXml(body);
}

const QStringList& BuiltInConditions() {
    static const QStringList list = [] {
        QStringList out;
        auto make = [&](const QStringList& rel, bool upper, bool leadingBlank, bool wideLastAnd) {
            const QString a = upper ? QStringLiteral("A") : QStringLiteral("a");
            QString c = leadingBlank ? QStringLiteral(" ") : QString();
            for (int k = 0; k < rel.size(); ++k) {
                if (k > 0)
                    c += (wideLastAnd && k == rel.size() - 1) ? QStringLiteral("  And ") : QStringLiteral(" And ");
                c += QStringLiteral("%1(%2) %3 %1(%4)").arg(a).arg(k + 1).arg(rel[k]).arg(k + 2);
            }
            c = c.leftJustified(69, QLatin1Char(' '));
            out << c + QStringLiteral("then '方案") + Zero2(out.size() + 1);
        };
        make({QStringLiteral("=")}, false, false, false);
        make({QStringLiteral("<")}, false, false, false);
        const QList<QStringList> pairs3 = {{"<", "<"}, {"=", "<"}, {"<", ">"}, {"=", ">"},
                                           {"<", "="}, {"=", "="}, {"=", "<>"}, {"<", "<>"}};
        for (const QStringList& p : pairs3) make(p, true, false, false);
        for (const QStringList& p : pairs3)
            for (const char* r3 : {"<", ">", "=", "<>"}) make(p + QStringList{QString::fromLatin1(r3)}, true, true, false);
        const QList<QStringList> pairs5 = {{"<", "<"}, {"=", "<"}, {"<", "="}, {"=", "="}, {"=", "<>"}, {"<", "<>"}};
        const QList<QStringList> tails5 = {{"=", "<>"}, {"=", "="}, {"<>", "<>"}, {"<>", "="}};
        for (const QStringList& p : pairs5)
            for (const QStringList& t : tails5) make(p + t, false, false, out.size() + 1 >= 47);
        return out;
    }();
    return list;
}

}  // namespace smart
