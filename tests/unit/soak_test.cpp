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

TEST(Soak, StatusFigures) {
    const std::string status =
        "Name:\tquillon\nVmPeak:\t  300000 kB\nVmHWM:\t  158212 kB\nVmRSS:\t  150001 kB\n"
        "VmRSSX:\t 1 kB\nThreads:\t3\n";
    EXPECT_EQ(soak_status_kb(status, "VmHWM"), 158212);
    EXPECT_EQ(soak_status_kb(status, "VmRSS"), 150001);  // not the VmRSSX line
    EXPECT_EQ(soak_status_kb(status, "VmSwap"), -1);
    EXPECT_EQ(soak_status_kb("VmHWM:\tlots\n", "VmHWM"), -1);
    EXPECT_EQ(soak_status_kb("VmHWM: 12 kB", "VmHWM"), 12);  // no line end
    EXPECT_EQ(soak_status_kb("", "VmHWM"), -1);

    // This process's own figures are readable and consistent.
    soak_pass now = soak_measure();
    EXPECT_GT(now.end_kb, 0);
    EXPECT_GE(now.peak_kb, now.end_kb);
    EXPECT_EQ(soak_pass_text(2, 5, {123, 45}), "Soak pass 2/5: peak RSS 123 kB, 45 kB at its end");
}


TEST(Soak, PassesOption) {
    EXPECT_EQ(parse_command_line({"--bench"}).passes, 0);
    cmdline c = parse_command_line({"--bench", "--passes", "5"});
    EXPECT_EQ(c.passes, 5);
    EXPECT_EQ(std::string(c.value_error), "");
    EXPECT_EQ(parse_command_line({"--passes", "1000", "--bench"}).passes, 1000);
    struct row {
        std::vector<std::string> args;
        const char* message;
    } rows[] = {
        {{"--bench", "--passes", "0"}, "--passes must be a whole number of passes from 1 to 1000, not '0'"},
        {{"--bench", "--passes", "1001"}, "--passes must be"},
        {{"--bench", "--passes", "2x"}, "--passes must be"},
        {{"--passes", "3"}, "--passes is only used with --bench"},
        {{"--capture", "out", "--passes", "3"}, "--passes is only used with --bench"},
    };
    for (const row& r : rows) {
        std::string message = parse_command_line(r.args).value_error;
        EXPECT_EQ(message.compare(0, strlen(r.message), r.message), 0) << message;
    }
    EXPECT_EQ(parse_command_line({"--bench", "--passes"}).error, std::string("missing value for"));
    EXPECT_NE(std::string(cmdline_usage()).find("--passes N"), std::string::npos);
}

}  // namespace
