// Edit-mode control lines: parsed, quoted, and a channel that cannot be read.
#include <gtest/gtest.h>

#include <cerrno>

#include "app/edit_control.h"

TEST(edit_control, parses_each_command_and_refuses_what_it_cannot_take) {
    const struct { const char* line; edit_command_kind kind; float a, b; int frames; const char* error; } cases[] = {
        {"seek 12.5", EDIT_SEEK, 12.5f, 0, 0, ""},
        {"  seek   -3 ", EDIT_SEEK, -3, 0, 0, ""},
        {"step -2", EDIT_STEP, 0, 0, -2, ""},
        {"loop 1 2.5", EDIT_LOOP, 1, 2.5f, 0, ""},
        {"loop off", EDIT_LOOP_OFF, 0, 0, 0, ""},
        {"still a.png", EDIT_STILL, 0, 0, 0, ""},
        {"", EDIT_NONE, 0, 0, 0, ""},
        {"seek", EDIT_BAD, 0, 0, 0, "'seek' takes 1 value(s)"},
        {"seek 4:2", EDIT_SEEK, 9.5f, 0, 0, ""},
        {"loop 16b 6:0", EDIT_LOOP, 8.5f, 12.5f, 0, ""},
        {"seek nan", EDIT_BAD, 0, 0, 0, "seek 'nan': a time is seconds (12.5), beats (16b) or bar:beat (8:2)"},
        {"loop 1 4:4", EDIT_BAD, 0, 0, 0,
         "loop '4:4': a time in bars is BAR:BEAT, a whole bar from 0 and a beat from 0 to below 4"},
        {"step 0", EDIT_BAD, 0, 0, 0, "step needs a whole number of frames other than 0, not '0'"},
        {"loop 1", EDIT_BAD, 0, 0, 0, "'loop' takes 2 value(s)"},
        {"pause now", EDIT_BAD, 0, 0, 0, "'pause' takes 0 value(s)"},
        {"Seek 1", EDIT_BAD, 0, 0, 0, "unknown command 'Seek' (did you mean 'seek'?)"},
        {"rewind", EDIT_BAD, 0, 0, 0, "unknown command 'rewind'"},
        {"still x.jpg", EDIT_BAD, 0, 0, 0, "still writes PNG files only: name it FILE.png, not 'x.jpg'"},
        {"shot .png", EDIT_BAD, 0, 0, 0, "shot writes PNG files only: name it FILE.png, not '.png'"},
        {"shot A.PNG", EDIT_SHOT, 0, 0, 0, ""},
        {"seek \x1b[2J", EDIT_BAD, 0, 0, 0, "seek '\\x1b[2J': a time is seconds (12.5), beats (16b) or bar:beat (8:2)"},
        {"key p", EDIT_KEY, 0, 0, 0, ""},
        {"key pulse 4b 0.5 smooth", EDIT_TRACK_KEY, 0.5f, 0, 0, ""},
        {"key pulse 4b", EDIT_BAD, 0, 0, 0, "key takes a key name, or a track name, a time, a value and an interpolation"},
        {"key pulse 4b x", EDIT_BAD, 0, 0, 0, "a key's value is a number, not 'x'"},
        {"key pulse 4b 1 cubic", EDIT_BAD, 0, 0, 0, "unknown interpolation 'cubic' (step, linear, smooth or ramp)"},
        {"unkey pulse", EDIT_BAD, 0, 0, 0, "unkey takes a track name and a time"},
        {"unkey pulse 2:1", EDIT_TRACK_UNKEY, 0, 0, 0, ""},
        {"track pulse", EDIT_TRACK, 0, 0, 0, ""},
    };
    for (const auto& c : cases) {
        edit_command got = edit_command_parse(c.line, {120, 0.5f});
        EXPECT_EQ(got.kind, c.kind) << c.line;
        EXPECT_EQ(got.error, c.error) << c.line;
        if (c.kind == EDIT_BAD) continue;
        EXPECT_FLOAT_EQ(got.a, c.a) << c.line;
        EXPECT_FLOAT_EQ(got.b, c.b) << c.line;
        EXPECT_EQ(got.frames, c.frames) << c.line;
    }
    EXPECT_EQ(edit_command_parse("still /tmp/x y.png", {120, 0}).kind, EDIT_BAD);
    EXPECT_EQ(edit_command_parse("seek 4:0", {0, 0}).error, "seek '4:0': a time in beats needs a bpm setting before it");
    edit_command key = edit_command_parse("key fx:glow 8:2 1 ramp", {120, 0});
    EXPECT_EQ(key.text + " " + key.when + " " + std::to_string(key.interp), "fx:glow 8:2 3");
}

TEST(edit_control, quotes_a_line_short_and_escaped) {
    const struct { std::string text, quoted; } cases[] = {
        {"2pause", "'2pause'"},
        {std::string("a\0b\x7f\\'", 6), "'a\\x00b\\x7f\\\\\\''"},
        {std::string(100, 'x'), "'" + std::string(80, 'x') + "'... (100 bytes)"},
    };
    for (const auto& c : cases) EXPECT_EQ(edit_quote(c.text), c.quoted);
}

TEST(edit_control, a_channel_that_cannot_be_read_says_why) {
    edit_channel channel;
    EXPECT_FALSE(edit_channel_open(&channel, "/"));
    EXPECT_EQ(errno, EISDIR);
    EXPECT_EQ(channel.fd, -1);
    EXPECT_FALSE(edit_channel_open(&channel, "/no/such/fifo"));
    EXPECT_EQ(errno, ENOENT);
}
