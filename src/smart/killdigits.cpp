#include "smart/killdigits.h"

#include "common/drawattributes.h"
#include "common/numbertables.h"
#include "pool/valuefilters.h"

#include <cstring>

namespace smart {

// ---- Generator ----------------------------------------------------------------------------
// A 24-bit linear congruential sequence; a seed is folded into the state and stirred.

namespace {
constexpr std::uint32_t kSmartRandomMask = 0xFFFFFF;
constexpr double kSmartRandomScale = 16777216.0;
}  // namespace

double SmartRandom::Reset(int negativeSeed) {
    const float seed = float(negativeSeed);
    std::uint32_t bits = 0;
    std::memcpy(&bits, &seed, sizeof bits);
    state_ = (bits + (bits >> 24)) & kSmartRandomMask;
    return Next();
}

void SmartRandom::Seed(double number) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &number, sizeof bits);
    std::uint32_t mix = std::uint32_t(bits >> 32) ^ std::uint32_t(bits);
    mix ^= mix >> 16;
    // Stirred once so that a seed after a seed depends on both.
    state_ = ((state_ ^ ((mix & 0xFFFF) << 8)) * 0x43FD43FDu + 0xC39EC3u) & kSmartRandomMask;
}

double SmartRandom::Next() {
    state_ = (state_ * 0x43FD43FDu + 0xC39EC3u) & kSmartRandomMask;
    return double(state_) / kSmartRandomScale;
}

int SmartRandom::NextIndex(int span) { return int(Next() * span + 1); }

// ---- History tables -----------------------------------------------------------------------

bool BaseIsUsable(const common::DrawHistory& history, int base) {
    return base >= kBaseDrawsNeeded && base <= history.count();
}

QString ShortHistoryMessage(int drawsNeeded) {
    return QStringLiteral("开奖数据不足：智能计算需要基数期及之前共%1期开奖号码，请先更新数据。").arg(drawsNeeded);
}

namespace {
template <class Measure>
QList<int> MeasureDrawsBackFromBase(const common::DrawHistory& history, int base, Measure measure) {
    QList<int> values;
    values.reserve(kBaseDrawsNeeded);
    for (int k = 1; k <= kBaseDrawsNeeded; ++k) values << measure(history.number(base - k + 1));
    return values;
}
}  // namespace

QList<int> BaseSums(const common::DrawHistory& history, int base) {
    return MeasureDrawsBackFromBase(history, base, [](const QString& n) { return common::Sum(n); });
}

QList<int> BaseSpans(const common::DrawHistory& history, int base) {
    return MeasureDrawsBackFromBase(history, base, [](const QString& n) { return common::Span(n); });
}

// ---- Kill lines and base sets -------------------------------------------------------------

QList<int> KillLines(int killCount, int scheme) {
    if (scheme < 0 || scheme > 3 || killCount < 1 || killCount > 3) return {};
    static const QList<int> lines[3][4] = {{{0}, {1}, {2}, {3}},
                                           {{0, 1}, {1, 2}, {0, 2}, {1, 3}},
                                           {{0, 1, 2}, {1, 2, 3}, {0, 2, 3}, {0, 1, 3}}};
    return lines[killCount - 1][scheme];
}

const QStringList& KillDigitBaseTable(int baseType) {
    if (baseType == 1) return common::GroupSixTable();
    if (baseType == 2) return common::GroupThreeTable();
    return common::GroupTable();
}

QList<int> ExcludeSums(pool::NumberPool& pool, QString& log, const QList<int>& baseSums, int start, int count) {
    QList<int> excluded;
    int idx = start;
    while (int(excluded.size()) < count && idx < int(kSumDistance.size())) {
        ++idx;
        const int distance = kSumDistance[size_t(idx - 1)];
        if (distance > baseSums.size()) continue;
        const int sum = baseSums.at(distance - 1);
        if (sum > 25 || sum < 2 || excluded.contains(sum)) continue;
        pool::FilterSum(pool, log, sum);
        excluded << sum;
    }
    return excluded;
}

QString ComputeKillDigits(const common::DrawHistory& history, int base, const KillDigitSettings& settings,
                          const QList<int>& summaryDigits, pool::NumberPool& pool, QString& log,
                          QList<int>* excludedSums) {
    const QList<int> sums = BaseSums(history, base);

    SmartRandom random;
    random.Reset(-1);
    random.Seed(sums.at(1));
    pool = KillDigitBaseTable(settings.baseType);
    random.Seed(sums.at(0));
    const int start = random.NextIndex(10);

    const QList<int> excluded = ExcludeSums(pool, log, sums, start, settings.sumCount);
    if (excludedSums) *excludedSums = excluded;

    QString digits;
    for (int line : KillLines(settings.killCount, settings.scheme)) {
        if (line >= summaryDigits.size()) continue;
        const QString digit = QString::number(summaryDigits.at(line));
        pool::FilterContainsDigit(pool, log, digit, true);
        digits += digit;
    }
    return digits;
}

}  // namespace smart
