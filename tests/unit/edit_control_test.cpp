// Edit-mode control lines and seek clamping.
#include <gtest/gtest.h>

#include "app/edit_control.h"
#include "app/edit_mode.h"

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
        {"seek 1 2", EDIT_BAD, 0, 0, 0, "'seek' takes 1 value(s)"},
        {"seek 4:2", EDIT_SEEK, 9.5f, 0, 0, ""},
        {"loop 16b 6:0", EDIT_LOOP, 8.5f, 12.5f, 0, ""},
        {"seek nan", EDIT_BAD, 0, 0, 0, "seek nan: a time is seconds (12.5), beats (16b) or bar:beat (8:2)"},
        {"loop 1 4:4", EDIT_BAD, 0, 0, 0,
         "loop 4:4: a time in bars is BAR:BEAT, a whole bar from 0 and a beat from 0 to below 4"},
        {"step 0", EDIT_BAD, 0, 0, 0, "step needs a whole number of frames other than 0, not '0'"},
        {"step 1.5", EDIT_BAD, 0, 0, 0, "step needs a whole number of frames other than 0, not '1.5'"},
        {"loop 1", EDIT_BAD, 0, 0, 0, "'loop' takes 2 value(s)"},
        {"loop on", EDIT_BAD, 0, 0, 0, "'loop' takes 2 value(s)"},
        {"pause now", EDIT_BAD, 0, 0, 0, "'pause' takes 0 value(s)"},
        {"Seek 1", EDIT_BAD, 0, 0, 0, "unknown command 'Seek' (did you mean 'seek'?)"},
        {"rewind", EDIT_BAD, 0, 0, 0, "unknown command 'rewind'"},
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
    EXPECT_EQ(edit_command_parse("seek 4:0", {0, 0}).error, "seek 4:0: a time in beats needs a bpm setting before it");
}

TEST(edit_control, seeks_clamp_to_the_show) {
    EXPECT_FLOAT_EQ(edit_clamp_time(-1, 0, 10), 0);
    EXPECT_FLOAT_EQ(edit_clamp_time(4, 2, 10), 4);
    EXPECT_FLOAT_EQ(edit_clamp_time(12, 2, 10), 9.999f);
    EXPECT_FLOAT_EQ(edit_clamp_time(1, 2, 2), 2);  // nothing to play: the start
}
