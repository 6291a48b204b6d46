// The kill-digit computation: generator, kill lines, sum exclusion and the cut group set.
#include "common/drawattributes.h"
#include "common/numbertables.h"
#include "smart/killdigits.h"
#include "calcfixture.h"
#include "historyof.h"

#include <gtest/gtest.h>

#include <QSet>

namespace {

QList<int> KdSummary() {
    // Digits 4, 7, 1, 9 at places 0..3, as the calculator's summary gives them.
    return {4, 7, 1, 9};
}

bool KdContainsAny(const QString& number, const QString& digits) {
    for (QChar d : digits)
        if (number.contains(d)) return true;
    return false;
}

}  // namespace

TEST(SmartKillDigits, GeneratorIsDeterministicAndBelowOne) {
    smart::SmartRandom a, b, c;
    a.Reset(-1);
    b.Reset(-1);
    c.Reset(-1);
    a.Seed(13);
    b.Seed(13);
    c.Seed(14);
    bool differs = false;
    for (int i = 0; i < 200; ++i) {
        const double x = a.Next();
        EXPECT_EQ(x, b.Next());
        if (x != c.Next()) differs = true;
        EXPECT_GE(x, 0.0);
        EXPECT_LT(x, 1.0);
    }
    EXPECT_TRUE(differs);
    // A second seed depends on the first.
    smart::SmartRandom d, e;
    d.Reset(-1);
    e.Reset(-1);
    d.Seed(5);
    e.Seed(6);
    d.Seed(9);
    e.Seed(9);
    EXPECT_NE(d.Next(), e.Next());
}

