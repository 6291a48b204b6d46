#include "smart/verificationrun.h"

#include "script/scriptengine.h"
#include "smart/calculator.h"
#include "smart/schemerecords.h"
#include "smart/verificationtexts.h"

#include <algorithm>
#include <new>

namespace smart {

VerifiedDraw VerifyDraw(SchemeCalculator& calc, const VerificationJob& job, int draw) {
    VerifiedDraw row;
    row.draw = draw;
    const common::DrawHistory& history = job.history;
    const int base = draw - 1;
    calc.clearError();
    calc.settings().range.newestLeftOut = history.count() - base;
    // The job's draws, never the draw file: a file changed during the run changes no row.
    if (!calc.setDraws({job.p3, history.draws()})) {
        row.failure = calc.lastError();
        return row;
    }
    // A host that cannot tell a failing condition (a worker's) leaves it to the row.
    RunHost& host = calc.runHost();
    const auto tellBefore = host.scriptError;
    if (!tellBefore)
        host.scriptError = [&row, &calc](const script::ScriptError& e, const QString& verifyText) {
            row.scriptErrors << calc.conditionErrorText(e);
            row.scriptErrorCopies << verifyText;
        };
    calc.setSchemes(job.schemes);
    calc.clearError();
    calc.runBacktests();
    host.scriptError = tellBefore;
    if (calc.stopped()) return row;

    row.summary = calc.killDigits();
    row.summaryEntries = calc.summary();
    const QString group = GroupNumberOf(history.number(draw));
    if (!BaseIsUsable(history, base)) {
        row.computed = true;
        return row;
    }
    pool::NumberPool made;
    for (int k = 0; k < 4; ++k) {
        QString log;
        const QString code = ComputeKillDigits(history, base, job.settings.forScheme(k), row.summary, made, log);
        row.codes[size_t(k)] = code;
        row.hits[size_t(k)] = VerifyHit(code, made, group);
    }
    row.lastPool = std::move(made);
    row.computed = true;
    return row;
}

bool SchemesNeedTheWindowThread(const QStringList& schemes) {
    return std::any_of(schemes.begin(), schemes.end(), [](const QString& line) {
        SchemeRecord record;  // a record that does not parse is skipped: it runs nothing
        return ParseSchemeRecord(line, &record) && script::ReadConditionTraits(record.condition).mayTalk;
    });
}

VerificationRun::VerificationRun(VerificationJob job, int workers, SchemeCalculator* inlineCalc)
    : job_(std::move(job)) {
    nextTaken_ = job_.first;
    done_.resize(size_t(std::max(0, job_.last - job_.first + 1)));
    if (workers <= 0) {
        inlineCalc_ = inlineCalc;
        return;
    }
    const int count = int(done_.size());
    const int n = std::clamp(workers, 1, std::max(1, count));
    // Each worker takes a run of consecutive draws: their backtests rank nearly the same
    // periods, which the worker's calculator then ranks once. A worker done with its run takes
    // the next one nobody has taken, also that of a worker that could not be started (no
    // address space left for its stack), which would otherwise wait for the end of the run.
    workers_.emplace(n, [this, count, n](int) {
        for (int part = nextPart_++; part < n; part = nextPart_++) {
            const common::Block block = common::BlockOf(count, n, part);
            work(job_.first + int(block.first), job_.first + int(block.end) - 1);
        }
    }, common::kLongWorkerStack);
    if (workers_->started() > 0) return;
    // Not one thread: the draws are computed here, one after another, or the run says why not.
    nextPart_ = n;
    inlineCalc_ = inlineCalc;
    if (!inlineCalc_ && !done_.empty()) {
        VerifiedDraw& row = done_.front().emplace();
        row.draw = job_.first;
        row.failure = MemoryShortMessage();
    }
}

QString VerificationRun::MemoryShortMessage() {
    return QStringLiteral("内存不足，历史成绩验证无法继续。请关闭其他程序或减少验证期数后再试。");
}

VerificationRun::~VerificationRun() {
    stop();
    workers_.reset();
}

void VerificationRun::stop() {
    stop_.store(true);
    if (inlineCalc_) inlineCalc_->stop();
}

void VerificationRun::work(int from, int to) {
    int draw = from;
    // Memory short for a calculator or a draw's computation: the run stops at that draw with
    // the reason, and the window says it (the rows before it stand).
    try {
        SchemeCalculator calc;
        calc.setOutsideStop(&stop_);
        for (; draw <= to && !stop_.load(); ++draw) {
            VerifiedDraw row = VerifyDraw(calc, job_, draw);
            if (stop_.load()) return;
            put(std::move(row));
        }
    } catch (const std::bad_alloc&) {
        VerifiedDraw row;
        row.draw = draw;
        row.failure = MemoryShortMessage();
        put(std::move(row));
    }
}

void VerificationRun::put(VerifiedDraw row) {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        done_[size_t(row.draw - job_.first)] = std::move(row);
    }
    ready_.notify_all();
}

std::optional<VerifiedDraw> VerificationRun::next(int waitMs) {
    if (allTaken() || stop_.load()) return std::nullopt;
    if (inlineCalc_) return VerifyDraw(*inlineCalc_, job_, nextTaken_++);
    std::unique_lock<std::mutex> lock(mutex_);
    auto& slot = done_[size_t(nextTaken_ - job_.first)];
    if (!slot) ready_.wait_for(lock, std::chrono::milliseconds(waitMs), [&] { return slot.has_value(); });
    if (!slot) return std::nullopt;
    std::optional<VerifiedDraw> row = std::move(slot);
    slot.reset();
    ++nextTaken_;
    return row;
}

}  // namespace smart
