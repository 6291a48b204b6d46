// The workbench's multi-step filter runs, driven directly on a PoolSession.
#include "pool/filterruns.h"

#include "common/numbertables.h"
#include "historyof.h"
#include "testsupport.h"

#include <gtest/gtest.h>

namespace {

common::DrawHistory RunsHistory(const QStringList& numbers) { return testsupport::HistoryOf(numbers); }

// n draws, all 000 except the listed newest ones.
common::DrawHistory PaddedHistory(int n, const QStringList& newest) {
    QStringList numbers(n - newest.size(), QStringLiteral("000"));
    return RunsHistory(numbers + newest);
}

pool::PoolSession FullSession() {
    pool::PoolSession s;
    s.pool = common::AllNumbers();
    s.CommitSet();
    return s;
}

QString Tail(const pool::PoolSession& s) { return s.log.text().mid(pool::WorkbenchLog::InitialText().size()); }

std::array<pool::RecentRow, pool::kRecentRows> Rows(std::initializer_list<std::pair<int, int>> ticked) {
    std::array<pool::RecentRow, pool::kRecentRows> rows;
    for (auto& r : rows) r.countText = QStringLiteral("10");
    for (auto [row, count] : ticked) {
        rows[size_t(row)].ticked = true;
        rows[size_t(row)].countText = QString::number(count);
    }
    return rows;
}

}  // namespace

TEST(FilterRunsRecent, DrawPatternsPerRow) {
    const char* const expected729[7] = {"101", "001", "101", "323", "233", "120", "大小大"};
    for (int row = 3; row < 10; ++row)
        EXPECT_EQ(pool::RecentRowPattern(row, QStringLiteral("729")), QString::fromUtf8(expected729[row - 3])) << row;
    EXPECT_EQ(pool::RecentRowPattern(6, QStringLiteral("850")), QStringLiteral("432"));
    EXPECT_EQ(pool::RecentRowPattern(7, QStringLiteral("850")), QStringLiteral("234"));

    const char* const descriptions[10] = {"单选过滤最近30期的号码", "组选过滤最近30期的号码", "过滤最近30期的和值",
                                          "过滤最近30期的奇偶",     "过滤最近30期的质合",     "过滤最近30期的大小",
                                          "过滤最近30期的单选1234", "过滤最近30期的组选1234", "过滤最近30期的012路",
                                          "过滤最近30期的大中小"};
    for (int row = 0; row < 10; ++row)
        EXPECT_EQ(pool::RecentRowDescription(row, QStringLiteral("30")), QString::fromUtf8(descriptions[row]));
}

TEST(FilterRunsRecent, PatternRowCallsOncePerDrawAndWritesItsFrame) {
    pool::PoolSession s = FullSession();
    bool straight = true;
    const auto ran = pool::RunRecentFilter(s, RunsHistory({"000", "123", "345", "567"}), Rows({{3, 3}}), false,
                                                straight, {});
    EXPECT_TRUE(ran[3]);
    EXPECT_EQ(s.pool.size(), 875);
    QString removed;
    for (const QString& n : common::AllNumbers())
        if (n.at(0).digitValue() % 2 == 1 && n.at(1).digitValue() % 2 == 0 && n.at(2).digitValue() % 2 == 1)
            removed += n + QStringLiteral("| ");
    EXPECT_EQ(Tail(s), QStringLiteral("\n近3期单选奇偶过滤开始\n") + removed + QStringLiteral("\n过滤125注\n还剩875注\n"));
    EXPECT_EQ(s.setDescription, QStringLiteral("近期开奖过滤"));
    EXPECT_EQ(s.ring.index(), 2);
    EXPECT_TRUE(straight);  // pattern rows leave StraightMode alone
}

TEST(FilterRunsRecent, CountsThatDoNotFitTheHistoryAreSkipped) {
    const common::DrawHistory h = PaddedHistory(30, {"729"});
    // Row 0 needs a draw before its window (30 of 30: skipped); a pattern row may use all 30.
    pool::PoolSession s = FullSession();
    bool straight = false;
    auto ran = pool::RunRecentFilter(s, h, Rows({{0, 30}, {2, 30}, {3, 30}, {4, 31}}), false, straight, {});
    EXPECT_FALSE(ran[0]);
    EXPECT_FALSE(ran[2]);
    EXPECT_TRUE(ran[3]);
    EXPECT_FALSE(ran[4]);
    EXPECT_TRUE(Tail(s).startsWith(QStringLiteral("\n近30期单选奇偶过滤开始\n")));
    EXPECT_FALSE(Tail(s).contains(QStringLiteral("单选过滤近")));

    // Nothing ticked: no log, the same pool, a description and one more snapshot.
    pool::PoolSession quiet = FullSession();
    ran = pool::RunRecentFilter(quiet, h, Rows({}), false, straight, {});
    EXPECT_EQ(ran, (std::array<bool, 10>{}));
    EXPECT_TRUE(Tail(quiet).isEmpty());
    EXPECT_EQ(quiet.pool.size(), 1000);
    EXPECT_EQ(quiet.setDescription, QStringLiteral("近期开奖过滤"));
    EXPECT_EQ(quiet.ring.index(), 2);
}

