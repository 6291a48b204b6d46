// The two-code filter routine.
#include "common/numbertables.h"
#include "pool/numberpool.h"
#include "pool/twocode.h"

#include <gtest/gtest.h>

using namespace pool;

TEST(TwoCode, MatchesPerPosition) {
    const struct {
        const char* code;
        int position;
        const char* number;
        bool match;
    } cases[] = {
        {"35", 0, "305", true},  {"35", 0, "553", true},  {"35", 0, "935", true},  {"35", 0, "555", false},
        {"35", 0, "333", false}, {"35", 0, "123", false}, {"53", 0, "503", true},  {"33", 0, "133", true},
        {"33", 0, "303", true},  {"33", 0, "313", true},  {"33", 0, "333", true},  {"33", 0, "393", true},
        {"33", 0, "123", false}, {"33", 0, "345", false}, {"35", 1, "357", true},  {"35", 1, "530", true},
        {"35", 1, "035", false}, {"35", 1, "335", false}, {"35", 2, "035", true},  {"35", 2, "953", true},
        {"35", 2, "350", false}, {"35", 3, "305", true},  {"35", 3, "553", true},  {"35", 3, "350", false},
        {"5", 0, "005", true},   {"05", 3, "500", true},  {"5", 0, "055", true},   {"5", 0, "555", false},
        {"-1", 0, "011", false}, {"-1", 0, "101", false}, {"35", 4, "357", false}, {"35", -1, "357", false},
        {"", 0, "000", false},   {"ab", 0, "000", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.code) + " @" + std::to_string(c.position) + " " + c.number);
        NumberPool pool = {QString::fromLatin1(c.number)};
        QString log;
        EXPECT_EQ(FilterTwoCode(pool, log, QString::fromLatin1(c.code), true, c.position), c.match ? 1 : 0);
        EXPECT_EQ(pool.isEmpty(), c.match);
        EXPECT_EQ(log, c.match ? QString::fromLatin1(c.number) + "| " : QString());
    }
}

TEST(TwoCode, CountsOnTheFullSet) {
    const struct {
        const char* code;
        int position;
        int removed;
    } cases[] = {
        {"35", 0, 54}, {"33", 0, 28}, {"35", 1, 20}, {"35", 2, 20}, {"53", 3, 20}, {"33", 2, 10}, {"0", 0, 28},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        NumberPool pool = common::AllNumbers();
        QString log;
        EXPECT_EQ(FilterTwoCode(pool, log, QString::fromLatin1(c.code), true, c.position), c.removed);
        EXPECT_EQ(pool.size(), 1000 - c.removed);
        EXPECT_EQ(log.count("| "), c.removed);
    }
}

TEST(TwoCode, FormatsLikeTheCodeList) {
    EXPECT_EQ(FormatTwoCode("5"), "05");
    EXPECT_EQ(FormatTwoCode("05"), "05");
    EXPECT_EQ(FormatTwoCode("37"), "37");
    EXPECT_EQ(FormatTwoCode("-1"), "-01");
    EXPECT_EQ(FormatTwoCode("123"), "123");
    EXPECT_EQ(FormatTwoCode("ab"), "ab");
    NumberPool pool = {"357"};
    QString log;
    EXPECT_EQ(FilterTwoCode(pool, log, 53, true, 1), 1);  // the whole-number form of a parsed list
}

TEST(TwoCode, UncompactedRunsCountEachNumberOnce) {
    NumberPool pool = {"135", "357", "246", "135"};
    QString log;
    EXPECT_EQ(FilterTwoCode(pool, log, "35", false, 0), 3);
    EXPECT_EQ(pool, (NumberPool{"", "", "246", ""}));
    EXPECT_EQ(FilterTwoCode(pool, log, "13", false, 0), 0);  // 135 already taken
    EXPECT_EQ(FilterTwoCode(pool, log, "46", false, 0), 1);
    EXPECT_EQ(log, "135| 357| 135| 246| ");
    EXPECT_EQ(pool.size(), 4);

    // An unknown position removes nothing but still compacts when asked.
    pool = {"", "123"};
    EXPECT_EQ(FilterTwoCode(pool, log, "12", true, 7), 0);
    EXPECT_EQ(pool, (NumberPool{"123"}));
    NumberPool empty;
    EXPECT_EQ(FilterTwoCode(empty, log, "12", true, 0), 0);
}

TEST(TwoCode, SelectionAsTheWorkbenchRunsIt) {
    // 选取两码: match with compaction off, then keep what the codes took.
    const NumberPool start = {"105", "370", "246", "733", "050"};
    NumberPool pool = start;
    QString log;
    int taken = 0;
    for (const char* code : {"05", "37"}) taken += FilterTwoCode(pool, log, code, false, 0);
    NumberPool kept = start;
    for (qsizetype i = 0; i < pool.size(); ++i)
        if (!pool[i].isEmpty()) kept[i].clear();
    CompactSet(kept);
    EXPECT_EQ(taken, 4);
    EXPECT_EQ(kept, (NumberPool{"105", "370", "733", "050"}));
    EXPECT_EQ(log, "105| 050| 370| 733| ");
}
