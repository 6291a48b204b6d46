#include "pool/fuzzyclasses.h"

#include "historyfixture.h"

#include <gtest/gtest.h>

#include <set>

using pool::DigitPartition;
using poolfixture::MakeHistory;

namespace {

// The three classes written as the statistics table writes them, joined by "/".
QString Classes(const DigitPartition& p) {
    return p.digitsText(0) + u'/' + p.digitsText(1) + u'/' + p.digitsText(2);
}

struct ClassCase {
    const char* what;
    common::DrawHistory history;
    int reference;
    const char* hotWarmCold;
    const char* repeatGapMiddle;
    const char* drawnNeighbourLone;
};

class FuzzyClassesTable : public ::testing::TestWithParam<ClassCase> {};

TEST_P(FuzzyClassesTable, ClassesAtReferenceDraw) {
    const ClassCase& c = GetParam();
    const pool::FuzzyDigitClasses fc = pool::ComputeFuzzyDigitClasses(c.history, c.reference);
    EXPECT_EQ(Classes(fc.hotWarmCold), QString::fromUtf8(c.hotWarmCold)) << c.what;
    EXPECT_EQ(Classes(fc.repeatGapMiddle), QString::fromUtf8(c.repeatGapMiddle)) << c.what;
    EXPECT_EQ(Classes(fc.drawnNeighbourLone), QString::fromUtf8(c.drawnNeighbourLone)) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FuzzyClassesTable,
    ::testing::Values(
        // A triple counts three times for its digit.
        ClassCase{"triples", MakeHistory({"000", "111", "222", "333", "444", "555", "666"}), 7, "0123456//789",
                  "6/5/01234789", "6/57/0123489"},
        // 0 and 9 neighbour each other and stay 传 when both drawn.
        ClassCase{"095", MakeHistory({"095"}), 1, "//0123456789", "059/1234678/", "059/1468/237"},
        ClassCase{"123 after 345", MakeHistory({"345", "123"}), 2, "/3/012456789", "123/45/06789", "123/04/56789"},
        // Seven draws ending at 901: 1 is seen three times, every other digit twice.
        ClassCase{"seven", MakeHistory({"123", "456", "789", "012", "345", "678", "901"}), 7, "1/023456789/",
                  "019/678/2345", "019/28/34567"},
        ClassCase{"000", MakeHistory({"000"}), 1, "0//123456789", "0/123456789/", "0/19/2345678"},
        // Draws after the reference are not seen.
        ClassCase{"reference before newest", MakeHistory({"123", "456", "789"}), 2, "//0123456789", "456/123/0789",
                  "456/37/01289"}),
    [](const ::testing::TestParamInfo<ClassCase>& info) { return "Case" + std::to_string(info.index); });

TEST(FuzzyClasses, SingleDrawPutsEveryOtherDigitInGap) {
    const auto p = pool::RepeatGapMiddleClasses(MakeHistory({"123"}), 1);
    EXPECT_EQ(p.listText(0), QStringLiteral("1,2,3"));
    EXPECT_EQ(p.listText(1), QStringLiteral("0,4,5,6,7,8,9"));
    EXPECT_EQ(p.listText(2), QString());
}

TEST(FuzzyClasses, ListTextIsAscendingCommaListWithoutTrailingComma) {
    const auto p = pool::HotWarmColdClasses(MakeHistory({"000", "111", "222", "333", "444", "555", "666"}), 7);
    EXPECT_EQ(p.listText(0), QStringLiteral("0,1,2,3,4,5,6"));
    EXPECT_EQ(p.listText(1), QString());
    EXPECT_EQ(p.listText(2), QStringLiteral("7,8,9"));
    EXPECT_EQ(p.classOf(7), 2);
    EXPECT_EQ(p.classOf(10), -1);
}

TEST(FuzzyClasses, NoReferenceDrawGivesEmptyPartitions) {
    const common::DrawHistory empty;
    const common::DrawHistory two = MakeHistory({"123", "456"});
    using Ref = std::pair<const common::DrawHistory*, int>;
    for (const auto& [history, reference] : std::initializer_list<Ref>{{&empty, 0}, {&empty, 1}, {&two, 0}, {&two, 3}, {&two, -5}}) {
        const auto fc = pool::ComputeFuzzyDigitClasses(*history, reference);
        EXPECT_TRUE(fc.hotWarmCold.isEmpty());
        EXPECT_TRUE(fc.repeatGapMiddle.isEmpty());
        EXPECT_TRUE(fc.drawnNeighbourLone.isEmpty());
    }
}

TEST(FuzzyClasses, ShortHistoryCountsTheDrawsThereAre) {
    // Three draws only: 1 seen three times, 2 twice, the rest once or never.
    const auto p = pool::HotWarmColdClasses(MakeHistory({"112", "213", "456"}), 3);
    EXPECT_EQ(Classes(p), QStringLiteral("1/2/03456789"));
}

TEST(FuzzyClasses, RealHistoryPartitionsEveryDigitOnce) {
    SKIP_WITHOUT_SHARED("data/HAO.TXT");
    const common::DrawHistory h = poolfixture::SharedHistory();
    ASSERT_GT(h.count(), 7);
    for (int r : {1, 2, 7, h.count() / 2, h.count()}) {
        const auto fc = pool::ComputeFuzzyDigitClasses(h, r);
        for (const DigitPartition* p : {&fc.hotWarmCold, &fc.repeatGapMiddle, &fc.drawnNeighbourLone}) {
            std::multiset<int> all;
            for (const auto& cls : p->classes) all.insert(cls.begin(), cls.end());
            EXPECT_EQ(all, (std::multiset<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9})) << "reference " << r;
        }
        // 复 and 传 are both the reference draw's own digits.
        std::set<int> drawn;
        for (QChar c : h.number(r)) drawn.insert(c.unicode() - '0');
        EXPECT_EQ(std::set<int>(fc.repeatGapMiddle.classes[0].begin(), fc.repeatGapMiddle.classes[0].end()), drawn);
        EXPECT_EQ(fc.drawnNeighbourLone.classes[0], fc.repeatGapMiddle.classes[0]);
    }
}

}  // namespace