TEST(FilterRunsRecent, RowsChainWithoutAutomaticCollection) {
    // Row 0 removes 123 and 321 (straight, two newest); row 1 then finds only the other four
    // orders of 321 left.
    pool::PoolSession s = FullSession();
    bool straight = true;
    pool::RunRecentFilter(s, RunsHistory({"555", "123", "321"}), Rows({{0, 2}, {1, 1}}), false, straight, {});
    EXPECT_FALSE(straight);
    EXPECT_EQ(s.pool.size(), 994);
    EXPECT_EQ(Tail(s), QStringLiteral("\n单选过滤近2期号码开始\n321| 123| \n过滤2注\n还剩998注\n"
                                      "\n[组选]过滤近1期号码开始\n132| 213| 231| 312| \n过滤4注\n还剩994注\n"));
}

TEST(FilterRunsRecent, AutomaticCollectionSavesEachRowFromTheStartSet) {
    const common::DrawHistory h = PaddedHistory(40, {"123"});
    pool::PoolSession s;
    s.pool = {"000", "123", "321", "600", "999"};
    s.CommitSet();
    bool straight = false;
    QStringList labels;
    QList<pool::NumberPool> saved;
    const auto ran = pool::RunRecentFilter(s, h, Rows({{0, 30}, {2, 5}}), true, straight,
                                                [&](const QString& description) {
                                                    labels << description;
                                                    saved << s.pool;
                                                    return true;
                                                });
    EXPECT_TRUE(ran[0] && ran[2]);
    EXPECT_EQ(labels, QStringList({"单选过滤最近30期的号码", "过滤最近5期的和值"}));
    ASSERT_EQ(saved.size(), 2);
    EXPECT_EQ(saved[0], pool::NumberPool({"321", "600", "999"}));         // 000 and 123 drawn
    EXPECT_EQ(saved[1], pool::NumberPool({"999"}));                       // sums 0 and 6 from the start set
    EXPECT_EQ(s.pool, pool::NumberPool({"000", "123", "321", "600", "999"}));
    EXPECT_EQ(s.setDescription, QStringLiteral("近期开奖过滤"));
    EXPECT_TRUE(Tail(s).contains(QStringLiteral("单选过滤近30期号码开始")));
    EXPECT_TRUE(Tail(s).contains(QStringLiteral("近5期和值过滤开始")));
}

TEST(FilterRunsRecent, AFailedSaveEndsTheRunButRestoresAndCommits) {
    const common::DrawHistory h = PaddedHistory(40, {"123"});
    pool::PoolSession s = FullSession();
    bool straight = false;
    int calls = 0;
    const auto ran = pool::RunRecentFilter(s, h, Rows({{0, 30}, {2, 5}, {3, 5}}), true, straight,
                                                [&](const QString&) { return ++calls > 1; });
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(ran[0]);
    EXPECT_FALSE(ran[2]);  // stays ticked on the window
    EXPECT_FALSE(ran[3]);
    EXPECT_EQ(s.pool.size(), 1000);
    EXPECT_EQ(s.ring.index(), 2);
}

TEST(FilterRunsTwoCode, SelectionKeepsTheUnionInOrder) {
    pool::PoolSession s;
    s.pool = {"105", "377", "222", "730", "500", "050"};
    s.CommitSet();
    pool::RunTwoCode(s, QStringLiteral("05，37"), true, 0, QStringLiteral("全部"));
    EXPECT_EQ(s.pool, pool::NumberPool({"050", "105", "377", "500", "730"}));
    // 730 holds 3 and 7 and 0 but matches only once; "选取" counts the numbers kept.
    EXPECT_EQ(Tail(s), QStringLiteral("\n二码选取开始\n(条件：全部 05 37)\n050| 105| 500| 377| 730| \n选取5注\n"));
    EXPECT_EQ(s.setDescription, QStringLiteral("二码选取：全部 05 37"));

    pool::RunTwoCode(s, QStringLiteral("89"), true, 0, QStringLiteral("全部"));
    EXPECT_TRUE(s.pool.isEmpty());
    EXPECT_TRUE(Tail(s).endsWith(QStringLiteral("\n选取0注\n")));
}

