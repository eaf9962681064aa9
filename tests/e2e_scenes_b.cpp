// The lines, titulo, redsun, flare and paintex scenes through the built
// player: a section that lacks what its scene reads (or names a caption that
// does not exist) stops the run at loading with its type and script line, a
// missing scene picture is named, and each example script plays to its end.
#include <gtest/gtest.h>

#include <string>

#include "tests/test_support.h"

namespace {

// Seven lines of head, then the loading section on lines 8..16, so the first
// section after it opens on line 17. Paths are relative to the show folder.
std::string show_with(const std::string& sections) {
    return "gl_fullscreen 0\ngl_width 640\ngl_height 480\ngl_rttWidth 256\ngl_rttHeight 256\n"
           "snd_enable 0\ngl_info 0\n"
           "[loading]\nstart 0\nend 1\nstring data/loading/back.jpg\nstring data/loading/front.jpg\n"
           "param 1\nparam 1\nparam 1\nparam 1\n" + sections + "[EOF]\n";
}

std::string params(int count, const char* value = "0.5") {
    std::string text;
    for (int i = 0; i < count; ++i) text += std::string("param ") + value + "\n";
    return text;
}

// Runs the player on `script` inside the show folder `show`.
int play(const std::string& show, const std::string& script, std::string* output) {
    return run_command("SDL_AUDIODRIVER=dummy " + built_binary("quillon") + " --script " + script +
                           " " + show,
                       output);
}

struct fault_case {
    const char* name;
    std::string sections;
    const char* message;
};

TEST(scenes_b, section_lacking_what_its_scene_reads_stops_the_run_naming_its_line) {
    const std::string redsun = "[redsun]\nstart 0\nend 1\n";
    const std::string orbit = "spline data/splines/redsun_orbit.txt 1\n";
    const std::string paintex = "[paintex]\nstart 0\nend 1\n";
    const std::string syncs = "syncs 2\nsync 0.4\nsync 0.8\n";
    const fault_case cases[] = {
        {"red sun with eleven params", redsun + orbit + params(11),
         "Error: redsun: section at line 17 needs 12 params, has 11\n"},
        {"red sun without its camera spline", redsun + params(12),
         "Error: redsun: section at line 17 needs 1 splines, has 0\n"},
        {"painted caption with six params", paintex + syncs + params(6, "0"),
         "Error: paintex: section at line 17 needs 7 params, has 6\n"},
        {"painted caption with one sync", paintex + "syncs 1\nsync 0.5\n" + params(7, "0"),
         "Error: paintex: section at line 17 needs 2 syncs, has 1\n"},
        {"caption number past the last", paintex + syncs + "param 6\n" + params(6, "0"),
         "Error: paintex: section at line 17 needs a caption number 0-5 in its first param, has 6\n"},
        {"negative caption number", paintex + syncs + "param -1\n" + params(6, "0"),
         "Error: paintex: section at line 17 needs a caption number 0-5 in its first param, has -1\n"},
        // A good section first: the message names the bad one's own line.
        {"second painted caption", paintex + syncs + params(7, "1") + paintex + syncs + "param 7.5\n" +
                                       params(6, "0"),
         "Error: paintex: section at line 30 needs a caption number 0-5 in its first param, has 7.5\n"},
    };
    for (const fault_case& c : cases) {
        SCOPED_TRACE(c.name);
        temp_dir dir;
        std::string output;
        int status = play(QUILLON_SOURCE_DIR, dir.write("script.txt", show_with(c.sections)), &output);
        EXPECT_EQ(status, 255) << output;
        EXPECT_NE(output.find(c.message), std::string::npos) << output;
    }
}

// A show folder without the scene's fixed picture: the run stops naming it.
TEST(scenes_b, missing_scene_picture_is_named) {
    temp_dir show;
    std::string loading = std::string(QUILLON_SOURCE_DIR) + "/data/loading/";
    std::string script = show_with("[titulo]\nstart 0\nend 1\n");
    for (const char* name : {"back.jpg", "front.jpg"})
        show.write("data/loading/" + std::string(name), read_file(loading + name));
    std::string output;
    int status = play(show.path, show.write("data/script.txt", script), &output);
    EXPECT_EQ(status, 255) << output;
    EXPECT_NE(output.find("Error: Error loading texture data/particletitle/titles/sunmere.jpg"),
              std::string::npos)
        << output;
}

TEST(scenes_b, example_scripts_play_to_their_end) {
    for (const char* name : {"lines", "titulo", "redsun", "flare", "paintex"}) {
        SCOPED_TRACE(name);
        std::string output;
        int status = play(QUILLON_SOURCE_DIR, std::string("data/examples/") + name + ".txt", &output);
        EXPECT_EQ(status, 0) << output;
        EXPECT_EQ(output.find("Error"), std::string::npos) << output;
    }
}

}  // namespace
