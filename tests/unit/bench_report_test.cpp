// The bench report's floor: every time is shown as a ratio to the median
// frame of the bare present path, which one slow frame does not move.
#include <gtest/gtest.h>

#include <string>

#include "app/bench_report.h"
#include "tests/test_support.h"

namespace {

TEST(BenchReport, TimesAreShownAsRatiosToTheMedianFloorFrame) {
    bench_report r;
    r.fps = 20;
    r.first_time = 0;
    r.last_time = 0.25f;
    r.frame_ms = {2, 4, 6};
    r.sections = {{"genCamera", 12, {1, 3}}, {"efxFader", 30, {}}};
    r.width = 800;
    r.height = 600;
    EXPECT_EQ(bench_table(r).find("Floor"), std::string::npos) << "no floor, no ratios";
    r.floor_ms = {2, 1, 9};
    std::string table = bench_table(r);
    for (const char* part : {"Floor: the bare present path at 800x600, 3 frames: median 2.000 ms, mean 4.000 ms, p95 9.000 ms",
                             "genCamera                   12        2     2.000     3.000       1.00       1.50\n",
                             "efxFader                    30        0         -         -\n",
                             "whole frame                           3     4.000     6.000       2.00       3.00\n",
                             "floor                                 3     4.000     9.000       2.00       4.50\n"})
        EXPECT_HAS(table, part) << part;
    std::string json = bench_json(r);
    for (const char* part : {"\"floor\": {\"width\": 800, \"height\": 600, \"median_ms\": 2.0000, \"frames\": 3,",
                             "\"p95_ms\": 6.0000, \"mean_floors\": 2.0000, \"p95_floors\": 3.0000}"})
        EXPECT_HAS(json, part) << part;
}

}  // namespace