TEST(FilterRunsTwoCode, FilterAtPositionsAndDoubledCodes) {
    pool::PoolSession s = FullSession();
    pool::RunTwoCode(s, QStringLiteral("50"), false, 1, QStringLiteral("百十"));  // 05x and 50x
    EXPECT_EQ(s.pool.size(), 980);
    EXPECT_TRUE(Tail(s).startsWith(QStringLiteral("\n二码过滤开始\n(条件：百十 50)\n050| 051| ")));
    EXPECT_TRUE(Tail(s).endsWith(QStringLiteral("\n过滤20注\n还剩980注\n")));
    EXPECT_EQ(s.setDescription, QStringLiteral("二码过滤：百十 50"));

    pool::PoolSession d = FullSession();
    pool::RunTwoCode(d, QStringLiteral("33"), false, 0, QStringLiteral("全部"));
    EXPECT_EQ(d.pool.size(), 1000 - 28);  // at least two 3s
}

TEST(FilterRunsTwoCode, NoValidCodeOnlyCommits) {
    pool::PoolSession s = FullSession();
    s.setDescription = QStringLiteral("before");
    pool::RunTwoCode(s, QStringLiteral("5, 123,ab"), false, 0, QStringLiteral("全部"));
    EXPECT_TRUE(Tail(s).isEmpty());
    EXPECT_EQ(s.setDescription, QStringLiteral("before"));
    EXPECT_EQ(s.pool.size(), 1000);
    EXPECT_EQ(s.ring.index(), 2);
}

TEST(FilterRunsFuzzy, RunsOnlyWithASwitchOn) {
    pool::PoolSession s = FullSession();
    std::array<pool::FuzzyRule, 3> rules;
    EXPECT_FALSE(pool::RunFuzzy(s, rules));
    EXPECT_EQ(s.ring.index(), 1);
    EXPECT_TRUE(Tail(s).isEmpty());

    // Only condition 1 (digits 1, 2, 3; three hits): the numbers made of those digits stay.
    rules[0] = pool::FuzzyRule::FromText(true, QStringLiteral("1,2,3"), {false, false, false, true});
    EXPECT_TRUE(pool::RunFuzzy(s, rules));
    EXPECT_EQ(s.pool.size(), 27);
    EXPECT_TRUE(Tail(s).startsWith(QStringLiteral("\n模糊过滤开始\n000| ")));
    EXPECT_TRUE(Tail(s).endsWith(QStringLiteral("\n过滤973注\n还剩27注\n")));
    EXPECT_EQ(s.setDescription, QStringLiteral("模糊过滤"));
    EXPECT_TRUE(pool::RunFuzzy(s, rules));
    EXPECT_TRUE(Tail(s).endsWith(QStringLiteral("\n模糊过滤开始\n\n过滤0注\n还剩27注\n")));
}

TEST(FilterRunsDigitGroups, CountsTextAndDescription) {
    EXPECT_EQ(pool::DigitGroupCountsText({true, true, true, false}), QStringLiteral("210"));
    EXPECT_EQ(pool::DigitGroupCountsText({true, false, false, true}), QStringLiteral("30"));
    EXPECT_EQ(pool::DigitGroupCountsText({}), QString());
    pool::DigitGroup g{true, QStringLiteral("例：0,1,2,3,4,5,6,7,8,9"), {false, true, true, false}};
    EXPECT_EQ(pool::DigitGroupDescription(g), QStringLiteral("组合过滤:例：0,1,2,3,4,5,6,7,8,9出21"));
}

