#include "addresslimit.h"
#include "calcfixture.h"
#include "historyof.h"
#include "httpserver.h"
#include "sanitized.h"
#include "smart/calculator.h"
#include "testsupport.h"
#include "script/scriptengine.h"
#include "common/textcodec.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>

using namespace calcfixture;
using smart::SchemeCalculator;

namespace {

struct CalcEnv {
    testsupport::ProgramDir dir;
    SchemeCalculator calc;
    // The draw file written and handed to the calculator, as its owner does.
    explicit CalcEnv(const QStringList& numbers) {
        dir.write(QStringLiteral("HAO.TXT"), DrawFileBytes(numbers));
        EXPECT_TRUE(smart::HandInDrawFile(calc, false));
    }
    // The range-setting series for one digit and cycle length, a(0..T) as integers (-1 Empty).
    std::vector<int> series(int digit, int cycle) {
        calc.settings().mode.digit = digit;
        calc.settings().cycle.length = cycle;
        EXPECT_TRUE(calc.setSeriesRange());
        calc.buildCountSeries();
        calc.nextSeriesWindow();
        std::vector<int> out;
        for (const script::Variant& v : calc.run().series.arrayItems()) out.push_back(v.isEmpty() ? -1 : v.toLong());
        return out;
    }
};

int CountWith(const QStringList& n, int digit, int first, int last) {
    int c = 0;
    for (int i = first; i <= last; ++i) c += n[i].contains(QChar(u'0' + digit)) ? 1 : 0;
    return c;
}

}  // namespace

TEST(CalculatorDraws, LoadLeavesOutNewestAndComputesNextIssue) {
    CalcEnv env(MixedHistory(40));
    env.calc.settings().range.newestLeftOut = 3;
    ASSERT_TRUE(env.calc.loadLines());
    EXPECT_EQ(env.calc.lines().size(), 37);
    EXPECT_EQ(env.calc.lines().last().left(7), QStringLiteral("2020037"));
    EXPECT_EQ(env.calc.nextIssue(), QStringLiteral("2020038"));
    EXPECT_EQ(env.calc.settings().range.first, -1);

    EXPECT_EQ(smart::CalculatorNextIssue(QStringLiteral("2006358 123")), QStringLiteral("2006359"));
    EXPECT_EQ(smart::CalculatorNextIssue(QStringLiteral("2006999 123")), QStringLiteral("2007000"));

    // More to leave out than there are draws: refused, lists kept.
    env.calc.settings().range.newestLeftOut = 40;
    EXPECT_FALSE(env.calc.loadLines());
    EXPECT_EQ(env.calc.lines().size(), 37);
    EXPECT_FALSE(env.calc.lastError().isEmpty());
}

// A lottery's draw file is read for the calculator record by record, the flag never looked at:
// a withdrawn record is a draw like any other, as the draw lines of its windows show it.
TEST(CalculatorDraws, EveryRecordIsADrawWhateverItsFlag) {
    CalcEnv env(MixedHistory(5));
    QByteArray bytes = DrawFileBytes(MixedHistory(5));
    bytes[3 * 12 + 11] = '0';  // the fourth record withdrawn
    env.dir.write(QStringLiteral("HAO.TXT"), bytes);
    ASSERT_TRUE(smart::HandInDrawFile(env.calc, false));
    ASSERT_EQ(env.calc.lines().size(), 5);
    EXPECT_EQ(env.calc.lines().at(3), QStringLiteral("2020004 ") + MixedHistory(5).at(3));
    EXPECT_EQ(env.calc.nextIssue(), QStringLiteral("2020006"));
}

TEST(CalculatorDraws, DrawFileThatIsAFifoFailsAtOnce) {
    CalcEnv env(MixedHistory(40));
    env.calc.settings().range.newestLeftOut = 3;
    ASSERT_TRUE(env.calc.loadLines());
    QFile::remove(env.dir.file("HAO.TXT"));
    testsupport::Fifo fifo(env.dir.file("HAO.TXT"));
    ASSERT_TRUE(fifo.isMade());
    EXPECT_FALSE(smart::HandInDrawFile(env.calc, false));
    EXPECT_FALSE(fifo.readerWaited());
    EXPECT_TRUE(env.calc.lastError().contains(QStringLiteral("这不是文件"))) << env.calc.lastError().toStdString();
    EXPECT_EQ(env.calc.lines().size(), 37);  // the draws loaded before stay
}

TEST(CalculatorDraws, OptionsSwitchFileAndSelectWholeRange) {
    CalcEnv env(MixedHistory(20));
    env.dir.write(QStringLiteral("haop3.txt"), DrawFileBytes(MixedHistory(12)));
    ASSERT_TRUE(smart::HandInDrawFile(env.calc, true));
    EXPECT_TRUE(env.calc.draws().lotteryIsP3);
    EXPECT_EQ(env.calc.lines().size(), 12);
    EXPECT_EQ(env.calc.settings().range.first, 0);
    EXPECT_EQ(env.calc.settings().range.last, 11);
    ASSERT_TRUE(smart::HandInDrawFile(env.calc, false));
    EXPECT_FALSE(env.calc.draws().lotteryIsP3);
    EXPECT_EQ(env.calc.lines().size(), 20);
}

// The draws handed in are the calculator's, whatever the draw file holds (gone here): the newest
// left out, the whole range, the reason when too many are left out; the file read and handed in
// replaces them (a missing file holds none).
TEST(CalculatorDraws, HandedInDrawsAreTheCalculatorsWhateverTheFile) {
    CalcEnv env(MixedHistory(30));
    const common::DrawHistory held = testsupport::HistoryOf(MixedHistory(40), QStringLiteral("2020"));
    ASSERT_TRUE(QFile::remove(env.dir.file(QStringLiteral("HAO.TXT"))));
    SchemeCalculator& c = env.calc;
    c.settings().range.newestLeftOut = 3;
    ASSERT_TRUE(c.setDraws({false, held.draws()}));
    EXPECT_EQ(c.lines(), held.draws().mid(0, 37));
    EXPECT_EQ(c.settings().range.first, 0);
    EXPECT_EQ(c.settings().range.last, 36);
    EXPECT_EQ(c.nextIssue(), QStringLiteral("2020038"));
    c.settings().range.newestLeftOut = 0;
    ASSERT_TRUE(c.loadLines());
    EXPECT_EQ(c.lines(), held.draws());
    c.settings().range.newestLeftOut = 40;
    EXPECT_FALSE(c.loadLines());
    EXPECT_TRUE(c.lastError().startsWith(QStringLiteral("开奖数据不足：只有40期"))) << c.lastError().toStdString();
    EXPECT_EQ(c.lines().size(), 40);

    c.settings().range.newestLeftOut = 0;
    c.clearError();
    EXPECT_FALSE(smart::HandInDrawFile(c, false));
    EXPECT_TRUE(c.lastError().startsWith(QStringLiteral("开奖数据不足：只有0期"))) << "the file is gone";
    EXPECT_TRUE(c.draws().lines.isEmpty());
    EXPECT_EQ(c.lines().size(), 40);
    env.dir.write(QStringLiteral("HAO.TXT"), DrawFileBytes(MixedHistory(30)));
    ASSERT_TRUE(smart::HandInDrawFile(c, false));
    EXPECT_EQ(c.lines().size(), 30);
}

