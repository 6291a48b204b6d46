#include "common/drawtext.h"

#include <algorithm>

namespace common {

QString IssueOf(const QString& drawText) { return drawText.left(7); }
QString NumberOf(const QString& drawText) { return drawText.right(3); }
QString YearOf(const QString& drawText) { return drawText.left(4); }
int SerialOf(const QString& drawText) { return drawText.mid(4, 3).toInt(); }

QString FixDrawTextWidth(const QString& text) {
    return text.left(kDrawTextLength).leftJustified(kDrawTextLength, QLatin1Char(' '));
}

QString MakeDrawText(const QString& issue, const QString& number) {
    return FixDrawTextWidth(issue + QLatin1Char(' ') + number);
}

QString NextIssue(const QString& issue) {
    const int serial = issue.mid(4, 3).toInt() + 1;
    return issue.left(4) + QString::number(serial).rightJustified(3, QLatin1Char('0'));
}

bool IsAsciiDigits(QStringView text) {
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), IsAsciiDigit);
}

QString SortedDigits(const QString& number) {
    QString s = number;
    std::sort(s.begin(), s.end());
    return s;
}

}  // namespace common
