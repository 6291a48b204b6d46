// The two batch filters as routines: log frames, descriptions, chaining and commits.
#include "pool/batch.h"

#include "common/drawhistory.h"
#include "common/numbertables.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

using pool::AdvancedCondition;
using pool::AdvancedFamily;
using pool::BasicCondition;
using pool::BasicFamily;
using pool::TickedBox;

pool::PoolSession Session(const QStringList& numbers) {
    pool::PoolSession s;
    s.pool = numbers;
    s.log.setText(QString());
    return s;
}

std::string S(const QString& q) { return q.toStdString(); }

TEST(BasicBatch, Group012TypicalRequest) {
    pool::PoolSession s = Session(common::GroupTable());
    pool::RunBasicBatch(s, {{BasicFamily::Group012, {{9, QStringLiteral("021")}}}});
    EXPECT_EQ(s.pool.size(), 202);
    EXPECT_EQ(s.ring.index(), 1);  // committed once
    EXPECT_FALSE(s.pool.contains(QStringLiteral("112")));
    EXPECT_FALSE(s.pool.contains(QStringLiteral("145")));
    EXPECT_FALSE(s.pool.contains(QStringLiteral("478")));
    EXPECT_TRUE(s.pool.contains(QStringLiteral("111")));
    EXPECT_TRUE(s.pool.contains(QStringLiteral("222")));
    const QString log = s.log.text();
    EXPECT_TRUE(log.startsWith(QStringLiteral("\n组选012路过滤开始\n"))) << S(log);
    EXPECT_TRUE(log.endsWith(QStringLiteral("| \n组选012路： 021 \n过滤18注\n还剩202注\n"))) << S(log);
    EXPECT_EQ(log.count(QStringLiteral("| ")), 18);
    EXPECT_EQ(s.setDescription, QStringLiteral("组选过滤012路：021 "));
}

TEST(BasicBatch, NothingTickedStillLogsAndCommits) {
    pool::PoolSession s = Session({QStringLiteral("123"), QStringLiteral("456")});
    pool::RunBasicBatch(s, {{BasicFamily::BigMidSmall, {}}});
    EXPECT_EQ(s.log.text(), QStringLiteral("\n大中小过滤开始\n\n大中小： \n过滤0注\n还剩2注\n"));
    EXPECT_EQ(s.setDescription, QStringLiteral("大中小："));
    EXPECT_EQ(s.ring.index(), 1);
}

TEST(BasicBatch, ClassTabsPassTheBoxIndexInBinary) {
    // 奇偶 boxes 0 (偶偶偶) and 7 (奇奇奇): the all-even and the all-odd numbers go.
    pool::PoolSession s = Session({QStringLiteral("024"), QStringLiteral("135"), QStringLiteral("124"),
                                   QStringLiteral("500"), QStringLiteral("999")});
    pool::RunBasicBatch(
        s, {{BasicFamily::OddEven, {{0, QStringLiteral("偶偶偶")}, {7, QStringLiteral("奇奇奇")}}}});
    EXPECT_EQ(s.pool, QStringList({QStringLiteral("124"), QStringLiteral("500")}));
    EXPECT_EQ(s.log.text(),
              QStringLiteral("\n奇偶组合过滤开始\n024| 135| 999| \n奇偶组合： 偶偶偶 奇奇奇 \n过滤3注\n还剩2注\n"));
    EXPECT_EQ(s.setDescription, QStringLiteral("奇偶组合：偶偶偶 奇奇奇 "));

    EXPECT_EQ(pool::BasicPattern(BasicFamily::BigSmall, {4, QStringLiteral("大小小")}), QStringLiteral("100"));
    EXPECT_EQ(pool::BasicPattern(BasicFamily::PrimeComposite, {3, QStringLiteral("质合合")}), QStringLiteral("011"));
    EXPECT_EQ(pool::BasicPattern(BasicFamily::Group1234, {5, QStringLiteral("123")}), QStringLiteral("123"));
}

TEST(BasicBatch, PatternsChainWithinAFamily) {
    // 组选1234 "123" takes 150 and 051 but not 155; "133" then takes 155.
    pool::PoolSession s = Session({QStringLiteral("150"), QStringLiteral("051"), QStringLiteral("155")});
    pool::RunBasicBatch(s, {{BasicFamily::Group1234, {{5, QStringLiteral("123")}, {7, QStringLiteral("133")}}}});
    EXPECT_TRUE(s.pool.isEmpty());
    EXPECT_TRUE(s.log.text().endsWith(QStringLiteral("\n1234组选： 123 133 \n过滤3注\n还剩0注\n")));
    EXPECT_EQ(s.setDescription, QStringLiteral("组选1234：123 133 "));
}

