// The player's options, declared once: each row gives an option's name, the
// kind of value it takes and its limits, the modes that take it and its help
// text. Parsing, the checks of values and modes, the usage text (and with it
// the manual page) all read this table; a new option is one row of it.
#pragma once

#include "app/cmdline.h"

// What an option's value is, and so how it is read and checked.
enum cmdline_kind {
    CMDLINE_SWITCH,    // no value: sets `number` to `high`
    CMDLINE_TEXT,      // any text, kept as typed
    CMDLINE_OPTIONAL,  // a text that may follow it (see cmdline_parse), "" when none does
    CMDLINE_WHOLE,     // a whole number from `low` to `high`
    CMDLINE_SECONDS,   // a number of seconds above `low`, at most `high`
    CMDLINE_SIZE,      // WxH, both sides whole numbers from `low` to `high`
    CMDLINE_FRAMES,    // FIRST:END, whole frame numbers with FIRST below END
    CMDLINE_TIME,      // a time in any of the script's forms, 0 or more
};

// The modes, as the options that choose them; an option used in none of
// the modes its row names is refused.
enum cmdline_mode {
    CMDLINE_CAPTURE = 1 << 0,
    CMDLINE_BENCH = 1 << 1,
    CMDLINE_VIDEO = 1 << 2,
    CMDLINE_EDIT = 1 << 3,
    CMDLINE_FARM = 1 << 4,
    CMDLINE_NEW = 1 << 5,
    CMDLINE_ANALYSE = 1 << 6,
    CMDLINE_WRITE = 1 << 7,  // --analyse --write
    CMDLINE_OFFLINE = CMDLINE_CAPTURE | CMDLINE_BENCH | CMDLINE_VIDEO,
};

struct cmdline_option {
    const char* name;             // "--fps"
    const char* value;            // the value as the usage shows it ("N"); null: none shown
    cmdline_kind kind;
    int low, high;                // the value's limits; a switch's value in `high`
    const char* rule;             // "--fps must be RULE, not '0'": a format of low and high
    unsigned modes;               // the modes that take it; 0: every run
    const char* alone;            // the message when given outside them: a format of the name
    const char* names;            // what an empty text should have been ("a folder name"); null: may be empty
    const char* help;             // its lines of the usage, a format of low and high; null: not shown
    int cmdline::*number;         // SWITCH, WHOLE; the first of SIZE and FRAMES; TIME: in beats
    int cmdline::*second;         // the second of SIZE and FRAMES
    const char* cmdline::*text;   // the value as typed
    float cmdline::*seconds;      // SECONDS, TIME
    int cmdline::*given;          // set to 1 when the option is given
};

extern const cmdline_option cmdline_options[];
extern const int CMDLINE_OPTION_COUNT;

// The row of `name`, or null when no option has that name.
const cmdline_option* cmdline_option_find(const char* name);
