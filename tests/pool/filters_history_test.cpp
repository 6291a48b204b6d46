// Filter routines on the real draw history and the contract they share.
#include "common/drawhistory.h"
#include "common/drawattributes.h"
#include "common/drawtext.h"
#include "common/numbertables.h"
#include "history/drawfile.h"
#include "pool/numberpool.h"
#include "pool/patternfilters.h"
#include "pool/shapefilters.h"
#include "pool/twocode.h"
#include "pool/valuefilters.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <QSet>

#include <functional>

using namespace pool;

namespace {

common::DrawHistory RealHistory() {
    QStringList draws;
    QString error;
    EXPECT_TRUE(history::ReadDrawFile(testsupport::SharedFile("data/HAO.TXT"), &draws, &error))
        << error.toStdString();
    return common::DrawHistory(draws);
}

}  // namespace

TEST(FiltersOnHistory, EachDrawIsRemovedByItsOwnValues) {
    SKIP_WITHOUT_SHARED("data/HAO.TXT");
    const common::DrawHistory history = RealHistory();
    ASSERT_GT(history.count(), 100);
    const PatternFamily families[] = {PatternFamily::OddEven,     PatternFamily::BigSmall,   PatternFamily::PrimeComposite,
                                      PatternFamily::Single012,   PatternFamily::Group012,   PatternFamily::BigMidSmall,
                                      PatternFamily::Single1234, PatternFamily::Group1234};
    for (int i = history.count() - 30; i <= history.count(); ++i) {
        const QString n = history.number(i);
        SCOPED_TRACE(history.at(i).toStdString());
        ASSERT_TRUE(common::IsNumberText(n));
        const common::Digits d = common::Digits::Of(n);
        for (PatternFamily f : families) {
            NumberPool pool = common::AllNumbers();
            QString log;
            FilterPattern(f, pool, log, PatternOf(f, n));
            EXPECT_FALSE(pool.contains(n));
        }
        NumberPool pool = common::AllNumbers();
        QString log;
        FilterSum(pool, log, common::Sum(d));
        FilterSpan(pool, log, common::Span(d));
        FilterMean(pool, log, MeanOf(d));
        EXPECT_FALSE(pool.contains(n));
        pool = common::AllNumbers();
        FilterAbcType(pool, log, AbcTypeOf(d));
        EXPECT_FALSE(pool.contains(n));
    }
}

TEST(FiltersOnHistory, LastDrawRelationsUseTheNewestDraw) {
    SKIP_WITHOUT_SHARED("data/HAO.TXT");
    const common::DrawHistory history = RealHistory();
    const QString last = history.number(history.count());
    const int distinct = int(QSet<QChar>(last.begin(), last.end()).size());

    NumberPool pool = common::AllNumbers();
    QString log;
    int total = 0;
    for (int v = 0; v <= 3; ++v) {
        const bool hadLast = pool.contains(last);
        total += FilterStraightDrop(pool, log, history, v);
        // The last draw shares all its distinct digits with itself.
        EXPECT_EQ(hadLast && !pool.contains(last), v == distinct) << v;
    }
    EXPECT_EQ(total, 1000);
    EXPECT_EQ(log.count("| "), 1000);

    // The same last draw given as text gives the same cut.
    NumberPool a = common::AllNumbers(), b = common::AllNumbers();
    QString la, lb;
    EXPECT_EQ(FilterDiagonalLink(a, la, history, 2), FilterDiagonalLink(b, lb, history.newest(), 2));
    EXPECT_EQ(a, b);
    EXPECT_EQ(la, lb);
}

// Nothing is lost: what a routine removes is in its log, what stays keeps its order, on a
// shuffled pool with repeats.
TEST(FilterContract, RemovedPlusKeptIsTheStartPool) {
    NumberPool start = common::AllNumbers();
    start += common::GroupTable();  // repeats
    QRandomGenerator rng(20240603);
    for (qsizetype i = start.size() - 1; i > 0; --i) start.swapItemsAt(i, rng.bounded(int(i + 1)));

    const std::vector<std::pair<const char*, std::function<int(NumberPool&, QString&)>>> routines = {
        {"sum", [](NumberPool& p, QString& l) { return FilterSum(p, l, 12); }},
        {"tail", [](NumberPool& p, QString& l) { return FilterSumTail(p, l, 4); }},
        {"digit", [](NumberPool& p, QString& l) { return FilterContainsDigit(p, l, "6", true); }},
        {"span", [](NumberPool& p, QString& l) { return FilterSpan(p, l, 5); }},
        {"odd", [](NumberPool& p, QString& l) { return FilterPattern(PatternFamily::OddEven, p, l, "011"); }},
        {"g012", [](NumberPool& p, QString& l) { return FilterPattern(PatternFamily::Group012, p, l, "111"); }},
        {"bms", [](NumberPool& p, QString& l) { return FilterPattern(PatternFamily::BigMidSmall, p, l, "小中大"); }},
        {"1d", [](NumberPool& p, QString& l) { return Filter1D(p, l, 2, 3); }},
        {"pos", [](NumberPool& p, QString& l) { return FilterPositional(p, l, {"*5*", "9**"}); }},
        {"abc", [](NumberPool& p, QString& l) { return FilterAbcType(p, l, 9); }},
        {"ac", [](NumberPool& p, QString& l) { return FilterAcValue(p, l, 2); }},
        {"drop", [](NumberPool& p, QString& l) { return FilterStraightDrop(p, l, QStringLiteral("2024001 478"), 1); }},
        {"link", [](NumberPool& p, QString& l) { return FilterDiagonalLink(p, l, QStringLiteral("478"), 2); }},
        {"two", [](NumberPool& p, QString& l) { return FilterTwoCode(p, l, "27", true, 0); }},
    };
    for (const auto& [name, run] : routines) {
        SCOPED_TRACE(name);
        NumberPool pool = start;
        QString log;
        const int removed = run(pool, log);
        EXPECT_GT(removed, 0);
        QStringList logged = log.split("| ", Qt::SkipEmptyParts);
        ASSERT_EQ(logged.size(), removed);
        EXPECT_EQ(pool.size() + removed, start.size());
        // A routine decides by the text alone, so every copy of a logged number went and every
        // other entry stayed, in the start order.
        const QSet<QString> gone(logged.begin(), logged.end());
        NumberPool expectKept, expectLogged;
        for (const QString& n : start) (gone.contains(n) ? expectLogged : expectKept) << n;
        EXPECT_EQ(pool, expectKept);
        if (QString(name) == "pos" || QString(name) == "tail") {  // logged pattern by pattern, sum by sum
            logged.sort();
            expectLogged.sort();
        }
        EXPECT_EQ(logged, expectLogged);
    }
}