TEST(CalculatorDraws, CountersAndStatisticsRow) {
    CalcEnv env({QStringLiteral("123"), QStringLiteral("456"), QStringLiteral("789"), QStringLiteral("130")});
    env.calc.countAnywhere(1);
    EXPECT_EQ(env.calc.tally().hitCount, 2);
    EXPECT_EQ(env.calc.tally().currentGap, 0);
    EXPECT_EQ(env.calc.tally().prevGap, 2);
    EXPECT_EQ(env.calc.tally().maxGap, 2);
    env.calc.addStatRow();
    EXPECT_EQ(env.calc.statRows().back().columns(),
              (QStringList{"1", "2", "50.00%", "2.00", "2", "2", "0", "0.00"}));
    env.calc.countAtPosition(2, 1);  // never in the hundreds
    env.calc.addStatRow();
    EXPECT_EQ(env.calc.statRows().back().columns(), (QStringList{"2", "0", "0.00%", "0.00", "0", "0", "4", "0.00"}));
    env.calc.countAtPosition(3, 2);  // tens digit 3 only in 130
    EXPECT_EQ(env.calc.tally().hitCount, 1);
    EXPECT_EQ(env.calc.tally().currentGap, 0);
    EXPECT_EQ(env.calc.tally().prevGap, 3);
}

TEST(CountSeries, WindowsMatchTheirDraws) {
    const QStringList n = MixedHistory(100);
    CalcEnv env(n);
    ASSERT_TRUE(env.calc.loadLines());
    for (int digit : {0, 4, 7}) {
        const std::vector<int> a = env.series(digit, 10);
        ASSERT_EQ(a.size(), 6u);
        EXPECT_EQ(a[0], -1);
        EXPECT_EQ(a[2], CountWith(n, digit, 90, 99));
        EXPECT_EQ(a[3], CountWith(n, digit, 89, 98));
        EXPECT_EQ(a[5], CountWith(n, digit, 87, 96));
        EXPECT_EQ(a[1], CountWith(n, digit, 91, 99));
    }
    // Cycle length 1: a(1) and a(2) both count the newest draw.
    const std::vector<int> one = env.series(n[99].at(0).unicode() - '0', 1);
    EXPECT_EQ(one[1], 1);
    EXPECT_EQ(one[2], 1);
    EXPECT_EQ(env.calc.run().seriesPos, 0);
}

// The ranking counts each condition over the series the step-by-step operations build
// (buildCountSeries, nextSeriesWindow), whichever way the lines came about: freshly loaded, cut by
// a backtest, set by hand, or handed in again after the file changed on disk (same size).
TEST(CountSeries, RankingUsesTheStepByStepSeries) {
    CalcEnv env(MixedHistory(90));
    SchemeCalculator& c = env.calc;
    // One digit's holding count the slow way, and the counters the last window leaves.
    auto stepByStep = [&c](int cycles) {
        QStringList ranking;
        for (int d = 0; d <= 9; ++d) {
            int n = 0;
            for (int L = 1; L <= cycles; ++L) {
                c.settings().mode.digit = d;
                c.settings().cycle.length = L;
                c.clearStatRows();
                if (!c.setSeriesRange()) continue;
                c.buildCountSeries();
                c.nextSeriesWindow();
                if (c.evaluateCondition() == 1) ++n;
            }
            if (n > 0) ranking << QStringLiteral("%1 %2").arg(n, 3, 10, QLatin1Char('0')).arg(d);
        }
        std::sort(ranking.begin(), ranking.end());
        return ranking;
    };
    auto counters = [&c] {
        return QStringList{c.tally().label, QString::number(c.tally().hitCount), QString::number(c.tally().maxGap), QString::number(c.tally().prevGap),
                           QString::number(c.tally().currentGap), QString::number(c.settings().range.first), QString::number(c.settings().range.last),
                           QString::number(c.run().seriesPos)};
    };
    const struct {
        const char* condition;
        int cycles;
    } cases[] = {{"a(1) < a(2)", 12}, {"a(1) = a(2) And a(3) > a(4)", 9}, {"a(0) = 0 Or a(5) >= 3", 30}, {"a(2) <> a(5)", 1}};
    const std::function<void()> shapes[] = {
        [&] { ASSERT_TRUE(c.loadLines()); },
        [&] { c.stepRun().lines.removeLast(); c.stepRun().lines.removeLast(); },
        [&] {
            QStringList other = MixedHistory(70);
            std::reverse(other.begin(), other.end());
            c.stepRun().lines = other.replaceInStrings(QRegularExpression(QStringLiteral("^")), QStringLiteral("2021001 "));
        },
        [&] {
            env.dir.write(QStringLiteral("HAO.TXT"), DrawFileBytes(MixedHistory(91).mid(1)));  // same size, other draws
            ASSERT_TRUE(smart::HandInDrawFile(c, false));
            ASSERT_TRUE(c.loadLines());
            ASSERT_TRUE(c.lines().last().endsWith(MixedHistory(91).last()));
        },
    };
    for (size_t shape = 0; shape < std::size(shapes); ++shape) {
        shapes[shape]();
        for (const auto& k : cases) {
            SCOPED_TRACE(testing::Message() << "shape " << shape << ": " << k.condition);
            c.settings().mode.condition = QString::fromLatin1(k.condition);
            c.settings().cycle.lengthsTried = k.cycles;
            const QStringList expected = stepByStep(k.cycles);
            const QStringList expectedCounters = counters();
            const QStringList lines = c.lines();
            c.stepRun().verifyPeriod = 1;
            c.rankDigits();
            EXPECT_EQ(c.digitRanking(), expected);
            EXPECT_EQ(counters(), expectedCounters);
            EXPECT_EQ(c.lines(), lines);
        }
    }
}

TEST(CountSeries, TooFewDrawsForTheRangeIsRefused) {
    CalcEnv env(MixedHistory(12));
    ASSERT_TRUE(env.calc.loadLines());
    env.calc.settings().cycle.length = 10;  // needs 13 draws
    EXPECT_FALSE(env.calc.setSeriesRange());
    EXPECT_FALSE(env.calc.lastError().isEmpty());
}

