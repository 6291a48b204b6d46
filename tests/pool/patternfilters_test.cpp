// Pattern filters of the basic batch and the recent-draw filter.
#include "common/numbertables.h"
#include "pool/numberpool.h"
#include "pool/patternfilters.h"

#include <gtest/gtest.h>

using namespace pool;

namespace {

int RemovedFromAll(PatternFamily family, const QString& pattern) {
    NumberPool pool = common::AllNumbers();
    QString log;
    return FilterPattern(family, pool, log, pattern);
}

bool Removes(PatternFamily family, const QString& pattern, const QString& number) {
    NumberPool pool = {number};
    QString log;
    return FilterPattern(family, pool, log, pattern) == 1;
}

}  // namespace

TEST(PatternFilters, TheNumberZeroZeroZero) {
    struct Case {
        PatternFamily family;
        const char* own;
        const char* other;
    } cases[] = {
        {PatternFamily::OddEven, "000", "001"},        {PatternFamily::PrimeComposite, "111", "000"},
        {PatternFamily::BigSmall, "000", "100"},       {PatternFamily::BigMidSmall, "小小小", "中小小"},
        {PatternFamily::Single1234, "222", "122"},     {PatternFamily::Group012, "300", "030"},
        {PatternFamily::Single012, "000", "010"},      {PatternFamily::Group1234, "222", "122"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.own);
        EXPECT_TRUE(Removes(c.family, QString::fromUtf8(c.own), "000"));
        EXPECT_FALSE(Removes(c.family, QString::fromUtf8(c.other), "000"));
    }
}

TEST(PatternFilters, DigitClassBoundaries) {
    EXPECT_TRUE(Removes(PatternFamily::BigSmall, "111", "555"));      // 5 is big
    EXPECT_TRUE(Removes(PatternFamily::BigMidSmall, "中中大", "567"));  // ... but 中 here, 7 大
    EXPECT_TRUE(Removes(PatternFamily::BigMidSmall, "中小小", "621"));
    EXPECT_TRUE(Removes(PatternFamily::PrimeComposite, "001", "129"));  // 1, 2 prime, 9 composite
    EXPECT_TRUE(Removes(PatternFamily::OddEven, "101", "381"));
    EXPECT_TRUE(Removes(PatternFamily::Single012, "012", "948"));
    EXPECT_TRUE(Removes(PatternFamily::Group012, "021", "142"));
}

TEST(PatternFilters, CountsOnTheFullSet) {
    struct Case {
        PatternFamily family;
        const char* pattern;
        int removed;
    } cases[] = {
        {PatternFamily::OddEven, "000", 125},     {PatternFamily::OddEven, "101", 125},
        {PatternFamily::BigSmall, "110", 125},    {PatternFamily::PrimeComposite, "000", 125},
        {PatternFamily::Single012, "000", 64},    {PatternFamily::Single012, "012", 36},
        {PatternFamily::Single012, "111", 27},    {PatternFamily::Group012, "300", 64},
        {PatternFamily::Group012, "111", 216},    {PatternFamily::BigMidSmall, "小小小", 27},
        {PatternFamily::BigMidSmall, "中中中", 64}, {PatternFamily::BigMidSmall, "大中小", 36},
        {PatternFamily::Single1234, "111", 8},    {PatternFamily::Single1234, "222", 27},
        {PatternFamily::Group1234, "123", 108},   {PatternFamily::Group1234, "321", 0},
        {PatternFamily::OddEven, "0000", 0},      {PatternFamily::OddEven, "", 0},
        {PatternFamily::Group012, "3", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(RemovedFromAll(c.family, QString::fromUtf8(c.pattern)), c.removed);
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

    const std::pair<PatternFamily, QStringList> families[] = {
        {PatternFamily::Group012, group012},   {PatternFamily::Group1234, group1234},
        {PatternFamily::Single1234, single1234}, {PatternFamily::Single012, single012},
        {PatternFamily::BigMidSmall, bms},     {PatternFamily::OddEven, binary},
        {PatternFamily::BigSmall, binary},     {PatternFamily::PrimeComposite, binary},
    };
    for (const auto& [family, patterns] : families) {
        SCOPED_TRACE(patterns.join(' ').toStdString());
        NumberPool pool = common::AllNumbers();
        QString log;
        int total = 0;
        for (const QString& p : patterns) {
            const int removed = FilterPattern(family, pool, log, p);
            EXPECT_GT(removed, 0) << p.toStdString();
            total += removed;
        }
        EXPECT_EQ(total, 1000);
        EXPECT_TRUE(pool.isEmpty());
        EXPECT_EQ(log.count("| "), 1000);
    }
}

TEST(PatternFilters, OneTwoThreeFourClasses) {
    for (const char* n : {"521", "125", "150"}) EXPECT_TRUE(Removes(PatternFamily::Group1234, "123", n)) << n;
    EXPECT_FALSE(Removes(PatternFamily::Group1234, "123", "250"));
    EXPECT_TRUE(Removes(PatternFamily::Group1234, "223", "250"));
    EXPECT_TRUE(Removes(PatternFamily::Single1234, "321", "501"));
    EXPECT_FALSE(Removes(PatternFamily::Single1234, "321", "105"));
    EXPECT_TRUE(Removes(PatternFamily::Single1234, "444", "868"));
}

TEST(PatternFilters, GroupZeroOneTwoRouteRequestOnAllGroupNumbers) {
    // 全部组选 with the 组选012路 pattern "021" ticked, framed as the basic batch writes it.
    PoolSession s;
    s.pool = common::GroupTable();
    s.CommitSet();  // as the base-set builder leaves it
    const int removed = s.RunFilter("组选012路过滤开始", "组选过滤012路：021 ", [](NumberPool& p, QString& log) {
        FilterPattern(PatternFamily::Group012, p, log, "021");
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
    EXPECT_EQ(FilterPattern(PatternFamily::OddEven, pool, log, "111"), 0);
    EXPECT_EQ(FilterPattern(PatternFamily::Group012, pool, log, "abc"), 0);
    EXPECT_EQ(pool, (NumberPool{"905", "012", "500", "012"}));
    EXPECT_EQ(log, "x");
    // Both copies of a repeat go, survivors keep their order.
    EXPECT_EQ(FilterPattern(PatternFamily::Single012, pool, log, "012"), 2);
    EXPECT_EQ(pool, (NumberPool{"905", "500"}));
    EXPECT_EQ(log, "x012| 012| ");

    NumberPool empty;
    EXPECT_EQ(FilterPattern(PatternFamily::Group1234, empty, log, "123"), 0);
}

TEST(PatternFilters, PatternOfANumber) {
    EXPECT_EQ(PatternOf(PatternFamily::Group012, "142"), "021");
    EXPECT_EQ(PatternOf(PatternFamily::BigMidSmall, "907"), "大小大");
    EXPECT_EQ(PatternOf(PatternFamily::Group1234, "521"), "123");
    EXPECT_EQ(PatternOf(PatternFamily::Single1234, "521"), "321");
    EXPECT_EQ(PatternOf(PatternFamily::PrimeComposite, "040"), "111");
    EXPECT_TRUE(PatternOf(PatternFamily::OddEven, "12").isEmpty());
}
