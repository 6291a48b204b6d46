// Pattern filters of the basic batch and the recent-draw filter.
#include "common/numbertables.h"
#include "pool/numberpool.h"
#include "pool/patternfilters.h"

#include <gtest/gtest.h>

using namespace pool;

namespace {

using Routine = int (*)(NumberPool&, QString&, const QString&);

int RemovedFromAll(Routine r, const QString& pattern) {
    NumberPool pool = common::AllNumbers();
    QString log;
    return r(pool, log, pattern);
}

bool Removes(Routine r, const QString& pattern, const QString& number) {
    NumberPool pool = {number};
    QString log;
    return r(pool, log, pattern) == 1;
}

}  // namespace

TEST(PatternFilters, TheNumberZeroZeroZero) {
    struct Case {
        Routine routine;
        const char* own;
        const char* other;
    } cases[] = {
        {FilterOddEvenPattern, "000", "001"},        {FilterPrimeCompositePattern, "111", "000"},
        {FilterBigSmallPattern, "000", "100"},       {FilterBigMidSmallPattern, "小小小", "中小小"},
        {FilterSingle1234Pattern, "222", "122"},     {FilterGroup012Pattern, "300", "030"},
        {FilterSingle012Pattern, "000", "010"},      {FilterGroup1234Pattern, "222", "122"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.own);
        EXPECT_TRUE(Removes(c.routine, QString::fromUtf8(c.own), "000"));
        EXPECT_FALSE(Removes(c.routine, QString::fromUtf8(c.other), "000"));
    }
}

TEST(PatternFilters, DigitClassBoundaries) {
    EXPECT_TRUE(Removes(FilterBigSmallPattern, "111", "555"));      // 5 is big
    EXPECT_TRUE(Removes(FilterBigMidSmallPattern, "中中大", "567"));  // ... but 中 here, 7 大
    EXPECT_TRUE(Removes(FilterBigMidSmallPattern, "中小小", "621"));
    EXPECT_TRUE(Removes(FilterPrimeCompositePattern, "001", "129"));  // 1, 2 prime, 9 composite
    EXPECT_TRUE(Removes(FilterOddEvenPattern, "101", "381"));
    EXPECT_TRUE(Removes(FilterSingle012Pattern, "012", "948"));
    EXPECT_TRUE(Removes(FilterGroup012Pattern, "021", "142"));
}

