#pragma once
// Progress of a long computation, shared by its worker threads and the window that waits for
// it: how much is done, and whether the user asked it to stop.
#include <atomic>
#include <cstddef>
#include <functional>

namespace common {

class WorkProgress {
public:
    void setTotal(long long total) { total_.store(total, std::memory_order_relaxed); }
    void advance(long long steps = 1) { done_.fetch_add(steps, std::memory_order_relaxed); }
    long long done() const { return done_.load(std::memory_order_relaxed); }
    long long total() const { return total_.load(std::memory_order_relaxed); }
    // Done per thousand, 0 while the total is unknown.
    int perMille() const;

    void cancel() { cancelled_.store(true, std::memory_order_relaxed); }
    bool cancelled() const { return cancelled_.load(std::memory_order_relaxed); }
    // The cancel request itself, for work that polls it deep inside (the script engine's stop hook).
    const std::atomic<bool>* cancelFlag() const { return &cancelled_; }

private:
    std::atomic<long long> done_{0};
    std::atomic<long long> total_{0};
    std::atomic<bool> cancelled_{false};
};

// Calls body(i) for every i in [0, count) on up to threads threads (0: one per processor),
// handing the indexes out in ascending order; each finished call advances progress (which may be
// null) by one. No further index is handed out once progress is cancelled. Results stay those of
// a single-threaded run as long as body(i) writes only what belongs to i. Returns false when
// cancelled.
// The workers other than the calling thread have stacks of kWorkerStack bytes.
constexpr std::size_t kWorkerStack = std::size_t(2) << 20;
bool ParallelFor(long long count, WorkProgress* progress, const std::function<void(long long)>& body,
                 int threads = 0);

// Runs job on a thread of its own and returns once it is done, calling idle() on the calling
// thread about every idleMs milliseconds meanwhile (a window's thread lets its events through
// there). An exception of the job is thrown again here.
void RunAway(const std::function<void()>& job, const std::function<void()>& idle, int idleMs);

}  // namespace common
