// The knots, flash, particle title and lake scenes through the built
// player: a section lacking what its scene reads stops the run at loading
// with its type, script line and what is missing, and each scene's example
// script plays to its end. The scripts are written by the tests and played
// in the repository's folder, where the scenes' fixed pictures are.
#include <gtest/gtest.h>

#include <string>

#include "tests/test_support.h"

namespace {

// Seven lines of head, then the loading section on lines 8..16, so the first
// section after it opens on line 17.
std::string show_with(const std::string& sections) {
    return "gl_fullscreen 0\ngl_width 640\ngl_height 480\ngl_rttWidth 256\ngl_rttHeight 256\n"
           "snd_enable 0\ngl_info 0\n"
           "[loading]\nstart 0\nend 1\nstring data/loading/back.jpg\nstring data/loading/front.jpg\n"
           "param 1\nparam 1\nparam 1\nparam 1\n" + sections + "[EOF]\n";
}

int play(const std::string& script_path, const std::string& options, std::string* output) {
    return run_command("SDL_AUDIODRIVER=dummy " + built_binary("quillon") + " " + options + " --script " +
                           script_path + " " + QUILLON_SOURCE_DIR,
                       output);
}

std::string syncs(std::initializer_list<const char*> times) {
    std::string text = "syncs " + std::to_string(times.size()) + "\n";
    for (const char* t : times) text += std::string("sync ") + t + "\n";
    return text;
}

struct failing_case {
    const char* name;
    std::string sections;
    std::string message;
};

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
    const failing_case cases[] = {
        {"knots without syncs", knots, "Error: knots: section at line 17 needs 3 syncs, has 0\n"},
        {"knots with two syncs", knots + syncs({"0.5", "1"}),
         "Error: knots: section at line 17 needs 3 syncs, has 2\n"},
        {"flash with one sync", flash + syncs({"0.5"}),
         "Error: flash: section at line 17 needs 2 syncs, has 1\n"},
        {"second flash names its own line", flash + syncs({"0.5", "1"}) + flash,
         "Error: flash: section at line 23 needs 2 syncs, has 0\n"},
        {"title without its size", title + TITLE + GATHER + HOLD + syncs({"1"}),
         "Error: particletitle: section at line 17 needs 1 params, has 0\n"},
        {"title without its picture", title + "param 2\n" + GATHER + HOLD + syncs({"1"}),
         "Error: particletitle: section at line 17 needs 1 strings, has 0\n"},
        {"title with one camera", title + "param 2\n" + TITLE + GATHER + syncs({"1"}),
         "Error: particletitle: section at line 17 needs 2 splines, has 1\n"},
        {"title without its sync", title + "param 2\n" + TITLE + GATHER + HOLD,
         "Error: particletitle: section at line 17 needs 1 syncs, has 0\n"},
        {"title picture of unknown kind", title + "param 2\nstring title.png\n" + GATHER + HOLD + syncs({"1"}),
         "Error: Error loading texture title.png\n"},
        {"lake without a path", lake + DROP + "param 20\n" + LAKE_PARAMS,
         "Error: thelake: section at line 17 needs 1 splines, has 0\n"},
        {"lake with four params", lake + DROP + RAIN + "param 20\nparam 1\nparam 1\nparam 1\n",
         "Error: thelake: section at line 17 needs 5 params, has 4\n"},
        {"lake with a rate of 0", lake + DROP + RAIN + "param 0\n" + LAKE_PARAMS,
         "Error: thelake: section at line 17 needs a positive emission rate (param 1), has 0\n"},
        {"lake with a negative rate", lake + DROP + RAIN + "param -3\n" + LAKE_PARAMS,
         "Error: thelake: section at line 17 needs a positive emission rate (param 1), has -3\n"},
        {"lake sprite missing", lake + "string nothere.jpg\n" + RAIN + "param 20\n" + LAKE_PARAMS,
         "Error: Error loading texture nothere.jpg: "},
    };
    for (const failing_case& c : cases) {
        SCOPED_TRACE(c.name);
        temp_dir dir;
        std::string script = dir.write("script.txt", show_with(c.sections));
        std::string output;
        int status = play(script, "", &output);
        EXPECT_EQ(status, 255) << output;
        EXPECT_NE(output.find(c.message), std::string::npos) << output;
    }
}

// Played on the fixed step (a few frames per second, as fast as the machine
// goes), so every phase of each example is drawn in a short time.
TEST(scenes_a, example_scripts_play_to_their_end) {
    for (const char* name : {"thelake", "particletitle", "knots", "flash"}) {
        SCOPED_TRACE(name);
        std::string output;
        int status = play(std::string("data/examples/") + name + ".txt", "--bench --fps 8", &output);
        EXPECT_EQ(status, 0) << output;
        EXPECT_EQ(output.find("Error"), std::string::npos) << output;
    }
}

}  // namespace
