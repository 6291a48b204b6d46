#include "common/workprogress.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <pthread.h>
#include <thread>
#include <vector>

namespace common {

int WorkProgress::perMille() const {
    const long long t = total();
    return t > 0 ? int(std::min<long long>(1000, done() * 1000 / t)) : 0;
}

bool ParallelFor(long long count, WorkProgress* progress, const std::function<void(long long)>& body, int threads) {
    if (threads <= 0)
        threads = int(std::max(1u, std::thread::hardware_concurrency()));
    threads = int(std::min<long long>(threads, std::max<long long>(count, 1)));
    std::atomic<long long> next{0};
    std::exception_ptr failure;
    std::mutex failureLock;
    auto run = [&] {
        try {
            for (long long i = next++; i < count; i = next++) {
                if (progress && progress->cancelled())
                    return;
                body(i);
                if (progress)
                    progress->advance();
            }
        } catch (...) {
            // The first failure is passed on; the other workers stop at their next index.
            std::lock_guard<std::mutex> lock(failureLock);
            if (!failure)
                failure = std::current_exception();
            next = count;
        }
    };
    // Plain threads that allocate nothing themselves: a thread that allocates or frees is given a
    // heap arena of its own, 64 MB of address space that stays after it (a std::thread frees its
    // start state in the new thread). A thread that cannot be started (no memory for its stack)
    // leaves the work to fewer.
    // Their stacks are kWorkerStack, not the default 8 MB, for the same reason.
    using Run = decltype(run);
    std::vector<pthread_t> workers;
    workers.reserve(size_t(threads - 1));
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, kWorkerStack);
    for (int t = 1; t < threads; ++t) {
        pthread_t id;
        const auto start = [](void* r) -> void* {
            (*static_cast<Run*>(r))();
            return nullptr;
        };
        if (pthread_create(&id, &attributes, start, &run) != 0)
            break;
        workers.push_back(id);
    }
    pthread_attr_destroy(&attributes);
    run();
    for (pthread_t id : workers)
        pthread_join(id, nullptr);
    if (failure)
        std::rethrow_exception(failure);
    return !(progress && progress->cancelled());
}

void RunAway(const std::function<void()>& job, const std::function<void()>& idle, int idleMs) {
    std::mutex lock;
    std::condition_variable finishedChanged;
    bool finished = false;
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            job();
        } catch (...) {
            failure = std::current_exception();
        }
        std::lock_guard<std::mutex> guard(lock);
        finished = true;
        finishedChanged.notify_all();
    });
    for (;;) {
        {
            std::unique_lock<std::mutex> guard(lock);
            if (finishedChanged.wait_for(guard, std::chrono::milliseconds(idleMs), [&] { return finished; }))
                break;
        }
        if (idle)
            idle();
    }
    worker.join();
    if (failure)
        std::rethrow_exception(failure);
}

}  // namespace common
