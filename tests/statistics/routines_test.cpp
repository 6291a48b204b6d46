// The statistics routines on small histories: exact table texts.
#include "common/settings.h"
#include "statistics/compoundstats.h"
#include "statistics/formulastats.h"
#include "statistics/fuzzystats.h"
#include "statistics/numbercounts.h"
#include "statistics/profitplan.h"
#include "statistics/statsrange.h"
#include "statistics/tablecopy.h"

#include "statsfixture.h"
#include "testsupport.h"

#include <gtest/gtest.h>

using namespace statistics;
using testsupport::HistoryOf;

namespace {

QStringList Cells(const OmissionRow& row) { return row.cells(); }

StatsRange All(const common::DrawHistory& h) { return StatsRange{1, h.count()}; }


}  // namespace

TEST(StatsRangeTest, FollowsUseAllDrawsAndClipsToTheHistory) {
    common::AppState app;
    app.setHistory(HistoryOf({"123", "456", "789", "012", "345"}));
    common::SaveUseAllDraws(true);
    app.setRange(1, 2);
    EXPECT_EQ(AnalysisRange(app).first, 1);
    EXPECT_EQ(AnalysisRange(app).last, 5);
    EXPECT_EQ(FuzzyRange(app).first, 2);
    EXPECT_EQ(FuzzyRange(app).last, 3);
    common::SaveUseAllDraws(false);
    EXPECT_EQ(AnalysisRange(app).count(), 2);
    EXPECT_EQ(RangeCaption(app.history(), AnalysisRange(app)), QStringLiteral("统计2024002到2024003期"));
    // A range reaching past the history or reversed gives what exists, or nothing.
    app.setRange(1, 40);
    EXPECT_EQ(AnalysisRange(app).last, 5);
    app.setRange(4, 1);
    EXPECT_TRUE(AnalysisRange(app).isEmpty());
    EXPECT_EQ(RangeCaption(app.history(), AnalysisRange(app)), QString());
}

TEST(FuzzyStatsTest, ClassesRatiosAndPlaceholdersFromTheFirstDraw) {
    const auto h = HistoryOf({"123", "456", "789", "012", "345", "678", "901", "113"});
    const QList<QStringList> rows = FuzzyStatsRows(h, All(h));
    ASSERT_EQ(rows.size(), 8);
    for (int r = 0; r < 6; ++r)
        EXPECT_EQ(rows[r].mid(2, 4), statsfixture::Repeat("--", 4)) << r;
    for (int r = 0; r < 2; ++r)
        EXPECT_EQ(rows[r].mid(6, 4), statsfixture::Repeat("--", 4)) << r;
    EXPECT_EQ(rows[0], statsfixture::Split("2024001,123,--,--,--,--,--,--,--,--,123,04,56789,--"));
    EXPECT_EQ(rows[1][13], QStringLiteral("0:1:2"));  // 456 against 传 123, 邻 04, 孤 56789
    EXPECT_EQ(rows[2][9], QStringLiteral("--"));      // first 复隔中 classes, no ratio yet
    EXPECT_NE(rows[3][9], QStringLiteral("--"));
    // The seventh draw, 901: first 热温冷 classes, no ratio for them yet.
    EXPECT_EQ(rows[6], statsfixture::Split("2024007,901,1,023456789,,--,019,678,2345,0:0:3,019,28,34567,0:1:2"));
    // 113 counts its 1 twice.
    EXPECT_EQ(rows[7].mid(0, 2), statsfixture::Split("2024008,113"));
    EXPECT_EQ(rows[7][5], QStringLiteral("2:1:0"));
    EXPECT_EQ(rows[7][9], QStringLiteral("2:0:1"));
    EXPECT_EQ(rows[7][13], QStringLiteral("2:0:1"));
}

TEST(FuzzyStatsTest, RangeStartingLateShowsClassesButNoRatios) {
    const auto h = HistoryOf({"123", "456", "789", "012", "345", "678", "901", "113", "000"});
    const QList<QStringList> rows = FuzzyStatsRows(h, StatsRange{8, 9});
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0], statsfixture::Split("2024008,113,1,03456789,2,--,13,09,245678,--,13,024,56789,--"));
    // 000: 传 0, 邻 19, 孤 2345678.
    EXPECT_EQ(rows[1].mid(10, 3), statsfixture::Split("0,19,2345678"));
    EXPECT_EQ(rows[1][5], QStringLiteral("0:3:0"));
    EXPECT_TRUE(FuzzyStatsRows(h, StatsRange{5, 4}).isEmpty());
}

