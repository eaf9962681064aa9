// The player's command line: a table of argument lists and what they parse
// to, and a table of option values it refuses with their messages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/cmdline.h"
#include "core/settings.h"
#include "tests/test_support.h"

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
        {{"show", "--script", "alt.txt"}, "show", "alt.txt", -1, 0, 0, 0, none, none},
        {{"--script", "a.txt", "--script", "b.txt"}, none, "b.txt", -1, 0, 0, 0, none, none},
        {{"--fullscreen", "--windowed"}, none, none, 0, 0, 0, 0, none, none},
        {{"--windowed", "--fullscreen"}, none, none, 1, 0, 0, 0, none, none},
        {{"--mute"}, none, none, -1, 1, 0, 0, none, none},
        {{"--help"}, none, none, -1, 0, 1, 0, none, none},
        {{"--version"}, none, none, -1, 0, 0, 1, none, none},
        {{"-"}, "-", none, -1, 0, 0, 0, none, none},
        {{"--bogus"}, none, none, -1, 0, 0, 0, "unknown option", "--bogus"},
        {{"--Help"}, none, none, -1, 0, 0, 0, "unknown option", "--Help"},
        {{"--script"}, none, none, -1, 0, 0, 0, "missing value for", "--script"},
        {{"one", "two"}, "one", none, -1, 0, 0, 0, "more than one show folder:", "two"},
        {{"one", "two", "--help"}, "one", none, -1, 0, 0, 0, "more than one show folder:", "two"},
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

TEST(Cmdline, BadValuesAreReported) {
    struct row {
        std::vector<std::string> args;
        const char* message;  // expected start of value_error
    };
    const row rows[] = {
        {{"--capture", "o", "--fps", "0"}, "--fps must be a whole number"},
        {{"--capture", "o", "--fps", "1001"}, "--fps must be"},
        {{"--capture", "o", "--fps", "2.5"}, "--fps must be"},
        {{"--size", "0x5"}, "--size must be WIDTHxHEIGHT"},
        {{"--size", "640"}, "--size must be"},
        {{"--size", "16385x10"}, "--size must be"},
        {{"--size", " 64x36"}, "--size must be"},
        {{"--start", "-1"}, "--start must be a number of seconds"},
        {{"--start", "nan"}, "--start must be"},
        {{"--start", "5", "--end", "5"}, "--end 5 must be after --start 5"},
        {{"--fps", "30"}, "--fps is only used with --capture, --bench, --video or --edit"},
        {{"--json", "r.json"}, "--json is only used with --bench"},
        {{"--capture", "o", "--bench"}, "--capture and --bench cannot be combined"},
        {{"--capture", ""}, "--capture needs a folder name"},
        {{"--analyse", "--edit"}, "--analyse cannot be combined with"},
        {{"--write"}, "--write is only used with --analyse"},
        {{"--analyse", "--force"}, "--force is only used with --analyse --write"},
        {{"--tracker"}, "--tracker is only used with --edit"},
    };
    for (const row& r : rows) {
        std::string line;
        for (const std::string& a : r.args) line += " " + a;
        SCOPED_TRACE("quillon" + line);
        cmdline c = parse_command_line(r.args);
        EXPECT_EQ(text(c.error), "(null)");
        EXPECT_EQ(std::string(c.value_error).rfind(r.message, 0), 0u) << c.value_error;
    }
    // The value is quoted so an empty or odd one is visible.
    EXPECT_STREQ(parse_command_line({"--size", "0x5"}).value_error,
                 "--size must be WIDTHxHEIGHT, both whole numbers from 1 to 16384, not '0x5'");
    // The tracker's address is optional: a word with a ':', or one a show
    // folder follows.
    const struct { std::vector<std::string> args; const char* tracker; const char* show; } trackers[] = {
        {{"--edit", "--tracker"}, "", "(null)"},
        {{"--edit", "--tracker", "show"}, "", "show"},
        {{"--edit", "--tracker", "host:99", "--mute"}, "host:99", "(null)"},
        {{"--edit", "--tracker", "host", "show"}, "host", "show"},
        {{"--edit", "--tracker", "--mute", "show"}, "", "show"},
    };
    for (const auto& t : trackers) {
        cmdline parsed = parse_command_line(t.args);
        EXPECT_EQ(text(parsed.tracker), t.tracker);
        EXPECT_EQ(text(parsed.show_dir), t.show);
    }
    // A missing value is still a parse error, like --script's.
    cmdline c = parse_command_line({"--capture"});
    EXPECT_EQ(text(c.error), "missing value for");
    EXPECT_EQ(text(c.error_arg), "--capture");
}

}  // namespace
