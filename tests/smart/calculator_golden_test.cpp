// Results of the calculator on the real 福彩3D history, recorded once from a known-good build:
// the report lines and summary of a computation over a list of 20 schemes at two bases, and
// the report files and lines of a batch verification. Any change in how the calculator counts,
// evaluates or writes must leave them exactly as they are.
#include "calcfixture.h"
#include "common/textcodec.h"
#include "smart/calculator.h"
#include "testsupport.h"

#include <QCryptographicHash>
#include <QDir>

#include <gtest/gtest.h>

namespace {

// 20 built-in conditions, cycle counts 3..9, verification periods 2..5, ranks on both sides.
QStringList GoldenSchemes() {
    const QStringList& items = smart::BuiltInConditions();
    QStringList out;
    for (int k = 0; k < 20; ++k) {
        const QString sideRank = (k % 3 ? QStringLiteral("左") : QStringLiteral("右")) + QString::number((k * 7) % 10);
        out << calcfixture::Record(items[(k * 13) % items.size()], sideRank, 3 + k % 7, 2 + k % 4);
    }
    return out;
}

QString Sha1(const QString& text) {
    return QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha1).toHex());
}

}  // namespace

TEST(CalculatorGolden, ComputationOnTheRealHistory) {
    SKIP_WITHOUT_SHARED("data/HAO.TXT");
    testsupport::ProgramDir dir;
    ASSERT_TRUE(dir.copyShared(QStringLiteral("data/HAO.TXT")));
    smart::SchemeCalculator calc;
    ASSERT_TRUE(smart::HandInDrawFile(calc, false));
    calc.setSchemes(GoldenSchemes());
    struct Case {
        int leaveOut;
        int reportLines;
        const char* reportSha1;
        const char* summary;
    };
    const Case cases[] = {
        {0, 5, "708e9842b970ac457186545da9cd003a1c9f3d9a", "YA6 YC9 ZE3"},
        {7, 4, "f9e80cb447c0908fd43cd20a04a30e4adc7747a8", "YA3 ZB1 ZD4"},
    };
    for (const Case& c : cases) {
        calc.settings().range.newestLeftOut = c.leaveOut;
        calc.runBacktests();
        EXPECT_TRUE(calc.lastError().isEmpty()) << calc.lastError().toStdString();
        EXPECT_EQ(calc.reportLines().size(), c.reportLines) << c.leaveOut;
        const QString transcript = calc.reportLines().join(QLatin1Char('\n')) + QLatin1Char('\n') + calc.reportText();
        EXPECT_EQ(Sha1(transcript), QString::fromLatin1(c.reportSha1)) << c.leaveOut << "\n" << transcript.toStdString();
        EXPECT_EQ(calc.summaryLines().join(QLatin1Char(' ')), QString::fromUtf8(c.summary)) << c.leaveOut;
    }
}

TEST(CalculatorGolden, BatchVerificationOnTheRealHistory) {
    SKIP_WITHOUT_SHARED("data/HAO.TXT");
    testsupport::ProgramDir dir;
    ASSERT_TRUE(dir.copyShared(QStringLiteral("data/HAO.TXT")));
    smart::SchemeCalculator calc;
    ASSERT_TRUE(smart::HandInDrawFile(calc, false));
    calc.settings().verification.positionText = QStringLiteral("左3");
    calc.settings().cycle.lengthsTried = 5, calc.settings().verification.batch.lastCycleLength = 6, calc.settings().verification.batch.cycleStep = 1;  // cycles 5..6
    calc.settings().verification.periods = 2, calc.settings().verification.batch.lastVerifyPeriods = 3, calc.settings().verification.batch.verifyStep = 1;    // periods 2..3
    calc.settings().mode.conditionIndex = 60;  // the last six built-in conditions
    calc.batchVerification();
    EXPECT_TRUE(calc.lastError().isEmpty()) << calc.lastError().toStdString();
    QString files;
    for (const QString& name : QDir(dir.path()).entryList({QStringLiteral("第*期，验证*.txt")}, QDir::Files, QDir::Name)) {
        QString text;
        ASSERT_TRUE(common::ReadAnsiFile(dir.file(name), &text));
        files += name + QLatin1Char('\n') + text;
    }
    EXPECT_EQ(Sha1(files), QStringLiteral("8e17a2b762111e9e7dd9dc5eb7e38bdd502f206e")) << files.left(3000).toStdString();
    EXPECT_EQ(Sha1(calc.reportLines().join(QLatin1Char('\n'))), QStringLiteral("5997d501b30a87046133f416d39d08ca2d8b7d45")) << calc.reportLines().join(QLatin1Char('\n')).toStdString();
}

// Every built-in condition is one the engine calls pure, and keeping their results per series
// over a run (tables warm from earlier bases included) gives exactly what evaluating every
// series gives.
TEST(CalculatorGolden, KeptResultsOfPureConditionsChangeNothing) {
    SKIP_WITHOUT_SHARED("data/HAO.TXT");
    testsupport::ProgramDir dir;
    ASSERT_TRUE(dir.copyShared(QStringLiteral("data/HAO.TXT")));
    const QStringList& items = smart::BuiltInConditions();
    QStringList records;
    for (int k = 0; k < items.size(); ++k) {
        EXPECT_TRUE(script::ReadConditionTraits(items[k]).pure) << items[k].toStdString();
        records << calcfixture::Record(items[k], (k % 2 ? QStringLiteral("左") : QStringLiteral("右")) + QString::number(k % 10),
                                       3 + k % 9, 6);
    }
    smart::SchemeCalculator kept, everyTime;
    ASSERT_TRUE(smart::HandInDrawFile(kept, false));
    ASSERT_TRUE(smart::HandInDrawFile(everyTime, false));
    everyTime.keepPureResults(false);
    kept.setSchemes(records);
    everyTime.setSchemes(records);
    for (int leaveOut : {3, 2, 0}) {
        for (smart::SchemeCalculator* calc : {&kept, &everyTime}) {
            calc->settings().range.newestLeftOut = leaveOut;
            calc->runBacktests();
        }
        EXPECT_EQ(kept.reportLines(), everyTime.reportLines()) << leaveOut;
        EXPECT_EQ(kept.reportText(), everyTime.reportText()) << leaveOut;
        EXPECT_EQ(kept.summaryLines(), everyTime.summaryLines()) << leaveOut;
    }
}

