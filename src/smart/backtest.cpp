// The backtest: a condition ranked for the next issue and for past periods, and the run over
// every record of the scheme list.
#include "smart/calculator.h"

#include "smart/calculatortext.h"
#include "smart/verificationrun.h"

#include <algorithm>
#include <optional>

namespace smart {

using namespace calctext;

namespace {

// How often the window's events are let through while a spread run's threads work.
constexpr int kSpreadIdleMs = 5;

QString RankMark(const QString& cell, const QString& draw) {
    if (!cell.isEmpty() && draw.right(3).contains(cell)) return QStringLiteral("√ ");
    if (draw != kUndrawn) return cell == kNoRank ? QStringLiteral("● ") : QStringLiteral("■ ");
    return QStringLiteral("   ");
}

}  // namespace

void SchemeCalculator::pauseOrResume() {
    runState_ = runState_ == RunState::Running ? RunState::Paused : RunState::Running;
}

bool SchemeCalculator::startBacktests() {
    lastError_.clear();
    summary_.clear();
    reportLines_.clear();
    // A run that cannot read its draws leaves no summary: the previous base's kill digits must
    // not pass for this one's.
    if (!cutLines()) return false;
    runState_ = RunState::Running;
    return true;
}

void SchemeCalculator::runBacktests() {
    const Operation op(*this, Operation::Run);
    if (!startBacktests()) return;
    if (host_->progress) host_->progress->setTotal(schemes_.size());
    if (!backtestRecords()) return;
    if (host_->progress) host_->progress->advance();
    if (!cutLines()) return;
    summarise();
}

bool SchemeCalculator::backtestRecords() {
    const int count = int(schemes_.size());
    for (int i = 0; i < count && i < schemes_.size(); ++i) {
        if (i > 0 && host_->progress) host_->progress->advance();
        if (stopped()) return false;
        SchemeRecord record;
        QString why;
        if (!ParseSchemeRecord(schemes_.at(i), &record, &why)) {
            addError(why);  // the record is skipped; the others still count
            continue;
        }
        run_.cycle.lengthsTried = record.cycleCount;
        run_.verification.periods = record.verifyPeriods;
        run_.mode.condition = record.condition;
        run_.verification.positionText = record.sideRank;
        if (!cutLines()) return false;
        const QString rule(83, QLatin1Char('='));
        run_.reportText = rule + kCrLf + QStringLiteral("条件：") + run_.mode.condition + kCrLf + rule + kCrLf;
        backtestCondition();
    }
    return true;
}

// One thread's part of a spread run: a calculator of its own, which lives on with the one that
// spreads, and what its records told.
struct SpreadHelper {
    SchemeCalculator calc;
    RunHost host;
    struct Failure {
        script::ScriptError error;
        QString verifyText, condition;
    };
    std::vector<Failure> failures;  // failing conditions, as the records met them
    SpreadHelper() {
        host.scriptError = [this](const script::ScriptError& e, const QString& verifyText) {
            failures.push_back({e, verifyText, calc.run().mode.condition});
        };
        calc.setRunHost(&host);
    }
};

struct SpreadHelpers {
    std::vector<std::unique_ptr<SpreadHelper>> helpers;
    // Helpers being made ahead of the first run, while the player reads the window: a run or a
    // second preparation waits for them, and so does the end of the calculator. Declared after
    // helpers, so that it is joined before they go.
    std::optional<common::Workers> making;
    void waitMade() {
        if (!making) return;
        making->join();
        making.reset();
    }
};

// What a spread run's threads read, copied before any of them starts: the settings, the run's
// decoded draws and each part's records. The calculator that spreads goes on letting the
// window's events through meanwhile; its threads never read it.
struct SchemeCalculator::SpreadJob {
    CalculatorSettings settings;  // the run's, as it started
    CalculatorDraws draws;
    std::vector<QStringList> partSchemes;  // consecutive records, part by part
};

SchemeCalculator::SpreadJob SchemeCalculator::spreadJob(int parts) const {
    SpreadJob job{run_, draws_, {}};
    for (int t = 0; t < parts; ++t) {
        const common::Block block = common::BlockOf(schemes_.size(), parts, t);
        job.partSchemes.push_back(schemes_.mid(int(block.first), int(block.end - block.first)));
    }
    return job;
}

std::vector<std::unique_ptr<SpreadHelper>>& SchemeCalculator::spreadHelpers(int parts) {
    if (!spreadHelpers_) spreadHelpers_ = std::make_shared<SpreadHelpers>();
    spreadHelpers_->waitMade();
    std::vector<std::unique_ptr<SpreadHelper>>& helpers = spreadHelpers_->helpers;
    if (int(helpers.size()) < parts) helpers.resize(size_t(parts));
    return helpers;
}

void SchemeCalculator::prepareSpread(int threads) {
    const int parts = common::WorkerCount(threads);
    if (parts < 2) return;
    std::vector<std::unique_ptr<SpreadHelper>>& helpers = spreadHelpers(parts);
    if (std::all_of(helpers.begin(), helpers.begin() + parts, [](const auto& h) { return bool(h); })) return;
    // A fresh calculator's tables are most of its cost: made side by side on threads of their
    // own, off the caller's thread, so the window that asks for them opens without waiting.
    spreadHelpers_->making.emplace(parts, [&helpers](int t) {
        if (!helpers[size_t(t)]) helpers[size_t(t)] = std::make_unique<SpreadHelper>();
    });
}

// One part of a spread run on its thread: its helper is made there the first time (a
// calculator with its script engine is not free) and given the job's settings, draws and the
// part's consecutive records, the same ones run after run, so that its kept results serve the
// same conditions again.
void SchemeCalculator::runSpreadPart(std::unique_ptr<SpreadHelper>& slot, const SpreadJob& job, int part,
                                     const std::atomic<bool>& stop, common::WorkProgress& progress) {
    if (!slot) slot = std::make_unique<SpreadHelper>();
    SchemeCalculator& calc = slot->calc;
    const Operation op(calc, Operation::Run);
    // The part runs from the job's settings, those the spreading run started from; the helper's
    // own settings stay as they are, as every run leaves them.
    static_cast<CalculatorSettings&>(calc.run_) = job.settings;
    // The run's draws, taken only when they are not the ones it had: its counts stay with them.
    if (calc.draws_.lines.constData() != job.draws.lines.constData()) calc.draws_ = job.draws;
    calc.draws_.lotteryIsP3 = job.draws.lotteryIsP3;
    calc.schemes_ = job.partSchemes[size_t(part)];
    calc.setOutsideStop(&stop);
    slot->host.progress = &progress;
    slot->failures.clear();
    // Only the records: the summary is the spreading calculator's, made once the parts are joined.
    if (calc.startBacktests() && calc.backtestRecords()) progress.advance();
    calc.setOutsideStop(nullptr);
    slot->host.progress = nullptr;
}

void SchemeCalculator::runBacktestsSpread(int threads) {
    const Operation op(*this, Operation::Run);
    const int parts = std::min(common::WorkerCount(threads), int(schemes_.size()));
    if (parts < 2 || SchemesNeedTheWindowThread(schemes_)) {
        runBacktests();
        return;
    }
    if (!startBacktests()) return;
    std::vector<std::unique_ptr<SpreadHelper>>& helpers = spreadHelpers(parts);
    const int count = int(schemes_.size());
    std::vector<common::WorkProgress> partProgress(static_cast<size_t>(parts));  // records done, per part
    std::atomic<bool> stop{false};
    if (host_->progress) host_->progress->setTotal(count);
    // The window's events go through before the threads start, as a backtest in place lets
    // them through at its start: a run quicker than the first idle turn still hears a stop.
    pump();
    if (stopped()) return;
    const SpreadJob job = spreadJob(parts);
    long long told = 0;
    const auto idle = [&] {
        // Once stopped the threads are only waited for: nothing else of the window runs.
        if (stopped()) {
            stop.store(true);
            return;
        }
        pump();
        if (stopped()) stop.store(true);
        long long done = 0;
        for (const common::WorkProgress& p : partProgress) done += p.done();
        if (host_->progress && done > told) host_->progress->advance(done - told);
        told = std::max(told, done);
    };
    // Each part keeps its helper, but goes to whichever thread is free first: on a busy machine
    // a thread that starts late leaves its part to one that is done with its own.
    std::atomic<int> nextPart{0};
    common::Workers workers(parts, [&](int) {
        for (int t = nextPart++; t < parts; t = nextPart++)
            runSpreadPart(helpers[size_t(t)], job, t, stop, partProgress[size_t(t)]);
    });
    workers.join(idle, kSpreadIdleMs);
    if (stopped() || stop.load()) return;
    takeSpreadResults(helpers, parts);
    if (host_->progress && count > told) host_->progress->advance(count - told);
    if (!cutLines()) return;
    summarise();
}

void SchemeCalculator::takeSpreadResults(const std::vector<std::unique_ptr<SpreadHelper>>& helpers, int parts) {
    for (int t = 0; t < parts; ++t) {
        const SpreadHelper& h = *helpers[size_t(t)];
        reportLines_ += h.calc.reportLines_;
        if (!h.calc.lastError_.isEmpty()) addError(h.calc.lastError_);
        for (const SpreadHelper::Failure& f : h.failures) {
            ++scriptErrorCount_;
            // The host words a failure from the condition this calculator compiled last: the
            // failing one while it is told, compiled afresh when next needed.
            condition_.text = f.condition;
            if (host_->scriptError) host_->scriptError(f.error, f.verifyText);
            condition_.text.clear();
        }
    }
}

void SchemeCalculator::backtestCondition() {
    const Operation op(*this);
    run_.verifyPeriod = 0;
    runState_ = RunState::Running;
    run_.inBacktest = true;
    digitCounts_.forget();
    run_.nextIssueRanked = false;
    run_.scriptErrorShown = false;
    const QString six(6, QLatin1Char(' '));
    QString left = six, right = six;
    QString draw = kUndrawn;
    pump();
    const int periods = run_.verification.periods + 1;
    const int needed = std::max(1, run_.cycle.seriesLength + run_.cycle.lengthsTried - 2);
    for (int k = 1; k <= periods; ++k) {
        if (run_.verifyPeriod >= kRankRows) break;
        if (run_.lines.size() < needed) {
            addError(QStringLiteral("开奖数据不足：验证第%1期需要%2期开奖号，只剩%3期。")
                          .arg(run_.verifyPeriod).arg(needed).arg(run_.lines.size()));
            break;
        }
        if (run_.mode.name == kModeHundreds) {
            const QString r = rankDigits();
            const QString hundreds = draw.right(3).left(1);
            run_.verification.hundredsText += r + QString(std::max(0, 10 - int(r.size())), QLatin1Char(' ')) +
                     (r.contains(hundreds) ? QStringLiteral("√") : QStringLiteral("×")) +
                     QStringLiteral("  开奖号") + draw + kCrLf;
        } else if (run_.mode.name == kModeAnywhere) {
            rankDigits();
            if (stopped()) break;
            const RankRow& lrow = run_.leftRanks[run_.verifyPeriod];
            const RankRow& rrow = run_.rightRanks[run_.verifyPeriod];
            for (int j = 0; j < 10; ++j) {
                left += lrow[j] + RankMark(lrow[j], draw);
                right += rrow[j] + RankMark(rrow[j], draw);
            }
            const QString tail = QStringLiteral("  开奖号") + draw + kCrLf + six;
            left += tail;
            right += tail;
        }
        if (run_.verifyPeriod == 0 && !stopped()) run_.nextIssueRanked = true;
        run_.leftRanks[run_.verifyPeriod][10] = run_.rightRanks[run_.verifyPeriod][10] = draw.right(3);
        ++run_.verifyPeriod;
        if (run_.lines.isEmpty()) break;
        draw = run_.lines.takeLast();
        run_.range.first = std::min(run_.range.first, int(run_.lines.size()) - 1);
        run_.range.last = std::min(run_.range.last, int(run_.lines.size()) - 1);
    }
    run_.reportText += kCrLf + left;
    leftRankStatistics();
    run_.reportText += kCrLf + right;
    rightRankStatistics();
    run_.inBacktest = false;
    run_.nextIssueRanked = true;
}

}  // namespace smart