TEST(AdvancedBatch, SumsListValuesInTheItemLine) {
    pool::PoolSession s = Session({QStringLiteral("003"), QStringLiteral("012"), QStringLiteral("050"),
                                   QStringLiteral("104"), QStringLiteral("999")});
    AdvancedCondition c;
    c.family = AdvancedFamily::Sum;
    c.ticked = {{3, QStringLiteral("3")}, {5, QStringLiteral("5")}};
    EXPECT_TRUE(pool::RunAdvancedBatch(s, {c}, common::DrawHistory()).isEmpty());
    EXPECT_EQ(s.log.text(), QStringLiteral("\n和值过滤开始\n003| 012| 050| 104| \n和值： 3 5 \n过滤4注\n还剩1注\n"));
    EXPECT_EQ(s.setDescription, QStringLiteral("和值过滤：3 5 "));
    EXPECT_EQ(s.ring.index(), 1);
}

TEST(AdvancedBatch, OneDWritesALinePerModeWithTicks) {
    pool::PoolSession s = Session(common::AllNumbers());
    AdvancedCondition c;
    c.family = AdvancedFamily::OneD;
    c.oneD[0] = {1, 2};
    pool::RunAdvancedBatch(s, {c}, common::DrawHistory());
    const QString log = s.log.text();
    EXPECT_TRUE(log.startsWith(QStringLiteral("\n单选1D过滤开始\n")));
    EXPECT_TRUE(log.contains(QStringLiteral("| \n正1D  ： 1 2 \n过滤200注\n还剩800注\n"))) << S(log);
    EXPECT_EQ(s.setDescription, QStringLiteral("正1D： 1 2 \n"));

    // Two modes: a line each, one pair of count lines; modes without values write nothing.
    pool::PoolSession t = Session({QStringLiteral("123"), QStringLiteral("190"), QStringLiteral("555")});
    c.oneD = {QList<int>{8}, QList<int>{}, QList<int>{}, QList<int>{7}};
    pool::RunAdvancedBatch(t, {c}, common::DrawHistory());
    EXPECT_EQ(t.log.text(),
              QStringLiteral("\n单选1D过滤开始\n123| \n正1D  ： 8 \n190| \n反负1D： 7 \n过滤2注\n还剩1注\n"));
    EXPECT_EQ(t.setDescription, QStringLiteral("正1D： 8 \n反负1D： 7 \n"));

    // No values at all: no item line, an empty description.
    pool::PoolSession u = Session({QStringLiteral("123")});
    pool::RunAdvancedBatch(u, {{AdvancedFamily::OneD, {}, {}, {}}}, common::DrawHistory());
    EXPECT_EQ(u.log.text(), QStringLiteral("\n单选1D过滤开始\n过滤0注\n还剩1注\n"));
    EXPECT_TRUE(u.setDescription.isEmpty());
}

TEST(AdvancedBatch, PositionalLogsANumberTakenByTwoPatternsOnce) {
    pool::PoolSession s = Session({QStringLiteral("102"), QStringLiteral("122"), QStringLiteral("345")});
    AdvancedCondition c;
    c.family = AdvancedFamily::Positional;
    c.patterns = {QStringLiteral("1*2"), QStringLiteral("*2*")};
    pool::RunAdvancedBatch(s, {c}, common::DrawHistory());
    EXPECT_EQ(s.pool, QStringList({QStringLiteral("345")}));
    EXPECT_EQ(s.log.text(), QStringLiteral("\n定位过滤开始\n102| 122| \n过滤2注\n还剩1注\n"));
    EXPECT_EQ(s.setDescription, QStringLiteral("定位过滤"));
}

TEST(AdvancedBatch, PositionalComparesFirstSecondAndLastCharacter) {
    // "4*" acts as "4**", "1234" as "124"; a pattern of one character or none takes nothing.
    pool::PoolSession s = Session({QStringLiteral("123"), QStringLiteral("124"), QStringLiteral("444"),
                                   QStringLiteral("456"), QStringLiteral("449"), QStringLiteral("555")});
    AdvancedCondition c;
    c.family = AdvancedFamily::Positional;
    c.patterns = {QStringLiteral("5"), QString(), QStringLiteral("4*"), QStringLiteral("1234")};
    pool::RunAdvancedBatch(s, {c}, common::DrawHistory());
    EXPECT_EQ(s.pool, QStringList({QStringLiteral("123"), QStringLiteral("555")}));
    EXPECT_EQ(s.log.text(), QStringLiteral("\n定位过滤开始\n444| 456| 449| 124| \n过滤4注\n还剩2注\n"));
}

