#include "dialogs/setops.h"

#include "common/digittriples.h"
#include "common/textcodec.h"

#include <QDir>

namespace dialogs {

bool ReadNumberFile(const QString& path, NumberMarks* marks, QString* error) {
    QString text;
    QString why;
    if (!common::ReadAnsiFile(path, &text, &why)) {
        if (error) *error = QDir::toNativeSeparators(path) + QLatin1Char('\n') + why;
        return false;
    }
    for (const QString& number : common::ExtractDigitTriples(text)) marks->set(size_t(number.toInt()));
    return true;
}

bool CountOccurrences(const QStringList& paths, OccurrenceCounts* counts, QString* error) {
    OccurrenceCounts sum{};
    for (const QString& path : paths) {
        NumberMarks seen;
        if (!ReadNumberFile(path, &seen, error)) return false;
        for (size_t k = 0; k < seen.size(); ++k)
            if (seen.test(k)) ++sum[k];
    }
    *counts = sum;
    return true;
}

QStringList NumbersInRange(const OccurrenceCounts& counts, int low, int high) {
    QStringList numbers;
    for (int k = 0; k < 1000; ++k)
        if (counts[size_t(k)] >= low && counts[size_t(k)] <= high)
            numbers.append(QStringLiteral("%1").arg(k, 3, 10, QLatin1Char('0')));
    return numbers;
}

QStringList CollectFromText(const QString& text, bool keepRepeats) {
    const QStringList found = common::ExtractDigitTriples(text);
    if (keepRepeats) return found;
    QStringList numbers;
    NumberMarks taken;
    for (const QString& number : found) {
        const size_t k = size_t(number.toInt());
        if (taken.test(k)) continue;
        taken.set(k);
        numbers.append(number);
    }
    return numbers;
}

QString TrimBlanks(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == QLatin1Char(' ')) ++first;
    while (last > first && text[last - 1] == QLatin1Char(' ')) --last;
    return text.mid(first, last - first);
}

QString CountSummary(int files, const OccurrenceCounts& counts) {
    int found = 0;
    for (int c : counts)
        if (c != 0) ++found;
    return QStringLiteral("共计 %1 个文件参与运算,统计数据 %2 注。").arg(files).arg(found);
}

}  // namespace dialogs
