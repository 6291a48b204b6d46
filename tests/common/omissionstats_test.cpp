#include "common/omissionstats.h"
#include "common/textwidth.h"

#include <algorithm>
#include <gtest/gtest.h>

using common::OmissionStats;

namespace {

// Walks n draws; `hits` lists the 1-based draws that hit the category.
OmissionStats Walk(int n, std::initializer_list<int> hits) {
    OmissionStats s;
    for (int i = 1; i <= n; ++i)
        s.record(std::find(hits.begin(), hits.end(), i) != hits.end());
    return s;
}

struct Expected {
    int hitCount, maxGap, prevGap, currentGap;
    const char* rate;
    const char* average;
    const char* due;
};

void ExpectStats(const OmissionStats& s, int n, const Expected& e) {
    EXPECT_EQ(s.hitCount, e.hitCount);
    EXPECT_EQ(s.maxGap, e.maxGap);
    EXPECT_EQ(s.prevGap, e.prevGap);
    EXPECT_EQ(s.currentGap, e.currentGap);
    EXPECT_EQ(s.hitRateText(n), e.rate);
    EXPECT_EQ(s.averageGapText(n), e.average);
    EXPECT_EQ(s.dueRatioText(n), e.due);
}

}  // namespace

TEST(OmissionStats, CountsAndMeasuresOverTenDraws) {
    {
        SCOPED_TRACE("hit in every draw");
        ExpectStats(Walk(10, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}), 10, {10, 0, 0, 0, "100.00%", "1.0", "0.00"});
    }
    {
        SCOPED_TRACE("only the newest draw");
        ExpectStats(Walk(10, {10}), 10, {1, 9, 9, 0, "10.00%", "10.0", "0.00"});
    }
    {
        SCOPED_TRACE("only the oldest: the open run never enters the longest gap");
        ExpectStats(Walk(10, {1}), 10, {1, 0, 0, 9, "10.00%", "1.0", "9.00"});
    }
    {
        SCOPED_TRACE("hits at 2, 5, 6");
        ExpectStats(Walk(10, {2, 5, 6}), 10, {3, 2, 0, 4, "30.00%", "2.0", "2.00"});
    }
    {
        SCOPED_TRACE("never hit");
        ExpectStats(Walk(10, {}), 10, {0, 0, 0, 10, "0.00%", "0.0", "0.00"});
    }
}

TEST(OmissionStats, TextFormsRoundToTheNearest) {
    OmissionStats s = Walk(101, {});
    s.hitCount = 13;
    EXPECT_EQ(s.hitRateText(101), "12.87%");
    // 9 / 5 = 1.8 gives 1 / 1.8 = 0.555...
    const OmissionStats t = Walk(10, {3, 4, 7, 8, 9});
    EXPECT_EQ(t.averageGapText(10), "1.8");
    EXPECT_EQ(t.dueRatioText(10), "0.56");
    // The calculator's two-decimal average gap.
    EXPECT_EQ(Walk(3, {1, 3}).averageGapText(3, 2), "1.50");
    EXPECT_EQ(Walk(3, {}).averageGapText(3, 2), "0.00");
}

TEST(OmissionStats, EmptyRangeDividesNothing) {
    const OmissionStats s;
    EXPECT_EQ(s.hitRateText(0), "0.00%");
    EXPECT_EQ(s.averageGapText(0), "0.0");
    EXPECT_EQ(s.dueRatioText(0), "0.00");
}

TEST(OmissionStats, RepeatedHitInOneDrawClosesTheGapOnce) {
    OmissionStats s;
    s.record(false);
    s.record(false);
    s.hit(2);  // a digit standing twice in the draw
    s.endDraw(true);
    EXPECT_EQ(s.hitCount, 2);
    EXPECT_EQ(s.prevGap, 2);
    EXPECT_EQ(s.maxGap, 2);
    EXPECT_EQ(s.currentGap, 0);
    s.reset();
    EXPECT_EQ(s.hitCount + s.maxGap + s.prevGap + s.currentGap, 0);
}

TEST(TextWidth, CjkIdeographicSpaceAndSquareTakeTwoColumns) {
    EXPECT_EQ(common::DisplayWidth(u"类别    "), 8);
    EXPECT_EQ(common::DisplayWidth(u"　"), 2);
    EXPECT_EQ(common::DisplayWidth(u"■■"), 4);
    EXPECT_EQ(common::DisplayWidth(u"100.00%"), 7);
    EXPECT_EQ(common::DisplayWidth(u"，："), 4);
    EXPECT_EQ(common::DisplayWidth(u""), 0);
    EXPECT_EQ(common::PadRight(QStringLiteral("组六"), 6), QStringLiteral("组六  "));
    EXPECT_EQ(common::PadLeft(QStringLiteral("7"), 3), QStringLiteral("  7"));
    EXPECT_EQ(common::PadRight(QStringLiteral("质合分析"), 4), QStringLiteral("质合分析"));
}