TEST(FilterRunsDigitGroups, GroupsChainAndWriteOneBlock) {
    std::array<pool::DigitGroup, pool::kDigitGroups> groups;
    groups[0] = {true, QStringLiteral("例：0,1,2,3,4,5,6,7,8,9"), {false, false, false, true}};
    // Group 1 keeps everything; with the repeat rule only the numbers of three different digits.
    pool::PoolSession s = FullSession();
    pool::RunDigitGroups(s, groups, false, false, {});
    EXPECT_EQ(s.pool.size(), 1000);
    pool::RunDigitGroups(s, groups, true, false, {});
    EXPECT_EQ(s.pool.size(), 720);
    EXPECT_TRUE(Tail(s).endsWith(QStringLiteral("\n条件组合过滤开始\n过滤280注\n还剩720注\n")));

    // Group 2 filters group 1's result; the descriptions are joined.
    groups[1] = {true, QStringLiteral("0,1"), {true, false, false, false}};
    pool::PoolSession c = FullSession();
    pool::RunDigitGroups(c, groups, false, false, {});
    EXPECT_EQ(c.pool.size(), 512);  // no 0 or 1
    EXPECT_EQ(c.setDescription,
              QStringLiteral("组合过滤:例：0,1,2,3,4,5,6,7,8,9出3组合过滤:0,1出0"));

    // Only a later group: the previous description stays in front.
    groups[0].on = false;
    pool::PoolSession later = FullSession();
    later.setDescription = QStringLiteral("夸度过滤：1 ");
    pool::RunDigitGroups(later, groups, false, false, {});
    EXPECT_EQ(later.setDescription, QStringLiteral("夸度过滤：1 组合过滤:0,1出0"));

    // No group: the block with 0 and a commit, the description untouched.
    groups[1].on = false;
    const int index = later.ring.index();
    pool::RunDigitGroups(later, groups, false, false, {});
    EXPECT_TRUE(Tail(later).endsWith(QStringLiteral("\n条件组合过滤开始\n过滤0注\n还剩512注\n")));
    EXPECT_EQ(later.setDescription, QStringLiteral("夸度过滤：1 组合过滤:0,1出0"));
    EXPECT_EQ(later.ring.index(), index % 10 + 1);

    // A group with no count ticked empties the set.
    groups[2] = {true, QStringLiteral("5"), {}};
    pool::RunDigitGroups(later, groups, false, false, {});
    EXPECT_TRUE(later.pool.isEmpty());
}

TEST(FilterRunsDigitGroups, AutomaticCollectionUsesThePressTimeSet) {
    std::array<pool::DigitGroup, pool::kDigitGroups> groups;
    groups[0] = {true, QStringLiteral("1"), {true, false, false, false}};
    groups[2] = {true, QStringLiteral("2"), {true, false, false, false}};
    pool::PoolSession s;
    s.pool = {"111", "222", "333"};
    s.CommitSet();
    QList<pool::NumberPool> saved;
    QStringList labels;
    pool::RunDigitGroups(s, groups, true, true, [&](const QString& d) {
        s.setDescription = d;
        labels << d;
        saved << s.pool;
        return true;
    });
    EXPECT_EQ(labels, QStringList({"组合过滤:1出0", "组合过滤:2出0"}));
    ASSERT_EQ(saved.size(), 2);
    EXPECT_EQ(saved[0], pool::NumberPool({"222", "333"}));
    EXPECT_EQ(saved[1], pool::NumberPool({"111", "333"}));
    EXPECT_EQ(s.pool, pool::NumberPool({"111", "222", "333"}));
    EXPECT_TRUE(Tail(s).endsWith(QStringLiteral("\n条件组合过滤开始\n过滤0注\n还剩3注\n")));
    // The save sets the last group's description and the run adds it again.
    EXPECT_EQ(s.setDescription, QStringLiteral("组合过滤:2出0组合过滤:2出0"));
}

TEST(FilterRunsOmission, FamiliesInOrderWithTheirFrames) {
    // Newest 105 after 345 and 123 (the counters of the pool omission tests).
    const common::DigitOmissionTable t = common::DigitOmissionTable::Count(RunsHistory({"123", "345", "105"}));
    pool::PoolSession s;
    s.pool = {"015", "105", "234", "300", "399", "999"};
    s.CommitSet();
    std::array<pool::OmissionCondition, 5> f;
    f[0] = {true, QStringLiteral("0, x")};         // 组选 0: 015, 105
    f[1] = {true, QStringLiteral("1，12")};        // 百位 1: 3xx
    f[2] = {true, QString()};                      // no value: no frame
    f[3] = {false, QStringLiteral("3")};           // not ticked
    pool::RunOmissionFilter(s, t, f);
    EXPECT_EQ(s.pool, pool::NumberPool({"234", "999"}));
    EXPECT_EQ(Tail(s), QStringLiteral("\n组选遗漏过滤开始\n(条件： 0)\n015| 105| \n过滤2注\n还剩4注\n"
                                      "\n百位遗漏过滤开始\n(条件： 1 12)\n300| 399| \n过滤2注\n还剩2注\n"));
    EXPECT_EQ(s.setDescription, QStringLiteral("遗漏过滤"));
    EXPECT_EQ(s.ring.index(), 2);
}
