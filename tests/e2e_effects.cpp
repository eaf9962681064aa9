// The post-processing section types through the built player: a section that
// lacks params stops the run at loading with its type and script line, and
// each example script under data/examples plays to its end.
#include <gtest/gtest.h>

#include <string>

#include "tests/test_support.h"

namespace {

// Seven lines of head, then the loading section on lines 8..16, so the first
// section after it opens on line 17.
std::string show_with(const std::string& sections) {
    std::string data = std::string(QUILLON_SOURCE_DIR) + "/data/loading/";
    return "gl_fullscreen 0\ngl_width 640\ngl_height 480\ngl_rttWidth 256\ngl_rttHeight 256\n"
           "snd_enable 0\ngl_info 0\n"
           "[loading]\nstart 0\nend 1\nstring " + data + "back.jpg\nstring " + data + "front.jpg\n"
           "param 1\nparam 1\nparam 1\nparam 1\n" + sections + "[EOF]\n";
}

std::string params(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "param 0.5\n";
    return text;
}

struct missing_case {
    const char* name;
    std::string sections;
    const char* message;
};

TEST(effects, section_lacking_params_stops_the_run_naming_its_line) {
    const missing_case cases[] = {
        {"fader with seven", "[efxFader]\nstart 0\nend 1\n" + params(7),
         "Error: efxFader: section at line 17 needs 8 params, has 7\n"},
        {"fader with nine", "[efxFader]\nstart 0\nend 1\n" + params(9),
         "Error: Script: eight floats are needed in fader effect\n"},
        {"radial blur without its centre", "[efxRadialBlur]\nstart 0\nend 1\n" + params(8),
         "Error: efxRadialBlur: section at line 17 needs 9 params, has 8\n"},
        {"radial blur short of its sync keys",
         "[efxRadialBlur]\nstart 0\nend 1\nsyncs 3\nsync 0.2\nsync 0.4\nsync 0.6\n" + params(10),
         "Error: efxRadialBlur: section at line 17 needs 11 params, has 10\n"},
        {"render mesh with three", "[efxRenderMesh]\nstart 0\nend 1\n" + params(3),
         "Error: efxRenderMesh: section at line 17 needs 4 params, has 3\n"},
        // A good section first: the message names the bad one's own line.
        {"second render mesh", "[efxRenderMesh]\nstart 0\nend 1\n" + params(4) +
                                   "[efxRenderMesh]\nstart 0.5\nend 1\n" + params(1),
         "Error: efxRenderMesh: section at line 24 needs 4 params, has 1\n"},
    };
    for (const missing_case& c : cases) {
        SCOPED_TRACE(c.name);
        temp_dir dir;
        dir.write("data/script.txt", show_with(c.sections));
        std::string output;
        int status = run_command("SDL_AUDIODRIVER=dummy " + built_binary("quillon") + " " + dir.path, &output);
        EXPECT_EQ(status, 255) << output;
        EXPECT_NE(output.find(c.message), std::string::npos) << output;
    }
}

TEST(effects, example_scripts_play_to_their_end) {
    for (const char* name : {"efxFader", "efxRadialBlur", "efxRenderMesh"}) {
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
