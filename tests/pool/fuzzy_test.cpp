#include "pool/fuzzy.h"

#include "common/numbertables.h"
#include "pool/fuzzyclasses.h"
#include "historyfixture.h"

#include <gtest/gtest.h>

using pool::FuzzyRule;
using Rules = std::array<FuzzyRule, 3>;

namespace {

// Allowed counts written as digits, e.g. "12" allows one or two hits.
std::array<bool, 4> Allow(const char* counts) {
    std::array<bool, 4> a{};
    for (const char* c = counts; *c; ++c) a[size_t(*c - '0')] = true;
    return a;
}

FuzzyRule On(const char* digits, const char* counts) {
    return FuzzyRule::FromText(true, QString::fromUtf8(digits), Allow(counts));
}
const FuzzyRule kOff{};

// Three conditions: 1,5,6 taking one or two; 3,4 taking none or one; 2,7,8 taking two or three.
Rules Example() { return {On("1,5,6", "12"), On("3,4", "01"), On("2,7,8", "23")}; }

struct KeepCase {
    const char* what;
    Rules rules;
    const char* number;
    bool kept;
};

class FuzzyKeepTable : public ::testing::TestWithParam<KeepCase> {};

TEST_P(FuzzyKeepTable, KeepsOnlyWhenSomeOrderTakesAllThreeDigits) {
    const KeepCase& c = GetParam();
    pool::NumberPool p{QString::fromLatin1(c.number)};
    QString log;
    const int removed = pool::FilterFuzzy(p, log, c.rules);
    EXPECT_EQ(removed, c.kept ? 0 : 1) << c.what;
    EXPECT_EQ(p.size(), c.kept ? 1 : 0) << c.what;
    EXPECT_EQ(log, c.kept ? QString() : QString::fromLatin1(c.number) + QStringLiteral("| ")) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FuzzyKeepTable,
    ::testing::Values(
        KeepCase{"113: 1 takes two, 2 takes the 3", Example(), "113", true},
        KeepCase{"123: condition 3 gets a single hit", Example(), "123", false},
        // Condition 2 passes with nothing taken, but 1 takes all three and 3 takes none.
        KeepCase{"115", Example(), "115", false},
        KeepCase{"overlap kept by order 2-1", {On("1,2", "1"), On("2", "2"), kOff}, "122", true},
        KeepCase{"overlap, order 1-2 only would fail", {On("1,2", "1"), kOff, kOff}, "122", false},
        // A digit listed twice takes nothing more the second time.
        KeepCase{"repeated digit", {On("1,1,2", "2"), On("0,1,2,3,4,5,6,7,8,9", "1"), kOff}, "113", true},
        KeepCase{"repeated digit does not count twice", {On("1,1", "3"), kOff, kOff}, "111", true},
        // Kept after one condition alone when it takes all three positions.
        KeepCase{"first condition takes all", {On("7", "3"), On("", ""), On("", "")}, "777", true},
        KeepCase{"no count ticked fails", {On("0,1,2,3,4,5,6,7,8,9", ""), kOff, kOff}, "123", false},
        KeepCase{"empty digit set has 0 hits", {On("", "0"), On("1,2,3", "3"), kOff}, "321", true},
        KeepCase{"all switches off", {kOff, kOff, kOff}, "123", false},
        KeepCase{"full-width comma and blanks", {On(" 4 ，5, 6", "3"), kOff, kOff}, "654", true},
        KeepCase{"items that are not one digit are dropped", {On("12,a,3", "3"), kOff, kOff}, "333", true}),
    [](const ::testing::TestParamInfo<KeepCase>& info) { return "Case" + std::to_string(info.index); });

TEST(FilterFuzzy, WholeSetEdgeCases) {
    const Rules allTenThree{On("0,1,2,3,4,5,6,7,8,9", "3"), kOff, kOff};
    const Rules allTenOne{On("0,1,2,3,4,5,6,7,8,9", "1"), kOff, kOff};
    pool::NumberPool p = common::AllNumbers();
    QString log;
    EXPECT_EQ(pool::FilterFuzzy(p, log, allTenThree), 0);
    EXPECT_EQ(p.size(), 1000);
    EXPECT_TRUE(log.isEmpty());
    EXPECT_EQ(pool::FilterFuzzy(p, log, allTenOne), 1000);
    EXPECT_TRUE(p.isEmpty());
    EXPECT_TRUE(log.startsWith(QStringLiteral("000| 001| ")));
    EXPECT_TRUE(log.endsWith(QStringLiteral("999| ")));
    // An empty pool stays empty and logs nothing.
    log.clear();
    EXPECT_EQ(pool::FilterFuzzy(p, log, allTenOne), 0);
    EXPECT_TRUE(log.isEmpty());
}

TEST(FilterFuzzy, LogsRemovedInPoolOrderAndCompacts) {
    // Repeats are judged one by one; blanks are dropped; stray text is left for the caller.
    pool::NumberPool p{"113", "123", "", "115", "123", "12a"};
    QString log = QStringLiteral("x");
    EXPECT_EQ(pool::FilterFuzzy(p, log, Example()), 3);
    EXPECT_EQ(log, QStringLiteral("x123| 115| 123| "));
    EXPECT_EQ(p, (pool::NumberPool{"113", "12a"}));
}

TEST(FilterFuzzy, ConditionMarksStayWhenItFails) {
    pool::FuzzyUsedPositions used{};
    EXPECT_FALSE(pool::FuzzyCondition(On("1", "3"), 1, 2, 1, used));
    EXPECT_EQ(used, (pool::FuzzyUsedPositions{true, false, true}));
    // A switched-off rule touches nothing.
    pool::FuzzyUsedPositions clear{};
    EXPECT_FALSE(pool::FuzzyCondition(kOff, 1, 1, 1, clear));
    EXPECT_EQ(clear, (pool::FuzzyUsedPositions{}));
}

// With a partition (no overlap) a number stays exactly when every class it draws from is
// switched on and allows the number of its digits there.
TEST(FilterFuzzy, RealHistoryHotWarmColdOnGroupTable) {
    SKIP_WITHOUT_SHARED("data/HAO.TXT");
    const common::DrawHistory h = poolfixture::SharedHistory();
    ASSERT_GE(h.count(), 7);
    const pool::DigitPartition hwc = pool::HotWarmColdClasses(h, h.count());
    const std::array<const char*, 3> counts{"12", "01", "012"};
    Rules rules;
    for (int k = 0; k < 3; ++k) rules[size_t(k)] = FuzzyRule::FromText(true, hwc.listText(k), Allow(counts[size_t(k)]));

    pool::NumberPool p = common::GroupTable();
    pool::NumberPool expectedKept;
    QString expectedLog;
    for (const QString& n : p) {
        std::array<int, 3> perClass{};
        for (QChar c : n) ++perClass[size_t(hwc.classOf(c.unicode() - '0'))];
        bool keep = true;
        for (int k = 0; k < 3; ++k)
            if (perClass[size_t(k)] > 0 && !rules[size_t(k)].allowedCounts[size_t(perClass[size_t(k)])]) keep = false;
        if (keep) expectedKept << n;
        else expectedLog += n + QStringLiteral("| ");
    }
    QString log;
    EXPECT_EQ(pool::FilterFuzzy(p, log, rules), 220 - expectedKept.size());
    EXPECT_EQ(p, expectedKept);
    EXPECT_EQ(log, expectedLog);
}

}  // namespace
