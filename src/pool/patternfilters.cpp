#include "pool/patternfilters.h"

#include "common/digitclasses.h"
#include "pool/filterwalk.h"

#include <algorithm>
#include <array>

namespace pool {

namespace {

constexpr int kFamilies = 8;

QChar Code(int value) { return QChar(u'0' + value); }

QString ComputePattern(PatternFamily family, int a, int b, int c) {
    const int digits[3] = {a, b, c};
    QString p;
    p.reserve(3);
    switch (family) {
        case PatternFamily::OddEven:
            for (int d : digits) p += Code(common::OddEvenCode(d));
            break;
        case PatternFamily::BigSmall:
            for (int d : digits) p += Code(common::BigSmallCode(d));
            break;
        case PatternFamily::PrimeComposite:
            for (int d : digits) p += Code(common::PrimeCompositeCode(d));
            break;
        case PatternFamily::Single012:
            for (int d : digits) p += Code(common::Route(d));
            break;
        case PatternFamily::Group012: {
            int counts[3] = {0, 0, 0};
            for (int d : digits) ++counts[common::Route(d)];
            for (int k : counts) p += Code(k);
            break;
        }
        case PatternFamily::BigMidSmall: {
            static const QChar kClass[3] = {QChar(u'小'), QChar(u'中'), QChar(u'大')};
            for (int d : digits) p += kClass[common::BigMiddleSmall(d)];
            break;
        }
        case PatternFamily::Single1234:
            for (int d : digits) p += Code(common::Class1234(d));
            break;
        case PatternFamily::Group1234: {
            int codes[3] = {common::Class1234(a), common::Class1234(b), common::Class1234(c)};
            std::sort(codes, codes + 3);
            for (int k : codes) p += Code(k);
            break;
        }
    }
    return p;
}

// Patterns of all 1000 numbers per family, built once: a filter run is then one lookup and one
// comparison per number.
const std::array<QString, 1000>& PatternTable(PatternFamily family) {
    static const auto tables = [] {
        std::array<std::array<QString, 1000>, kFamilies> t;
        for (int f = 0; f < kFamilies; ++f)
            for (int v = 0; v < 1000; ++v)
                t[size_t(f)][size_t(v)] = ComputePattern(PatternFamily(f), v / 100, v / 10 % 10, v % 10);
        return t;
    }();
    return tables[size_t(family)];
}

}  // namespace

QString PatternOf(PatternFamily family, const QString& number) {
    if (!common::IsNumberText(number)) return QString();
    const common::Digits d = common::Digits::Of(number);
    return PatternTable(family)[size_t(d.a * 100 + d.b * 10 + d.c)];
}

int FilterPattern(PatternFamily family, NumberPool& pool, QString& log, const QString& pattern) {
    const auto& table = PatternTable(family);
    const int removed = detail::BlankMatching(pool, log, [&](const QString&, const common::Digits& d) {
        return table[size_t(d.a * 100 + d.b * 10 + d.c)] == pattern;
    });
    CompactSet(pool);
    return removed;
}

}  // namespace pool
