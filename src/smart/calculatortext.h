#pragma once
// Small text helpers the calculator's source files share (not part of its interface).
#include "common/textcodec.h"

#include <QString>
#include <QStringList>

namespace smart::calctext {

inline const QString kCrLf = QStringLiteral("\r\n");
inline const QString kUndrawn = QStringLiteral("未开奖");  // the drawn cell of the next issue
inline const QString kNoRank = QStringLiteral("B");        // a rank no digit took

// Blanks only, as the record formats use them (tabs and other white space stay).
inline QString TrimBlanks(const QString& s) {
    int b = 0, e = s.size();
    while (b < e && s.at(b) == QLatin1Char(' ')) ++b;
    while (e > b && s.at(e - 1) == QLatin1Char(' ')) --e;
    return s.mid(b, e - b);
}

inline QString Zero2(int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); }
inline QString Zero3(int v) { return QStringLiteral("%1").arg(v, 3, 10, QLatin1Char('0')); }

// The lines of an import file that end in "txt", blanks trimmed; ok false when unreadable.
inline QStringList ReadImportLines(const QString& path, bool* ok) {
    QString text;
    *ok = common::ReadAnsiFile(path, &text);
    QStringList out;
    if (!*ok) return out;
    text.replace(kCrLf, QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    for (const QString& raw : text.split(QLatin1Char('\n'))) {
        const QString line = TrimBlanks(raw);
        if (line.isEmpty() || !line.endsWith(QStringLiteral("txt"))) continue;
        out << line;
    }
    return out;
}

}  // namespace smart::calctext
