#include "pool/shapefilters.h"

#include "pool/filterwalk.h"

#include <bit>
#include <cstdlib>

namespace pool {

using common::Digits;
using detail::BlankMatching;

namespace {

// The distinct digits of a number as a 10-bit mask: a repeated digit counts once.
unsigned DigitMask(const Digits& d) { return (1u << d.a) | (1u << d.b) | (1u << d.c); }

// Routines that remove by a per-number value: one walk, then compaction.
template <class Match>
int RemoveAndCompact(NumberPool& pool, QString& log, Match&& match) {
    const int removed = BlankMatching(pool, log, [&](const QString&, const Digits& d) { return match(d); });
    CompactSet(pool);
    return removed;
}

// The last draw's digits, false when the text does not end in a three-digit number.
bool LastDrawDigits(const QString& lastDraw, Digits* digits) {
    const QString number = lastDraw.right(3);
    if (!common::IsNumberText(number)) return false;
    *digits = Digits::Of(number);
    return true;
}

// Routines that remove by a relation to the last draw: match(number, last). Without a last
// draw nothing is removed, but the pool is still compacted.
template <class Match>
int RemoveByLastDraw(NumberPool& pool, QString& log, const QString& lastDraw, Match&& match) {
    Digits last;
    if (!LastDrawDigits(lastDraw, &last)) {
        CompactSet(pool);
        return 0;
    }
    return RemoveAndCompact(pool, log, [&](const Digits& d) { return match(d, last); });
}

}  // namespace

int OneDValue(const Digits& d, int mode) {
    const int ab = (d.a + d.b) % 10, bc = (d.b + d.c) % 10;
    const int dab = std::abs(d.a - d.b), dbc = std::abs(d.b - d.c);
    switch (mode) {
        case 1: return (ab + bc) % 10;
        case 2: return std::abs(dab - dbc);
        case 3: return std::abs(ab - bc);
        case 4: return (dab + dbc) % 10;
        default: return -1;
    }
}

int AbcTypeOf(const Digits& d) {
    const int a = d.a, b = d.b, c = d.c;
    if (a == b && b == c) return 0;
    if (b == c) return a < b ? 1 : 2;
    if (a == c) return a < b ? 3 : 4;
    if (a == b) return b < c ? 5 : 6;
    if (a < b && b < c) return 7;
    if (a < c && c < b) return 8;
    if (b < a && a < c) return 9;
    if (c < a && a < b) return 10;
    if (b < c && c < a) return 11;
    return 12;  // c < b < a
}

QString AbcTypeName(int kind) {
    static const char* const kNames[13] = {"AAA", "ABB", "BAA", "ABA", "BAB", "AAB", "BBA",
                                           "ABC", "ACB", "BAC", "BCA", "CAB", "CBA"};
    return kind >= 0 && kind < 13 ? QString::fromLatin1(kNames[kind]) : QString();
}

int MeanOf(const Digits& d) { return common::Sum(d) / 3; }

int StraightDropCount(const Digits& number, const Digits& lastDraw) {
    return std::popcount(DigitMask(number) & DigitMask(lastDraw));
}

int DiagonalLinkValue(const Digits& number, const Digits& lastDraw) {
    const unsigned e = DigitMask(number);
    int links = 0;
    for (int d = 0; d < 10; ++d) {
        if (!(DigitMask(lastDraw) & (1u << d))) continue;
        // Neighbours on the ring 0..9: 0 and 9 touch.
        links += (e >> ((d + 1) % 10)) & 1u;
        links += (e >> ((d + 9) % 10)) & 1u;
    }
    return links;
}

int Filter1D(NumberPool& pool, QString& log, int mode, int value) {
    return RemoveAndCompact(pool, log, [=](const Digits& d) { return OneDValue(d, mode) == value && value >= 0; });
}

int FilterPositional(NumberPool& pool, QString& log, const QStringList& positionPatterns) {
    int removed = 0;
    for (const QString& pattern : positionPatterns) {
        // The three positions compare the pattern's first, second and last character, so "12"
        // acts as "122"; a pattern of one character or none leaves the tens without a
        // character and matches nothing.
        if (pattern.size() < 2) continue;
        const QChar p[3] = {pattern.at(0), pattern.at(1), pattern.back()};
        removed += BlankMatching(pool, log, [&p](const QString& n, const Digits&) {
            for (int k = 0; k < 3; ++k)
                if (p[k] != QLatin1Char('*') && p[k] != n.at(k)) return false;
            return true;
        });
    }
    CompactSet(pool);
    return removed;
}

int FilterAbcType(NumberPool& pool, QString& log, int kind) {
    return RemoveAndCompact(pool, log, [=](const Digits& d) { return AbcTypeOf(d) == kind; });
}

int FilterAcValue(NumberPool& pool, QString& log, int value) {
    return RemoveAndCompact(pool, log, [=](const Digits& d) { return common::AcValue(d) == value; });
}

int FilterMean(NumberPool& pool, QString& log, int value) {
    return RemoveAndCompact(pool, log, [=](const Digits& d) { return MeanOf(d) == value; });
}

int FilterStraightDrop(NumberPool& pool, QString& log, const QString& lastDraw, int value) {
    return RemoveByLastDraw(pool, log, lastDraw, [=](const Digits& d, const Digits& last) {
        return StraightDropCount(d, last) == value;
    });
}

int FilterStraightDrop(NumberPool& pool, QString& log, const common::DrawHistory& history, int value) {
    return FilterStraightDrop(pool, log, history.newest(), value);
}

int FilterDiagonalLink(NumberPool& pool, QString& log, const QString& lastDraw, int value) {
    return RemoveByLastDraw(pool, log, lastDraw, [=](const Digits& d, const Digits& last) {
        return DiagonalLinkValue(d, last) == value;
    });
}

int FilterDiagonalLink(NumberPool& pool, QString& log, const common::DrawHistory& history, int value) {
    return FilterDiagonalLink(pool, log, history.newest(), value);
}

}  // namespace pool
