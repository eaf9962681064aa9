// Unit tests of the player's command line: a table of argument lists and what
// they parse to, and how the result overrides the script's settings.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/cmdline.h"
#include "tests/test_support.h"
#include "core/settings.h"

namespace {


std::string text(const char* s) { return s ? s : "(null)"; }

TEST(Cmdline, Parse) {
    struct row {
        std::vector<std::string> args;
        const char* show_dir;
        const char* script;
        int fullscreen, mute, help, version;
        const char* error;
        const char* error_arg;
    };
    const char* none = nullptr;
    const row rows[] = {
        {{}, none, none, -1, 0, 0, 0, none, none},
        {{"shows/one"}, "shows/one", none, -1, 0, 0, 0, none, none},
        {{"--script", "alt.txt"}, none, "alt.txt", -1, 0, 0, 0, none, none},
        {{"--script", "alt.txt", "show"}, "show", "alt.txt", -1, 0, 0, 0, none, none},
        {{"show", "--script", "alt.txt"}, "show", "alt.txt", -1, 0, 0, 0, none, none},
        {{"--script", "a.txt", "--script", "b.txt"}, none, "b.txt", -1, 0, 0, 0, none, none},
        {{"--windowed"}, none, none, 0, 0, 0, 0, none, none},
        {{"--fullscreen"}, none, none, 1, 0, 0, 0, none, none},
        {{"--fullscreen", "--windowed"}, none, none, 0, 0, 0, 0, none, none},
        {{"--windowed", "--fullscreen"}, none, none, 1, 0, 0, 0, none, none},
        {{"--mute"}, none, none, -1, 1, 0, 0, none, none},
        {{"--help"}, none, none, -1, 0, 1, 0, none, none},
        {{"-h"}, none, none, -1, 0, 1, 0, none, none},
        {{"--version"}, none, none, -1, 0, 0, 1, none, none},
        {{"-"}, "-", none, -1, 0, 0, 0, none, none},
        {{"--bogus"}, none, none, -1, 0, 0, 0, "unknown option", "--bogus"},
        {{"-x", "show"}, none, none, -1, 0, 0, 0, "unknown option", "-x"},
        {{"--Help"}, none, none, -1, 0, 0, 0, "unknown option", "--Help"},
        {{"--script"}, none, none, -1, 0, 0, 0, "missing value for", "--script"},
        {{"show", "--script"}, "show", none, -1, 0, 0, 0, "missing value for", "--script"},
        {{"one", "two"}, "one", none, -1, 0, 0, 0, "more than one show folder:", "two"},
        {{"one", "two", "--help"}, "one", none, -1, 0, 0, 0, "more than one show folder:", "two"},
        {{"--x", "--y"}, none, none, -1, 0, 0, 0, "unknown option", "--x"},
    };
    for (const row& r : rows) {
        std::string line;
        for (const std::string& a : r.args) line += " " + a;
        SCOPED_TRACE("quillon" + line);
        cmdline c = parse_command_line(r.args);
        EXPECT_EQ(text(c.show_dir), text(r.show_dir));
        EXPECT_EQ(text(c.script), text(r.script));
        EXPECT_EQ(c.fullscreen, r.fullscreen);
        EXPECT_EQ(c.mute, r.mute);
        EXPECT_EQ(c.help, r.help);
        EXPECT_EQ(c.version, r.version);
        EXPECT_EQ(text(c.error), text(r.error));
        EXPECT_EQ(text(c.error_arg), text(r.error_arg));
    }
}

TEST(Cmdline, ApplyOverridesOnlyWhatWasGiven) {
    struct row {
        std::vector<std::string> args;
        int fullscreen_before, snd_before;
        int fullscreen_after, snd_after;
    };
    const row rows[] = {
        {{}, 1, 1, 1, 1},
        {{}, 0, 0, 0, 0},
        {{"--windowed"}, 1, 1, 0, 1},
        {{"--fullscreen"}, 0, 1, 1, 1},
        {{"--mute"}, 1, 1, 1, 0},
        {{"--mute", "--windowed"}, 1, 1, 0, 0},
    };
    const int saved_fullscreen = gl_fullscreen, saved_snd = snd_enable;
    for (const row& r : rows) {
        gl_fullscreen = r.fullscreen_before;
        snd_enable = r.snd_before;
        cmdline c = parse_command_line(r.args);
        cmdline_apply(&c);
        EXPECT_EQ(gl_fullscreen, r.fullscreen_after);
        EXPECT_EQ(snd_enable, r.snd_after);
    }
    gl_fullscreen = saved_fullscreen;
    snd_enable = saved_snd;
}

}  // namespace