TEST(SchemeEvaluation, RankingFillsBothTables) {
    CalcEnv env(GapHistory());
    ASSERT_TRUE(env.calc.loadLines());
    env.calc.settings().cycle.lengthsTried = 20;
    env.calc.settings().mode.condition = QStringLiteral("a(2) >= 1");  // holds for L at least the gap + 1
    env.calc.stepRun().verifyPeriod = 7;
    EXPECT_EQ(env.calc.rankDigits(), QStringLiteral("954321"));
    EXPECT_EQ(env.calc.digitRanking(), (QStringList{"014 9", "015 5", "016 4", "017 3", "019 2", "020 1"}));
    const smart::RankRow& left = env.calc.run().leftRanks[7];
    const smart::RankRow& right = env.calc.run().rightRanks[7];
    EXPECT_EQ(left[0], "9");
    EXPECT_EQ(left[5], "1");
    EXPECT_EQ(left[6], "B");
    EXPECT_EQ(right[9], "1");
    EXPECT_EQ(right[8], "2");
    EXPECT_EQ(right[4], "9");
    EXPECT_EQ(right[3], "B");
    EXPECT_EQ(env.calc.settings().mode.digit, 9);
    EXPECT_EQ(env.calc.settings().cycle.length, 20);
}

TEST(SchemeEvaluation, EqualCountsPutTheSmallerDigitFirstAndLengthOneHoldsForAll) {
    QStringList n = GapHistory();
    n.last() = QStringLiteral("712");
    CalcEnv env(n);
    ASSERT_TRUE(env.calc.loadLines());
    env.calc.settings().cycle.lengthsTried = 20;
    env.calc.settings().mode.condition = QStringLiteral("a(2) >= 1");
    EXPECT_TRUE(env.calc.rankDigits().startsWith(QStringLiteral("954")));
    EXPECT_EQ(env.calc.digitRanking().mid(env.calc.digitRanking().size() - 3), (QStringList{"020 1", "020 2", "020 7"}));

    env.calc.settings().cycle.lengthsTried = 1;
    env.calc.settings().mode.condition = smart::BuiltInConditions().first();  // a(1) = a(2)
    EXPECT_EQ(env.calc.rankDigits(), QStringLiteral("0123456789"));
}

TEST(SchemeEvaluation, StopMarkReturnsEmptyAndKeepsTables) {
    CalcEnv env(GapHistory());
    ASSERT_TRUE(env.calc.loadLines());
    env.calc.settings().cycle.lengthsTried = 20;
    env.calc.settings().mode.condition = QStringLiteral("a(2) >= 1");
    env.calc.stepRun().verifyPeriod = 0;
    env.calc.rankDigits();
    const smart::RankRow before = env.calc.run().leftRanks[0];
    int evaluations = 0;
    env.calc.runHost().inputWaiting = [&] { return ++evaluations == 25; };
    env.calc.runHost().processEvents = [&] { env.calc.stop(); };
    env.calc.settings().mode.condition = QStringLiteral("a(2) >= 100");
    EXPECT_EQ(env.calc.rankDigits(), QString());
    EXPECT_EQ(env.calc.run().leftRanks[0], before);
}

// A condition that never ends on its own, and one slower than an in-place evaluation may be
// that changes its series in place before it answers (lines of their own through the wrapper).
const QString kEndlessCondition = QStringLiteral("True Then\r\nDo\r\nLoop\r\nEnd If\r\nIf True");
const QString kSlowCondition = QStringLiteral(
    "True Then\r\na(1) = a(1) + 100\r\nt = Timer\r\nDo While Timer >= t And Timer < t + 0.08\r\nLoop\r\nEnd If\r\n"
    "If a(1) >= 100 And a(1) < 200 And a(2) >= 1");

// A slow condition moves away from the caller's thread, which keeps letting its events
// through; a stop made there ends even an endless evaluation at once, with nothing reported.
TEST(SchemeEvaluation, StopEndsAnEndlessConditionAtOnce) {
    CalcEnv env(GapHistory());
    ASSERT_TRUE(env.calc.loadLines());
    env.calc.settings().cycle.lengthsTried = 3;
    env.calc.stepRun().verifyPeriod = 0;
    env.calc.settings().mode.condition = QStringLiteral("a(2) >= 1");
    env.calc.rankDigits();
    const smart::RankRow before = env.calc.run().leftRanks[0];
    int idles = 0, reported = 0;
    env.calc.runHost().scriptError = [&](const script::ScriptError&, const QString&) { ++reported; };
    env.calc.runHost().processEvents = [&] {
        if (++idles == 3) env.calc.stop();  // pressed while the first evaluation runs away
    };
    env.calc.settings().mode.condition = kEndlessCondition;
    EXPECT_EQ(env.calc.rankDigits(), QString());
    // The caller's pump keeps turning until the request reaches the running evaluation (how
    // often depends on the machine's load); no error reported shows that the run ended by the
    // request, not by the engine's own limit.
    EXPECT_GE(idles, 3);
    EXPECT_EQ(reported, 0);
    EXPECT_TRUE(env.calc.lastError().isEmpty()) << env.calc.lastError().toStdString();
    EXPECT_EQ(env.calc.run().leftRanks[0], before);

    // The next run is not stopped by the last one's request.
    env.calc.setRunState(smart::RunState::Running);
    env.calc.settings().mode.condition = QStringLiteral("a(2) >= 1");
    env.calc.runHost().processEvents = [] {};
    EXPECT_FALSE(env.calc.rankDigits().isEmpty());
    EXPECT_EQ(reported, 0);
}

// Away or in place, a condition gives the same answers in the same order: one that changed its
// series before it moved away starts there again from the series it was given.
TEST(SchemeEvaluation, SlowConditionsRankAsInPlace) {
    CalcEnv env(GapHistory());
    ASSERT_TRUE(env.calc.loadLines());
    env.calc.settings().cycle.lengthsTried = 1;
    env.calc.stepRun().verifyPeriod = 0;
    env.calc.settings().mode.condition = QStringLiteral("a(2) >= 1");
    const QString quick = env.calc.rankDigits();
    const QStringList quickRanking = env.calc.digitRanking();
    ASSERT_FALSE(quick.isEmpty());
    int idles = 0;
    env.calc.runHost().processEvents = [&] { ++idles; };
    env.calc.settings().mode.condition = kSlowCondition;
    EXPECT_EQ(env.calc.rankDigits(), quick);
    EXPECT_EQ(env.calc.digitRanking(), quickRanking);
    EXPECT_GT(idles, 0) << "the slow evaluations ran away";
    EXPECT_TRUE(env.calc.lastError().isEmpty()) << env.calc.lastError().toStdString();
}

