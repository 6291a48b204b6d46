// The compound table holding compact straight combination rows: shown texts, and sorting by any
// column exactly as sorting the shown texts would, equal texts keeping their order.
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
    return statsfixture::History(numbers);
}

StraightRows Compute(const common::DrawHistory& h, int a, int b, int c) {
    StraightRows rows;
    EXPECT_TRUE(ComputeStraightRows(MakeCompoundInput(h, StatsRange{1, h.count()}), a, b, c, &rows));
    return rows;
}

// The table's rows after a stable sort of their shown texts.
QList<QStringList> SortedTexts(QList<QStringList> rows, int column, Qt::SortOrder order) {
    std::stable_sort(rows.begin(), rows.end(), [&](const QStringList& x, const QStringList& y) {
        const int c = QString::compare(x[column], y[column]);
        return order == Qt::AscendingOrder ? c < 0 : c > 0;
    });
    return rows;
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

TEST(StraightTableTest, SortsEveryColumnAsItsTexts) {
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
            table.sortByText(k.before, Qt::DescendingOrder);
        const QList<QStringList> expected = SortedTexts(table.allTexts(), k.column, k.order);
        table.sortByText(k.column, k.order);
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
        const QList<QStringList> expected = SortedTexts(table.allTexts(), column, Qt::DescendingOrder);
        table.sortByText(column, Qt::DescendingOrder);
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