// The records spread over threads, each on a helper calculator that keeps its results for the
// next run, give what one calculator gives going through them: the same report lines, errors
// (a record that cannot be read, a condition that fails on every series), failures told in the
// records' order with the same words, and summary, at two bases and for several thread counts.
TEST(CalculatorGolden, SpreadRunGivesWhatOneCalculatorGives) {
    SKIP_WITHOUT_SHARED("data/HAO.TXT");
    testsupport::ProgramDir dir;
    ASSERT_TRUE(dir.copyShared(QStringLiteral("data/HAO.TXT")));
    QStringList records = GoldenSchemes();
    records.insert(5, QStringLiteral("not a scheme record"));
    records.insert(12, calcfixture::Record(calcfixture::Condition(QStringLiteral("a(99) = 1")), QStringLiteral("左2"), 2, 2));
    struct Told {
        QStringList failures;
        smart::RunHost host;
    };
    // The calculator runs the records and tells its failures with the words it gives them.
    const auto runRecords = [&records](Told& told, smart::SchemeCalculator& calc) {
        told.host.scriptError = [&told, &calc](const script::ScriptError& e, const QString& verifyText) {
            told.failures << calc.conditionErrorText(e) + QLatin1Char('|') + verifyText;
        };
        calc.setRunHost(&told.host);
        calc.setSchemes(records);
        EXPECT_TRUE(smart::HandInDrawFile(calc, false));
    };
    smart::SchemeCalculator one;
    Told toldOne;
    runRecords(toldOne, one);
    for (int threads : {2, 3, 8}) {
        smart::SchemeCalculator spread;
        // Helpers made ahead (more of them than one run uses, for 3) serve as the ones made
        // by the run itself.
        if (threads > 2) spread.prepareSpread(8);
        Told toldSpread;
        runRecords(toldSpread, spread);
        for (int leaveOut : {0, 7, 0}) {
            SCOPED_TRACE(testing::Message() << threads << " threads, " << leaveOut << " left out");
            toldOne.failures.clear();
            toldSpread.failures.clear();
            one.settings().range.newestLeftOut = spread.settings().range.newestLeftOut = leaveOut;
            one.runBacktests();
            spread.runBacktestsSpread(threads);
            ASSERT_FALSE(one.reportLines().isEmpty());
            EXPECT_EQ(spread.reportLines(), one.reportLines());
            EXPECT_EQ(spread.lastError(), one.lastError());
            EXPECT_TRUE(one.lastError().contains(QLatin1Char('\n'))) << "both errors are there";
            EXPECT_EQ(spread.summaryLines(), one.summaryLines());
            EXPECT_EQ(toldSpread.failures, toldOne.failures);
            EXPECT_EQ(toldOne.failures.size(), 1);
            EXPECT_EQ(spread.runState(), smart::RunState::Running);
        }
        // The draw file read again with other draws (here the newest two gone, as after a
        // correction) and handed in: the helpers work on the new draws, not the ones they had.
        QFile file(dir.file(QStringLiteral("HAO.TXT")));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray draws = file.readAll();
        file.close();
        dir.write(QStringLiteral("HAO.TXT"), draws.left(draws.size() - 2 * 12));
        one.settings().range.newestLeftOut = spread.settings().range.newestLeftOut = 0;
        ASSERT_TRUE(smart::HandInDrawFile(one, false));
        ASSERT_TRUE(smart::HandInDrawFile(spread, false));
        one.runBacktests();
        spread.runBacktestsSpread(threads);
        EXPECT_EQ(spread.reportLines(), one.reportLines()) << threads;
        EXPECT_EQ(spread.summaryLines(), one.summaryLines()) << threads;
        EXPECT_EQ(spread.nextIssue(), one.nextIssue()) << threads;
        dir.write(QStringLiteral("HAO.TXT"), draws);
        ASSERT_TRUE(smart::HandInDrawFile(one, false));
    }
}

// A stop of the calculator that spreads reaches every thread, an evaluation under way included:
// the run ends with no summary instead of running into the engine's limit.
TEST(CalculatorGolden, StopReachesEverySpreadThread) {
    SKIP_WITHOUT_SHARED("data/HAO.TXT");
    testsupport::ProgramDir dir;
    ASSERT_TRUE(dir.copyShared(QStringLiteral("data/HAO.TXT")));
    smart::SchemeCalculator calc;
    ASSERT_TRUE(smart::HandInDrawFile(calc, false));
    QStringList schemes;
    for (int k = 0; k < 4; ++k)
        schemes << calcfixture::Record(calcfixture::Condition(QStringLiteral("True Then\r\nDo\r\nLoop\r\nEnd If\r\nIf True")),
                                       QStringLiteral("左3"), 1, 5);
    calc.setSchemes(schemes + GoldenSchemes());
    smart::RunHost host;
    int pumps = 0;
    host.processEvents = [&] {
        if (++pumps == 3) calc.stop();
    };
    calc.setRunHost(&host);
    calc.runBacktestsSpread(4);
    EXPECT_GE(pumps, 3);
    EXPECT_TRUE(calc.stopped());
    EXPECT_TRUE(calc.summary().empty());
}
