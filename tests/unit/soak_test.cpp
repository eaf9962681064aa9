// Unit tests of the soak run's pure parts: the growth rule, reading the
// memory figures out of a status text, and the --passes option.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/cmdline.h"
#include "tests/test_support.h"
#include "app/soak.h"

namespace {

TEST(Soak, GrowthRule) {
    struct row {
        const char* what;
        std::vector<long> peaks;
        int growing;
    };
    const row rows[] = {
        {"no pass", {}, 0},
        {"one pass", {100000}, 0},
        {"flat", {100000, 100000, 100000, 100000, 100000}, 0},
        {"noise within the tolerance", {100000, 101500, 99000, 102048, 100700}, 0},
        {"first pass highest (loading freed)", {150000, 120000, 120000}, 0},
        {"one step just over", {100000, 100000, 102049}, 3},
        {"second pass already over", {100000, 103000, 103000}, 2},
        // 600 kB a pass: no single step is over, the sum is.
        {"slow leak", {100000, 100600, 101200, 101800, 102400}, 5},
        {"no figures in pass 1", {-1, 500000, 900000}, 0},
    };
    for (const row& r : rows) {
        std::vector<soak_pass> passes;
        for (long peak : r.peaks) passes.push_back({peak, peak});
        EXPECT_EQ(soak_growing_pass(passes, SOAK_TOLERANCE_KB), r.growing) << r.what;
    }
    // The end figures do not count: only the peaks.
    EXPECT_EQ(soak_growing_pass({{1000, 1000}, {1000, 9000}}, 10), 0);
}


}  // namespace
