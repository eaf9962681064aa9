// The picture-particle, trail and 3-D picture section types through the
// built player: a section lacking what its type reads, or given something
// it cannot use, stops the run at loading with the message users see, and
// each type's example script plays to its end.
#include <gtest/gtest.h>

#include <string>

#include "tests/test_support.h"

namespace {

const std::string DATA = std::string(QUILLON_SOURCE_DIR) + "/data/";
const std::string PICTURE = DATA + "textures/emblem.tga";
const std::string SPRITE = DATA + "textures/spark.tga";
const std::string PATH = "spline " + DATA + "splines/spiral_path.txt\n";

TEST(fxpart, unusable_sections_stop_the_run_with_their_message) {
    const std::string particletex = "[genParticletex]\nstart 0\nend 1\n";
    const std::string pathway = "[genPathway]\nstart 0\nend 1\n";
    const std::string image3d = "[gen3Dimage]\nstart 0\nend 1\n";
    e2e_expect_errors({
        {"particletex with seven params", particletex + e2e_strings({PICTURE, SPRITE}) + e2e_params(7),
         "Error: genParticletex: section at line 17 needs 8 params, has 7\n"},
        {"particletex with one string", particletex + e2e_strings({PICTURE}) + e2e_params(8),
         "Error: genParticletex: Script: Two strings are needed in genParticletex section, line 17\n"},
        {"particletex with three strings", particletex + e2e_strings({PICTURE, SPRITE, SPRITE}) + e2e_params(8),
         "Error: genParticletex: Script: Two strings are needed in genParticletex section, line 17\n"},
        {"particletex sprite of unknown kind", particletex + e2e_strings({PICTURE, "spark.gif"}) + e2e_params(8),
         "Error: genParticletex at line 17: Error loading texture spark.gif\n"},
        {"particletex picture missing", particletex + e2e_strings({"nothere.tga", SPRITE}) + e2e_params(8),
         "Error: genParticletex at line 17: Error loading texture nothere.tga: "},
        {"pathway without a spline", pathway + e2e_strings({SPRITE}) + e2e_params(5, "10"),
         "Error: genPathway: section at line 17 needs 1 splines, has 0\n"},
        {"pathway with a rate of 0", pathway + e2e_strings({SPRITE}) + PATH + e2e_params(5, "0"),
         "Error: genPathway: section at line 17 needs a positive emission rate (param 1), has 0\n"},
        {"pathway with a negative rate", pathway + e2e_strings({SPRITE}) + PATH + e2e_params(5, "-4"),
         "Error: genPathway: section at line 17 needs a positive emission rate (param 1), has -4\n"},
        {"second pathway names its own line",
         pathway + e2e_strings({SPRITE}) + PATH + e2e_params(5, "10") + pathway + e2e_strings({SPRITE}) + e2e_params(5, "10"),
         "Error: genPathway: section at line 27 needs 1 splines, has 0\n"},
        {"image3d with six params", image3d + e2e_strings({PICTURE}) + e2e_params(6),
         "Error: gen3Dimage: section at line 17 needs 7 params, has 6\n"},
        {"image3d picture of unknown kind", image3d + e2e_strings({"banner.gif"}) + e2e_params(7),
         "Error: gen3Dimage at line 17: Error loading texture banner.gif\n"},
    });
}
}  // namespace
