// Work spread over threads: every index once, results as a single thread gives them, and a
// cancel or a failure stops the handing out of indexes; workers joined before their owner ends.
#include "common/workprogress.h"

#include "addresslimit.h"
#include "sanitized.h"

#include <QThread>
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

using common::ParallelFor;
using common::WorkProgress;

TEST(ParallelForTest, EveryIndexOnceWithItsOwnResult) {
    struct Case {
        long long count;
        int threads;
    };
    for (const Case& k : {Case{0, 4}, Case{1, 8}, Case{7, 3}, Case{1000, 1}, Case{1000, 8}, Case{5, 0}}) {
        std::vector<long long> out(size_t(k.count), -1);
        std::vector<std::atomic<int>> calls(size_t(k.count));
        WorkProgress progress;
        progress.setTotal(k.count);
        EXPECT_TRUE(ParallelFor(k.count, &progress, [&](long long i) {
            ++calls[size_t(i)];
            out[size_t(i)] = i * i;
        }, k.threads));
        for (long long i = 0; i < k.count; ++i) {
            EXPECT_EQ(calls[size_t(i)].load(), 1) << i;
            EXPECT_EQ(out[size_t(i)], i * i);
        }
        EXPECT_EQ(progress.done(), k.count);
        EXPECT_EQ(progress.perMille(), k.count > 0 ? 1000 : 0);
    }
}

TEST(ParallelForTest, CancelAndFailureStopTheWork) {
    WorkProgress progress;
    int ran = 0;
    EXPECT_FALSE(ParallelFor(100, &progress, [&](long long i) {
        ++ran;
        if (i == 10)
            progress.cancel();
    }, 1));
    EXPECT_EQ(ran, 11);

    for (int threads : {1, 4}) {
        std::atomic<int> after{0};
        EXPECT_THROW(ParallelFor(1000, nullptr, [&](long long i) {
            if (i == 5)
                throw std::runtime_error("x");
            if (i > 5)
                ++after;
        }, threads), std::runtime_error);
        if (threads == 1) {
            EXPECT_EQ(after.load(), 0);
        }
    }
}

// A worker still busy when its owner ends is waited for: no work outlives the object that
// started it (a calculator's helpers made in the background write into the calculator).
TEST(WorkersTest, TheEndJoinsWorkStillUnderWay) {
    std::vector<std::atomic<int>> done(4);
    {
        common::Workers workers(4, [&done](int t) {
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
            ++done[size_t(t)];
        });
    }
    for (const std::atomic<int>& d : done) EXPECT_EQ(d.load(), 1);
}

TEST(WorkersTest, JoinLetsTheCallerIdleAndPassesTheFailureOn) {
    std::atomic<bool> release{false};
    int idles = 0;
    common::Workers workers(2, [&release](int t) {
        while (!release.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (t == 1) throw std::runtime_error("x");
    });
    EXPECT_THROW(workers.join([&] {
        if (++idles == 3) release.store(true);
    }, 1), std::runtime_error);
    EXPECT_GE(idles, 3);
}

TEST(WorkersTest, BlocksAreConsecutiveAndTheCountIsAskedOrTheMachines) {
    for (int parts : {1, 3, 8}) {
        long long next = 0;
        for (int t = 0; t < parts; ++t) {
            const common::Block b = common::BlockOf(20, parts, t);
            EXPECT_EQ(b.first, next);
            EXPECT_GE(b.end - b.first, 20 / parts);
            next = b.end;
        }
        EXPECT_EQ(next, 20);
    }
    EXPECT_EQ(common::WorkerCount(3), 3);
    EXPECT_GE(common::WorkerCount(), 1);
}

// A thread that cannot be had (here: a stack larger than any address space) loses no work: its
// worker runs on the joining thread.
TEST(WorkersTest, AWorkerWithoutAThreadRunsAtTheJoin) {
    std::vector<std::atomic<int>> ran(3);
    std::vector<std::thread::id> where(3);
    common::Workers workers(3, [&](int t) {
        ++ran[size_t(t)];
        where[size_t(t)] = std::this_thread::get_id();
    }, std::size_t(1) << 46);
    EXPECT_EQ(workers.started(), 0);
    workers.join();
    for (int t = 0; t < 3; ++t) {
        EXPECT_EQ(ran[size_t(t)], 1);
        EXPECT_EQ(where[size_t(t)], std::this_thread::get_id());
    }
}

// Under an address-space limit the machine's worker count is what the space left holds (each
// worker counted kWorkerAddressCost, kAddressReserve kept), at least one; asked counts stay.
// Checked in a child process, which reports through its exit code.
int WorkerCountUnderALimit(long long leftBytes) {
    if (!testsupport::LimitAddressSpace(size_t(leftBytes))) return 20;
    const long long left = common::AddressSpaceLeft();
    if (left <= 0 || left > leftBytes) return 22;
    const long long fit = (left - common::kAddressReserve) / common::kWorkerAddressCost;
    const int expected = int(std::clamp<long long>(fit, 1, std::max(1, QThread::idealThreadCount())));
    if (common::WorkerCount() != expected || common::WorkerCount(5) != 5) return 23;
    return 10;
}

TEST(WorkersTest, TheMachinesCountFitsALimitedAddressSpace) {
#ifdef SIFMORA_SANITIZED
    GTEST_SKIP() << "a sanitizer's shadow memory does not fit an address space limit";
#endif
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EQ(common::AddressSpaceLeft(), -1);  // the tests run without a limit
    for (long long leftMiB : {100, 300, 4000}) {
        EXPECT_EXIT(std::_Exit(WorkerCountUnderALimit(leftMiB << 20)), ::testing::ExitedWithCode(10), "")
            << leftMiB;
    }
}

}  // namespace
