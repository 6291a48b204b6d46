#pragma once
// The history verification's computation without a window: each verified draw is the smart
// computation for the draw after the one before it, from the draws up to that one, so the
// draws are independent. A run spreads them over a pool of worker threads, each with a
// calculator (and script engine) of its own, and hands them back in their order as they
// complete; the rows are those of one calculator doing them one after another.
#include "common/drawhistory.h"
#include "common/workprogress.h"
#include "pool/numberpool.h"
#include "smart/calculator.h"
#include "smart/smartmodel.h"

#include <QString>
#include <QStringList>

#include <array>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace smart {

// What a run verifies: the draws first..last of the history (1-based), each from the draws
// before it, with the scheme records and the model's settings.
struct VerificationJob {
    common::DrawHistory history;
    bool p3 = false;
    QStringList schemes;
    SmartSettings settings;
    int first = 0, last = 0;
};

// One verified draw: the four schemes' kill digits and whether the draw survived each.
struct VerifiedDraw {
    int draw = 0;
    std::array<QString, 4> codes;
    std::array<bool, 4> hits{};
    // The calculator could not compute it (its reason): the run cannot go on.
    bool computed = false;
    QString failure;
    // Failing conditions as the messages show them, and the text put on the clipboard with each.
    QStringList scriptErrors, scriptErrorCopies;
    QList<int> summary;        // the computation's kill digits
    std::vector<SummaryEntry> summaryEntries;  // and the calculator's summary they come from
    pool::NumberPool lastPool;  // the set of 方案4, as the last computation leaves the pool
};

// Computes one draw with calc over the job's history (never the draw file), leaving out the
// draws after the base. calc's run host and stop stay the caller's.
VerifiedDraw VerifyDraw(SchemeCalculator& calc, const VerificationJob& job, int draw);

// A condition that may show boxes or run code of its own making must run on the window's
// thread, one draw after another.
bool SchemesNeedTheWindowThread(const QStringList& schemes);

class VerificationRun {
public:
    // workers > 0: that many threads compute the draws (common::WorkerCount() for the machine's); workers 0: next() computes each draw on
    // the caller's thread with inlineCalc (not owned), letting its host pump events. When not
    // one thread can be started, inlineCalc computes them as with workers 0, or, without one,
    // the first draw comes back with MemoryShortMessage() as its failure.
    VerificationRun(VerificationJob job, int workers, SchemeCalculator* inlineCalc = nullptr);
    ~VerificationRun();  // stops the work and waits for the threads
    VerificationRun(const VerificationRun&) = delete;
    VerificationRun& operator=(const VerificationRun&) = delete;

    // The next draw in order once it is computed, waiting up to waitMs for it; nothing when it
    // is not done yet or every draw was taken.
    std::optional<VerifiedDraw> next(int waitMs);
    bool allTaken() const { return nextTaken_ > job_.last; }
    // Ends the work: running computations end at their next check, no new one starts.
    void stop();

    // What a run says when memory ran short for a draw (its failure).
    static QString MemoryShortMessage();

private:
    void work(int from, int to);  // the draws from..to, in order
    void put(VerifiedDraw row);   // a computed draw, for next()
    VerificationJob job_;
    SchemeCalculator* inlineCalc_ = nullptr;
    std::atomic<bool> stop_{false};
    int nextTaken_ = 0;
    std::mutex mutex_;
    std::condition_variable ready_;
    std::vector<std::optional<VerifiedDraw>> done_;  // by draw - first
    std::atomic<int> nextPart_{0};                   // the next run of draws no worker has taken
    std::optional<common::Workers> workers_;  // last: joined before the rest goes
};

}  // namespace smart
