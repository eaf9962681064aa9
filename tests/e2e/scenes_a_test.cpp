// The knots, flash, particle title and lake scenes through the built
// player: a section lacking what its scene reads stops the run at loading
// with its type, script line and what is missing. (The example scripts are
// played by the shipped-show test.) The scripts are written by the tests and played
// in the repository's folder, where the scenes' fixed pictures are.
#include <gtest/gtest.h>

#include <string>

#include "tests/test_support.h"

namespace {
const std::string TITLE = "string data/particletitle/titles/quillon.jpg\n";
const std::string GATHER = "spline data/splines/title_gather.txt 1\n";
const std::string HOLD = "spline data/splines/title_hold.txt 1\n";
const std::string RAIN = "spline data/splines/lake_rain.txt 2\n";
const std::string DROP = "string data/thelake/drop.jpg\n";
const std::string LAKE_PARAMS = "param 0.5\nparam 0.5\nparam 0.5\nparam 0.5\n";

TEST(scenes_a, sections_lacking_what_their_scene_reads_stop_the_run) {
    const std::string knots = "[knots]\nstart 0\nend 2\n";
    const std::string flash = "[flash]\nstart 0\nend 2\n";
    const std::string title = "[particletitle]\nstart 0\nend 2\n";
    const std::string lake = "[thelake]\nstart 0\nend 2\n";
    e2e_expect_errors({
        {"knots without syncs", knots, "Error: knots: section at line 17 needs 3 syncs, has 0\n"},
        {"knots with two syncs", knots + e2e_syncs({"0.5", "1"}),
         "Error: knots: section at line 17 needs 3 syncs, has 2\n"},
        {"flash with one sync", flash + e2e_syncs({"0.5"}),
         "Error: flash: section at line 17 needs 2 syncs, has 1\n"},
        {"second flash names its own line", flash + e2e_syncs({"0.5", "1"}) + flash,
         "Error: flash: section at line 23 needs 2 syncs, has 0\n"},
        {"title without its size", title + TITLE + GATHER + HOLD + e2e_syncs({"1"}),
         "Error: particletitle: section at line 17 needs 1 params, has 0\n"},
        {"title without its picture", title + "param 2\n" + GATHER + HOLD + e2e_syncs({"1"}),
         "Error: particletitle: section at line 17 needs 1 strings, has 0\n"},
        {"title with one camera", title + "param 2\n" + TITLE + GATHER + e2e_syncs({"1"}),
         "Error: particletitle: section at line 17 needs 2 splines, has 1\n"},
        {"title without its sync", title + "param 2\n" + TITLE + GATHER + HOLD,
         "Error: particletitle: section at line 17 needs 1 syncs, has 0\n"},
        {"title picture of unknown kind", title + "param 2\nstring title.gif\n" + GATHER + HOLD + e2e_syncs({"1"}),
         "Error: particletitle at line 17: Error loading texture title.gif\n"},
        {"lake without a path", lake + DROP + "param 20\n" + LAKE_PARAMS,
         "Error: thelake: section at line 17 needs 1 splines, has 0\n"},
        {"lake with four params", lake + DROP + RAIN + "param 20\nparam 1\nparam 1\nparam 1\n",
         "Error: thelake: section at line 17 needs 5 params, has 4\n"},
        {"lake with a rate of 0", lake + DROP + RAIN + "param 0\n" + LAKE_PARAMS,
         "Error: thelake: section at line 17 needs a positive emission rate (param 1), has 0\n"},
        {"lake with a negative rate", lake + DROP + RAIN + "param -3\n" + LAKE_PARAMS,
         "Error: thelake: section at line 17 needs a positive emission rate (param 1), has -3\n"},
        {"lake sprite missing", lake + "string nothere.jpg\n" + RAIN + "param 20\n" + LAKE_PARAMS,
         "Error: thelake at line 17: Error loading texture nothere.jpg: "},
    }, true);
}
}  // namespace
