// The fixed random sequence: its first numbers, and a restart replays it.
#include <gtest/gtest.h>

#include <vector>

#include "core/random.h"

namespace {

TEST(Random, FirstDrawsAfterRestart) {
    rand_restart();
    const int expected[] = {16838, 5758, 10113, 17515, 31051};
    for (int value : expected) EXPECT_EQ(rand_next(), value);
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