// A condition that fills the memory, in its function or in the module (in a child process, a
// fresh start of this program, under an address-space limit): error 7 reported in Chinese like
// any script error, the ranks those of any failing condition, and the next condition ranks as
// before the limit.
TEST(SchemeEvaluation, AConditionThatRunsOutOfMemoryIsAScriptError) {
#ifdef SIFMORA_SANITIZED
    GTEST_SKIP() << "a sanitizer's shadow memory does not fit under the limit";
#endif
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const QString conditions[] = {
        QStringLiteral("True Then\r\nReDim k(1000000)\r\nFor i = 0 To 1000000 : k(i) = Space(200) & i : Next\r\n"
                       "End If\r\nIf True"),
        QStringLiteral("True Then\r\nExecuteGlobal \"ReDim k(1000000) : For i = 0 To 1000000 : k(i) = Space(200) & i : "
                       "Next\"\r\nEnd If\r\nIf True"),
    };
    auto runOutOfMemory = [](const QString& condition) {
        CalcEnv env(GapHistory());
        if (!env.calc.loadLines()) std::_Exit(3);
        env.calc.settings().cycle.lengthsTried = 3;
        auto rank = [&](const QString& text) {
            env.calc.stepRun().verifyPeriod = 0;
            env.calc.settings().mode.condition = text;
            env.calc.rankDigits();
            return env.calc.run().leftRanks[0];
        };
        QList<int> numbers;
        env.calc.runHost().scriptError = [&](const script::ScriptError& e, const QString&) { numbers << e.number; };
        const smart::RankRow holding = rank(QStringLiteral("a(2) >= 1"));
        const smart::RankRow failing = rank(QStringLiteral("a(6) = 1"));  // error 9
        numbers.clear();
        env.calc.clearError();
        if (!testsupport::LimitAddressSpace(size_t(96) << 20)) std::_Exit(2);
        const smart::RankRow outOfMemory = rank(condition);
        bool ok = numbers == QList<int>{7} && outOfMemory == failing &&
                  env.calc.lastError().startsWith(QStringLiteral("7\n内存不够"));
        std::fprintf(stderr, "%s\n", qPrintable(env.calc.lastError()));
        ok = ok && rank(QStringLiteral("a(2) >= 1")) == holding && numbers.size() == 1;
        std::_Exit(ok ? 0 : 1);
    };
    for (const QString& condition : conditions)
        EXPECT_EXIT(runOutOfMemory(condition), testing::ExitedWithCode(0), "内存不够") << condition.toStdString();
}

TEST(SchemeEvaluation, ScriptErrorCountsAsNotHoldingAndIsReportedOnce) {
    CalcEnv env(GapHistory());
    ASSERT_TRUE(env.calc.loadLines());
    env.calc.settings().cycle.lengthsTried = 3;
    env.calc.settings().verification.periods = 1;
    env.calc.settings().verification.hundredsText = QStringLiteral("verify");
    env.calc.settings().mode.condition = QStringLiteral("a(6) = 1");  // beyond a(5)
    QList<int> numbers;
    QString clip;
    env.calc.runHost().scriptError = [&](const script::ScriptError& e, const QString& text) {
        numbers << e.number;
        clip = text;
    };
    env.calc.settings().verification.positionText = QStringLiteral("左0");
    env.calc.backtestCondition();
    EXPECT_EQ(numbers, QList<int>{9});
    EXPECT_EQ(clip, QStringLiteral("verify"));
    // The message says where: the line of the wrapped condition and its text.
    EXPECT_TRUE(env.calc.lastError().startsWith(QStringLiteral("9\n"))) << env.calc.lastError().toStdString();
    EXPECT_TRUE(env.calc.lastError().contains(QStringLiteral("\n第2行：If a(6) = 1 then\n"))) << env.calc.lastError().toStdString();
    EXPECT_EQ(env.calc.runState(), smart::RunState::Running);  // hidden: not paused, the run went on
    EXPECT_EQ(env.calc.run().verifyPeriod, 2);
    EXPECT_TRUE(env.calc.reportLines().isEmpty());  // nothing ranked, rank 0 is "B"

    // A condition that does not compile: same treatment.
    numbers.clear();
    env.calc.loadLines();
    env.calc.settings().mode.condition = QStringLiteral("a(1) = = ");
    env.calc.backtestCondition();
    EXPECT_EQ(numbers.size(), 1);

    // With someone able to resume, the error pauses the run; the pause is lifted from outside.
    numbers.clear();
    env.calc.loadLines();
    bool visible = true;
    int waits = 0;
    env.calc.runHost().canResume = [&] { return visible; };
    env.calc.runHost().sleep = [&](int) {
        ++waits;
        env.calc.pauseOrResume();  // the user resumes
    };
    env.calc.settings().mode.condition = QStringLiteral("a(6) = 1");
    env.calc.backtestCondition();
    EXPECT_GE(waits, 1);
    EXPECT_EQ(env.calc.run().verifyPeriod, 2);
    EXPECT_EQ(numbers.size(), 1);
}

TEST(Backtest, PeriodsMarksStatisticsAndReportLine) {
    CalcEnv env(GapHistory());
    SchemeCalculator& c = env.calc;
    ASSERT_TRUE(c.loadLines());
    c.settings().cycle.lengthsTried = 20;
    c.settings().verification.periods = 3;
    c.settings().verification.positionText = QStringLiteral("右9");
    const QString cond = Condition(QStringLiteral("a(2) >= 1"));
    c.settings().mode.condition = cond;
    c.stepRun().reportText.clear();
    c.backtestCondition();

    EXPECT_EQ(c.run().verifyPeriod, 4);
    ASSERT_EQ(c.lines().size(), 27);  // D1..D4 (333 222 122 111) removed
    EXPECT_TRUE(c.lines().last().endsWith(QStringLiteral("444")));
    EXPECT_EQ(c.run().rightRanks[1][10], "111");
    EXPECT_EQ(c.run().rightRanks[0][10], "未开奖");

    const QString expectedLine = QStringLiteral("3D错误：02  NULL：00|公式：") + cond +
                                 QStringLiteral("|右9|码1|第2020032期，验证003期，周期020.txt");
    ASSERT_EQ(c.reportLines(), QStringList{expectedLine});
    EXPECT_EQ(expectedLine.size(), 132);

    EXPECT_TRUE(c.reportText().contains(QStringLiteral("正确：00  00  00  00  00  00  00  00  01  01  \r\n"
                                                     "NULL：03  03  03  03  02  01  00  00  00  00  \r\n"
                                                     "错误：00  00  00  00  01  02  03  03  02  02  \r\n")));
    // Left side: ten columns tallied from its own marks, no line (the record names the right side).
    EXPECT_EQ(c.reportText().count(QStringLiteral("正确：")), 2);
    EXPECT_TRUE(c.reportText().contains(QStringLiteral("正确：00  00  00  00  02  00  00  00  00  00  \r\n"
                                                     "NULL：00  00  00  00  01  02  03  03  03  03  \r\n"
                                                     "错误：03  03  03  03  00  01  00  00  00  00  \r\n")));
    // Period 0 cells are followed by three blanks; a verified period marks hits, misses and nulls.
    EXPECT_TRUE(c.reportText().contains(QStringLiteral("      9   5   4   3   2   1   B   B   B   B     开奖号未开奖\r\n")));
    EXPECT_TRUE(c.reportText().contains(QStringLiteral("      9■ 5■ 4■ 3■ 1√ 2■ B● B● B● B●   开奖号2020031 111\r\n")));
}

