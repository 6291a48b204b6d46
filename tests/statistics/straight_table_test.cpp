// The statistics tables' rows and their sort: the first column by its text, the counts, gaps and
// rates by the value they show, equal cells keeping their shown order; the compact straight
// combination rows sort exactly as their shown texts would.
#include "statistics/compoundstats.h"
#include "statistics/statstable.h"

#include "statsfixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

namespace {

using namespace statistics;

QStringList Titles() { return QStringList{QStringLiteral("类别")} + OmissionMeasureTitles(); }

// Draws whose newest stretch hits little, so gaps, rates and ratios take many values and many
// rows share each of them.
common::DrawHistory SpreadHistory() {
    QStringList numbers;
    for (int i = 0; i < 140; ++i)
        numbers << QStringLiteral("%1").arg((i * 37 + i / 7) % 1000, 3, 10, QLatin1Char('0'));
    numbers << "999" << "998" << "989";
    return testsupport::HistoryOf(numbers);
}

StraightRows Compute(const common::DrawHistory& h, int a, int b, int c) {
    StraightRows rows;
    EXPECT_TRUE(ComputeStraightRows(MakeCompoundInput(h, StatsRange{1, h.count()}), a, b, c, &rows));
    return rows;
}

// The table's rows after a stable sort of their shown cells: column 0 as text, the others by the
// number they show (a rate without its "%").
QList<QStringList> SortedCells(QList<QStringList> rows, int column, Qt::SortOrder order) {
    auto value = [](QString text) {
        text.remove(QLatin1Char('%'));
        return text.toDouble();
    };
    std::stable_sort(rows.begin(), rows.end(), [&](const QStringList& x, const QStringList& y) {
        const QString& a = order == Qt::AscendingOrder ? x[column] : y[column];
        const QString& b = order == Qt::AscendingOrder ? y[column] : x[column];
        return column == 0 ? QString::compare(a, b) < 0 : value(a) < value(b);
    });
    return rows;
}

TEST(StatsTableSortTest, NumbersByValueTheRowTextByText) {
    // 类别, a count, a rate, a decimal; "--" shows no number.
    const QList<QStringList> rows = {statsfixture::Split("b,999,9.50%,1.5"), statsfixture::Split("a,1000,10.00%,12.0"),
                                     statsfixture::Split("c,2,2.00%,--"), statsfixture::Split("d,1000,0.00%,1.50"),
                                     statsfixture::Split("10,--,1.0%,0.0")};
    struct Case {
        int before;  // a column sorted first (descending), -1 none
        int column;
        Qt::SortOrder order;
        const char* categories;  // the first column afterwards
    };
    const Case cases[] = {
        {-1, 1, Qt::DescendingOrder, "a,d,b,c,10"},  // 1000 above 999; a and d tie in shown order
        {-1, 1, Qt::AscendingOrder, "10,c,b,a,d"},   // no number ranks lowest
        {0, 1, Qt::DescendingOrder, "d,a,b,c,10"},   // the tie keeps the order shown before
        {-1, 2, Qt::DescendingOrder, "a,b,c,10,d"},  // 10.00% above 9.50%
        {-1, 3, Qt::DescendingOrder, "a,b,d,10,c"},  // 1.5 and 1.50 tie
        {-1, 3, Qt::AscendingOrder, "c,10,b,d,a"},
        {-1, 0, Qt::DescendingOrder, "d,c,b,a,10"},  // the row's own text as text
        {-1, 0, Qt::AscendingOrder, "10,a,b,c,d"},
    };
    for (const Case& k : cases) {
        StatsTable table({QStringLiteral("类别"), QStringLiteral("开出次数"), QStringLiteral("开出概率"),
                          QStringLiteral("平均遗漏")});
        table.appendTexts(rows);
        if (k.before >= 0)
            table.sortBy(k.before, Qt::DescendingOrder);
        table.sortBy(k.column, k.order);
        QStringList categories;
        for (int r = 0; r < table.rowCount(); ++r)
            categories << table.text(r, 0);
        EXPECT_EQ(categories.join(QLatin1Char(',')), QString::fromLatin1(k.categories))
            << k.before << ' ' << k.column << ' ' << int(k.order);
    }
}

TEST(StraightTableTest, ShowsTheRowsOfTheComputation) {
    const auto h = SpreadHistory();
    const auto in = MakeCompoundInput(h, StatsRange{1, h.count()});
    StatsTable table(Titles());
    table.appendStraight(Compute(h, 2, 1, 10));
    const std::vector<OmissionRow> full = StraightCombinationRows(in, 2, 1, 10);
    ASSERT_EQ(table.rowCount(), int(full.size()));
    for (int r = 0; r < table.rowCount(); ++r)
        ASSERT_EQ(table.rowTexts(r), full[size_t(r)].cells()) << r;
    EXPECT_EQ(table.text(table.rowCount(), 0), QString());
}

TEST(StraightTableTest, SortsEveryColumnAsItsCells) {
    const auto h = SpreadHistory();
    struct Case {
        int before;  // a column sorted first (descending), -1 none
        int column;
        Qt::SortOrder order;
    };
    const Case cases[] = {
        {-1, 0, Qt::DescendingOrder}, {-1, 1, Qt::DescendingOrder}, {-1, 2, Qt::DescendingOrder},
        {-1, 3, Qt::DescendingOrder}, {-1, 4, Qt::DescendingOrder}, {-1, 5, Qt::DescendingOrder},
        {-1, 6, Qt::DescendingOrder}, {-1, 7, Qt::DescendingOrder}, {-1, 3, Qt::AscendingOrder},
        {-1, 7, Qt::AscendingOrder},  {6, 1, Qt::DescendingOrder},  {2, 0, Qt::DescendingOrder},
        {3, 7, Qt::AscendingOrder},
    };
    for (const Case& k : cases) {
        StatsTable table(Titles());
        table.appendStraight(Compute(h, 9, 2, 1));
        if (k.before >= 0)
            table.sortBy(k.before, Qt::DescendingOrder);
        const QList<QStringList> expected = SortedCells(table.allTexts(), k.column, k.order);
        table.sortBy(k.column, k.order);
        EXPECT_EQ(table.allTexts(), expected) << k.before << ' ' << k.column << ' ' << int(k.order);
    }
}

TEST(StraightTableTest, MixedRowsSortTogetherAndLaterRowsFollow) {
    const auto h = SpreadHistory();
    const auto in = MakeCompoundInput(h, StatsRange{1, h.count()});
    for (int column : {0, 1, 3, 7}) {
        StatsTable table(Titles());
        table.appendOmission({PositionalRow(in, "9", "9", "9"), AnyOrderRow(in, "12", "3", "45")});
        table.appendStraight(Compute(h, 1, 9, 1));
        table.appendTexts({statsfixture::Split("5|5|5,3,2.10%,47.7,99,12,5,0.10")});
        const QList<QStringList> expected = SortedCells(table.allTexts(), column, Qt::DescendingOrder);
        table.sortBy(column, Qt::DescendingOrder);
        EXPECT_EQ(table.allTexts(), expected) << column;
        // Rows appended after a sort come after the sorted rows, in call order.
        table.appendOmission({PositionalRow(in, "0", "0", "0")});
        EXPECT_EQ(table.text(table.rowCount() - 1, 0), QStringLiteral("0|0|0"));
        EXPECT_EQ(table.allTexts().mid(0, int(expected.size())), expected);
    }
}

TEST(StraightTableTest, CancelledSortGivesNoOrder) {
    const auto h = SpreadHistory();
    StatsTable table(Titles());
    table.appendStraight(Compute(h, 3, 3, 1));
    common::WorkProgress progress;
    progress.cancel();
    EXPECT_TRUE(table.sortedOrder(2, Qt::DescendingOrder, &progress).empty());
    EXPECT_EQ(table.text(0, 0), QStringLiteral("012|012|0"));
}

}  // namespace
