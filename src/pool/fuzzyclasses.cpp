#include "pool/fuzzyclasses.h"

#include <algorithm>

namespace pool {

namespace {

// Appends the digit values found in the draw's number (its last three characters); anything
// that is not a digit is skipped rather than guessed at.
void AddDrawDigits(const common::DrawHistory& history, int index, QList<int>* digits) {
    const QString number = history.number(index);
    for (const QChar c : number) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) digits->append(c.unicode() - '0');
    }
}

bool ValidReference(const common::DrawHistory& history, int reference) {
    return reference >= 1 && reference <= history.count();
}

// Digit d goes to the class classOfDigit[d] (0..2).
DigitPartition Partition(const std::array<int, 10>& classOfDigit) {
    DigitPartition p;
    for (int d = 0; d < 10; ++d) p.classes[size_t(classOfDigit[size_t(d)])].append(d);
    return p;
}

QString JoinClass(const QList<int>& digits, const QString& separator) {
    QString text;
    for (int i = 0; i < digits.size(); ++i) {
        if (i > 0) text += separator;
        text += QString::number(digits[i]);
    }
    return text;
}

}  // namespace

int DigitPartition::classOf(int digit) const {
    for (int k = 0; k < 3; ++k) {
        if (classes[size_t(k)].contains(digit)) return k;
    }
    return -1;
}

QString DigitPartition::listText(int k) const { return JoinClass(classes[size_t(k)], QStringLiteral(",")); }

QString DigitPartition::digitsText(int k) const { return JoinClass(classes[size_t(k)], QString()); }

DigitPartition HotWarmColdClasses(const common::DrawHistory& history, int reference) {
    if (!ValidReference(history, reference)) return {};
    std::array<int, 10> counts{};
    QList<int> digits;
    for (int i = std::max(1, reference - 6); i <= reference; ++i) AddDrawDigits(history, i, &digits);
    for (int d : digits) ++counts[size_t(d)];
    std::array<int, 10> cls{};
    for (int d = 0; d < 10; ++d) {
        const int c = counts[size_t(d)];
        cls[size_t(d)] = c >= 3 ? 0 : (c == 2 ? 1 : 2);
    }
    return Partition(cls);
}

DigitPartition RepeatGapMiddleClasses(const common::DrawHistory& history, int reference) {
    if (!ValidReference(history, reference)) return {};
    QList<int> newest, before;
    AddDrawDigits(history, reference, &newest);
    AddDrawDigits(history, reference - 1, &before);  // index 0 reads as no draw
    std::array<int, 10> cls{};
    for (int d = 0; d < 10; ++d) {
        if (newest.contains(d)) cls[size_t(d)] = 0;
        // A digit never seen before the first draw has a gap of one draw there.
        else if (reference == 1 || before.contains(d)) cls[size_t(d)] = 1;
        else cls[size_t(d)] = 2;
    }
    return Partition(cls);
}

DigitPartition DrawnNeighbourLoneClasses(const common::DrawHistory& history, int reference) {
    if (!ValidReference(history, reference)) return {};
    QList<int> drawn;
    AddDrawDigits(history, reference, &drawn);
    std::array<int, 10> mark{};  // 2 drawn, 1 neighbour, 0 the rest
    for (int d : drawn) {
        mark[size_t((d + 9) % 10)] = std::max(mark[size_t((d + 9) % 10)], 1);
        mark[size_t((d + 1) % 10)] = std::max(mark[size_t((d + 1) % 10)], 1);
    }
    for (int d : drawn) mark[size_t(d)] = 2;
    std::array<int, 10> cls{};
    for (int d = 0; d < 10; ++d) cls[size_t(d)] = 2 - mark[size_t(d)];
    return Partition(cls);
}

FuzzyDigitClasses ComputeFuzzyDigitClasses(const common::DrawHistory& history, int reference) {
    return {HotWarmColdClasses(history, reference), RepeatGapMiddleClasses(history, reference),
            DrawnNeighbourLoneClasses(history, reference)};
}

}  // namespace pool