// The helper calculators made ahead on threads of their own write into the calculator that
// asked for them: its end waits for them, however soon it comes.
TEST(Backtest, HelpersMadeAheadEndWithTheCalculator) {
    CalcEnv env(GapHistory());
    for (int k = 0; k < 3; ++k) {
        SchemeCalculator calc;
        ASSERT_TRUE(calc.setDraws(env.calc.draws()));
        EXPECT_FALSE(calc.lines().isEmpty());
        calc.prepareSpread(8);
    }
}

TEST(Backtest, NoVerifiedPeriodStillWritesTheLine) {
    CalcEnv env(GapHistory());
    SchemeCalculator& c = env.calc;
    ASSERT_TRUE(c.loadLines());
    c.settings().cycle.lengthsTried = 20;
    c.settings().verification.periods = 0;
    c.settings().verification.positionText = QStringLiteral("左3");
    c.settings().mode.condition = Condition(QStringLiteral("a(2) >= 1"));
    c.backtestCondition();
    ASSERT_EQ(c.reportLines().size(), 1);
    EXPECT_TRUE(c.reportLines()[0].startsWith(QStringLiteral("3D错误：00  NULL：00|")));
    EXPECT_TRUE(c.reportLines()[0].contains(QStringLiteral("|左3|码3|第2020032期，验证000期，周期020.txt")));
    // The left rows stop after rank 3: four columns.
    EXPECT_TRUE(c.reportText().contains(QStringLiteral("正确：00  00  00  00  \r\n")));
    // The lottery is the draws': the same draws handed in as 排列三's name their line so.
    ASSERT_TRUE(c.setDraws({true, c.draws().lines}));
    c.backtestCondition();
    ASSERT_EQ(c.reportLines().size(), 2);
    EXPECT_TRUE(c.reportLines()[1].startsWith(QStringLiteral("P3错误：00  NULL：00|"))) << c.reportLines()[1].toStdString();
}

TEST(RankStatistics, ReportLineFieldsReadFromTheEnd) {
    const QString cond = Condition(QStringLiteral("a(1) < a(2)"));
    for (const QString& errs : {QStringLiteral("07"), QStringLiteral("123")}) {
        const QString line = Record(cond, QStringLiteral("右4"), 30, 15, errs, QLatin1Char('8'));
        smart::SchemeRecord r;
        ASSERT_TRUE(smart::ParseSchemeRecord(line, &r));
        EXPECT_EQ(r.cycleCount, 30);
        EXPECT_EQ(r.verifyPeriods, 15);
        EXPECT_EQ(r.condition, cond);
        EXPECT_EQ(r.sideRank, QStringLiteral("右4"));
        EXPECT_EQ(r.digit, QLatin1Char('8'));
        EXPECT_EQ(smart::ReportLineDigit(line), QLatin1Char('8'));
    }
    smart::SchemeRecord r;
    QString why;
    EXPECT_FALSE(smart::ParseSchemeRecord(QStringLiteral("short.txt"), &r, &why));
    QString bad = Record(cond, QStringLiteral("右4"), 30, 15);
    bad.replace(QStringLiteral("周期030"), QStringLiteral("周期0x0"));
    EXPECT_FALSE(smart::ParseSchemeRecord(bad, &r, &why));
}

TEST(RankStatistics, SummaryOrdersByCountThenFirstLine) {
    SchemeCalculator c;
    const QString cond = Condition(QStringLiteral("a(1) < a(2)"));
    QStringList withJunk;
    for (QChar d : {QLatin1Char('7'), QLatin1Char('2'), QLatin1Char('7'), QLatin1Char('5')})
        withJunk << Record(cond, QStringLiteral("左0"), 5, 5, QStringLiteral("00"), d);
    withJunk.insert(2, QStringLiteral("imported junk line.txt"));
    c.setReportLines(withJunk);  // no digit at its place: skipped
    c.summarise();
    EXPECT_EQ(c.summaryLines(), (QStringList{"YA7", "ZB2", "ZE5"}));
    EXPECT_EQ(c.killDigits(), (QList<int>{7, 2, 5}));
    // Summarised again without clearing: nothing new for digits already listed.
    c.setReportLines(c.reportLines() + QStringList{Record(cond, QStringLiteral("左0"), 5, 5, QStringLiteral("00"), QLatin1Char('9'))});
    c.summarise();
    EXPECT_EQ(c.summaryLines(), (QStringList{"YA7", "ZB2", "ZE5", "ZF9"}));
    SchemeCalculator empty;
    empty.setSummary({smart::SummaryEntry{1, 1, 0}});
    empty.summarise();
    EXPECT_EQ(empty.summaryLines(), QStringList{"ZA1"});
}

TEST(SchemeList, BuiltInConditionsHaveTheirShapeAndCompile) {
    const QStringList& items = smart::BuiltInConditions();
    ASSERT_EQ(items.size(), 66);
    for (int i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].size(), 79) << i;
        EXPECT_TRUE(items[i].endsWith(QStringLiteral("then '方案%1").arg(i + 1, 2, 10, QLatin1Char('0')))) << i;
        script::ScriptCondition sc;
        EXPECT_TRUE(sc.compile(items[i])) << items[i].toStdString();
    }
    EXPECT_TRUE(items[0].startsWith(QStringLiteral("a(1) = a(2) ")));
    EXPECT_TRUE(items[2].startsWith(QStringLiteral("A(1) < A(2) And A(2) < A(3) ")));
    EXPECT_TRUE(items[10].startsWith(QStringLiteral(" A(1) < A(2) And A(2) < A(3) And A(3) < A(4) ")));
    EXPECT_TRUE(items[13].startsWith(QStringLiteral(" A(1) < A(2) And A(2) < A(3) And A(3) <> A(4) ")));
    EXPECT_TRUE(items[41].startsWith(QStringLiteral(" A(1) < A(2) And A(2) <> A(3) And A(3) <> A(4) ")));
    EXPECT_TRUE(items[42].startsWith(QStringLiteral("a(1) < a(2) And a(2) < a(3) And a(3) = a(4) And a(4) <> a(5) ")));
    EXPECT_TRUE(items[45].startsWith(QStringLiteral("a(1) < a(2) And a(2) < a(3) And a(3) <> a(4) And a(4) = a(5) ")));
    EXPECT_TRUE(items[46].startsWith(QStringLiteral("a(1) = a(2) And a(2) < a(3) And a(3) = a(4)  And a(4) <> a(5) ")));
    EXPECT_TRUE(items[65].startsWith(QStringLiteral("a(1) < a(2) And a(2) <> a(3) And a(3) <> a(4)  And a(4) = a(5) ")));
}