TEST(PatternFilters, CountsOnTheFullSet) {
    struct Case {
        Routine routine;
        const char* pattern;
        int removed;
    } cases[] = {
        {FilterOddEvenPattern, "000", 125},     {FilterOddEvenPattern, "101", 125},
        {FilterBigSmallPattern, "110", 125},    {FilterPrimeCompositePattern, "000", 125},
        {FilterSingle012Pattern, "000", 64},    {FilterSingle012Pattern, "012", 36},
        {FilterSingle012Pattern, "111", 27},    {FilterGroup012Pattern, "300", 64},
        {FilterGroup012Pattern, "111", 216},    {FilterBigMidSmallPattern, "小小小", 27},
        {FilterBigMidSmallPattern, "中中中", 64}, {FilterBigMidSmallPattern, "大中小", 36},
        {FilterSingle1234Pattern, "111", 8},    {FilterSingle1234Pattern, "222", 27},
        {FilterGroup1234Pattern, "123", 108},   {FilterGroup1234Pattern, "321", 0},
        {FilterOddEvenPattern, "0000", 0},      {FilterOddEvenPattern, "", 0},
        {FilterGroup012Pattern, "3", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(RemovedFromAll(c.routine, QString::fromUtf8(c.pattern)), c.removed);
    }
}

TEST(PatternFilters, EveryPatternOfAFamilyTogetherTakesAll) {
    // The editor's patterns of a family split all numbers: ticking them all empties the set.
    const QStringList group012 = {"300", "210", "201", "120", "102", "111", "030", "003", "012", "021"};
    QStringList group1234, single1234, single012, binary, bms;
    for (int a = 1; a <= 4; ++a)
        for (int b = a; b <= 4; ++b)
            for (int c = b; c <= 4; ++c) group1234 << QString("%1%2%3").arg(a).arg(b).arg(c);
    for (int i = 0; i < 64; ++i) single1234 << QString("%1%2%3").arg(i / 16 + 1).arg(i / 4 % 4 + 1).arg(i % 4 + 1);
    const QString cls = QStringLiteral("大中小");
    for (int i = 0; i < 27; ++i) {
        single012 << QString("%1%2%3").arg(i % 3).arg(i / 9).arg(i / 3 % 3);  // box i = r1 + 9 r2 + 3 r3
        bms << QString(cls[i % 3]) + cls[i / 9] + cls[i / 3 % 3];
    }
    for (int i = 0; i < 8; ++i) binary << QString::number(i, 2).rightJustified(3, '0');
    ASSERT_EQ(group1234.size(), 20);

    const std::pair<Routine, QStringList> families[] = {
        {FilterGroup012Pattern, group012},   {FilterGroup1234Pattern, group1234},
        {FilterSingle1234Pattern, single1234}, {FilterSingle012Pattern, single012},
        {FilterBigMidSmallPattern, bms},     {FilterOddEvenPattern, binary},
        {FilterBigSmallPattern, binary},     {FilterPrimeCompositePattern, binary},
    };
    for (const auto& [routine, patterns] : families) {
        SCOPED_TRACE(patterns.join(' ').toStdString());
        NumberPool pool = common::AllNumbers();
        QString log;
        int total = 0;
        for (const QString& p : patterns) {
            const int removed = routine(pool, log, p);
            EXPECT_GT(removed, 0) << p.toStdString();
            total += removed;
        }
        EXPECT_EQ(total, 1000);
        EXPECT_TRUE(pool.isEmpty());
        EXPECT_EQ(log.count("| "), 1000);
    }
}

TEST(PatternFilters, OneTwoThreeFourClasses) {
    for (const char* n : {"521", "125", "150"}) EXPECT_TRUE(Removes(FilterGroup1234Pattern, "123", n)) << n;
    EXPECT_FALSE(Removes(FilterGroup1234Pattern, "123", "250"));
    EXPECT_TRUE(Removes(FilterGroup1234Pattern, "223", "250"));
    EXPECT_TRUE(Removes(FilterSingle1234Pattern, "321", "501"));
    EXPECT_FALSE(Removes(FilterSingle1234Pattern, "321", "105"));
    EXPECT_TRUE(Removes(FilterSingle1234Pattern, "444", "868"));
}

TEST(PatternFilters, GroupZeroOneTwoRouteRequestOnAllGroupNumbers) {
    // 全部组选 with the 组选012路 pattern "021" ticked, framed as the basic batch writes it.
    PoolSession s;
    s.pool = common::GroupTable();
    s.CommitSet();  // as the base-set builder leaves it
    const int removed = s.RunFilter("组选012路过滤开始", "组选过滤012路：021 ", [](NumberPool& p, QString& log) {
        FilterGroup012Pattern(p, log, "021");
        log += "\n组选012路： 021 ";
    });
    EXPECT_EQ(removed, 18);
    EXPECT_EQ(s.pool.size(), 202);
    EXPECT_EQ(s.log.text(), WorkbenchLog::InitialText() +
                                "\n组选012路过滤开始\n"
                                "112| 115| 118| 124| 127| 145| 148| 157| 178| 244| 247| 277| 445| 448| 457| 478| 577| 778| "
                                "\n组选012路： 021 \n过滤18注\n还剩202注\n");
    s.Undo();
    EXPECT_EQ(s.pool, common::GroupTable());
}

TEST(PatternFilters, NoMatchLeavesPoolAndLogAlone) {
    NumberPool pool = {"905", "012", "500", "012"};
    QString log = "x";
    EXPECT_EQ(FilterOddEvenPattern(pool, log, "111"), 0);
    EXPECT_EQ(FilterGroup012Pattern(pool, log, "abc"), 0);
    EXPECT_EQ(pool, (NumberPool{"905", "012", "500", "012"}));
    EXPECT_EQ(log, "x");
    // Both copies of a repeat go, survivors keep their order.
    EXPECT_EQ(FilterSingle012Pattern(pool, log, "012"), 2);
    EXPECT_EQ(pool, (NumberPool{"905", "500"}));
    EXPECT_EQ(log, "x012| 012| ");

    NumberPool empty;
    EXPECT_EQ(FilterGroup1234Pattern(empty, log, "123"), 0);
}

TEST(PatternFilters, PatternOfANumber) {
    EXPECT_EQ(PatternOf(PatternFamily::Group012, "142"), "021");
    EXPECT_EQ(PatternOf(PatternFamily::BigMidSmall, "907"), "大小大");
    EXPECT_EQ(PatternOf(PatternFamily::Group1234, "521"), "123");
    EXPECT_EQ(PatternOf(PatternFamily::Single1234, "521"), "321");
    EXPECT_EQ(PatternOf(PatternFamily::PrimeComposite, "040"), "111");
    EXPECT_TRUE(PatternOf(PatternFamily::OddEven, "12").isEmpty());
}
