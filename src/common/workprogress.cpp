#include "common/workprogress.h"

#include <QThread>

#include <algorithm>
#include <cstdio>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <malloc.h>
#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace common {

int WorkProgress::perMille() const {
    const long long t = total();
    return t > 0 ? int(std::min<long long>(1000, done() * 1000 / t)) : 0;
}

int WorkerCount(int asked) {
    if (asked > 0) return asked;
    const int processors = std::max(1, QThread::idealThreadCount());
    const long long left = AddressSpaceLeft();
    if (left < 0) return processors;
    return int(std::clamp<long long>((left - kAddressReserve) / kWorkerAddressCost, 1, processors));
}

namespace {

// The address-space limit, 0 without one.
unsigned long long AddressSpaceLimit() {
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return 0;
    return limit.rlim_cur;
}

}  // namespace

long long AddressSpaceLeft() {
    const unsigned long long limit = AddressSpaceLimit();
    if (limit == 0) return -1;
    // The first figure of statm is the mapped size in pages.
    unsigned long long pages = 0;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%llu", &pages) != 1) pages = 0;
        std::fclose(statm);
    }
    const unsigned long long mapped = pages * static_cast<unsigned long long>(sysconf(_SC_PAGESIZE));
    return mapped >= limit ? 0 : static_cast<long long>(limit - mapped);
}

void FitThreadsToAddressSpace() {
    const unsigned long long limit = AddressSpaceLimit();
    if (limit == 0) return;
    constexpr unsigned long long kArenaBytes = 64ull << 20;  // what the C library reserves for one
    // The main heap counts as one of them: at least one more, so that threads do not all queue.
    mallopt(M_ARENA_MAX, int(std::clamp<unsigned long long>(limit / 8 / kArenaBytes, 2, 64)));
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0) return;
    if (pthread_attr_setstacksize(&attributes, kWorkerStack) == 0) pthread_setattr_default_np(&attributes);
    pthread_attr_destroy(&attributes);
}

Block BlockOf(long long size, int parts, int part) {
    parts = std::max(1, parts);
    return {size * part / parts, size * (part + 1) / parts};
}

// Plain threads that allocate nothing themselves: a thread that allocates or frees is given a
// heap arena of its own, 64 MB of address space that stays after it (a std::thread frees its
// start state in the new thread). Each worker's start state is its slot here.
struct Workers::State {
    struct Slot {
        State* state = nullptr;
        int index = 0;
        pthread_t id{};
        bool started = false;
    };
    std::function<void(int)> body;
    std::vector<Slot> threads;
    std::mutex lock;
    std::condition_variable finishedChanged;
    int running = 0;
    std::exception_ptr failure;
    bool joined = false;

    void run(int index) {
        try {
            body(index);
        } catch (...) {
            const std::lock_guard<std::mutex> guard(lock);
            if (!failure) failure = std::current_exception();
        }
    }
    static void* start(void* slot) {
        Slot& s = *static_cast<Slot*>(slot);
        s.state->run(s.index);
        const std::lock_guard<std::mutex> guard(s.state->lock);
        --s.state->running;
        s.state->finishedChanged.notify_all();
        return nullptr;
    }
    bool finished() {
        const std::lock_guard<std::mutex> guard(lock);
        return running == 0;
    }
};

Workers::Workers(int count, std::function<void(int worker)> body, std::size_t stackBytes)
    : state_(std::make_unique<State>()) {
    State& s = *state_;
    s.body = std::move(body);
    s.threads.resize(size_t(std::max(0, count)));
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, stackBytes);
    for (int t = 0; t < int(s.threads.size()); ++t) {
        State::Slot& slot = s.threads[size_t(t)];
        slot.state = &s;
        slot.index = t;
        {
            const std::lock_guard<std::mutex> guard(s.lock);
            ++s.running;
        }
        slot.started = pthread_create(&slot.id, &attributes, &State::start, &slot) == 0;
        if (!slot.started) {
            const std::lock_guard<std::mutex> guard(s.lock);
            --s.running;
        }
    }
    pthread_attr_destroy(&attributes);
}

Workers::~Workers() {
    try {
        join();
    } catch (...) {
        // Ended without a join of its own: the failure has nobody left to tell.
    }
}

void Workers::join(const std::function<void()>& idle, int idleMs) {
    State& s = *state_;
    if (s.joined) return;
    s.joined = true;
    for (State::Slot& slot : s.threads)
        if (!slot.started) s.run(slot.index);
    if (idle) {
        for (;;) {
            {
                std::unique_lock<std::mutex> guard(s.lock);
                if (s.finishedChanged.wait_for(guard, std::chrono::milliseconds(idleMs), [&] { return s.running == 0; }))
                    break;
            }
            idle();
        }
    }
    for (State::Slot& slot : s.threads)
        if (slot.started) pthread_join(slot.id, nullptr);
    if (s.failure) std::rethrow_exception(std::exchange(s.failure, nullptr));
}

int Workers::started() const {
    return int(std::count_if(state_->threads.begin(), state_->threads.end(),
                             [](const State::Slot& slot) { return slot.started; }));
}

bool ParallelFor(long long count, WorkProgress* progress, const std::function<void(long long)>& body, int threads) {
    threads = int(std::min<long long>(WorkerCount(threads), std::max<long long>(count, 1)));
    std::atomic<long long> next{0};
    auto run = [&] {
        for (long long i = next++; i < count; i = next++) {
            if (progress && progress->cancelled()) return;
            try {
                body(i);
            } catch (...) {
                next = count;  // the other workers stop at their next index
                throw;
            }
            if (progress) progress->advance();
        }
    };
    // The calling thread works too: the others are threads - 1 workers.
    Workers others(threads - 1, [&run](int) { run(); });
    std::exception_ptr failure;
    try {
        run();
    } catch (...) {
        failure = std::current_exception();
    }
    try {
        others.join();
    } catch (...) {
        if (!failure) failure = std::current_exception();
    }
    if (failure) std::rethrow_exception(failure);
    return !(progress && progress->cancelled());
}

void RunAway(const std::function<void()>& job, const std::function<void()>& idle, int idleMs) {
    Workers worker(1, [&job](int) { job(); }, kLongWorkerStack);
    worker.join(idle, idleMs);
}

}  // namespace common
