#pragma once
// Attributes of a three-digit number (hundreds, tens, units).
#include <QString>

namespace common {

struct Digits {
    int a = 0, b = 0, c = 0;  // hundreds, tens, units
    static Digits Of(const QString& number);
    int min() const;
    int max() const;
};

int Sum(const Digits& d);                       // 和值
int Span(const Digits& d);                      // 跨度: max minus min
int SumTail(const Digits& d);                   // 合值: sum mod 10
QString Routes(const Digits& d);                // 012路, e.g. "021"
int AcValue(const Digits& d);                   // distinct |a-b|,|a-c|,|b-c|, zero included
bool IsGroupThreeType(const Digits& d);         // 组三 when any two digits are equal (triples too)
QString TypeName(const Digits& d);              // "组三" / "组六"
QString OddEvenPattern(const Digits& d);        // per position, 1 = odd
QString BigSmallPattern(const Digits& d);       // per position, 1 = big
QString PrimeCompositePattern(const Digits& d); // per position, 1 = composite
QString FiveElements(const Digits& d);          // e.g. "土水火"

inline int Sum(const QString& n) { return Sum(Digits::Of(n)); }
inline int Span(const QString& n) { return Span(Digits::Of(n)); }
inline int SumTail(const QString& n) { return SumTail(Digits::Of(n)); }
inline int AcValue(const QString& n) { return AcValue(Digits::Of(n)); }

}  // namespace common
