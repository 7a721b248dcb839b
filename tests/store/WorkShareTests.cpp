// Pieces shared between two threads: each piece once, pieces handed over
// in order whatever order they are made in, and the first failure ends
// the work where it says.
#include "store/WorkShare.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

// Odd pieces take longer, so that the two threads finish out of order.
void Work(size_t i) {
    if (i % 2)
        std::this_thread::sleep_for(std::chrono::microseconds(200));
}

}  // namespace

TEST(WorkShare, EachPieceOnceAndTakenInOrder) {
    constexpr size_t kCount = 64;
    std::vector<std::atomic<int>> calls(kCount);
    WorkShare::ForEach(kCount, [&](size_t i) {
        Work(i);
        ++calls[i];
    });
    for (const auto& c : calls)
        EXPECT_EQ(c, 1);

    std::vector<size_t> taken;
    const size_t end = WorkShare::ForEachInOrder(
        kCount,
        [](size_t i, std::string& bytes) {
            Work(i);
            bytes = std::to_string(i);
            return true;
        },
        [&](size_t i, const std::string& bytes) {
            EXPECT_EQ(bytes, std::to_string(i));
            taken.push_back(i);
            return true;
        });
    EXPECT_EQ(end, kCount);
    ASSERT_EQ(taken.size(), kCount);
    for (size_t i = 0; i < kCount; ++i)
        EXPECT_EQ(taken[i], i);
}

TEST(WorkShare, TheFirstFailureEndsTheWorkThere) {
    for (bool bShare : {false, true}) {
        std::vector<size_t> taken;
        auto take = [&](size_t i, const std::string&) {
            taken.push_back(i);
            return true;
        };
        // Pieces 9 and 5 fail to be made: 5 is the first, 0 to 4 are taken.
        auto make = [](size_t i, std::string&) {
            Work(i);
            return i != 5 && i != 9;
        };
        EXPECT_EQ(WorkShare::ForEachInOrder(20, make, take, bShare), 5u);
        EXPECT_EQ(taken, (std::vector<size_t>{0, 1, 2, 3, 4}));

        taken.clear();
        auto refuse = [&](size_t i, const std::string&) {
            taken.push_back(i);
            return i != 3;
        };
        EXPECT_EQ(WorkShare::ForEachInOrder(20, [](size_t, std::string&) { return true; }, refuse, bShare), 3u);
        EXPECT_EQ(taken, (std::vector<size_t>{0, 1, 2, 3}));

        EXPECT_THROW(WorkShare::ForEach(
                         20,
                         [](size_t i) {
                             if (i == 7)
                                 throw std::runtime_error("piece 7");
                         },
                         bShare),
                     std::runtime_error);
    }
}