TEST(SchemeList, XmlRecordsFromTheHomeServer) {
    const QString cond = Condition(QStringLiteral("a(1) [ a(2) And a(2) ] a(3)"));
    const QString rec = Record(cond, QStringLiteral("左1"), 10, 20);
    const QString xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<list>\n"
                                       "  <r v=\"  %1  \" x=\"y\"/>\n"
                                       "  <r v=\"%2\"/>\n"
                                       "  <r v=\"%1\"><inner a=\"1\"/></r>\n"
                                       "  <r v=\"ends in TXT.TXT\"/>\n"
                                       "</list>\n").arg(rec.toHtmlEscaped(), rec.toHtmlEscaped().replace("左1", "右2"));
    testsupport::HttpServer server;
    server.serve(QStringLiteral("/3d/3d.xml"), xml.toUtf8());
    server.serve(QStringLiteral("/3d/p3.xml"), "<list></list>");
    server.serve(QStringLiteral("/3d/T_3d.xml"), "not xml at all");

    SchemeCalculator c;
    c.loadSchemeList(server.url(smart::SchemeListPath(false, false)));
    QString expected = rec;
    expected.replace(QLatin1Char('['), QLatin1Char('<')).replace(QLatin1Char(']'), QLatin1Char('>'));
    ASSERT_EQ(c.schemes().size(), 3);
    EXPECT_EQ(c.schemes()[0], expected);
    EXPECT_EQ(c.schemes()[1], QString(expected).replace("左1", "右2"));
    EXPECT_EQ(c.schemes()[2], expected);  // duplicates kept in order

    c.loadSchemeList(server.url(QStringLiteral("/3d/T_3d.xml")));  // not XML: the list stays
    EXPECT_EQ(c.schemes().size(), 3);
    c.loadSchemeList(server.url(QStringLiteral("/3d/missing.xml")));  // 404: the list stays
    EXPECT_EQ(c.schemes().size(), 3);
    c.loadSchemeList(server.url(smart::SchemeListPath(true, false)));  // a root without children
    EXPECT_TRUE(c.schemes().isEmpty());

    // A child without attributes is skipped and reported; the others still load.
    const smart::SchemeListResult r = smart::ParseSchemeListXml(
        QStringLiteral("<l><a/><b v=\"%1\"/></l>").arg(rec.toHtmlEscaped()).toUtf8());
    EXPECT_TRUE(r.loaded);
    EXPECT_EQ(r.records.size(), 1);
    EXPECT_FALSE(r.error.isEmpty());
    EXPECT_EQ(smart::SchemeListPath(true, true), QStringLiteral("/3d/T_p3.xml"));
}

TEST(BacktestRun, RunsRecordsSkipsBadOnesAndSummarises) {
    CalcEnv env(MixedHistory(120));
    SchemeCalculator& c = env.calc;
    const QString cond = Condition(QStringLiteral("a(1) > a(2)"));
    c.setSchemes({Record(cond, QStringLiteral("右9"), 12, 6), QStringLiteral("too short.txt"),
                  Record(Condition(QStringLiteral("a(2) >= a(3)")), QStringLiteral("左0"), 12, 6),
                  Record(Condition(QStringLiteral("a(1) >= 1")), QStringLiteral("右8"), 8, 3)});
    c.setSummary({smart::SummaryEntry{3, 1, 0}});  // an old summary
    c.runBacktests();
    EXPECT_TRUE(c.lastError().contains(QStringLiteral("too short.txt")));
    EXPECT_EQ(c.lines().size(), 120);  // reloaded at the end
    // The last record's values are the run's own; the settings stay as they were set.
    EXPECT_EQ(c.run().verification.positionText, QStringLiteral("右8"));
    EXPECT_EQ(c.run().cycle.lengthsTried, 8);
    EXPECT_EQ(c.run().verification.periods, 3);
    EXPECT_EQ(c.settings().verification.positionText, QString());
    EXPECT_EQ(c.settings().cycle.lengthsTried, 1);
    EXPECT_EQ(c.settings().verification.periods, 0);
    EXPECT_EQ(c.settings().mode.condition, smart::BuiltInConditions().first());
    EXPECT_LE(c.reportLines().size(), 3);
    EXPECT_FALSE(c.reportLines().isEmpty());
    QSet<QChar> digits;
    for (const QString& line : c.reportLines()) digits << smart::ReportLineDigit(line);
    ASSERT_EQ(c.summary().size(), digits.size());
    for (const QString& s : c.summaryLines()) {
        EXPECT_EQ(s.size(), 3);
        EXPECT_TRUE(digits.contains(s.at(2)));
    }
    EXPECT_TRUE(c.reportText().startsWith(QString(83, QLatin1Char('=')) + QStringLiteral("\r\n条件：") + c.run().mode.condition));
}

TEST(BacktestRun, StopDuringSecondRecordEndsWithoutSummary) {
    CalcEnv env(MixedHistory(80));
    SchemeCalculator& c = env.calc;
    c.setSchemes(QStringList(3, Record(Condition(QStringLiteral("a(1) >= a(2)")), QStringLiteral("左0"), 6, 4)));
    int backtests = 0, evaluations = 0;
    c.runHost().processEvents = [&] { ++backtests; };
    // Stop in the second backtest's second period (a ranking is 10 x 6 evaluations).
    c.runHost().inputWaiting = [&] {
        if (backtests == 2 && ++evaluations == 90) c.stop();
        return false;
    };
    c.runBacktests();
    EXPECT_EQ(backtests, 2);  // the third record never started
    EXPECT_TRUE(c.summary().empty());
    EXPECT_EQ(c.runState(), smart::RunState::Stopped);
    EXPECT_EQ(c.reportLines().size(), 2);  // both backtests predicted the next issue
    EXPECT_EQ(c.lines().size(), 79);  // the stopped backtest's removal stays

    // Stopped before its first ranking: no line from the previous record's predictions.
    backtests = 0;
    c.runHost().inputWaiting = {};
    c.runHost().processEvents = [&] {
        if (++backtests == 2) c.stop();
    };
    c.runBacktests();
    EXPECT_EQ(c.reportLines().size(), 1);
}

