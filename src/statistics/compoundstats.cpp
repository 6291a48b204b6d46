#include "statistics/compoundstats.h"

#include <algorithm>
#include <array>
#include <bit>
#include <bitset>
#include <cstdlib>
#include <new>

// The straight combinations' inner loop is built a second time for processors with popcount and
// bit-scan instructions (x86-64-v3), chosen when the program starts.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && __GNUC__ >= 11 && defined(__linux__)
#define SIFMORA_BIT_CLONES __attribute__((target_clones("arch=x86-64-v3", "default")))
#else
#define SIFMORA_BIT_CLONES
#endif

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

QString StraightRows::category(const StraightRow& row) const {
    return SetsCategory(sets[0].at(row.sets[0]), sets[1].at(row.sets[1]), sets[2].at(row.sets[2]));
}

OmissionRow StraightRows::row(size_t i) const {
    const StraightRow& r = rows[i];
    return OmissionRow{category(r), r.stats(), drawCount};
}

namespace {

// Whether z holds a run of at least length set bits (length 1..63), without branches: runs of
// 1, 2, 4, ... 32 bits by doubling, then two overlapping runs of the largest power that fits.
inline bool HasRunOfOnes(std::uint64_t z, int length) {
    std::uint64_t runs[6];
    runs[0] = z;
    for (int k = 1; k < 6; ++k)
        runs[k] = runs[k - 1] & (runs[k - 1] >> (1 << (k - 1)));
    const int k = 31 - std::countl_zero(unsigned(length));
    return (runs[k] & (runs[k] >> (length - (1 << k)))) != 0;
}

// Blank draws strictly between the lowest and the highest hit of a word.
inline std::uint64_t InnerBlanks(std::uint64_t x) {
    const int lo = std::countr_zero(x), hi = 63 - std::countl_zero(x);
    return ~x & ((std::uint64_t(1) << hi) - 1) & ~((std::uint64_t(2) << lo) - 1);
}

// The longest run of blanks between two hits of one word.
inline int LongestInnerGap(std::uint64_t x) {
    int longest = 0, p = std::countr_zero(x);
    for (std::uint64_t rest = x & (x - 1); rest != 0; rest &= rest - 1) {
        const int q = std::countr_zero(rest);
        longest = std::max(longest, q - p - 1);
        p = q;
    }
    return longest;
}

// The longest run of blanks in a word's inner blanks that touches the middle of the word (bit 31
// or 32). Every run of 32 or more does, so a word's longest inner gap is this one when it is 32
// or more.
inline int MiddleGap(std::uint64_t blanks) {
    const int up = std::countr_zero(~(blanks >> 32));    // from bit 32 up
    const int down = std::countl_zero(~(blanks << 32));  // from bit 31 down
    return up + down;
}

// The counts of one row whose hits are the draws in both masks, word by word rather than hit by
// hit; the same counts as recording every draw in turn. One pass takes the hits, the gaps that
// cross into a word, the inner gaps through each word's middle and the last two hits. Only when
// the largest gap found is under 32 can a gap within half a word be larger, and every word's
// inner gaps are looked at.
inline StraightRow StraightRowOfBits(const std::uint64_t* mask1, const std::uint64_t* mask2, size_t words,
                                     int drawCount) {
    int count = 0, maxGap = 0, last = -1, beforeLast = -1;
    for (size_t w = 0; w < words; ++w) {
        const std::uint64_t x = mask1[w] & mask2[w];
        if (x == 0)
            continue;
        const int base = int(w * 64);
        const int lo = std::countr_zero(x), hi = 63 - std::countl_zero(x);
        count += std::popcount(x);
        maxGap = std::max({maxGap, base + lo - last - 1, MiddleGap(InnerBlanks(x))});
        const std::uint64_t below = x & ~(std::uint64_t(1) << hi);
        beforeLast = below != 0 ? base + 63 - std::countl_zero(below) : last;
        last = base + hi;
    }
    if (maxGap < 32) {
        for (size_t w = 0; w < words; ++w) {
            const std::uint64_t x = mask1[w] & mask2[w];
            if (x != 0 && HasRunOfOnes(InnerBlanks(x), maxGap + 1))
                maxGap = std::max(maxGap, LongestInnerGap(x));
        }
    }
    StraightRow row;
    row.hitCount = std::uint16_t(count);
    row.maxGap = std::uint16_t(maxGap);
    row.prevGap = std::uint16_t(last >= 0 ? last - beforeLast - 1 : 0);
    row.currentGap = std::uint16_t(drawCount - 1 - last);
    return row;
}

// The draw bits of every set of the three positions, each set words long.
struct StraightBits {
    const std::uint64_t* hundreds;
    const std::uint64_t* tens;
    const std::uint64_t* units;
    size_t words, tensCount, unitsCount;
    int drawCount;
};

// The units-long stretch of rows of one pair of hundreds and tens sets.
SIFMORA_BIT_CLONES void FillStraightRowsOfPair(const StraightBits& bits, size_t pair, StraightRow* rows) {
    const size_t a = pair / bits.tensCount, b = pair % bits.tensCount, words = bits.words;
    // On the stack: a worker thread that never allocates is given no heap arena of its own, which
    // would take 64 MB of address space per thread and stay after it.
    std::array<std::uint64_t, size_t(StraightRows::kMaxDraws / 64 + 1)> ht;
    for (size_t w = 0; w < words; ++w)
        ht[w] = bits.hundreds[a * words + w] & bits.tens[b * words + w];
    for (size_t c = 0; c < bits.unitsCount; ++c) {
        StraightRow row = StraightRowOfBits(ht.data(), bits.units + c * words, words, bits.drawCount);
        row.sets[0] = std::uint8_t(a);
        row.sets[1] = std::uint8_t(b);
        row.sets[2] = std::uint8_t(c);
        rows[c] = row;
    }
}

}  // namespace

