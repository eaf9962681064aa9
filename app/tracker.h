// Edit mode as the client of a sync-tracker editor (--tracker HOST[:PORT]).
//
// The editor listens (port 1338 by default); the client connects, sends the
// 19 bytes "hello, synctracker!" and waits for the 12 bytes "hello, demo!".
// Then each message is one command byte and its operands, integers as
// big-endian 32-bit words:
//
//   0 SET_KEY      editor -> client  track, row, float bits, 1-byte interpolation
//   1 DELETE_KEY   editor -> client  track, row
//   2 GET_TRACK    client -> editor  name length, name bytes; tracks are
//                                    numbered in the order they are asked for,
//                                    and the editor answers with a SET_KEY a key
//   3 SET_ROW      both ways         row: the client's while playing, the
//                                    editor's cursor to seek to while paused
//   4 PAUSE        editor -> client  1-byte flag
//   5 SAVE_TRACKS  editor -> client  the client writes its track files
//
// Row r is beat r / rows_per_beat from beat_offset, so the editor's grid is
// the show's beat grid. Anything else from the editor closes the connection
// with one line on standard error; the tracks keep their keys, and the
// client tries to connect again every second, as after a lost connection.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

enum tracker_command {
    TRACKER_SET_KEY = 0,
    TRACKER_DELETE_KEY = 1,
    TRACKER_GET_TRACK = 2,
    TRACKER_SET_ROW = 3,
    TRACKER_PAUSE = 4,
    TRACKER_SAVE_TRACKS = 5,
};

enum {
    TRACKER_DEFAULT_PORT = 1338,
    TRACKER_NAME_MAX = 4096,           // longest track name a message may carry
    TRACKER_FLOOD_BYTES = 8 << 20,     // most the editor may send within a second
};

struct tracker_message {
    int command;
    uint32_t track, row;
    float value;
    int interp;
    int flag;
};

// Reads the editor's message at the start of `bytes`, given how many tracks
// the client has asked for. Returns the bytes it takes, 0 when the message is
// not all there yet, -1 when it is malformed (the reason in `error`).
long tracker_parse(const unsigned char* bytes, size_t size, size_t tracks_asked, tracker_message* out,
                   std::string* error);

// The client's messages, as bytes.
std::string tracker_get_track(const std::string& name);
std::string tracker_set_row(uint32_t row);

// Starts following the editor at `where` ("" : localhost, "HOST", "HOST:PORT").
void tracker_start(const char* where);
// Between frames: connects or tries again, takes the editor's messages, asks
// for the tracks the show names, and tells the editor the row while playing.
void tracker_poll();
void tracker_stop();
