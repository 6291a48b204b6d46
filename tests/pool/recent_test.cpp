#include "pool/recent.h"

#include "common/numbertables.h"
#include "historyfixture.h"

#include <gtest/gtest.h>

#include <set>

using poolfixture::MakeHistory;

namespace {

// Oldest first: 555 (sum 15), 112 (4), 321 (6), 123 (6, the newest, position 4).
common::DrawHistory Fixture() { return MakeHistory({"555", "112", "321", "123"}); }

QString Frame(const QString& header, const QString& removed, int total, int remaining) {
    return QStringLiteral("\n") + header + QStringLiteral("\n") + removed + QStringLiteral("\n过滤") +
           QString::number(total) + QStringLiteral("注\n还剩") + QString::number(remaining) + QStringLiteral("注\n");
}

struct RecentCase {
    const char* what;
    int n;
    int last;
    bool straight;
    const char* removedLog;  // the removed numbers as logged
};

class RecentNumbersTable : public ::testing::TestWithParam<RecentCase> {};

TEST_P(RecentNumbersTable, RemovesWindowNumbersNewestDrawFirst) {
    const RecentCase& c = GetParam();
    const QString removed = QString::fromLatin1(c.removedLog);
    const int total = int(removed.count(QStringLiteral("| ")));
    pool::NumberPool p = common::AllNumbers();
    QString log;
    EXPECT_EQ(pool::FilterRecentNumbers(p, log, Fixture(), c.n, c.last, c.straight), total) << c.what;
    const QString header = (c.straight ? QStringLiteral("单选过滤近") : QStringLiteral("[组选]过滤近")) +
                           QString::number(c.n) + QStringLiteral("期号码开始");
    EXPECT_EQ(log, Frame(header, removed, total, 1000 - total)) << c.what;
    EXPECT_EQ(p.size(), 1000 - total);
    for (const QString& n : removed.split(QStringLiteral("| "), Qt::SkipEmptyParts)) EXPECT_FALSE(p.contains(n));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RecentNumbersTable,
    ::testing::Values(
        RecentCase{"straight, newest only", 1, 4, true, "123| "},
        RecentCase{"group, newest only", 1, 4, false, "123| 132| 213| 231| 312| 321| "},
        RecentCase{"straight, 123 then 321", 2, 4, true, "123| 321| "},
        // 321 is the same group as 123: nothing left for it.
        RecentCase{"group, same group twice", 2, 4, false, "123| 132| 213| 231| 312| 321| "},
        RecentCase{"group, grouped by draw", 3, 4, false, "123| 132| 213| 231| 312| 321| 112| 121| 211| "},
        RecentCase{"triple matches only itself", 4, 4, false, "123| 132| 213| 231| 312| 321| 112| 121| 211| 555| "},
        RecentCase{"draws after last have no effect", 1, 2, false, "112| 121| 211| "},
        RecentCase{"straight two equal digits", 1, 2, true, "112| "},
        // Outside the preconditions: only the positions that hold a draw count.
        RecentCase{"window before the first draw", 10, 2, true, "112| 555| "},
        RecentCase{"last beyond the history", 2, 5, true, "123| "},
        RecentCase{"n of zero", 0, 4, true, ""}),
    [](const ::testing::TestParamInfo<RecentCase>& info) { return "Case" + std::to_string(info.index); });

TEST(RecentDraws, NothingToRemoveStillWritesTheFrame) {
    pool::NumberPool p{"000", "999"};
    QString log;
    EXPECT_EQ(pool::FilterRecentNumbers(p, log, Fixture(), 4, 4, true), 0);
    EXPECT_EQ(log, QStringLiteral("\n单选过滤近4期号码开始\n\n过滤0注\n还剩2注\n"));
    EXPECT_EQ(p, (pool::NumberPool{"000", "999"}));

    log.clear();
    const common::DrawHistory empty;
    EXPECT_EQ(pool::FilterRecentNumbers(p, log, empty, 1, 0, false), 0);
    EXPECT_EQ(log, QStringLiteral("\n[组选]过滤近1期号码开始\n\n过滤0注\n还剩2注\n"));
    log.clear();
    EXPECT_EQ(pool::FilterRecentSums(p, log, empty, 3), 0);
    EXPECT_EQ(log, QStringLiteral("\n近3期和值过滤开始 \n\n过滤0注\n还剩2注\n"));
}

TEST(RecentDraws, RepeatsAreEachLoggedAndCountedOnce) {
    // Pool order, not sorted: entries are logged in the order they stand.
    pool::NumberPool p{"321", "123", "456", "123"};
    QString log;
    EXPECT_EQ(pool::FilterRecentNumbers(p, log, Fixture(), 2, 4, false), 3);
    EXPECT_EQ(log, QStringLiteral("\n[组选]过滤近2期号码开始\n321| 123| 123| \n过滤3注\n还剩1注\n"));
    EXPECT_EQ(p, (pool::NumberPool{"456"}));
}

TEST(RecentDraws, PoolThatBecomesEmpty) {
    pool::NumberPool p{"123"};
    QString log;
    pool::FilterRecentNumbers(p, log, Fixture(), 1, 4, true);
    EXPECT_TRUE(log.endsWith(QStringLiteral("\n过滤1注\n还剩0注\n")));
    EXPECT_TRUE(p.isEmpty());
}

TEST(RecentDraws, NumberMatchStraightAndGroup) {
    struct {
        const char* number;
        bool straight;
        pool::NumberPool remaining;
        const char* log;
    } cases[] = {
        {"123", true, {"132", "112", "121", "777", "122"}, "123| "},
        {"123", false, {"112", "121", "777", "122"}, "123| 132| "},
        {"211", false, {"123", "132", "777", "122"}, "112| 121| "},
        {"777", false, {"123", "132", "112", "121", "122"}, "777| "},
        {"1x2", false, {"123", "132", "112", "121", "777", "122"}, ""},  // not a number: no match
        {"", true, {"123", "132", "112", "121", "777", "122"}, ""},
    };
    for (const auto& c : cases) {
        pool::NumberPool p{"123", "", "132", "112", "121", "777", "122"};
        QString log;
        const int removed = pool::FilterNumberMatch(p, log, QString::fromLatin1(c.number), c.straight);
        EXPECT_EQ(p, c.remaining) << c.number;  // compacted also when nothing matched
        EXPECT_EQ(log, QString::fromLatin1(c.log)) << c.number;
        EXPECT_EQ(removed, int(log.count(QStringLiteral("| "))));
    }
}

TEST(RecentDraws, SumsOfNewestDraws) {
    // Sums 6 (123), 6 (321), 4 (112): 28 numbers of sum 6, then 15 of sum 4.
    pool::NumberPool p = common::AllNumbers();
    QString log;
    EXPECT_EQ(pool::FilterRecentSums(p, log, Fixture(), 3), 43);
    const QString header = QStringLiteral("\n近3期和值过滤开始 \n");
    ASSERT_TRUE(log.startsWith(header));
    EXPECT_TRUE(log.endsWith(QStringLiteral("| \n过滤43注\n还剩957注\n")));
    const QStringList removed =
        log.mid(header.size()).section(QStringLiteral("\n"), 0, 0).split(QStringLiteral("| "), Qt::SkipEmptyParts);
    ASSERT_EQ(removed.size(), 43);
    EXPECT_EQ(removed.first(), QStringLiteral("006"));
    EXPECT_EQ(removed[27], QStringLiteral("600"));
    EXPECT_EQ(removed[28], QStringLiteral("004"));
    EXPECT_EQ(removed.last(), QStringLiteral("400"));
    EXPECT_EQ(p.size(), 957);

    // n = 1: only the newest draw's sum.
    p = common::AllNumbers();
    log.clear();
    EXPECT_EQ(pool::FilterRecentSums(p, log, Fixture(), 1), 28);
    EXPECT_TRUE(log.startsWith(QStringLiteral("\n近1期和值过滤开始 \n006| 015| ")));
}

TEST(RecentDraws, RealHistoryAgainstDirectCount) {
    SKIP_WITHOUT_SHARED("data/HAO.TXT");
    const common::DrawHistory h = poolfixture::SharedHistory();
    ASSERT_GT(h.count(), 100);
    const int u = h.count();

    std::set<QString> straight, group;
    std::set<int> sums;
    for (int pos = u; pos > u - 30; --pos) straight.insert(h.number(pos));
    for (int pos = u; pos > u - 10; --pos) group.insert(common::SortedDigits(h.number(pos)));
    for (int pos = u; pos > u - 5; --pos) {
        const QString n = h.number(pos);
        sums.insert(common::DigitAt(n, 0) + common::DigitAt(n, 1) + common::DigitAt(n, 2));
    }

    pool::NumberPool p = common::AllNumbers();
    QString log;
    EXPECT_EQ(pool::FilterRecentNumbers(p, log, h, 30, u, true), int(straight.size()));
    for (const QString& n : p) EXPECT_EQ(straight.count(n), 0u);

    int groupMembers = 0;
    for (const QString& n : common::AllNumbers())
        if (!straight.count(n) && group.count(common::SortedDigits(n))) ++groupMembers;
    EXPECT_EQ(pool::FilterRecentNumbers(p, log, h, 10, u, false), groupMembers);

    int sumMembers = 0;
    for (const QString& n : p)
        if (sums.count(common::DigitAt(n, 0) + common::DigitAt(n, 1) + common::DigitAt(n, 2))) ++sumMembers;
    const int before = int(p.size());
    EXPECT_EQ(pool::FilterRecentSums(p, log, h, 5), sumMembers);
    EXPECT_TRUE(log.endsWith(QStringLiteral("还剩") + QString::number(before - sumMembers) + QStringLiteral("注\n")));
}

}  // namespace
