#include "common/workprogress.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
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
    std::vector<std::thread> workers;
    workers.reserve(size_t(threads - 1));
    for (int t = 1; t < threads; ++t)
        workers.emplace_back(run);
    run();
    for (std::thread& w : workers)
        w.join();
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