TEST(SmartKillDigits, KillLineTable) {
    const struct {
        int count;
        int scheme;
        QList<int> lines;
    } cases[] = {
        {1, 0, {0}},          {1, 3, {3}},          {2, 0, {0, 1}},    {2, 1, {1, 2}},
        {2, 2, {0, 2}},       {2, 3, {1, 3}},       {3, 0, {0, 1, 2}}, {3, 1, {1, 2, 3}},
        {3, 2, {0, 2, 3}},    {3, 3, {0, 1, 3}},    {4, 0, {}},        {0, 0, {}},
        {1, 4, {}},          {1, -1, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(smart::KillLines(c.count, c.scheme), c.lines) << c.count << c.scheme;
}

TEST(SmartKillDigits, BaseSumsCountBackFromTheBase) {
    const common::DrawHistory history = testsupport::HistoryOf(calcfixture::MixedHistory(520), QStringLiteral("2020"));
    EXPECT_FALSE(smart::BaseIsUsable(history, 499));
    EXPECT_TRUE(smart::BaseIsUsable(history, 500));
    EXPECT_FALSE(smart::BaseIsUsable(history, 521));
    const QList<int> sums = smart::BaseSums(history, 510);
    ASSERT_EQ(sums.size(), 500);
    EXPECT_EQ(sums.at(0), common::Sum(history.number(510)));
    EXPECT_EQ(sums.at(1), common::Sum(history.number(509)));
    EXPECT_EQ(sums.at(499), common::Sum(history.number(11)));
}

TEST(SmartKillDigits, SumExclusionSkipsOutOfRangeAndRepeatsAndNeverPassesTheTable) {
    // Every distance reads 7, except two that read sums outside 2..25.
    QList<int> sums(500, 7);
    sums[139 - 1] = 1;   // entry 1
    sums[174 - 1] = 26;  // entry 2
    pool::NumberPool pool = common::GroupTable();
    QString log;
    QList<int> excluded = smart::ExcludeSums(pool, log, sums, 0, 3);
    EXPECT_EQ(excluded, QList<int>{7});  // one distinct sum only, the table ran out
    for (const QString& n : pool) EXPECT_NE(common::Sum(n), 7);

    // Distinct qualifying sums from the entry after the start.
    for (int e = 0; e < 20; ++e) sums[smart::kSumDistance[size_t(e)] - 1] = 2 + e;
    pool = common::GroupTable();
    excluded = smart::ExcludeSums(pool, log, sums, 10, 3);
    EXPECT_EQ(excluded, (QList<int>{12, 13, 14}));  // entries 11, 12, 13
    excluded = smart::ExcludeSums(pool, log, sums, 19, 3);
    EXPECT_EQ(excluded, QList<int>{21});             // only entry 20 remains
    excluded = smart::ExcludeSums(pool, log, sums, 20, 3);
    EXPECT_TRUE(excluded.isEmpty());
}

TEST(SmartKillDigits, ComputationCutsTheBaseTableAndReturnsTheDigitsInTableOrder) {
    const common::DrawHistory history = testsupport::HistoryOf(calcfixture::MixedHistory(600), QStringLiteral("2020"));
    smart::KillDigitSettings s;
    s.killCount = 3;
    s.scheme = 1;
    s.sumCount = 3;
    pool::NumberPool pool{QStringLiteral("left over")};
    QString log;
    QList<int> sums;
    EXPECT_EQ(smart::ComputeKillDigits(history, 600, s, KdSummary(), pool, log, &sums), QStringLiteral("719"));
    EXPECT_EQ(QSet<int>(sums.begin(), sums.end()).size(), sums.size());
    EXPECT_LE(sums.size(), 3);
    for (int sum : sums) {
        EXPECT_GE(sum, 2);
        EXPECT_LE(sum, 25);
    }
    QStringList expected;
    for (const QString& n : common::GroupTable())
        if (!KdContainsAny(n, QStringLiteral("719")) && !sums.contains(common::Sum(n))) expected << n;
    EXPECT_EQ(pool, expected);
    EXPECT_TRUE(log.contains(QStringLiteral("| ")));

    // Every scheme of one base excludes the same sums; only the digits differ.
    for (int scheme = 0; scheme < 4; ++scheme) {
        s.scheme = scheme;
        QList<int> again;
        smart::ComputeKillDigits(history, 600, s, KdSummary(), pool, log, &again);
        EXPECT_EQ(again, sums) << scheme;
    }
    // The same call twice gives the same pool.
    s.scheme = 2;
    pool::NumberPool first, second;
    EXPECT_EQ(smart::ComputeKillDigits(history, 600, s, KdSummary(), first, log), QStringLiteral("419"));
    EXPECT_EQ(smart::ComputeKillDigits(history, 600, s, KdSummary(), second, log), QStringLiteral("419"));
    EXPECT_EQ(first, second);
}

TEST(SmartKillDigits, NoSumsNoSummaryAndGroupThree) {
    const common::DrawHistory history = testsupport::HistoryOf(calcfixture::MixedHistory(600), QStringLiteral("2020"));
    smart::KillDigitSettings s;
    s.killCount = 2;
    s.scheme = 0;
    s.sumCount = 0;
    pool::NumberPool pool;
    QString log;
    // An empty summary: the base set alone.
    EXPECT_EQ(smart::ComputeKillDigits(history, 600, s, {}, pool, log), QString());
    EXPECT_EQ(pool, common::GroupTable());
    EXPECT_TRUE(log.isEmpty());
    // A summary shorter than the table asks for gives only the digits it has.
    s.killCount = 3;
    s.scheme = 3;  // lines 0, 1, 3
    EXPECT_EQ(smart::ComputeKillDigits(history, 600, s, KdSummary().mid(0, 2), pool, log), QStringLiteral("47"));
    // 组选三: "112" goes with the kill digit 1.
    s.baseType = 2;
    s.killCount = 1;
    s.scheme = 2;
    EXPECT_EQ(smart::ComputeKillDigits(history, 600, s, KdSummary(), pool, log), QStringLiteral("1"));
    EXPECT_FALSE(pool.contains(QStringLiteral("112")));
    EXPECT_EQ(pool.size(), common::GroupThreeTable().size() - 18);  // 18 of the 90 hold a 1
    // 组选六 with an unknown kill count: the base table, no digits.
    s.baseType = 1;
    s.killCount = 5;
    EXPECT_EQ(smart::ComputeKillDigits(history, 600, s, KdSummary(), pool, log), QString());
    EXPECT_EQ(pool, common::GroupSixTable());
}
