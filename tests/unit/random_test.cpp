// Unit tests of the fixed random sequence: its first numbers, its range and
// that a restart replays it.
#include <gtest/gtest.h>

#include <vector>

#include "core/random.h"

namespace {

TEST(Random, FirstDrawsAfterRestart) {
    rand_restart();
    const int expected[] = {16838, 5758, 10113, 17515, 31051};
    for (int value : expected) EXPECT_EQ(rand_next(), value);
}

TEST(Random, DrawsStayInRangeAndSpreadOverIt) {
    rand_restart();
    int low = RAND_LIMIT, high = 0;
    std::vector<int> buckets(8, 0);
    const int draws = 80000;
    for (int i = 0; i < draws; ++i) {
        int value = rand_next();
        ASSERT_GE(value, 0);
        ASSERT_LE(value, RAND_LIMIT);
        if (value < low) low = value;
        if (value > high) high = value;
        buckets[value * 8 / (RAND_LIMIT + 1)] += 1;
    }
    EXPECT_EQ(RAND_LIMIT, 32767);
    EXPECT_LT(low, 16);
    EXPECT_GT(high, RAND_LIMIT - 16);
    for (int count : buckets) {
        EXPECT_GT(count, draws / 8 * 9 / 10);
        EXPECT_LT(count, draws / 8 * 11 / 10);
    }
}

TEST(Random, RestartReplaysTheSequence) {
    rand_restart();
    std::vector<int> first;
    for (int i = 0; i < 1000; ++i) first.push_back(rand_next());
    rand_next();
    rand_restart();
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(rand_next(), first[i]) << "draw " << i;
}

}  // namespace
