#include "pool/omission.h"

#include "common/drawtext.h"
#include "pool/filterwalk.h"

#include <algorithm>
#include <set>

namespace pool {

int OmissionOf(const DigitOmissionTable& t, OmissionFamily family, int a, int b, int c) {
    // The sums are the table's own, so the filter, the picker and the preview agree.
    auto counter = [](const std::array<int, 10>& counters, int d) { return d >= 0 && d <= 9 ? counters[size_t(d)] : 0; };
    switch (family) {
        case OmissionFamily::Group: return t.groupSum(a, b, c);
        case OmissionFamily::Hundreds: return counter(t.hundreds, a);
        case OmissionFamily::Tens: return counter(t.tens, b);
        case OmissionFamily::Units: return counter(t.units, c);
        case OmissionFamily::Single: return t.straightSum(a, b, c);
    }
    return -1;
}

int FilterOmission(NumberPool& pool, QString& log, const DigitOmissionTable& table, OmissionFamily family,
                   int value) {
    const int removed = detail::BlankMatching(pool, log, [&](const QString&, const common::Digits& d) {
        return OmissionOf(table, family, d.a, d.b, d.c) == value;
    });
    CompactSet(pool);
    return removed;
}

QList<int> ParseOmissionValues(const QString& text) {
    QList<int> values;
    for (const QString& token : SplitCommaList(text)) {
        bool ok = false;
        const int v = token.trimmed().toInt(&ok);
        if (ok) values.append(v);
    }
    return values;
}

QStringList OmissionChoices(const DigitOmissionTable& t, OmissionFamily family) {
    QStringList items;
    auto format = [](int v, int width) { return QStringLiteral("%1").arg(v, width, 10, QLatin1Char('0')); };
    switch (family) {
        case OmissionFamily::Hundreds:
        case OmissionFamily::Tens:
        case OmissionFamily::Units: {
            const auto& counters = family == OmissionFamily::Hundreds ? t.hundreds
                                   : family == OmissionFamily::Tens   ? t.tens
                                                                      : t.units;
            for (int v : counters) items.append(format(v, 2));
            break;
        }
        case OmissionFamily::Group:
        case OmissionFamily::Single: {
            // Every distinct sum is listed, however large (no fixed table of seen values).
            std::set<int> sums;
            for (int x = 0; x < 10; ++x)
                for (int y = 0; y < 10; ++y)
                    for (int z = 0; z < 10; ++z) sums.insert(OmissionOf(t, family, x, y, z));
            const int width = family == OmissionFamily::Group ? 2 : 3;
            for (int v : sums) items.append(format(v, width));
            break;
        }
    }
    std::sort(items.begin(), items.end());
    return items;
}

}  // namespace pool
