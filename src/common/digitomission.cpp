#include "common/digitomission.h"

namespace common {
namespace {

// Digit value of a character, or -1 when it is no digit (a damaged draw or pool entry).
int OmissionDigit(const QString& text, int pos) {
    if (pos < 0 || pos >= text.size()) return -1;
    const char16_t c = text.at(pos).unicode();
    return (c >= u'0' && c <= u'9') ? int(c - u'0') : -1;
}

int OmissionCounterOf(const std::array<int, 10>& counters, int digit) {
    return digit < 0 || digit > 9 ? 0 : counters[size_t(digit)];
}

}  // namespace

DigitOmissionTable DigitOmissionTable::Count(const DrawHistory& history) {
    DigitOmissionTable t;
    for (int i = 1; i <= history.count(); ++i) {
        const QString number = history.number(i);
        for (int d = 0; d < 10; ++d) {
            ++t.any[size_t(d)];
            ++t.hundreds[size_t(d)];
            ++t.tens[size_t(d)];
            ++t.units[size_t(d)];
        }
        const int a = OmissionDigit(number, 0), b = OmissionDigit(number, 1), c = OmissionDigit(number, 2);
        for (const int d : {a, b, c})
            if (d >= 0) t.any[size_t(d)] = 0;
        if (a >= 0) t.hundreds[size_t(a)] = 0;
        if (b >= 0) t.tens[size_t(b)] = 0;
        if (c >= 0) t.units[size_t(c)] = 0;
    }
    return t;
}

int DigitOmissionTable::straightSum(int a, int b, int c) const {
    return OmissionCounterOf(hundreds, a) + OmissionCounterOf(tens, b) + OmissionCounterOf(units, c);
}

int DigitOmissionTable::groupSum(int a, int b, int c) const {
    return OmissionCounterOf(any, a) + OmissionCounterOf(any, b) + OmissionCounterOf(any, c);
}

int DigitOmissionTable::straightSum(const QString& number) const {
    return straightSum(OmissionDigit(number, 0), OmissionDigit(number, 1), OmissionDigit(number, number.size() - 1));
}

int DigitOmissionTable::groupSum(const QString& number) const {
    return groupSum(OmissionDigit(number, 0), OmissionDigit(number, 1), OmissionDigit(number, number.size() - 1));
}

}  // namespace common
