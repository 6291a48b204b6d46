#include "common/workprogress.h"

#include <algorithm>
#include <exception>
#include <mutex>
#include <system_error>
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
    for (int t = 1; t < threads; ++t) {
        // A thread that cannot be started (no memory for its stack) leaves the work to fewer.
        try {
            workers.emplace_back(run);
        } catch (const std::system_error&) {
            break;
        }
    }
    run();
    for (std::thread& w : workers)
        w.join();
    if (failure)
        std::rethrow_exception(failure);
    return !(progress && progress->cancelled());
}

}  // namespace common