TEST(ProfitPlanTest, AmountTargetWithTheDefaults) {
    const QList<QStringList> rows = ProfitPlanRows(ProfitPlanInputs{});
    ASSERT_EQ(rows.size(), 20);
    EXPECT_EQ(rows[0], statsfixture::Split("1,2,80,80,2000,1920,2400.00%"));
    EXPECT_EQ(rows[11], statsfixture::Split("12,2,80,960,2000,1040,108.33%"));
    EXPECT_EQ(rows[12], statsfixture::Split("13,3,120,1080,3000,1920,177.78%"));
    EXPECT_EQ(rows[19], statsfixture::Split("20,3,120,1920,3000,1080,56.25%"));
}

TEST(ProfitPlanTest, RateTargetLimitAndNegativeTarget) {
    ProfitPlanInputs rate;
    rate.target = 50;
    rate.targetIsAmount = false;
    const QList<QStringList> rows = ProfitPlanRows(rate);
    EXPECT_EQ(rows[0], statsfixture::Split("1,1,40,40,1000,960,2400.00%"));
    EXPECT_EQ(rows[15], statsfixture::Split("16,1,40,640,1000,360,56.25%"));
    EXPECT_EQ(rows[16], statsfixture::Split("17,2,80,720,2000,1280,177.78%"));

    // Each unit of the multiple costs 40 and returns 30: the target can never be met.
    ProfitPlanInputs hopeless;
    hopeless.prize = 30;
    for (const QStringList& row : ProfitPlanRows(hopeless))
        EXPECT_EQ(row.mid(1), statsfixture::Repeat("0", 6));

    // A negative target is met at once: every period keeps the starting multiple.
    ProfitPlanInputs negative;
    negative.target = -5;
    negative.startMultiple = 3;
    negative.periods = 2;
    EXPECT_EQ(ProfitPlanRows(negative), (QList<QStringList>{statsfixture::Split("1,3,120,120,3000,2880,2400.00%"),
                                                            statsfixture::Split("2,3,120,240,3000,2760,1150.00%")}));
}

TEST(ProfitPlanTest, TargetText) {
    double t = 0;
    for (const char* bad : {"", "abc", "0", "  ", "1e999"})
        EXPECT_FALSE(ParseProfitTarget(QString::fromUtf8(bad), &t)) << bad;
    ASSERT_TRUE(ParseProfitTarget(QStringLiteral("  800 "), &t));
    EXPECT_EQ(t, 800);
}

TEST(NumberCountsTest, StraightCountsAndPickByRange) {
    const auto h = HistoryOf({"123", "321", "123", "000", "999"});
    const NumberCounts counts = CountNumbers(h, All(h));
    EXPECT_EQ(counts[123], 2);
    EXPECT_EQ(counts[321], 1);
    EXPECT_EQ(counts[0], 1);
    EXPECT_EQ(counts[132], 0);
    EXPECT_EQ(LargestCount(counts), 2);
    const QList<QStringList> rows = NumberCountRows(counts);
    ASSERT_EQ(rows.size(), 1000);
    EXPECT_EQ(rows[0], statsfixture::Split("000,1"));
    EXPECT_EQ(rows[7], statsfixture::Split("007,0"));
    EXPECT_EQ(rows[123], statsfixture::Split("123,2"));

    EXPECT_EQ(PickByCount(rows, 1, 2).text, QStringLiteral("000 123 321 999 "));
    EXPECT_EQ(PickByCount(rows, 0, 0).count, 996);
    const CountPick none = PickByCount(rows, 2, 1);
    EXPECT_EQ(none.text, QString());
    EXPECT_EQ(none.count, 0);
    EXPECT_EQ(PickTally(1000), QStringLiteral("共计1000注"));
    // Only the range's draws count.
    EXPECT_EQ(CountNumbers(h, StatsRange{2, 3})[123], 1);
}

TEST(FormulaStatsTest, DifferenceOfHundredsAndUnits) {
    const auto h = HistoryOf({"357", "000", "753", "112"});
    const QList<OmissionRow> rows = FormulaStatsRows(h, All(h), 0, FormulaOp::Subtract, 2);
    ASSERT_EQ(rows.size(), 10);
    EXPECT_EQ(Cells(rows[0]), statsfixture::Split("0,1,25.00%,2.0,1,1,2,1.00"));
    EXPECT_EQ(Cells(rows[1]), statsfixture::Split("1,1,25.00%,4.0,3,3,0,0.00"));
    EXPECT_EQ(Cells(rows[4]), statsfixture::Split("4,2,50.00%,1.5,1,1,1,0.67"));
    EXPECT_EQ(Cells(rows[9]), statsfixture::Split("9,0,0.00%,0.0,0,0,4,0.00"));
}