TEST(AdvancedBatch, OptionFamiliesUseTheirValues) {
    const QStringList numbers = {QStringLiteral("000"), QStringLiteral("112"), QStringLiteral("123"),
                                 QStringLiteral("321"), QStringLiteral("135")};
    struct Case {
        AdvancedFamily family;
        QList<TickedBox> ticked;
        QStringList left;
        QString tail;
        QString description;
    };
    const Case cases[] = {
        // Shapes ABC (7) and CBA (12).
        {AdvancedFamily::AbcType, {{7, "ABC"}, {12, "CBA"}}, {"000", "112"}, "\nABC类型：ABC CBA \n过滤3注\n还剩2注\n",
         "升降序过滤：ABC CBA "},
        // AC boxes 0 and 2 stand for AC 1 and 3: only 000 (AC 1); the others have AC 2.
        {AdvancedFamily::AcValue, {{0, "1"}, {2, "3"}}, {"112", "123", "135", "321"}, "\nAC值：1 3 \n过滤1注\n还剩4注\n",
         "AC值过滤：1 3 "},
        // Mean 2: 123, 321 (sum 6) and 135 (sum 9 → 3 stays).
        {AdvancedFamily::Mean, {{2, "2"}}, {"000", "112", "135"}, "\n均值：2 \n过滤2注\n还剩3注\n", "均值过滤：2 "},
    };
    for (const Case& k : cases) {
        pool::PoolSession s = Session(numbers);
        AdvancedCondition c;
        c.family = k.family;
        c.ticked = k.ticked;
        pool::RunAdvancedBatch(s, {c}, common::DrawHistory());
        EXPECT_EQ(s.pool, k.left) << S(k.description);
        EXPECT_TRUE(s.log.text().endsWith(k.tail)) << S(s.log.text());
        EXPECT_EQ(s.setDescription, k.description);
    }
}

TEST(AdvancedBatch, LastDrawFamiliesCompareWithTheNewestDraw) {
    const common::DrawHistory history(QStringList{QStringLiteral("2024001 555"), QStringLiteral("2024002 936")});
    pool::PoolSession s = Session({QStringLiteral("123"), QStringLiteral("369"), QStringLiteral("542")});
    AdvancedCondition c;
    c.family = AdvancedFamily::StraightDrop;
    c.ticked = {{2, QStringLiteral("2")}};  // against 936: 123 counts 1, 369 counts 3, 542 counts 0
    pool::RunAdvancedBatch(s, {c}, history);
    EXPECT_EQ(s.pool.size(), 3);
    c.ticked = {{3, QStringLiteral("3")}};
    pool::RunAdvancedBatch(s, {c}, history);
    EXPECT_FALSE(s.pool.contains(QStringLiteral("369")));
    EXPECT_EQ(s.setDescription, QStringLiteral("直落号过滤：3 "));

    AdvancedCondition d;
    d.family = AdvancedFamily::DiagonalLink;
    d.ticked = {{3, QStringLiteral("3")}};  // 542 under 936 links 3 times
    pool::RunAdvancedBatch(s, {d}, history);
    EXPECT_FALSE(s.pool.contains(QStringLiteral("542")));
    EXPECT_TRUE(s.log.text().endsWith(QStringLiteral("\n斜连值：3 \n过滤1注\n还剩1注\n"))) << S(s.log.text());
}

TEST(AdvancedBatch, LastDrawFamiliesWithoutHistoryWarnAndRemoveNothing) {
    pool::PoolSession s = Session({QStringLiteral("123")});
    AdvancedCondition c;
    c.family = AdvancedFamily::StraightDrop;
    c.ticked = {{0, QStringLiteral("0")}};
    const QString warning = pool::RunAdvancedBatch(s, {c}, common::DrawHistory());
    EXPECT_EQ(warning, QStringLiteral("没有开奖号码，直落号过滤未能执行。"));
    EXPECT_EQ(s.pool.size(), 1);
}

TEST(AdvancedBatch, NoFamilyOnlyCommits) {
    pool::PoolSession s = Session({QStringLiteral("123")});
    s.setDescription = QStringLiteral("x");
    pool::RunAdvancedBatch(s, {}, common::DrawHistory());
    EXPECT_TRUE(s.log.text().isEmpty());
    EXPECT_EQ(s.setDescription, QStringLiteral("x"));
    EXPECT_EQ(s.ring.index(), 1);
}

TEST(AdvancedBatch, FamiliesChainInTheGivenOrder) {
    pool::PoolSession s = Session({QStringLiteral("003"), QStringLiteral("123"), QStringLiteral("456")});
    AdvancedCondition sum{AdvancedFamily::Sum, {{3, QStringLiteral("3")}}, {}, {}};
    AdvancedCondition mean{AdvancedFamily::Mean, {{2, QStringLiteral("2")}}, {}, {}};
    pool::RunAdvancedBatch(s, {sum, mean}, common::DrawHistory());
    EXPECT_EQ(s.pool, QStringList({QStringLiteral("456")}));
    EXPECT_TRUE(s.log.text().contains(QStringLiteral("和值： 3 \n过滤1注\n还剩2注\n")));
    EXPECT_EQ(s.setDescription, QStringLiteral("均值过滤：2 "));  // the last family's
    EXPECT_EQ(s.ring.index(), 1);
}

}  // namespace
