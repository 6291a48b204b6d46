// The history verification's computation on a pool of workers, on the real 福彩3D history and
// the shipped scheme list: the same rows in the same order as one calculator doing the draws
// one after another, the work done away from the caller's thread, and a stop that reaches it.
#include "common/paths.h"
#include "realhistory.h"
#include "smart/calculator.h"
#include "smart/schemerecords.h"
#include "smart/verificationrun.h"

#include <gtest/gtest.h>

namespace {

smart::VerificationJob ShippedJob(const common::DrawHistory& history, int periods, const smart::SmartSettings& settings) {
    const smart::SchemeListResult list =
        smart::FetchSchemeList(common::HomeUrl() + smart::SchemeListPath(false, false));
    return {history, false, list.records, settings, history.count() - periods + 1, history.count()};
}

QString RowText(const smart::VerifiedDraw& row) {
    QString text = QString::number(row.draw) + QLatin1Char(row.computed ? '+' : '-') + row.failure;
    for (int k = 0; k < 4; ++k) text += QLatin1Char(' ') + row.codes[size_t(k)] + QLatin1Char(row.hits[size_t(k)] ? 'Y' : 'N');
    for (int digit : row.summary) text += QString::number(digit);
    return text + QLatin1Char(' ') + row.lastPool.join(QLatin1Char(','));
}

QStringList AllRows(smart::VerificationRun& run) {
    QStringList rows;
    while (!run.allTaken())
        if (std::optional<smart::VerifiedDraw> row = run.next(50)) rows << RowText(*row);
    return rows;
}

}  // namespace

TEST(VerificationRun, WorkersGiveTheRowsOfOneCalculatorInOrder) {
    SKIP_WITHOUT_SHARED("data/HAO.TXT");
    smartwin::RealDrawsFixture f;
    ASSERT_TRUE(f.ok);
    const struct {
        smart::SmartSettings settings;
        int periods, workers;
    } cases[] = {
        {{0, 0, 0, 1}, 16, 8},
        {{0, 2, 3, 3}, 9, 3},
    };
    for (const auto& c : cases) {
        const smart::VerificationJob job = ShippedJob(f.app.history(), c.periods, c.settings);
        ASSERT_EQ(job.schemes.size(), 20);
        smart::SchemeCalculator one;
        smart::VerificationRun sequential(job, 0, &one);
        const QStringList expected = AllRows(sequential);
        ASSERT_EQ(expected.size(), c.periods);
        smart::VerificationRun pooled(job, c.workers);
        EXPECT_EQ(AllRows(pooled), expected);
    }
}

TEST(VerificationRun, TheWorkRunsAwayFromTheCallerAndStops) {
    SKIP_WITHOUT_SHARED("data/HAO.TXT");
    smartwin::RealDrawsFixture f;
    ASSERT_TRUE(f.ok);
    smart::VerificationRun run(ShippedJob(f.app.history(), 200, {}), 2);
    // Asked at once, nothing is done yet: the caller does not compute while it waits.
    EXPECT_FALSE(run.next(0).has_value());
    std::optional<smart::VerifiedDraw> first;
    while (!first) first = run.next(50);
    EXPECT_TRUE(first->computed);
    // A stop ends the work under way: nothing more is handed out and the threads end (the
    // destructor waits for them).
    run.stop();
    EXPECT_FALSE(run.next(50).has_value());
}

// A run computes the job's draws, never the draw file: a file that holds other draws (the newest
// taken off, as after a correction) or none at all changes no row. A draw with no draws before
// it ends its row with the reason.
TEST(VerificationRun, TheJobsDrawsAreComputedWhateverTheDrawFileHolds) {
    SKIP_WITHOUT_SHARED("data/HAO.TXT");
    smartwin::RealDrawsFixture f;
    ASSERT_TRUE(f.ok);
    const smart::VerificationJob job = ShippedJob(f.app.history(), 3, {});
    smart::VerificationRun unchanged(job, 2);
    const QStringList expected = AllRows(unchanged);
    ASSERT_EQ(expected.size(), 3);
    const QByteArray draws = f.dir.read(QStringLiteral("HAO.TXT"));
    for (const QByteArray& other : {draws.left(draws.size() - 50 * 12), QByteArray()}) {
        SCOPED_TRACE(other.size());
        f.dir.write(QStringLiteral("HAO.TXT"), other);
        smart::VerificationRun run(job, 2);
        EXPECT_EQ(AllRows(run), expected);
    }

    smart::VerificationJob first = job;
    first.first = first.last = 1;
    smart::VerificationRun run(first, 1);
    std::optional<smart::VerifiedDraw> row;
    while (!row) row = run.next(50);
    EXPECT_FALSE(row->computed);
    EXPECT_TRUE(row->failure.startsWith(QStringLiteral("开奖数据不足"))) << row->failure.toStdString();
}
