#pragma once
// Progress of a long computation, shared by its worker threads and the window that waits for
// it: how much is done, and whether the user asked it to stop; and the one way the program
// starts worker threads (Workers) with the one rule for how many (WorkerCount).
#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>

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

// The worker threads of a computation: asked when above 0 (tests and benchmarks ask for a
// count), else one per processor this program may run on, at least one; under an address-space
// limit no more than the space left holds (kWorkerAddressCost each, kAddressReserve kept for
// the window and the toolkit's own threads).
int WorkerCount(int asked = 0);

// What the process may still map: its address-space limit (RLIMIT_AS, `prlimit --as`) less
// what it maps now; -1 without a limit.
long long AddressSpaceLeft();

// Under an address-space limit threads must cost little of it: the C library reserves 64 MB of
// address space for the heap arena of each thread that allocates, up to eight per processor,
// and a thread started without a stack size takes the main thread's (8 MB); the toolkit's
// pooled threads (name lookups, painting) and the workers together filled 1 GB before the
// first window. This caps the arenas to an eighth of the limit and gives threads that name no
// stack size kWorkerStack. It changes nothing without a limit. Called first in a program's
// main, before any thread starts.
void FitThreadsToAddressSpace();

// Stacks of worker threads: kWorkerStack by default, small enough that the C library keeps a
// run's stacks for the next run instead of mapping fresh ones; kLongWorkerStack, a main
// thread's, for the work that always had one (a condition run away from the window's thread,
// the history verification's workers): the script engine stops recursion by the stack it finds.
constexpr std::size_t kWorkerStack = std::size_t(2) << 20;
constexpr std::size_t kLongWorkerStack = std::size_t(8) << 20;
// What a worker is counted to take of a limited address space (its stack and what its
// calculator allocates), and what stays for the rest of the program.
constexpr long long kWorkerAddressCost = 64ll << 20;
constexpr long long kAddressReserve = 128ll << 20;

// The part-th of parts consecutive blocks of [0, size): [first, end), the blocks in order, as
// even as they can be.
struct Block {
    long long first = 0, end = 0;
};
Block BlockOf(long long size, int parts, int part);

// Worker threads started together: worker t of count runs body(t) on a thread of its own.
// join() waits for them all (a worker that could not be started, for want of memory for its
// stack, runs there on the joining thread) and throws the first exception of a body again;
// the end of the object joins them too, so that no work outlives its owner.
class Workers {
public:
    Workers(int count, std::function<void(int worker)> body, std::size_t stackBytes = kWorkerStack);
    ~Workers();
    Workers(const Workers&) = delete;
    Workers& operator=(const Workers&) = delete;
    // Waits for every worker; with idle, calls it on the joining thread about every idleMs
    // milliseconds meanwhile (a window's thread lets its events through there).
    void join(const std::function<void()>& idle = {}, int idleMs = 0);
    // How many of the workers run on threads of their own (the rest wait for join()).
    int started() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

// Calls body(i) for every i in [0, count) on up to threads threads (WorkerCount(threads)),
// handing the indexes out in ascending order; each finished call advances progress (which may be
// null) by one. No further index is handed out once progress is cancelled. Results stay those of
// a single-threaded run as long as body(i) writes only what belongs to i. Returns false when
// cancelled.
// The calling thread is one of them; the others have stacks of kWorkerStack bytes.
bool ParallelFor(long long count, WorkProgress* progress, const std::function<void(long long)>& body,
                 int threads = 0);

// Runs job on a worker of its own (kLongWorkerStack) and returns once it is done, calling
// idle() on the calling thread about every idleMs milliseconds meanwhile (a window's thread lets
// its events through there). An exception of the job is thrown again here.
void RunAway(const std::function<void()>& job, const std::function<void()>& idle, int idleMs);

}  // namespace common