// A run computes the draws handed in and never reads the draw file: the file rewritten as the
// second record's backtest starts changes neither that run's report lines nor the next run's,
// until the owner hands the file in again.
TEST(BacktestRun, RunsComputeTheDrawsHandedInNotTheFile) {
    CalcEnv env(MixedHistory(120));
    SchemeCalculator& c = env.calc;
    QStringList schemes;
    for (const char* cond : {"a(1) > a(2)", "a(2) >= a(3)", "a(1) >= 1"})
        schemes << Record(Condition(QString::fromLatin1(cond)), QStringLiteral("左0"), 8, 6);
    c.setSchemes(schemes);
    c.runBacktests();
    const QStringList unchanged = c.reportLines();
    const QStringList otherNumbers = MixedHistory(121).mid(1);
    SchemeCalculator other;
    ASSERT_TRUE(other.setDraws({false, testsupport::HistoryOf(otherNumbers, QStringLiteral("2020")).draws()}));
    other.setSchemes(c.schemes());
    other.runBacktests();
    ASSERT_NE(other.reportLines(), unchanged) << "the other draws must make other lines";

    int backtests = 0;
    c.runHost().processEvents = [&] {
        if (++backtests == 2) env.dir.write(QStringLiteral("HAO.TXT"), DrawFileBytes(otherNumbers));
    };
    c.runBacktests();
    EXPECT_EQ(backtests, 3);
    EXPECT_EQ(c.reportLines(), unchanged);
    c.runBacktests();
    EXPECT_EQ(c.reportLines(), unchanged);
    ASSERT_TRUE(smart::HandInDrawFile(c, false));
    c.runBacktests();
    EXPECT_EQ(c.reportLines(), other.reportLines());
}

TEST(BacktestRun, EmptySchemeListMakesEmptySummary) {
    CalcEnv env(MixedHistory(30));
    env.calc.setSummary({smart::SummaryEntry{4, 1, 0}});
    env.calc.runBacktests();
    EXPECT_TRUE(env.calc.summary().empty());
    EXPECT_EQ(env.calc.lines().size(), 30);

    // A run whose draws cannot be loaded (more left out than there are) keeps no old summary.
    env.calc.setSummary({smart::SummaryEntry{7, 1, 0}});  // "ZA7"
    env.calc.setReportLines(env.calc.reportLines() + QStringList{QStringLiteral("old line")});
    env.calc.settings().range.newestLeftOut = 30;
    env.calc.runBacktests();
    EXPECT_TRUE(env.calc.summary().empty());
    EXPECT_TRUE(env.calc.reportLines().isEmpty());
    EXPECT_FALSE(env.calc.lastError().isEmpty());
}

TEST(BacktestRun, RunControlToggles) {
    SchemeCalculator c;
    c.pauseOrResume();
    EXPECT_EQ(c.runState(), smart::RunState::Paused);
    c.pauseOrResume();
    EXPECT_EQ(c.runState(), smart::RunState::Running);
    c.stop();
    c.pauseOrResume();
    EXPECT_EQ(c.runState(), smart::RunState::Running);
}

TEST(OmissionAnalyses, RollingWindowAndDigitRows) {
    const QStringList n = MixedHistory(100);
    CalcEnv env(n);
    SchemeCalculator& c = env.calc;
    c.settings().mode.name = smart::kModeHundreds;
    c.settings().cycle.length = 10;
    ASSERT_TRUE(c.rollingWindow());
    ASSERT_EQ(c.statRows().size(), 90u);
    EXPECT_EQ(c.settings().range.first, 89);
    EXPECT_EQ(c.settings().range.last, 98);
    const QString last = c.lines()[99];
    EXPECT_EQ(c.statRows().back().label, last + QStringLiteral("百位 ") + last.right(3).left(1) + QStringLiteral(" 前10期遗漏分析"));
    EXPECT_EQ(c.statRows().back().drawCount, 10);

    // A window as long as the range: nothing, selections unchanged.
    c.clearStatRows();
    c.settings().range.first = 0;
    c.settings().range.last = 9;
    c.rollingWindow();
    EXPECT_TRUE(c.statRows().empty());
    EXPECT_EQ(c.settings().range.first, 0);

    c.settings().mode.name = smart::kModeAnywhere;
    c.omissionAnalysis();
    ASSERT_EQ(c.statRows().size(), 10u);
    EXPECT_EQ(c.statRows()[3].label, QStringLiteral("2020001—2020010胆码 3 分析"));
    EXPECT_EQ(c.statRows()[3].hitCount, CountWith(n, 3, 0, 9));
    c.nextDraw();
    EXPECT_EQ(c.statRows().size(), 20u);
    EXPECT_EQ(c.statRows()[10].label, QStringLiteral("2020002—2020011胆码 0 分析"));
    // NEXT at the end: the selections that cannot move stay.
    c.settings().range.first = 99;
    c.settings().range.last = 99;
    c.nextDraw();
    EXPECT_EQ(c.settings().range.first, 99);
    EXPECT_EQ(c.statRows().back().drawCount, 1);
}

TEST(BatchVerification, FilesPerStepAndFinalSave) {
    CalcEnv env(MixedHistory(60));
    SchemeCalculator& c = env.calc;
    QStringList messages;
    c.runHost().message = [&](const QString& m) { messages << m; };
    bool asked = false;
    c.runHost().confirm = [&](const QString&) { return asked = true; };
    c.settings().verification.positionText = QStringLiteral("左0");
    c.settings().cycle.lengthsTried = 5;
    c.settings().verification.batch.lastCycleLength = 7;
    c.settings().verification.batch.cycleStep = 1;
    c.settings().verification.periods = 30;
    c.settings().verification.batch.lastVerifyPeriods = 40;
    c.settings().verification.batch.verifyStep = 10;
    c.settings().mode.conditionIndex = 59;  // 方案60
    c.batchVerification();
    EXPECT_TRUE(asked);
    EXPECT_TRUE(c.lastError().isEmpty()) << c.lastError().toStdString();
    const QStringList files = QDir(env.dir.path()).entryList({QStringLiteral("第*期，验证*.txt")}, QDir::Files);
    ASSERT_EQ(files.size(), 6);
    for (const QString& f : files) {
        QString text;
        ASSERT_TRUE(common::ReadAnsiFile(env.dir.file(f), &text));
        EXPECT_EQ(text.count(QStringLiteral("条件：")), 7) << f.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("方案60")));
        EXPECT_TRUE(text.contains(QStringLiteral("方案66")));
    }
    EXPECT_TRUE(files.contains(QStringLiteral("第2020061期，验证030期，周期005.txt")));
    const QStringList saved = QDir(env.dir.path()).entryList({QStringLiteral("第2020061期 *.txt")}, QDir::Files);
    ASSERT_EQ(saved.size(), 1);
    QString lines;
    ASSERT_TRUE(common::ReadAnsiFile(env.dir.file(saved[0]), &lines));
    EXPECT_EQ(lines, c.reportLines().isEmpty() ? QString() : c.reportLines().join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
    EXPECT_EQ(messages, QStringList{QStringLiteral("保存成功！")});
    for (const QString& line : c.reportLines())
        EXPECT_TRUE(QFile::exists(SchemeCalculator::reportFileOfLine(line))) << line.toStdString();
    // The steps' cycle counts, periods and conditions were the run's own: the settings stay.
    EXPECT_EQ(c.settings().cycle.lengthsTried, 5);
    EXPECT_EQ(c.settings().verification.periods, 30);
    EXPECT_EQ(c.settings().mode.condition, smart::BuiltInConditions().first());
}