TEST(FormulaStatsTest, RowsForEveryValueOfTheOperator) {
    const auto h = HistoryOf({"246", "135", "999", "480"});
    // The same position twice with 加: only even values can come.
    const QList<OmissionRow> sums = FormulaStatsRows(h, All(h), 0, FormulaOp::Add, 0);
    ASSERT_EQ(sums.size(), 19);
    for (int j = 1; j <= 17; j += 2)
        EXPECT_EQ(Cells(sums[j]).mid(1), statsfixture::Split("0,0.00%,0.0,0,0,4,0.00")) << j;
    EXPECT_EQ(Cells(sums[18]), statsfixture::Split("18,1,25.00%,3.0,2,2,1,0.33"));
    // 乘: 82 rows; the value 0 counts every draw with a 0 at either position.
    const QList<OmissionRow> products = FormulaStatsRows(h, All(h), 1, FormulaOp::Multiply, 2);
    ASSERT_EQ(products.size(), 82);
    EXPECT_EQ(products[0].stats.hitCount, 1);
    EXPECT_EQ(products[81].stats.hitCount, 1);
    EXPECT_EQ(products[15].stats.hitCount, 1);
    EXPECT_EQ(products[24].stats.hitCount, 1);
    // A range of one draw.
    const QList<OmissionRow> one = FormulaStatsRows(h, StatsRange{2, 2}, 0, FormulaOp::Add, 1);
    EXPECT_EQ(Cells(one[4]), statsfixture::Split("4,1,100.00%,1.0,0,0,0,0.00"));
    EXPECT_EQ(Cells(one[5]), statsfixture::Split("5,0,0.00%,0.0,0,0,1,0.00"));
    // No draw at all: rows without hits, nothing divided by zero.
    EXPECT_EQ(Cells(FormulaStatsRows(h, StatsRange{3, 2}, 0, FormulaOp::Add, 1)[0]), statsfixture::Split("0,0,0.00%,0.0,0,0,0,0.00"));
}

TEST(CompoundStatsTest, DigitSetsAreTheDigitsOccurring) {
    EXPECT_EQ(DigitSetOf(QStringLiteral("1,2")), DigitSetOf(QStringLiteral("12")));
    EXPECT_EQ(DigitSetOf(QStringLiteral("2211")), DigitSetOf(QStringLiteral("12")));
    EXPECT_EQ(DigitSetOf(QStringLiteral("0,1,2,3,4,5,6,7,8,9")), 0x3FF);
    EXPECT_EQ(DigitSetOf(QString()), 0);
}

TEST(CompoundStatsTest, PositionalAndAnyOrderRows) {
    const auto h = HistoryOf({"123", "132", "000", "213", "321", "231", "312", "456"});
    const CompoundInput in = MakeCompoundInput(h, All(h));
    EXPECT_EQ(Cells(PositionalRow(in, "0", "0", "0")), statsfixture::Split("0|0|0,1,12.50%,3.0,2,2,5,1.67"));
    EXPECT_EQ(Cells(PositionalRow(in, "1", "2", "3")), statsfixture::Split("1|2|3,1,12.50%,1.0,0,0,7,7.00"));
    EXPECT_EQ(Cells(AnyOrderRow(in, "1", "2", "3")), statsfixture::Split("组选 1|2|3,6,75.00%,1.2,1,0,1,0.86"));
    EXPECT_EQ(PositionalRow(in, "1,2", "12", "3").stats.hitCount, 2);  // 123, 213
    // An empty set matches nothing.
    EXPECT_EQ(Cells(AnyOrderRow(in, "", "2", "3")), statsfixture::Split("组选 |2|3,0,0.00%,0.0,0,0,8,0.00"));
}

TEST(CompoundStatsTest, PoolRowsAsGroupAndStraight) {
    const auto h = HistoryOf({"112", "121", "211", "122", "000"});
    const CompoundInput in = MakeCompoundInput(h, All(h));
    const pool::NumberPool numbers{QStringLiteral("112")};
    EXPECT_EQ(Cells(PoolGroupRow(in, numbers)), statsfixture::Split("组选综合统计 112 ,3,60.00%,1.0,0,0,2,2.00"));
    EXPECT_EQ(Cells(PoolStraightRow(in, numbers)), statsfixture::Split("单选综合统计 112 ,1,20.00%,1.0,0,0,4,4.00"));
    EXPECT_EQ(PoolText({}), QStringLiteral(" "));
    EXPECT_EQ(PoolText({"123", "", "456"}), QStringLiteral(" 123  456 "));
    EXPECT_EQ(Cells(PoolGroupRow(in, {})), statsfixture::Split("组选综合统计 ,0,0.00%,0.0,0,0,5,0.00"));
}

