// Sum, sum tail, sum range, digit and span filters.
#include "common/drawattributes.h"
#include "common/numbertables.h"
#include "pool/numberpool.h"
#include "pool/valuefilters.h"

#include <gtest/gtest.h>

#include <functional>

using namespace pool;

namespace {

struct CountCase {
    const char* name;
    std::function<int(NumberPool&, QString&)> run;
    int removed;
};

}  // namespace

TEST(ValueFilters, CountsOnTheFullSet) {
    const std::vector<CountCase> cases = {
        {"sum 0", [](NumberPool& p, QString& l) { return FilterSum(p, l, 0); }, 1},
        {"sum 27", [](NumberPool& p, QString& l) { return FilterSum(p, l, 27); }, 1},
        {"sum 13", [](NumberPool& p, QString& l) { return FilterSum(p, l, 13); }, 75},
        {"sum 28", [](NumberPool& p, QString& l) { return FilterSum(p, l, 28); }, 0},
        {"sum -1", [](NumberPool& p, QString& l) { return FilterSum(p, l, -1); }, 0},
        {"outside 10..17", [](NumberPool& p, QString& l) { return FilterSumOutside(p, l, 10, 17); }, 440},
        {"outside 17..10", [](NumberPool& p, QString& l) { return FilterSumOutside(p, l, 17, 10); }, 1000},
        {"outside 0..27", [](NumberPool& p, QString& l) { return FilterSumOutside(p, l, 0, 27); }, 0},
        {"digit 0", [](NumberPool& p, QString& l) { return FilterContainsDigit(p, l, "0", true); }, 271},
        {"digit 7", [](NumberPool& p, QString& l) { return FilterContainsDigit(p, l, "7", true); }, 271},
        {"digit 00", [](NumberPool& p, QString& l) { return FilterContainsDigit(p, l, "00", true); }, 0},
        {"digit empty", [](NumberPool& p, QString& l) { return FilterContainsDigit(p, l, "", true); }, 0},
        {"span 0", [](NumberPool& p, QString& l) { return FilterSpan(p, l, 0); }, 10},
        {"span 9", [](NumberPool& p, QString& l) { return FilterSpan(p, l, 9); }, 54},
        {"span 10", [](NumberPool& p, QString& l) { return FilterSpan(p, l, 10); }, 0},
        {"tail 10", [](NumberPool& p, QString& l) { return FilterSumTail(p, l, 10); }, 0},
        {"tail -1", [](NumberPool& p, QString& l) { return FilterSumTail(p, l, -1); }, 0},
    };
    for (const CountCase& c : cases) {
        SCOPED_TRACE(c.name);
        NumberPool pool = common::AllNumbers();
        QString log;
        EXPECT_EQ(c.run(pool, log), c.removed);
        EXPECT_EQ(pool.size(), 1000 - c.removed);
        EXPECT_FALSE(pool.contains(QString()));
        if (c.removed == 0) {
            EXPECT_TRUE(log.isEmpty());
            EXPECT_EQ(pool, common::AllNumbers());
        }
    }
}

TEST(ValueFilters, EverySumTailRemovesOneHundred) {
    for (int tail = 0; tail <= 9; ++tail) {
        SCOPED_TRACE(tail);
        NumberPool pool = common::AllNumbers();
        QString log;
        EXPECT_EQ(FilterSumTail(pool, log, tail), 100);
        EXPECT_EQ(pool.size(), 900);
        for (const QString& n : pool) EXPECT_NE(common::SumTail(n), tail) << n.toStdString();
    }
}

TEST(ValueFilters, SumTailLogsTheLowestSumFirst) {
    NumberPool pool = {"990", "008", "099", "017", "800"};  // sums 18, 8, 18, 8, 8
    QString log;
    EXPECT_EQ(FilterSumTail(pool, log, 8), 5);
    EXPECT_EQ(log, "008| 017| 800| 990| 099| ");
    EXPECT_TRUE(pool.isEmpty());
}

