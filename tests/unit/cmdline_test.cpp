// The player's command line: a table of argument lists and what they parse
// to, and a table of option values it refuses with their messages.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/cmdline.h"
#include "app/cmdline_table.h"
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
    const std::pair<std::vector<std::string>, const char*> rows[] = {  // the start of value_error
        {{"--capture", "o", "--fps", "0"}, "--fps must be a whole number"},
        {{"--capture", "o", "--fps", "2.5"}, "--fps must be"},
        {{"--size", "16385x10"}, "--size must be"},
        {{"--size", " 64x36"}, "--size must be"},
        {{"--start", "-1"}, "--start -1: a time must be 0 or more"},
        {{"--start", "nan"}, "--start nan: a time is seconds (12.5), beats (16b) or bar:beat (8:2)"},
        {{"--end", "8:4"}, "--end 8:4: a time in bars is BAR:BEAT"},
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
    for (const auto& r : rows) {
        std::string line;
        for (const std::string& a : r.first) line += " " + a;
        SCOPED_TRACE("quillon" + line);
        cmdline c = parse_command_line(r.first);
        EXPECT_EQ(text(c.error), "(null)");
        EXPECT_EQ(std::string(c.value_error).rfind(r.second, 0), 0u) << c.value_error;
    }
    // The value is quoted so an empty or odd one is visible.
    EXPECT_STREQ(parse_command_line({"--size", "0x5"}).value_error,
                 "--size must be WIDTHxHEIGHT, both whole numbers from 1 to 16384, not '0x5'");
    // A misspelt option names the nearest one.
    EXPECT_EQ(parse_command_line({"--Help"}).hint, " (did you mean '--help'?)");
    EXPECT_EQ(parse_command_line({"--strat", "1"}).hint, " (did you mean '--start'?)");
    EXPECT_EQ(parse_command_line({"--zzz"}).hint, "");
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

// Every row of the option table: shown in the usage unless an alias, and a
// value one past its limits refused with the row's own rule.
TEST(Cmdline, EveryRowOfTheTable) {
    const std::string usage = cmdline_usage();
    for (int i = 0; i < CMDLINE_OPTION_COUNT; ++i) {
        const cmdline_option& row = cmdline_options[i];
        SCOPED_TRACE(row.name);
        EXPECT_EQ(usage.find(std::string("\n  ") + row.name) != std::string::npos, row.help != nullptr);
        std::string past = std::to_string(row.high + 1);
        if (row.kind == CMDLINE_SIZE) past = "1x" + past;
        else if (row.kind != CMDLINE_WHOLE && row.kind != CMDLINE_SECONDS) continue;
        char rule[64], message[CMDLINE_MESSAGE_MAX];
        std::snprintf(rule, sizeof rule, row.rule, row.low, row.high);
        std::snprintf(message, sizeof message, "%s must be %s, not '%s'", row.name, rule, past.c_str());
        EXPECT_STREQ(parse_command_line({row.name, past}).value_error, message);
    }
    std::istringstream lines(usage);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("  ", 0) == 0) { EXPECT_LE(line.size(), 80u) << line; }  // the options' lines
    }
}

// --start and --end take the script's time forms, beats read with the
// show's tempo once the script has set it.
TEST(Cmdline, TimesInBeatsFollowTheShowsTempo) {
    catch_fatal guard;
    float saved_bpm = bpm, saved_offset = beat_offset, saved_start = demostart, saved_end = demoend;
    cmdline c = parse_command_line({"--start", "8:0", "--end", "40b"});
    ASSERT_STREQ(c.value_error, "");
    bpm = 128;
    beat_offset = 0.5f;
    cmdline_apply(&c);
    EXPECT_FLOAT_EQ(demostart, 32 * 60 / 128.0f + 0.5f);
    EXPECT_FLOAT_EQ(demoend, 40 * 60 / 128.0f + 0.5f);
    c = parse_command_line({"--start", "12.5"});
    cmdline_apply(&c);
    EXPECT_FLOAT_EQ(demostart, 12.5f);  // seconds stay seconds
    c = parse_command_line({"--start", "8:0", "--end", "10"});
    EXPECT_EQ(fatal_message([&] { cmdline_apply(&c); }), "--end 10 (10 s) must be after --start 8:0 (15.5 s)");
    bpm = 0;
    EXPECT_EQ(fatal_message([&] { cmdline_apply(&c); }), "--start 8:0: a time in beats needs a bpm setting before it");
    bpm = saved_bpm, beat_offset = saved_offset, demostart = saved_start, demoend = saved_end;
}

}  // namespace