TEST(BatchVerification, RefusedWithoutSideAndRankOrOnNo) {
    CalcEnv env(MixedHistory(40));
    env.calc.runHost().confirm = [](const QString&) { return true; };
    env.calc.batchVerification();
    EXPECT_FALSE(env.calc.lastError().isEmpty());
    env.calc.settings().verification.positionText = QStringLiteral("左0");
    env.calc.runHost().confirm = [](const QString&) { return false; };
    env.calc.setReportLines(env.calc.reportLines() + QStringList{QStringLiteral("kept")});
    env.calc.batchVerification();
    EXPECT_EQ(env.calc.reportLines(), QStringList{QStringLiteral("kept")});
}

TEST(ReportFiles, SaveAndImports) {
    CalcEnv env(MixedHistory(20));
    SchemeCalculator& c = env.calc;
    const QString cond = smart::BuiltInConditions()[6];
    const QString a = Record(cond, QStringLiteral("左0"), 5, 10, QStringLiteral("03"), QLatin1Char('1'));
    c.setReportLines({a, a});
    ASSERT_TRUE(c.saveAndClearReportLines());
    EXPECT_TRUE(c.reportLines().isEmpty());
    const QStringList saved = QDir(env.dir.path()).entryList({QStringLiteral("第2020021期 *.txt")}, QDir::Files);
    ASSERT_EQ(saved.size(), 1);
    EXPECT_EQ(env.dir.read(saved[0]), common::EncodeAnsi(a + "\r\n" + a + "\r\n"));

    // Import conditions: a line differing only in error count and digit is a duplicate (test A);
    // one with the same errors and tag-to-digit but other counts too (test B).
    const QString sameCounts = Record(cond, QStringLiteral("左0"), 5, 10, QStringLiteral("09"), QLatin1Char('4'));
    const QString sameErrors = Record(cond, QStringLiteral("左0"), 6, 12, QStringLiteral("03"), QLatin1Char('1'));
    const QString other = Record(cond, QStringLiteral("右2"), 6, 12, QStringLiteral("05"), QLatin1Char('1'));
    env.dir.write(QStringLiteral("in.txt"),
                  common::EncodeAnsi("  " + a + "  \r\n\r\n" + sameCounts + "\r\n" + sameErrors + "\r\nnot a record\r\n" +
                                     other + "\r\n" + other + "\r\nX.TXT\r\n"));
    EXPECT_EQ(c.importSchemes(env.dir.file("in.txt")), 2);
    EXPECT_EQ(c.schemes(), (QStringList{a, other}));
    EXPECT_EQ(c.importReportLines(env.dir.file("in.txt")), 5);  // repeats kept, non-records skipped
    EXPECT_EQ(c.importSchemes(env.dir.file("missing.txt")), -1);

    EXPECT_EQ(SchemeCalculator::schemeTagOfLine(a), QStringLiteral("方案07"));
    EXPECT_TRUE(SchemeCalculator::reportFileOfLine(a).endsWith(QStringLiteral("第2020032期，验证010期，周期005.txt")));
}

TEST(RealHistory, RunKeepsItsInvariants) {
    SKIP_WITHOUT_SHARED("data/HAO.TXT");
    testsupport::ProgramDir dir;
    ASSERT_TRUE(dir.copyShared(QStringLiteral("data/HAO.TXT")));
    SchemeCalculator c;
    c.settings().range.newestLeftOut = 7;
    ASSERT_TRUE(smart::HandInDrawFile(c, false));
    const QStringList& items = smart::BuiltInConditions();
    c.setSchemes({Record(items[0], QStringLiteral("右9"), 15, 8), Record(items[12], QStringLiteral("左0"), 20, 8),
                  Record(items[50], QStringLiteral("右8"), 25, 6), Record(items[30], QStringLiteral("左2"), 10, 10)});
    c.runBacktests();
    EXPECT_TRUE(c.lastError().isEmpty()) << c.lastError().toStdString();
    ASSERT_FALSE(c.lines().isEmpty());
    const int total = int(QFileInfo(dir.file("HAO.TXT")).size() / 12);
    EXPECT_EQ(c.lines().size(), total - 7);
    EXPECT_EQ(c.nextIssue(), QString::number(c.lines().last().left(7).toLongLong() + 1));
    QSet<QChar> listed;
    const QStringList summaryLines = c.summaryLines();
    for (const QString& s : summaryLines) {
        ASSERT_EQ(s.size(), 3);
        EXPECT_FALSE(listed.contains(s.at(2)));
        listed << s.at(2);
    }
    EXPECT_TRUE(std::is_sorted(summaryLines.begin(), summaryLines.end()));
    for (const QString& line : c.reportLines()) {
        smart::SchemeRecord r;
        ASSERT_TRUE(smart::ParseSchemeRecord(line, &r));
        EXPECT_TRUE(line.contains(QStringLiteral("|第") + c.nextIssue() + QStringLiteral("期")));
        EXPECT_TRUE(listed.contains(r.digit));
    }
    // The last backtest's row 0: each digit at most once per side.
    for (const smart::RankTable* t : {&c.run().leftRanks, &c.run().rightRanks}) {
        QSet<QString> seen;
        for (int j = 0; j < 10; ++j) {
            const QString& cell = (*t)[0][j];
            if (cell == "B") continue;
            EXPECT_FALSE(seen.contains(cell));
            seen << cell;
        }
    }
}

TEST(BatchVerification, StopLeavesTheReportFileUpToTheStoppedScheme) {
    // Stopped as the third scheme's backtest starts: the file holds the schemes up to and
    // including that one (its backtest cut short), and nothing of the ones after it.
    CalcEnv env(MixedHistory(60));
    SchemeCalculator& c = env.calc;
    c.settings().verification.positionText = QStringLiteral("左0");
    c.settings().cycle.lengthsTried = c.settings().verification.batch.lastCycleLength = 5;
    c.settings().verification.periods = c.settings().verification.batch.lastVerifyPeriods = 10;
    c.settings().mode.conditionIndex = 59;
    int pumps = 0;
    c.runHost().processEvents = [&] {
        if (++pumps == 4) c.stop();  // one pump per step, then one per backtest
    };
    c.batchVerification();
    const QStringList files = QDir(env.dir.path()).entryList({QStringLiteral("第*期，验证*.txt")}, QDir::Files);
    ASSERT_EQ(files.size(), 1);
    QString text;
    ASSERT_TRUE(common::ReadAnsiFile(env.dir.file(files[0]), &text));
    EXPECT_EQ(text.count(QStringLiteral("条件：")), 3);
    EXPECT_TRUE(text.contains(QStringLiteral("方案62")));
    EXPECT_FALSE(text.contains(QStringLiteral("方案63")));
    EXPECT_TRUE(QDir(env.dir.path()).entryList({QStringLiteral("第2020061期 *.txt")}, QDir::Files).isEmpty());
}
