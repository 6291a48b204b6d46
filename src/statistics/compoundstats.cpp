#include "statistics/compoundstats.h"

#include <bit>
#include <bitset>

namespace statistics {

namespace {

// One pass of the hit rule over the range.
template <class IsHit>
OmissionRow CountCompoundRow(const CompoundInput& in, QString category, IsHit isHit) {
    OmissionRow row{std::move(category), {}, in.drawCount()};
    for (const DrawDigits& d : in.draws)
        row.stats.record(isHit(d));
    return row;
}

bool InMask(DigitMask mask, std::uint8_t digit) { return digit <= 9 && (mask >> digit) & 1u; }

QString SetsCategory(const QString& s1, const QString& s2, const QString& s3) {
    return s1 + QLatin1Char('|') + s2 + QLatin1Char('|') + s3;
}

// The straight numbers that stand in the pool as whole three-digit elements.
std::bitset<1000> PoolNumbers(const pool::NumberPool& numbers) {
    std::bitset<1000> set;
    for (const QString& e : numbers) {
        if (e.size() != 3)
            continue;
        int value = 0;
        bool digits = true;
        for (const QChar c : e) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
                digits = false;
                break;
            }
            value = value * 10 + (c.unicode() - '0');
        }
        if (digits)
            set.set(size_t(value));
    }
    return set;
}

bool ValidDraw(const DrawDigits& d) { return d[0] <= 9 && d[1] <= 9 && d[2] <= 9; }

// The draws of a range as bits, 64 to a word: bit i stands for the i-th draw of the range.
using CompoundDrawBits = std::vector<std::uint64_t>;

// The draws whose digit at the position lies in the set.
CompoundDrawBits PositionDrawBits(const CompoundInput& in, int position, DigitMask mask) {
    CompoundDrawBits bits(size_t((in.drawCount() + 63) / 64), 0);
    for (int i = 0; i < in.drawCount(); ++i) {
        if (InMask(mask, in.draws[size_t(i)][size_t(position)]))
            bits[size_t(i) / 64] |= std::uint64_t(1) << (i % 64);
    }
    return bits;
}

// The counts that recording every draw in turn gives, taken from the hit positions alone.
common::OmissionStats StatsOfDrawBits(const CompoundDrawBits& hits, int drawCount) {
    common::OmissionStats stats;
    int last = -1;
    for (size_t w = 0; w < hits.size(); ++w) {
        for (std::uint64_t word = hits[w]; word != 0; word &= word - 1) {
            const int i = int(w * 64) + std::countr_zero(word);
            stats.currentGap = i - last - 1;
            stats.hit();
            last = i;
        }
    }
    stats.currentGap = drawCount - 1 - last;
    return stats;
}

// The six orderings abc, acb, bac, bca, cab, cba.
constexpr int kOrders[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};

}  // namespace

DigitMask DigitSetOf(const QString& text) {
    DigitMask mask = 0;
    for (const QChar c : text) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            mask |= DigitMask(1u << (c.unicode() - '0'));
    }
    return mask;
}

CompoundInput MakeCompoundInput(const common::DrawHistory& history, const StatsRange& range) {
    return CompoundInput{RangeDigits(history, range)};
}

OmissionRow PositionalRow(const CompoundInput& in, const QString& s1, const QString& s2, const QString& s3) {
    const DigitMask m1 = DigitSetOf(s1), m2 = DigitSetOf(s2), m3 = DigitSetOf(s3);
    return CountCompoundRow(in, SetsCategory(s1, s2, s3), [&](const DrawDigits& d) {
        return InMask(m1, d[0]) && InMask(m2, d[1]) && InMask(m3, d[2]);
    });
}

OmissionRow AnyOrderRow(const CompoundInput& in, const QString& s1, const QString& s2, const QString& s3) {
    const DigitMask m1 = DigitSetOf(s1), m2 = DigitSetOf(s2), m3 = DigitSetOf(s3);
    return CountCompoundRow(in, QStringLiteral("组选 ") + SetsCategory(s1, s2, s3), [&](const DrawDigits& d) {
        for (const auto& o : kOrders) {
            if (InMask(m1, d[size_t(o[0])]) && InMask(m2, d[size_t(o[1])]) && InMask(m3, d[size_t(o[2])]))
                return true;
        }
        return false;
    });
}

QString PoolText(const pool::NumberPool& numbers) {
    QString text = QStringLiteral(" ");
    text.reserve(1 + int(numbers.size()) * 4);
    for (const QString& e : numbers)
        text += e + QLatin1Char(' ');
    return text;
}