void RequireFreeMemory(std::size_t bytes) {
    if (bytes == 0)
        return;
    void* block = std::malloc(bytes);
    if (!block)
        throw std::bad_alloc();
    asm volatile("" : : "r"(block) : "memory");  // the probe must really be made
    std::free(block);
}

bool ComputeStraightRows(const CompoundInput& in, int hundreds, int tens, int units, StraightRows* out,
                         common::WorkProgress* progress, std::size_t spareBytes) {
    *out = StraightRows();
    const int n = in.drawCount();
    if (n > StraightRows::kMaxDraws)
        return false;
    const int sizes[3] = {hundreds, tens, units};
    for (int p = 0; p < 3; ++p)
        out->sets[p] = DigitCombinations(sizes[p]);
    out->drawCount = n;
    const size_t counts[3] = {size_t(out->sets[0].size()), size_t(out->sets[1].size()), size_t(out->sets[2].size())};
    const size_t total = counts[0] * counts[1] * counts[2];
    if (total == 0)
        return true;
    // Each position's sets as draw bits, once; a row is the AND of three of them.
    const size_t words = size_t((n + 63) / 64);
    std::vector<std::uint64_t> bits[3];
    for (int p = 0; p < 3; ++p) {
        bits[p].reserve(counts[p] * words);
        for (const QString& set : out->sets[p]) {
            const CompoundDrawBits b = PositionDrawBits(in, p, DigitSetOf(set));
            bits[p].insert(bits[p].end(), b.begin(), b.end());
        }
    }
    out->rows.resize(total);
    RequireFreeMemory(spareBytes);
    if (progress)
        progress->setTotal((long long)(counts[0] * counts[1]));
    // One task per hundreds-and-tens pair: it writes only its own units-long stretch of rows.
    const StraightBits all{bits[0].data(), bits[1].data(), bits[2].data(), words, counts[1], counts[2], n};
    const bool done = common::ParallelFor((long long)(counts[0] * counts[1]), progress, [&](long long pair) {
        FillStraightRowsOfPair(all, size_t(pair), out->rows.data() + size_t(pair) * counts[2]);
    });
    if (!done) {
        *out = StraightRows();
        return false;
    }
    return true;
}

std::vector<OmissionRow> StraightCombinationRows(const CompoundInput& in, int hundreds, int tens, int units) {
    StraightRows compact;
    ComputeStraightRows(in, hundreds, tens, units, &compact);
    std::vector<OmissionRow> rows;
    rows.reserve(compact.rows.size());
    for (size_t i = 0; i < compact.rows.size(); ++i)
        rows.push_back(compact.row(i));
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
