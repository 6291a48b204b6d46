#include "pool/banker.h"

#include "common/numbertables.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct HitCase {
    const char* group;
    const char* number;
    int hitsPerPosition;  // repeat rule off
    int hitsDistinct;     // repeat rule on
};

class BankCombinationHits : public ::testing::TestWithParam<HitCase> {};

// A number stays exactly when its hit count is among the allowed counts.
TEST_P(BankCombinationHits, KeepsOnlyTheAllowedHitCount) {
    const HitCase& c = GetParam();
    for (bool once : {false, true}) {
        const int hits = once ? c.hitsDistinct : c.hitsPerPosition;
        for (int allowed = 0; allowed <= 3; ++allowed) {
            pool::NumberPool p{QString::fromLatin1(c.number)};
            const int removed =
                pool::FilterBankCombination(p, QString::fromUtf8(c.group), QString::number(allowed), once);
            EXPECT_EQ(removed, allowed == hits ? 0 : 1)
                << c.group << " " << c.number << " once=" << once << " allowed=" << allowed;
            EXPECT_EQ(p.size(), allowed == hits ? 1 : 0);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, BankCombinationHits,
                         ::testing::Values(HitCase{"1,2", "112", 3, 2}, HitCase{"1,2", "111", 3, 1},
                                           HitCase{"1,2", "345", 0, 0}, HitCase{"1,2", "213", 2, 2},
                                           HitCase{"7", "777", 3, 1}, HitCase{"12", "112", 3, 2},
                                           // Separators and other characters play no part.
                                           HitCase{"例：1，2;x", "121", 3, 2}, HitCase{"", "123", 0, 0},
                                           HitCase{"abc", "000", 0, 0}));

TEST(BankCombination, CountsTextOverTheWholeSet) {
    const QString defaultGroup = QStringLiteral("例：0,1,2,3,4,5,6,7,8,9");
    struct {
        QString group, counts;
        bool once;
        int remaining;
    } cases[] = {
        {QStringLiteral("5"), QStringLiteral("0123"), false, 1000},  // every count allowed
        {QStringLiteral("5"), QStringLiteral("3210"), true, 1000},
        {QStringLiteral("5"), QString(), false, 0},                 // nothing allowed
        {defaultGroup, QStringLiteral("3"), false, 1000},            // all digits in the group
        {defaultGroup, QStringLiteral("3"), true, 720},              // three different digits only
        {QStringLiteral("xyz"), QStringLiteral("0"), false, 1000},   // no digit: 0 hits for all
        {QStringLiteral("xyz"), QStringLiteral("12"), false, 0},
        {QStringLiteral("0"), QStringLiteral("0"), false, 729},      // no 0 anywhere: 9^3
        {QStringLiteral("0"), QStringLiteral("1"), true, 271},       // holds a 0
    };
    for (const auto& c : cases) {
        pool::NumberPool p = common::AllNumbers();
        const int removed = pool::FilterBankCombination(p, c.group, c.counts, c.once);
        EXPECT_EQ(p.size(), c.remaining) << c.group.toStdString() << " / " << c.counts.toStdString();
        EXPECT_EQ(removed, 1000 - c.remaining);
        EXPECT_TRUE(std::is_sorted(p.begin(), p.end()));
    }
}

TEST(BankCombination, GroupIsTakenFreshForEachNumber) {
    // With the repeat rule the digits struck for one number must be back for the next.
    pool::NumberPool p{"112", "121", "211", "221", "345"};
    EXPECT_EQ(pool::FilterBankCombination(p, QStringLiteral("1,2"), QStringLiteral("2"), true), 1);
    EXPECT_EQ(p, (pool::NumberPool{"112", "121", "211", "221"}));
}

TEST(BankCombination, BadEntriesAreKeptAndBlanksDropped) {
    pool::NumberPool p{"123", "", "1x3", "456", "456"};
    EXPECT_EQ(pool::FilterBankCombination(p, QStringLiteral("4"), QStringLiteral("0"), true), 2);
    EXPECT_EQ(p, (pool::NumberPool{"123", "1x3"}));
    pool::NumberPool empty;
    EXPECT_EQ(pool::FilterBankCombination(empty, QStringLiteral("4"), QStringLiteral("0"), true), 0);
    EXPECT_TRUE(empty.isEmpty());
}

}  // namespace
