// The built player run on scripts written by the test: exit status and the
// "Error: ..." line users see.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "tests/test_support.h"

namespace {

// Scripts the player refuses, each with the line it must print.
TEST(player, bad_shows_exit_with_255_and_their_message) {
    const std::pair<const char*, const char*> rows[] = {
        {"gl_fullscreen 0\n[EOF]\n", "Error: Script: loading section is not found\n"},
        {"gl_fullscreen 0\n[loading]\nstart 0\nend 1\nparam 1\nparam 1\nparam 1\nstring a.bmp\nstring b.bmp\n",
         "Error: loading at line 2: Script: four floats are needed in loading section\n"},
        {"gl_fullscreen 0\n[loading]\nstart 0\nend 1\nparam 1\nparam 1\nparam 1\nparam 1\n"
         "string nothere.bmp\nstring nothere.bmp\n",
         "Error: loading at line 2: Error loading texture nothere.bmp: "},
    };
    for (const auto& r : rows) {
        temp_dir dir;
        dir.write("data/script.txt", r.first);
        std::string output;
        EXPECT_EQ(run_command(built_binary("quillon") + " " + dir.path, &output), 255) << r.first << output;
        EXPECT_HAS(output, r.second);
    }
}

TEST(player, short_show_plays_to_its_end_and_writes_the_driver_report) {
    temp_dir dir;
    dir.write("data/script.txt", e2e_show("", ""));  // one second of its loading screen
    dir.add_font();
    std::string output;
    EXPECT_EQ(run_command(built_binary("quillon") + " " + dir.path, &output), 0) << output;
    EXPECT_NE(read_file(dir.file("opengl.log")).find("// OpenGL driver information"), std::string::npos);
}

TEST(player, command_line_help_version_and_bad_options) {
    std::string output;
    EXPECT_EQ(run_command(built_binary("quillon") + " --help", &output), 0);
    EXPECT_HAS(output, "Usage: quillon [options] [SHOW_DIR]");
    EXPECT_EQ(run_command(built_binary("quillon") + " --version", &output), 0);
    EXPECT_EQ(output.rfind("quillon ", 0), 0u) << output;
    EXPECT_EQ(run_command(built_binary("quillon") + " --no-such-option", &output), 2);
    // The reason and where to look, not the whole usage text.
    EXPECT_EQ(output, "quillon: unknown option --no-such-option\nTry 'quillon --help' for the options.\n");
    EXPECT_EQ(run_command(built_binary("quillon") + " --script", &output), 2);
    EXPECT_EQ(run_command(built_binary("quillon") + " /no/such/show/folder", &output), 255);
    EXPECT_HAS(output, "Error: Show folder /no/such/show/folder cannot be opened");
}

TEST(player, default_show_plays_to_its_end) {
    std::string output;
    int status = run_command(built_binary("quillon") + " --windowed " + QUILLON_SOURCE_DIR, &output);
    EXPECT_EQ(status, 0) << output;
    EXPECT_EQ(output.find("Error"), std::string::npos) << output;
}

}  // namespace
