// 1D, positional, shape, AC, mean and last-draw relation filters.
#include "common/drawhistory.h"
#include "common/numbertables.h"
#include "pool/numberpool.h"
#include "pool/shapefilters.h"

#include <gtest/gtest.h>

using namespace pool;
using common::Digits;

namespace {
Digits D(const char* n) { return Digits::Of(QString::fromLatin1(n)); }
}  // namespace

TEST(ShapeFilters, DerivedValues) {
    const struct {
        const char* n;
        int d1, d2, d3, d4, shape, ac, mean;
    } cases[] = {
        {"190", 9, 1, 9, 7, 10, 3, 3}, {"555", 0, 0, 0, 0, 0, 1, 5}, {"121", 6, 0, 0, 2, 3, 2, 1},
        {"212", 6, 0, 0, 2, 4, 2, 1},  {"100", 1, 1, 1, 1, 2, 2, 0}, {"001", 1, 1, 1, 1, 5, 2, 0},
        {"110", 3, 1, 1, 1, 6, 2, 0},  {"011", 3, 1, 1, 1, 1, 2, 0}, {"000", 0, 0, 0, 0, 0, 1, 0},
        {"135", 2, 0, 4, 4, 7, 2, 3},  {"124", 9, 1, 3, 3, 7, 3, 2}, {"019", 1, 7, 1, 9, 7, 3, 3},
        {"899", 5, 1, 1, 1, 1, 2, 8},  {"999", 6, 0, 0, 0, 0, 1, 9}, {"153", 4, 2, 2, 6, 8, 2, 3},
        {"513", 0, 2, 2, 6, 11, 2, 3},  {"351", 4, 2, 2, 6, 10, 2, 3}, {"531", 2, 0, 4, 4, 12, 2, 3},
        {"315", 0, 2, 2, 6, 9, 2, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.n);
        const Digits d = D(c.n);
        EXPECT_EQ(OneDValue(d, 1), c.d1);
        EXPECT_EQ(OneDValue(d, 2), c.d2);
        EXPECT_EQ(OneDValue(d, 3), c.d3);
        EXPECT_EQ(OneDValue(d, 4), c.d4);
        EXPECT_EQ(AbcTypeOf(d), c.shape);
        EXPECT_EQ(common::AcValue(d), c.ac);
        EXPECT_EQ(MeanOf(d), c.mean);
    }
    EXPECT_EQ(OneDValue(D("123"), 5), -1);
    EXPECT_EQ(AbcTypeName(0), "AAA");
    EXPECT_EQ(AbcTypeName(12), "CBA");
    EXPECT_TRUE(AbcTypeName(13).isEmpty());
}

TEST(ShapeFilters, ShapesSplitTheFullSet) {
    NumberPool pool = common::AllNumbers();
    QString log;
    for (int kind = 0; kind <= 12; ++kind) {
        const int expected = kind == 0 ? 10 : (kind <= 6 ? 45 : 120);
        EXPECT_EQ(FilterAbcType(pool, log, kind), expected) << kind;
    }
    EXPECT_TRUE(pool.isEmpty());
    pool = common::AllNumbers();
    EXPECT_EQ(FilterAbcType(pool, log, 13), 0);
    EXPECT_EQ(pool.size(), 1000);
}

TEST(ShapeFilters, ValueFamiliesSplitTheFullSet) {
    const struct {
        const char* name;
        std::function<int(NumberPool&, QString&, int)> run;
        int first, last;
    } families[] = {
        {"1D 1", [](NumberPool& p, QString& l, int v) { return Filter1D(p, l, 1, v); }, 0, 9},
        {"1D 2", [](NumberPool& p, QString& l, int v) { return Filter1D(p, l, 2, v); }, 0, 9},
        {"1D 3", [](NumberPool& p, QString& l, int v) { return Filter1D(p, l, 3, v); }, 0, 9},
        {"1D 4", [](NumberPool& p, QString& l, int v) { return Filter1D(p, l, 4, v); }, 0, 9},
        {"AC", [](NumberPool& p, QString& l, int v) { return FilterAcValue(p, l, v); }, 1, 3},
        {"mean", [](NumberPool& p, QString& l, int v) { return FilterMean(p, l, v); }, 0, 9},
    };
    for (const auto& f : families) {
        SCOPED_TRACE(f.name);
        NumberPool pool = common::AllNumbers();
        QString log;
        int total = 0;
        for (int v = f.first; v <= f.last; ++v) total += f.run(pool, log, v);
        EXPECT_EQ(total, 1000);
        EXPECT_TRUE(pool.isEmpty());
        pool = common::AllNumbers();
        EXPECT_EQ(f.run(pool, log, f.last + 1), 0);
        EXPECT_EQ(f.run(pool, log, -1), 0);
        EXPECT_EQ(pool.size(), 1000);
    }
    NumberPool pool = common::AllNumbers();
    QString log;
    EXPECT_EQ(Filter1D(pool, log, 0, 0), 0);
    EXPECT_EQ(Filter1D(pool, log, 5, 0), 0);
    EXPECT_EQ(FilterMean(pool, log, 9), 1);  // only 999
    EXPECT_EQ(FilterAcValue(pool, log, 1), 9);
}

