// The picture-particle, trail and 3-D picture section types through the
// built player: a section lacking what its type reads, or given something
// it cannot use, stops the run at loading with the message users see, and
// each type's example script plays to its end.
#include <gtest/gtest.h>

#include <string>

#include "tests/test_support.h"

namespace {

const std::string DATA = std::string(QUILLON_SOURCE_DIR) + "/data/";

// Seven lines of head, then the loading section on lines 8..16, so the first
// section after it opens on line 17.
std::string show_with(const std::string& sections) {
    return "gl_fullscreen 0\ngl_width 640\ngl_height 480\ngl_rttWidth 256\ngl_rttHeight 256\n"
           "snd_enable 0\ngl_info 0\n"
           "[loading]\nstart 0\nend 1\nstring " + DATA + "loading/back.jpg\nstring " + DATA +
           "loading/front.jpg\nparam 1\nparam 1\nparam 1\nparam 1\n" + sections + "[EOF]\n";
}

std::string params(int count, const char* first = "0.5") {
    std::string text = count > 0 ? std::string("param ") + first + "\n" : "";
    for (int i = 1; i < count; ++i) text += "param 0.5\n";
    return text;
}

std::string strings(std::initializer_list<std::string> names) {
    std::string text;
    for (const std::string& name : names) text += "string " + name + "\n";
    return text;
}

const std::string PICTURE = DATA + "textures/emblem.tga";
const std::string SPRITE = DATA + "textures/spark.tga";
const std::string PATH = "spline " + DATA + "splines/spiral_path.txt\n";

struct failing_case {
    const char* name;
    std::string sections;
    std::string message;
};

TEST(fxpart, unusable_sections_stop_the_run_with_their_message) {
    const std::string particletex = "[genParticletex]\nstart 0\nend 1\n";
    const std::string pathway = "[genPathway]\nstart 0\nend 1\n";
    const std::string image3d = "[gen3Dimage]\nstart 0\nend 1\n";
    const failing_case cases[] = {
        {"particletex with seven params", particletex + strings({PICTURE, SPRITE}) + params(7),
         "Error: genParticletex: section at line 17 needs 8 params, has 7\n"},
        {"particletex with one string", particletex + strings({PICTURE}) + params(8),
         "Error: genParticletex: section at line 17 needs 2 strings, has 1\n"},
        {"particletex with three strings", particletex + strings({PICTURE, SPRITE, SPRITE}) + params(8),
         "Error: genParticletex: Script: Two strings are needed in genParticletex section\n"},
        {"particletex sprite of unknown kind", particletex + strings({PICTURE, "spark.png"}) + params(8),
         "Error: Error loading texture spark.png\n"},
        {"particletex picture missing", particletex + strings({"nothere.tga", SPRITE}) + params(8),
         "Error: Error loading texture nothere.tga: "},
        {"pathway without a spline", pathway + strings({SPRITE}) + params(5, "10"),
         "Error: genPathway: section at line 17 needs 1 splines, has 0\n"},
        {"pathway with a rate of 0", pathway + strings({SPRITE}) + PATH + params(5, "0"),
         "Error: genPathway: section at line 17 needs a positive emission rate (param 1), has 0\n"},
        {"pathway with a negative rate", pathway + strings({SPRITE}) + PATH + params(5, "-4"),
         "Error: genPathway: section at line 17 needs a positive emission rate (param 1), has -4\n"},
        {"second pathway names its own line",
         pathway + strings({SPRITE}) + PATH + params(5, "10") + pathway + strings({SPRITE}) + params(5, "10"),
         "Error: genPathway: section at line 27 needs 1 splines, has 0\n"},
        {"image3d with six params", image3d + strings({PICTURE}) + params(6),
         "Error: gen3Dimage: section at line 17 needs 7 params, has 6\n"},
        {"image3d picture of unknown kind", image3d + strings({"banner.png"}) + params(7),
         "Error: gen3Dimage: Error loading texture banner.png\n"},
    };
    for (const failing_case& c : cases) {
        SCOPED_TRACE(c.name);
        temp_dir dir;
        dir.write("data/script.txt", show_with(c.sections));
        std::string output;
        int status = run_command("SDL_AUDIODRIVER=dummy " + built_binary("quillon") + " " + dir.path, &output);
        EXPECT_EQ(status, 255) << output;
        EXPECT_NE(output.find(c.message), std::string::npos) << output;
    }
}

TEST(fxpart, example_scripts_play_to_their_end) {
    for (const char* name : {"genParticletex", "genPathway", "gen3Dimage"}) {
        SCOPED_TRACE(name);
        std::string output;
        int status = run_command("SDL_AUDIODRIVER=dummy " + built_binary("quillon") + " --script data/examples/" +
                                     name + ".txt " + QUILLON_SOURCE_DIR,
                                 &output);
        EXPECT_EQ(status, 0) << output;
        EXPECT_EQ(output.find("Error"), std::string::npos) << output;
    }
}

}  // namespace