TEST(ValueFilters, LogTexts) {
    NumberPool pool = common::AllNumbers();
    QString log = "前文";
    EXPECT_EQ(FilterSum(pool, log, 1), 3);
    EXPECT_EQ(log, "前文001| 010| 100| ");

    pool = common::AllNumbers();
    log.clear();
    EXPECT_EQ(FilterSumOutside(pool, log, 1, 26), 2);
    EXPECT_EQ(log, "000\n999\n");

    pool = {"123", "771", "456", "707"};
    log.clear();
    EXPECT_EQ(FilterContainsDigit(pool, log, "7", true), 2);
    EXPECT_EQ(log, "771| 707| ");
    EXPECT_EQ(pool, (NumberPool{"123", "456"}));

    pool = {"505", "123", "190", "900"};
    log.clear();
    EXPECT_EQ(FilterSpan(pool, log, 9), 2);
    EXPECT_EQ(log, "190| 900| ");
    EXPECT_EQ(pool, (NumberPool{"505", "123"}));
}

TEST(ValueFilters, SpanAndSumTailFrameAsTheWorkbenchWritesIt) {
    PoolSession s;
    s.pool = common::AllNumbers();
    const int removed = s.RunFilter("跨度过滤开始", "夸度过滤：9 0 ", [](NumberPool& p, QString& log) {
        FilterSpan(p, log, 9);
        FilterSpan(p, log, 0);
    });
    EXPECT_EQ(removed, 64);
    EXPECT_TRUE(s.log.text().startsWith(WorkbenchLog::InitialText() + "\n跨度过滤开始\n009| 019| "));
    EXPECT_TRUE(s.log.text().endsWith("888| 999| \n过滤64注\n还剩936注\n"));
}

TEST(ValueFilters, ContainsDigitWithoutCompactionKeepsPlaces) {
    NumberPool pool = {"000", "123", "405"};
    QString log;
    EXPECT_EQ(FilterContainsDigit(pool, log, "0", false), 2);
    EXPECT_EQ(pool, (NumberPool{"", "123", ""}));
    EXPECT_EQ(FilterContainsDigit(pool, log, "5", false), 0);  // 405 already taken
    EXPECT_EQ(FilterContainsDigit(pool, log, "2", false), 1);
    EXPECT_EQ(pool, (NumberPool{"", "", ""}));
    EXPECT_EQ(log, "000| 405| 123| ");
}

TEST(ValueFilters, RepeatsStrayTextAndBlanks) {
    // Every copy of a matching number goes; text that is not a number is never matched nor
    // converted, and stays; a blank left by an uncompacted run is dropped by the compaction.
    NumberPool pool = {"123", "", "12", "abc", "123", "1234", "006"};
    QString log;
    EXPECT_EQ(FilterSum(pool, log, 6), 3);
    EXPECT_EQ(log, "123| 123| 006| ");
    EXPECT_EQ(pool, (NumberPool{"12", "abc", "1234"}));

    pool = {"x9", "999", ""};
    log.clear();
    EXPECT_EQ(FilterSumOutside(pool, log, 0, 10), 1);
    EXPECT_EQ(pool, (NumberPool{"x9"}));
    EXPECT_EQ(FilterContainsDigit(pool, log, "9", true), 0);
    EXPECT_EQ(FilterSpan(pool, log, 0), 0);
    EXPECT_EQ(pool, (NumberPool{"x9"}));
}

TEST(ValueFilters, EmptyPool) {
    NumberPool pool;
    QString log;
    EXPECT_EQ(FilterSum(pool, log, 0), 0);
    EXPECT_EQ(FilterSumTail(pool, log, 3), 0);
    EXPECT_EQ(FilterSumOutside(pool, log, 5, 1), 0);
    EXPECT_EQ(FilterContainsDigit(pool, log, "1", false), 0);
    EXPECT_EQ(FilterSpan(pool, log, 0), 0);
    EXPECT_TRUE(pool.isEmpty());
    EXPECT_TRUE(log.isEmpty());
}
