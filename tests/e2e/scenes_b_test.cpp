// The lines, titulo, redsun, flare and paintex scenes through the built
// player: a section that lacks what its scene reads (or names a caption that
// does not exist) stops the run at loading with its type and script line, a
// missing scene picture is named. (The example scripts are played by the
// shipped-show test.)
#include <gtest/gtest.h>

#include <string>

#include "tests/test_support.h"

namespace {
TEST(scenes_b, section_lacking_what_its_scene_reads_stops_the_run_naming_its_line) {
    const std::string redsun = "[redsun]\nstart 0\nend 1\n";
    const std::string orbit = "spline data/splines/redsun_orbit.txt 1\n";
    const std::string paintex = "[paintex]\nstart 0\nend 1\n";
    const std::string syncs = "syncs 2\nsync 0.4\nsync 0.8\n";
    e2e_expect_errors({
        {"red sun with eleven params", redsun + orbit + e2e_params(11),
         "Error: redsun: section at line 17 needs 12 params, has 11\n"},
        {"red sun without its camera spline", redsun + e2e_params(12),
         "Error: redsun: section at line 17 needs 1 splines, has 0\n"},
        {"painted caption with six params", paintex + syncs + e2e_params(6, "0"),
         "Error: paintex: section at line 17 needs 7 params, has 6\n"},
        {"painted caption with one sync", paintex + "syncs 1\nsync 0.5\n" + e2e_params(7, "0"),
         "Error: paintex: section at line 17 needs 2 syncs, has 1\n"},
        {"caption number past the last", paintex + syncs + "param 6\n" + e2e_params(6, "0"),
         "Error: paintex: section at line 17 needs a caption number 0-5 in its first param, has 6\n"},
        {"negative caption number", paintex + syncs + "param -1\n" + e2e_params(6, "0"),
         "Error: paintex: section at line 17 needs a caption number 0-5 in its first param, has -1\n"},
        // A good section first: the message names the bad one's own line.
        {"second painted caption", paintex + syncs + e2e_params(7, "1") + paintex + syncs + "param 7.5\n" +
                                       e2e_params(6, "0"),
         "Error: paintex: section at line 30 needs a caption number 0-5 in its first param, has 7.5\n"},
    }, true);
}

// A show folder without the scene's fixed picture: the run stops naming it.
TEST(scenes_b, missing_scene_picture_is_named) {
    e2e_expect_errors({{"titulo without its picture", "[titulo]\nstart 0\nend 1\n",
                        "Error: titulo at line 17: Error loading texture data/particletitle/titles/sunmere.jpg"}});
}

}  // namespace