TEST(ShapeFilters, PositionalPatterns) {
    NumberPool pool = common::AllNumbers();
    QString log;
    EXPECT_EQ(FilterPositional(pool, log, {"1*3"}), 10);
    EXPECT_EQ(log, "103| 113| 123| 133| 143| 153| 163| 173| 183| 193| ");

    pool = {"123", "103", "129", "456"};
    log.clear();
    EXPECT_EQ(FilterPositional(pool, log, {"12*", "1*3"}), 3);
    EXPECT_EQ(log, "123| 129| 103| ");  // 123 once, under the first pattern
    EXPECT_EQ(pool, (NumberPool{"456"}));

    pool = {"123", "456"};
    log.clear();
    EXPECT_EQ(FilterPositional(pool, log, {}), 0);
    EXPECT_EQ(FilterPositional(pool, log, {"12", "", "4"}), 0);  // "12" acts as "122"; shorter take nothing
    EXPECT_EQ(FilterPositional(pool, log, {"***"}), 2);
    EXPECT_EQ(log, "123| 456| ");
}

TEST(ShapeFilters, LastDrawRelations) {
    EXPECT_EQ(StraightDropCount(D("111"), D("112")), 1);
    EXPECT_EQ(StraightDropCount(D("221"), D("112")), 2);
    EXPECT_EQ(StraightDropCount(D("345"), D("112")), 0);
    EXPECT_EQ(StraightDropCount(D("321"), D("123")), 3);
    EXPECT_EQ(DiagonalLinkValue(D("542"), D("936")), 3);
    EXPECT_EQ(DiagonalLinkValue(D("000"), D("900")), 1);
    EXPECT_EQ(DiagonalLinkValue(D("919"), D("000")), 2);
    EXPECT_EQ(DiagonalLinkValue(D("246"), D("135")), 5);
    EXPECT_EQ(DiagonalLinkValue(D("555"), D("555")), 0);

    // The history's newest draw is the one compared with, whatever came before.
    common::DrawHistory history({"2024001 999", "2024002 112"});
    NumberPool pool = {"111", "221", "345", "912"};
    QString log;
    EXPECT_EQ(FilterStraightDrop(pool, log, history, 2), 2);
    EXPECT_EQ(log, "221| 912| ");
    EXPECT_EQ(pool, (NumberPool{"111", "345"}));

    pool = {"542", "000", "936"};
    log.clear();
    EXPECT_EQ(FilterDiagonalLink(pool, log, QStringLiteral("2024100 936"), 3), 1);
    EXPECT_EQ(FilterDiagonalLink(pool, log, QStringLiteral("936"), 0), 1);  // 936 itself has no link
    EXPECT_EQ(log, "542| 936| ");
    EXPECT_EQ(pool, (NumberPool{"000"}));
}

TEST(ShapeFilters, LastDrawRelationsCountAcrossTheFullSet) {
    for (const char* last : {"112", "936", "000", "909"}) {
        SCOPED_TRACE(last);
        NumberPool pool = common::AllNumbers();
        QString log;
        int drops = 0;
        for (int v = 0; v <= 3; ++v) drops += FilterStraightDrop(pool, log, QString(last), v);
        EXPECT_EQ(drops, 1000);
        pool = common::AllNumbers();
        int links = 0;
        for (int v = 0; v <= 5; ++v) links += FilterDiagonalLink(pool, log, QString(last), v);
        EXPECT_EQ(links, 1000);
    }
}

TEST(ShapeFilters, WithoutALastDrawNothingIsRemoved) {
    const common::DrawHistory empty;
    for (int v = 0; v <= 5; ++v) {
        NumberPool pool = {"123", "", "456"};  // a blank from an uncompacted run is still dropped
        QString log;
        EXPECT_EQ(FilterStraightDrop(pool, log, empty, v), 0);
        EXPECT_EQ(pool, (NumberPool{"123", "456"}));
        pool = {"123", "", "456"};
        EXPECT_EQ(FilterDiagonalLink(pool, log, empty, v), 0);
        EXPECT_EQ(FilterDiagonalLink(pool, log, QStringLiteral("2024001 1x3"), v), 0);
        EXPECT_EQ(pool, (NumberPool{"123", "456"}));
        EXPECT_TRUE(log.isEmpty());
    }
}

TEST(ShapeFilters, EmptyPoolAndStrayEntries) {
    NumberPool pool;
    QString log;
    EXPECT_EQ(Filter1D(pool, log, 1, 0), 0);
    EXPECT_EQ(FilterPositional(pool, log, {"***"}), 0);
    EXPECT_EQ(FilterAbcType(pool, log, 0), 0);
    EXPECT_EQ(FilterMean(pool, log, 0), 0);
    EXPECT_EQ(FilterStraightDrop(pool, log, QStringLiteral("123"), 0), 0);
    EXPECT_TRUE(log.isEmpty());

    pool = {"000", "0", "000x", "000"};
    EXPECT_EQ(FilterMean(pool, log, 0), 2);
    EXPECT_EQ(FilterPositional(pool, log, {"***"}), 0);
    EXPECT_EQ(pool, (NumberPool{"0", "000x"}));
}
