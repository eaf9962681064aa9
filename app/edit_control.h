// The edit-mode control channel: one command a line from a named pipe or
// standard input, read without blocking between frames.
//
//   seek TIME   step N   pause   play   loop A B   loop off   reload
//   still FILE.png   shot FILE.png   status   timeline   key NAME   quit
//   track NAME   key NAME TIME VALUE [step|linear|smooth|ramp]   unkey NAME TIME
#pragma once

#include <string>

#include "core/script_time.h"

enum edit_command_kind {
    EDIT_NONE,   // an empty line
    EDIT_BAD,    // not understood: `error` says why
    EDIT_SEEK,
    EDIT_PAUSE,
    EDIT_PLAY,
    EDIT_STEP,
    EDIT_LOOP,
    EDIT_LOOP_OFF,
    EDIT_RELOAD,
    EDIT_STILL,
    EDIT_STATUS,
    EDIT_QUIT,
    EDIT_TIMELINE,
    EDIT_SHOT,
    EDIT_KEY,
    EDIT_TRACK,        // track NAME: print its value now
    EDIT_TRACK_KEY,    // key NAME TIME VALUE [interp]
    EDIT_TRACK_UNKEY,  // unkey NAME TIME
};

struct edit_command {
    edit_command_kind kind;
    float a, b;        // seek: a; loop: a to b
    int frames;        // step
    std::string text;  // still, shot: the file; key: the key's name; track commands: the track
    std::string error;
    std::string when;  // track key, unkey: the time as written (read with the script's tempo)
    int interp;        // track key: its interpolation
};

// `text` in quotes for a message: at most 80 bytes of it, control bytes,
// quotes and backslashes escaped, the length given when it is cut.
std::string edit_quote(const std::string& text);

// Parses one line (its line end removed); times of seek and loop in beats
// or bars are read with `tempo`. Pure.
edit_command edit_command_parse(const std::string& line, const script_tempo& tempo);

struct edit_channel {
    int fd;              // -1: none
    bool is_stdin;
    bool ended;          // standard input reached its end
    std::string buffer;  // bytes read after the last whole line
    std::string dropped; // an unfinished line its writer left behind (the reader reports and clears it)
};

// Opens `path` ("-": standard input) for reading without blocking. False,
// with errno set, when it cannot be opened.
bool edit_channel_open(edit_channel* channel, const char* path);
// The next whole line, if one has arrived.
bool edit_channel_next(edit_channel* channel, std::string* line);
// Whether something waits to be read: a whole line, or bytes of one.
bool edit_channel_waiting(const edit_channel* channel);
void edit_channel_close(edit_channel* channel);