TEST(CompoundStatsTest, CombinationLists) {
    const int expected[11] = {0, 10, 45, 120, 210, 252, 210, 120, 45, 10, 1};
    for (int k = 0; k <= 10; ++k)
        EXPECT_EQ(DigitCombinations(k).size(), expected[k]) << k;
    EXPECT_EQ(DigitCombinations(2).mid(0, 10), statsfixture::Split("01,02,03,04,05,06,07,08,09,12"));
    EXPECT_EQ(DigitCombinations(2).last(), QStringLiteral("89"));
    EXPECT_EQ(DigitCombinations(9).first(), QStringLiteral("012345678"));
    EXPECT_EQ(DigitCombinations(9).last(), QStringLiteral("123456789"));
    EXPECT_EQ(DigitCombinations(10), QStringList{QStringLiteral("0123456789")});
    EXPECT_EQ(StraightCombinationCount(5, 5, 5), 16003008);
    EXPECT_EQ(StraightCombinationCount(2, 2, 2), 91125);
    EXPECT_EQ(StraightCombinationCount(10, 10, 10), 1);
}

TEST(CompoundStatsTest, GroupCombinationRows) {
    const auto h = HistoryOf({"333", "333", "123", "777", "001", "999"});
    const CompoundInput in = MakeCompoundInput(h, All(h));
    const auto single = GroupCombinationRows(in, 1);
    ASSERT_EQ(single.size(), 10u);
    EXPECT_EQ(single[0].category, QStringLiteral("0|0|0"));
    EXPECT_EQ(single[9].category, QStringLiteral("9|9|9"));
    int triples = 0;
    for (const auto& row : single)
        triples += row.stats.hitCount;
    EXPECT_EQ(triples, 4);
    const auto five = GroupCombinationRows(in, 5);
    ASSERT_EQ(five.size(), 252u);
    EXPECT_EQ(five.front().category, QStringLiteral("01234|01234|01234"));
    EXPECT_EQ(five.back().category, QStringLiteral("56789|56789|56789"));
    // 组选9码: the row leaving out d counts the draws without d.
    const auto nine = GroupCombinationRows(in, 9);
    ASSERT_EQ(nine.size(), 10u);
    EXPECT_EQ(nine.front().category, QStringLiteral("012345678|012345678|012345678"));
    EXPECT_EQ(nine.front().stats.hitCount, 5);  // all but 999
    EXPECT_EQ(nine.back().stats.hitCount, 5);   // all but 001
    EXPECT_TRUE(GroupCombinationRows(in, 0).empty());
}

TEST(CompoundStatsTest, StraightCombinationRowsInOrder) {
    const auto h = HistoryOf({"123", "456"});
    const CompoundInput in = MakeCompoundInput(h, All(h));
    const auto rows = StraightCombinationRows(in, 2, 1, 10);
    ASSERT_EQ(rows.size(), 450u);
    EXPECT_EQ(rows[0].category, QStringLiteral("01|0|0123456789"));
    EXPECT_EQ(rows[9].category, QStringLiteral("01|9|0123456789"));
    EXPECT_EQ(rows[10].category, QStringLiteral("02|0|0123456789"));
    EXPECT_EQ(rows.back().category, QStringLiteral("89|9|0123456789"));
    const auto straight = StraightCombinationRows(in, 1, 1, 1);
    ASSERT_EQ(straight.size(), 1000u);
    EXPECT_EQ(straight[1].category, QStringLiteral("0|0|1"));
    EXPECT_EQ(straight[123].stats.hitCount, 1);
    EXPECT_EQ(straight[456].stats.hitCount, 1);
}

