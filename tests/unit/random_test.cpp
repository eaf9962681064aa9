// The fixed random sequence: its first numbers after a restart, whatever was drawn before.
#include <gtest/gtest.h>

#include "core/random.h"

namespace {

TEST(Random, FirstDrawsAfterRestart) {
    rand_next();
    rand_restart();
    const int expected[] = {16838, 5758, 10113, 17515, 31051};
    for (int value : expected) EXPECT_EQ(rand_next(), value);
}

}  // namespace
