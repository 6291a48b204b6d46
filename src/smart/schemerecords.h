#pragma once
// Scheme records and the documents that carry them: the fields a run reads from a record line,
// the scheme list documents on the home server, the 66 built-in conditions, and the digit a
// report line names. Plain text handling; the calculator (calculator.h) runs the records.
#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>

namespace platform {
class Downloader;
}

namespace smart {

// Scheme list addresses on the home server.
inline const QString kSchemeList3D = QStringLiteral("/3d/3d.xml");
inline const QString kSchemeListP3 = QStringLiteral("/3d/p3.xml");
inline const QString kSchemeListTest3D = QStringLiteral("/3d/T_3d.xml");
inline const QString kSchemeListTestP3 = QStringLiteral("/3d/T_p3.xml");
// The path for a lottery, with or without the test mark.
QString SchemeListPath(bool lotteryIsP3, bool testMark);

// ---- Scheme records (SchemeReportLine), fields counted from the end of the line ----

inline constexpr int kMinRecordLength = 112;
inline constexpr int kConditionLength = 79;

struct SchemeRecord {
    int cycleCount = 0;     // "周期" field
    int verifyPeriods = 0;  // "验证" field
    QString condition;      // the 79 characters as they stand
    QString sideRank;       // "左3" / "右9"
    QChar digit;            // the digit predicted for the record's issue
};
// Takes the fields a run needs; false with a reason for a line too short or with a
// cycle/verification field that is not a number.
bool ParseSchemeRecord(const QString& line, SchemeRecord* record, QString* error = nullptr);
// Character 28 from the end (the digit of a report line); a null QChar when the line is shorter.
QChar ReportLineDigit(const QString& line);

// ---- Scheme list documents (SchemeListXml) ----

struct SchemeListResult {
    bool loaded = false;    // false: no root element (unreachable, not XML); the list is kept
    QStringList records;    // records in document order, "[" "]" turned into "<" ">"
    QString error;          // a malformed child (records before it are kept), or why not loaded
};
// The records of a document: the first attribute of each child of the root, trimmed; values
// not ending in "txt" are skipped.
SchemeListResult ParseSchemeListXml(const QByteArray& xml);
// Downloads url and parses it; through downloader when given, so that its owner can abort.
SchemeListResult FetchSchemeList(const QString& url, platform::Downloader* downloader = nullptr);

// The 66 built-in scheme conditions (the condition box of the calculator window), each 79
// characters ("... then '方案01").
const QStringList& BuiltInConditions();

}  // namespace smart
