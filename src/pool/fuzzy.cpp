#include "pool/fuzzy.h"

#include "common/drawtext.h"

namespace pool {

FuzzyRule FuzzyRule::FromText(bool enabled, const QString& digitText, const std::array<bool, 4>& allowedCounts) {
    FuzzyRule rule;
    rule.enabled = enabled;
    rule.allowedCounts = allowedCounts;
    ParseNumberList(digitText, 1, &rule.digits);
    return rule;
}

bool FuzzyCondition(const FuzzyRule& rule, int h, int t, int u, FuzzyUsedPositions& used) {
    if (!rule.enabled) return false;
    const std::array<int, 3> digits{h, t, u};
    int hits = 0;
    for (int d : rule.digits) {
        for (size_t p = 0; p < 3; ++p) {
            if (d == digits[p] && !used[p]) {
                used[p] = true;
                ++hits;
            }
        }
    }
    return rule.allowedCounts[size_t(hits)];
}

namespace {

// Whether some order of the conditions takes all three positions in allowed counts.
bool FuzzyKeeps(const std::array<FuzzyRule, 3>& rules, int h, int t, int u) {
    static constexpr int kOrders[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 1, 0}, {2, 0, 1}};
    for (const auto& order : kOrders) {
        FuzzyUsedPositions used{};
        for (int k : order) {
            if (!FuzzyCondition(rules[size_t(k)], h, t, u, used)) break;
            if (used[0] && used[1] && used[2]) return true;
        }
    }
    return false;
}

}  // namespace

int FilterFuzzy(NumberPool& pool, QString& log, const std::array<FuzzyRule, 3>& rules) {
    // The verdict depends only on the number, so each of the 1000 is decided once per run.
    std::array<signed char, 1000> verdict;
    verdict.fill(-1);
    int removed = 0;
    QString block;
    for (QString& entry : pool) {
        if (!common::IsNumberText(entry)) continue;
        const int value = entry.toInt();
        signed char& keep = verdict[size_t(value)];
        if (keep < 0) keep = FuzzyKeeps(rules, value / 100, value / 10 % 10, value % 10) ? 1 : 0;
        if (keep) continue;
        block += entry + QStringLiteral("| ");
        entry.clear();
        ++removed;
    }
    log += block;
    CompactSet(pool);
    return removed;
}

}  // namespace pool
