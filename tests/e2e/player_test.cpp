// The built player run on scripts written by the test: exit status and the
// "Error: ..." line users see.
#include <gtest/gtest.h>

#include <string>

#include "tests/test_support.h"

namespace {

struct player_case {
    const char* name;
    const char* script;  // written to data/script.txt; null: no script
    int status;
    const char* output;  // expected to appear in stdout+stderr
};

const char* const short_head = "gl_fullscreen 0\ngl_width 640\ngl_height 480\ngl_rttWidth 256\ngl_rttHeight 256\n";

std::string with_head(const char* body) { return std::string(short_head) + body; }

const player_case cases[] = {
    {"missing script", nullptr, 255, "Error: Script not found: data/script.txt (relative to /"},
    {"no loading section", "gl_fullscreen 0\n[EOF]\n", 255, "Error: Script: loading section is not found\n"},
    {"loading section with three params",
     "gl_fullscreen 0\n[loading]\nstart 0\nend 1\nparam 1\nparam 1\nparam 1\nstring a.bmp\nstring b.bmp\n", 255,
     "Error: loading at line 2: Script: four floats are needed in loading section\n"},
    {"missing loading image",
     "gl_fullscreen 0\n[loading]\nstart 0\nend 1\nparam 1\nparam 1\nparam 1\nparam 1\n"
     "string nothere.bmp\nstring nothere.bmp\n",
     255, "Error: loading at line 2: Error loading texture nothere.bmp: "},
    {"render target larger than the window", "gl_fullscreen 0\ngl_width 320\ngl_height 240\n[EOF]\n", 255,
     "Note: render target 512x512 reduced to 240x240 to fit the 320x240 output\n"},
};

class player_errors : public ::testing::TestWithParam<player_case> {};

TEST_P(player_errors, exit_status_and_message) {
    const player_case& c = GetParam();
    temp_dir dir;
    if (c.script) dir.write("data/script.txt", c.script);
    std::string output;
    int status = run_command(built_binary("quillon") + " " + dir.path, &output);
    EXPECT_EQ(status, c.status) << output;
    EXPECT_NE(output.find(c.output), std::string::npos) << output;
}

INSTANTIATE_TEST_SUITE_P(scripts, player_errors, ::testing::ValuesIn(cases),
                         [](const ::testing::TestParamInfo<player_case>& info) {
                             std::string name;
                             for (const char* p = info.param.name; *p; ++p)
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             return name;
                         });

// A show of one second with its loading screen, using the generated images.
std::string short_show(const std::string& data) {
    return with_head(("[loading]\nstart 0\nend 1\nstring " + data + "/loading/back.jpg\nstring " + data +
                      "/loading/front.jpg\nparam 1\nparam 1\nparam 1\nparam 1\n[EOF]\n")
                         .c_str());
}

TEST(player, short_show_plays_to_its_end_and_writes_the_driver_report) {
    temp_dir dir;
    dir.write("data/script.txt", short_show(std::string(QUILLON_SOURCE_DIR) + "/data"));
    dir.add_font();
    std::string output;
    EXPECT_EQ(run_command(built_binary("quillon") + " " + dir.path, &output), 0) << output;
    EXPECT_NE(read_file(dir.file("opengl.log")).find("// OpenGL driver information"), std::string::npos);
}

TEST(player, command_line_help_version_and_bad_options) {
    std::string output;
    EXPECT_EQ(run_command(built_binary("quillon") + " --help", &output), 0);
    EXPECT_NE(output.find("Usage: quillon [options] [SHOW_DIR]"), std::string::npos) << output;
    EXPECT_EQ(run_command(built_binary("quillon") + " --version", &output), 0);
    EXPECT_EQ(output.rfind("quillon ", 0), 0u) << output;
    EXPECT_EQ(run_command(built_binary("quillon") + " --no-such-option", &output), 2);
    // The reason and where to look, not the whole usage text.
    EXPECT_EQ(output, "quillon: unknown option --no-such-option\nTry 'quillon --help' for the options.\n");
    EXPECT_EQ(run_command(built_binary("quillon") + " --script", &output), 2);
    EXPECT_EQ(run_command(built_binary("quillon") + " /no/such/show/folder", &output), 255);
    EXPECT_NE(output.find("Error: Show folder /no/such/show/folder cannot be opened"), std::string::npos);
}

TEST(player, default_show_plays_to_its_end) {
    std::string output;
    int status = run_command(built_binary("quillon") + " --windowed " + QUILLON_SOURCE_DIR, &output);
    EXPECT_EQ(status, 0) << output;
    EXPECT_EQ(output.find("Error"), std::string::npos) << output;
}

}  // namespace