TEST(CompoundStatsTest, StraightCombinationRowsAgreeWithOnePassPerRow) {
    // Over 64 draws, so hits and gaps cross word boundaries; the newest draws hit little, so
    // the open gap at the end matters.
    QStringList numbers;
    for (int i = 0; i < 150; ++i)
        numbers << QStringLiteral("%1").arg((i * 37 + i / 7) % 1000, 3, 10, QLatin1Char('0'));
    numbers << "999" << "999" << "999";
    const auto h = HistoryOf(numbers);
    struct Sizes {
        int a, b, c;
    };
    for (const StatsRange& range : {All(h), StatsRange{60, 140}, StatsRange{5, 4}}) {
        const CompoundInput in = MakeCompoundInput(h, range);
        for (const Sizes& s : {Sizes{1, 1, 1}, Sizes{2, 1, 9}, Sizes{10, 3, 10}}) {
            const auto rows = StraightCombinationRows(in, s.a, s.b, s.c);
            size_t r = 0;
            for (const QString& x : DigitCombinations(s.a))
                for (const QString& y : DigitCombinations(s.b))
                    for (const QString& z : DigitCombinations(s.c)) {
                        ASSERT_LT(r, rows.size());
                        EXPECT_EQ(Cells(rows[r]), Cells(PositionalRow(in, x, y, z))) << (x + QLatin1Char(' ') + y + QLatin1Char(' ') + z).toStdString();
                        ++r;
                    }
            EXPECT_EQ(r, rows.size());
        }
    }
}

TEST(CompoundStatsTest, WorkbenchNumberRowsInCallOrder) {
    const auto h = HistoryOf({"012", "210", "345"});
    const CompoundInput in = MakeCompoundInput(h, All(h));
    const auto rows = WorkbenchNumberRows(in, {"012", "345"});
    QStringList categories;
    for (const auto& r : rows)
        categories << r.category;
    EXPECT_EQ(categories, statsfixture::Split("组选综合统计 012 345 ,单选综合统计 012 345 ,0|1|2,3|4|5,组选 0|1|2,组选 3|4|5"));
    EXPECT_EQ(rows[0].stats.hitCount, 3);
    EXPECT_EQ(rows[1].stats.hitCount, 2);
    EXPECT_EQ(rows[4].stats.hitCount, 2);
    EXPECT_EQ(WorkbenchNumberRows(in, {}).size(), 2u);
}

TEST(TableCopyTest, HeadersAndColumns) {
    EXPECT_EQ(FormulaCopyLayout().header,
              QStringLiteral("类别  开出次数   开出概率  平均遗漏   最大遗漏  上期遗漏  本期遗漏  出号几率"));
    EXPECT_EQ(FuzzyCopyLayout().header,
              QStringLiteral("期号      奖号      热        温        冷        比例      复        隔        中        "
                             "比例      传        邻        孤        比例"));
    EXPECT_EQ(CompoundCopyLayout().header, QStringLiteral("类别") + QString(64, QLatin1Char(' ')) +
                                               QStringLiteral("开出次数   开出概率  平均遗漏   最大遗漏  上期遗漏  本期遗漏  出号几率"));
    EXPECT_EQ(ProfitPlanCopyLayout().header,
              QStringLiteral("期数    投入倍数      本期投入奖金      累积投入奖金   本期收入金额   净收入         收入率"));

    EXPECT_EQ(CopyLine(FormulaCopyLayout(), statsfixture::Split("3,12,11.88%,8.4,25,4,0,0.00")),
              QStringLiteral("3       12        11.88%    8.4       25        4         0         0.00"));
    // Empty table: the header and one empty line.
    EXPECT_EQ(CopyText(FormulaCopyLayout(), 0, {}), FormulaCopyLayout().header + QStringLiteral("\r\n\r\n"));
    const QString plan = CopyText(ProfitPlanCopyLayout(), 1, [](int) { return statsfixture::Split("1,2,80,80,2000,1920,2400.00%"); });
    EXPECT_TRUE(plan.endsWith(QStringLiteral("\r\n\r\n1         2              80             80             2000"
                                             "           1920           2400.00%\r\n")));
}

TEST(TableCopyTest, CompoundCopyLimitAndLongCategories) {
    QStringList measures = statsfixture::Split("1,50.00%,2.0,1,1,0,0.00");
    const QString exact(70, QLatin1Char('1'));
    const QString longer(71, QLatin1Char('2'));
    EXPECT_EQ(CopyLine(CompoundCopyLayout(), QStringList{exact} + measures).mid(70, 2), QStringLiteral("1 "));
    // A category longer than its column is kept whole, not dropped, with a blank after it.
    EXPECT_EQ(CopyLine(CompoundCopyLayout(), QStringList{longer} + measures).left(73), longer + QStringLiteral(" 1"));
    const QString text = CopyText(CompoundCopyLayout(), 1500, [&](int r) { return QStringList{QString::number(r)} + measures; });
    EXPECT_EQ(text.count(QStringLiteral("\r\n")), 1002);
    EXPECT_TRUE(text.endsWith(QStringLiteral("999") + QString(67, QLatin1Char(' ')) + QStringLiteral("1         ") +
                              QStringLiteral("50.00%    2.0       1         1         0         0.00\r\n")));
}
