#include "common/drawattributes.h"

#include "common/digitclasses.h"

#include <algorithm>
#include <cstdlib>
#include <set>

namespace common {

Digits Digits::Of(const QString& number) {
    Digits d;
    d.a = number.size() > 0 ? number.at(0).unicode() - '0' : 0;
    d.b = number.size() > 1 ? number.at(1).unicode() - '0' : 0;
    d.c = number.size() > 0 ? number.at(number.size() - 1).unicode() - '0' : 0;
    return d;
}

int Digits::min() const { return std::min({a, b, c}); }
int Digits::max() const { return std::max({a, b, c}); }

int Sum(const Digits& d) { return d.a + d.b + d.c; }
int Span(const Digits& d) { return d.max() - d.min(); }
int SumTail(const Digits& d) { return Sum(d) % 10; }

QString Routes(const Digits& d) {
    return QString::number(Route(d.a)) + QString::number(Route(d.b)) + QString::number(Route(d.c));
}

int AcValue(const Digits& d) {
    const std::set<int> diffs{std::abs(d.a - d.b), std::abs(d.a - d.c), std::abs(d.b - d.c)};
    return int(diffs.size());
}

bool IsGroupThreeType(const Digits& d) { return d.a == d.b || d.a == d.c || d.b == d.c; }
QString TypeName(const Digits& d) { return IsGroupThreeType(d) ? QStringLiteral("组三") : QStringLiteral("组六"); }

static QString Pattern(const Digits& d, int (*code)(int)) {
    return QString::number(code(d.a)) + QString::number(code(d.b)) + QString::number(code(d.c));
}
QString OddEvenPattern(const Digits& d) { return Pattern(d, OddEvenCode); }
QString BigSmallPattern(const Digits& d) { return Pattern(d, BigSmallCode); }
QString PrimeCompositePattern(const Digits& d) { return Pattern(d, PrimeCompositeCode); }

QString FiveElements(const Digits& d) {
    return QString::fromUtf16(FiveElement(d.a)) + QString::fromUtf16(FiveElement(d.b)) +
           QString::fromUtf16(FiveElement(d.c));
}

}  // namespace common
