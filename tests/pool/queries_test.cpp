#include "pool/queries.h"

#include "historyfixture.h"

#include <gtest/gtest.h>

using poolfixture::MakeHistory;

namespace {

QString Number(QString& log, const common::DrawHistory& h, const char* number) {
    pool::QueryNumberHistory(log, h, QString::fromLatin1(number));
    return log;
}

TEST(HistoryQueries, StraightThenGroupReport) {
    // A = 2024001: 123, B = 2024002: 456, C = 2024003 (newest): 321.
    const common::DrawHistory h = MakeHistory({"123", "456", "321"});
    QString log = QStringLiteral("准备就绪,请选择数据...\n");
    EXPECT_EQ(pool::QueryNumberHistory(log, h, QStringLiteral("123")), 2);
    EXPECT_EQ(log, QStringLiteral("准备就绪,请选择数据...\n"
                                  "\n要查询[单选]的号码：123\n"
                                  "第2024001期,下期号码开456\n"
                                  "共出1次\n"
                                  "\n要查询[组选]的号码：123\n"
                                  "第2024001期,下期号码开456\n"
                                  "第2024003期,下期号码还未开出\n"
                                  "共出2次\n"));
}

TEST(HistoryQueries, ReportsTable) {
    const common::DrawHistory h = MakeHistory({"112", "777", "121", "122", "211", "777"});
    struct {
        const char* number;
        const char* log;
    } cases[] = {
        // No hit: header and a count of 0 in both reports.
        {"999", "\n要查询[单选]的号码：999\n共出0次\n\n要查询[组选]的号码：999\n共出0次\n"},
        // A triple: both reports list the same draws; the newest ends with 还未开出.
        {"777",
         "\n要查询[单选]的号码：777\n第2024002期,下期号码开121\n第2024006期,下期号码还未开出\n共出2次\n"
         "\n要查询[组选]的号码：777\n第2024002期,下期号码开121\n第2024006期,下期号码还未开出\n共出2次\n"},
        // Two equal digits: 112, 121 and 211 in draw order, not 122; the query as given.
        {"211",
         "\n要查询[单选]的号码：211\n第2024005期,下期号码开777\n共出1次\n"
         "\n要查询[组选]的号码：211\n第2024001期,下期号码开777\n第2024003期,下期号码开122\n"
         "第2024005期,下期号码开777\n共出3次\n"},
        // Not three digits: matches nothing.
        {"1.5", "\n要查询[单选]的号码：1.5\n共出0次\n\n要查询[组选]的号码：1.5\n共出0次\n"},
    };
    for (const auto& c : cases) {
        QString log;
        EXPECT_EQ(Number(log, h, c.number), QString::fromUtf8(c.log)) << c.number;
    }
}

TEST(HistoryQueries, EmptyHistoryGivesBothEmptyReports) {
    QString log;
    EXPECT_EQ(pool::QuerySingleHistory(log, common::DrawHistory(), QStringLiteral("123")), 0);
    EXPECT_EQ(log, QStringLiteral("\n要查询[单选]的号码：123\n共出0次\n"));
    log.clear();
    EXPECT_EQ(Number(log, common::DrawHistory(), "123"),
              QStringLiteral("\n要查询[单选]的号码：123\n共出0次\n\n要查询[组选]的号码：123\n共出0次\n"));
}

TEST(HistoryQueries, IssueSerialAcrossYears) {
    const common::DrawHistory h(QStringList{common::MakeDrawText(QStringLiteral("2023015"), QStringLiteral("123")),
                                            common::MakeDrawText(QStringLiteral("2023016"), QStringLiteral("456")),
                                            common::MakeDrawText(QStringLiteral("2024015"), QStringLiteral("007"))});
    QString log;
    EXPECT_EQ(pool::QueryIssueSerial(log, h, QStringLiteral("015")), 2);
    EXPECT_EQ(log, QStringLiteral("\n要查询的期号：015\n2023015 123\n2024015 007\n"));
    log.clear();
    EXPECT_EQ(pool::QueryIssueSerial(log, h, QStringLiteral("000")), 0);
    EXPECT_EQ(log, QStringLiteral("\n要查询的期号：000\n"));
}

TEST(HistoryQueries, RealHistoryNewestNumber) {
    SKIP_WITHOUT_SHARED("data/HAO.TXT");
    const common::DrawHistory h = poolfixture::SharedHistory();
    ASSERT_GT(h.count(), 0);
    const QString newest = h.number(h.count());
    QString log;
    const int group = pool::QueryNumberHistory(log, h, newest);
    const QString straightPart = log.section(QStringLiteral("\n\n"), 0, 0);
    const QString lastHit = QStringLiteral("第") + h.issue(h.count()) + QStringLiteral("期,下期号码还未开出\n");
    EXPECT_TRUE(straightPart.contains(lastHit));
    EXPECT_TRUE(log.endsWith(lastHit + QStringLiteral("共出") + QString::number(group) + QStringLiteral("次\n")));
    int straight = 0;
    for (int k = 1; k <= h.count(); ++k) straight += h.number(k) == newest;
    EXPECT_GE(group, straight);
    EXPECT_TRUE(straightPart.endsWith(QStringLiteral("共出") + QString::number(straight) + QStringLiteral("次")));
}

}  // namespace