OmissionRow PoolGroupRow(const CompoundInput& in, const pool::NumberPool& numbers) {
    const std::bitset<1000> straight = PoolNumbers(numbers);
    // Every ordering of every pool number, so a draw is tested by one lookup.
    std::bitset<1000> group;
    for (int v = 0; v < 1000; ++v) {
        if (!straight.test(size_t(v)))
            continue;
        const int d[3] = {v / 100, v / 10 % 10, v % 10};
        for (const auto& o : kOrders)
            group.set(size_t(d[o[0]] * 100 + d[o[1]] * 10 + d[o[2]]));
    }
    return CountCompoundRow(in, QStringLiteral("组选综合统计") + PoolText(numbers), [&](const DrawDigits& d) {
        return ValidDraw(d) && group.test(size_t(d[0] * 100 + d[1] * 10 + d[2]));
    });
}

OmissionRow PoolStraightRow(const CompoundInput& in, const pool::NumberPool& numbers) {
    const std::bitset<1000> straight = PoolNumbers(numbers);
    return CountCompoundRow(in, QStringLiteral("单选综合统计") + PoolText(numbers), [&](const DrawDigits& d) {
        return ValidDraw(d) && straight.test(size_t(d[0] * 100 + d[1] * 10 + d[2]));
    });
}

QStringList DigitCombinations(int k) {
    QStringList out;
    if (k == 10)
        return {QStringLiteral("0123456789")};
    if (k < 1 || k > 9)
        return out;
    // Counters c[0] < c[1] < ... < c[k-1], the last changing fastest.
    int c[9];
    for (int i = 0; i < k; ++i)
        c[i] = i;
    while (true) {
        QString s;
        for (int i = 0; i < k; ++i)
            s += QChar(u'0' + c[i]);
        out << s;
        int i = k - 1;
        while (i >= 0 && c[i] == 10 - k + i)
            --i;
        if (i < 0)
            break;
        ++c[i];
        for (int j = i + 1; j < k; ++j)
            c[j] = c[j - 1] + 1;
    }
    return out;
}

std::vector<OmissionRow> GroupCombinationRows(const CompoundInput& in, int n) {
    std::vector<OmissionRow> rows;
    if (n < 1 || n > 9)
        return rows;
    for (const QString& s : DigitCombinations(n))
        rows.push_back(PositionalRow(in, s, s, s));
    return rows;
}

long long StraightCombinationCount(int hundreds, int tens, int units) {
    return (long long)DigitCombinations(hundreds).size() * DigitCombinations(tens).size() *
           DigitCombinations(units).size();
}

std::vector<OmissionRow> StraightCombinationRows(const CompoundInput& in, int hundreds, int tens, int units) {
    const QStringList h = DigitCombinations(hundreds), t = DigitCombinations(tens), u = DigitCombinations(units);
    std::vector<OmissionRow> rows;
    rows.reserve(size_t(h.size()) * size_t(t.size()) * size_t(u.size()));
    // Up to millions of rows: each position's sets are turned into draw bits once, and a row is
    // the AND of three of them instead of another pass over the draws.
    auto bitsOf = [&in](const QStringList& sets, int position) {
        std::vector<CompoundDrawBits> out;
        out.reserve(size_t(sets.size()));
        for (const QString& s : sets)
            out.push_back(PositionDrawBits(in, position, DigitSetOf(s)));
        return out;
    };
    const std::vector<CompoundDrawBits> hb = bitsOf(h, 0), tb = bitsOf(t, 1), ub = bitsOf(u, 2);
    const int n = in.drawCount();
    const size_t words = size_t((n + 63) / 64);
    CompoundDrawBits ht(words), htu(words);
    for (int a = 0; a < h.size(); ++a) {
        for (int b = 0; b < t.size(); ++b) {
            for (size_t w = 0; w < words; ++w)
                ht[w] = hb[size_t(a)][w] & tb[size_t(b)][w];
            for (int c = 0; c < u.size(); ++c) {
                for (size_t w = 0; w < words; ++w)
                    htu[w] = ht[w] & ub[size_t(c)][w];
                rows.push_back(OmissionRow{SetsCategory(h[a], t[b], u[c]), StatsOfDrawBits(htu, n), n});
            }
        }
    }
    return rows;
}

std::vector<OmissionRow> WorkbenchNumberRows(const CompoundInput& in, const pool::NumberPool& numbers) {
    std::vector<OmissionRow> rows;
    rows.push_back(PoolGroupRow(in, numbers));
    rows.push_back(PoolStraightRow(in, numbers));
    for (const QString& e : numbers)
        rows.push_back(PositionalRow(in, e.mid(0, 1), e.mid(1, 1), e.mid(2, 1)));
    for (const QString& e : numbers)
        rows.push_back(AnyOrderRow(in, e.mid(0, 1), e.mid(1, 1), e.mid(2, 1)));
    return rows;
}

}  // namespace statistics
