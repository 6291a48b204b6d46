// Work spread over threads: every index once, results as a single thread gives them, and a
// cancel or a failure stops the handing out of indexes.
#include "common/workprogress.h"

#include <gtest/gtest.h>

#include <stdexcept>
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
        if (threads == 1)
            EXPECT_EQ(after.load(), 0);
    }
}

}  // namespace
