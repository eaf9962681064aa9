// Tracks: named lists of keys (time, value, interpolation) that a section's
// params can follow.
//
// A param line `param @NAME [SCALE [OFFSET]]` binds the param to the track
// NAME; before a section starts and before each of its frames, its bound
// params take the track's value at the demo time, times SCALE, plus OFFSET.
// A track's value is a pure function of the demo time (no history), so a
// show opened at any moment draws what playing up to it draws.
//
// Tracks are read from the show's data/tracks/ folder, as text
// (data/tracks/NAME.txt, see track_parse_text) or in the tracker's binary
// form (data/tracks/sync_NAME.track, see track_parse_binary); families of
// tracks computed by code (the soundtrack's level, say) register a name
// prefix instead of having files.
//
// The store keeps the tracks read for the show. Tracks edited live (by the
// control channel or a sync-tracker editor) stay edited when the show is
// opened again, until their file changes on disk.
#pragma once

#include <string>
#include <vector>

#include "core/file_read.h"
#include "core/script_time.h"

struct section;

enum track_interp { TRACK_STEP = 0, TRACK_LINEAR, TRACK_SMOOTH, TRACK_RAMP, TRACK_INTERPS };

enum {
    TRACK_NAME_MAX = 63,
    TRACK_KEYS_MAX = 1 << 20,  // keys one track may hold
};

struct track_key {
    double time;  // demo seconds
    float value;
    int interp;   // how the value goes from this key to the next
};

struct track {
    std::string name;
    std::vector<track_key> keys;  // in strictly increasing time
    double repeat;                // seconds the keys repeat after; 0: no repeat
    float repeat_beats;           // the same, as written
    std::string path;             // the file read, or the text file it is saved to
    file_stamp stamp;             // that file's stamp when read or written
    int live;                     // edited since read
};

// A family of tracks computed from the time (the soundtrack's level, its
// beat): names starting with `prefix` are found by `find` (-1: no such track)
// and evaluated by `value`. They have no files and no keys.
struct track_builtin {
    const char* prefix;
    int (*find)(const char* name);
    float (*value)(int id, double seconds);
};
// Registers a family (kept by pointer; registering the same one again does
// nothing). Names with its prefix are no longer looked up as files.
void track_builtin_register(const track_builtin* family);

// ---------------------------------------------------------------------------
// Values
// ---------------------------------------------------------------------------

// The eased fraction: step 0, linear t, smooth t²(3 - 2t), ramp t².
double track_shape(int interp, double t);

// The value at `seconds`: before the first key the first value, after the
// last the last, between two keys the first's value eased towards the
// second's by the first's interpolation; 0 with no keys. A repeating track
// plays its keys again every `repeat` seconds from its first key on.
float track_value(const track& t, double seconds);

// The interpolation named `word` ("step", "linear", "smooth", "ramp"), or -1.
int track_interp_find(const char* word);
const char* track_interp_name(int interp);

// ---------------------------------------------------------------------------
// Files
// ---------------------------------------------------------------------------

// A valid track name: 1 to 63 of letters, digits, '_', '.', '-', ':', not
// starting with '.'.
int track_name_valid(const char* name);

// data/tracks/NAME.txt
std::string track_text_path(const std::string& name);
// data/tracks/sync_NAME.track, characters other than letters, digits, '.',
// '_' and '/' written as '-' and two hex digits.
std::string track_binary_path(const std::string& name);

// Rows of the tracker's grid: `rows_per_beat` a beat, row 0 on beat 0;
// without a bpm, a beat a second from 0.
double track_row_time(double row, const script_tempo& tempo, int rows_per_beat);
double track_time_row(double seconds, const script_tempo& tempo, int rows_per_beat);

// Reads the text form into `out` (its keys and repeat):
//
//   ; a comment (also // ...)
//   repeat 1          the keys play again every 1 beat (before the keys)
//   0b   1   linear   TIME VALUE [step|linear|smooth|ramp], step by default
//   0.5b 0
//
// TIME is any time the script takes (12.5, 16b, 8:2) on the demo clock.
// Returns 1, or 0 with "Track PATH: what, line N" in `error`.
int track_parse_text(const std::vector<unsigned char>& bytes, const char* path, const script_tempo& tempo,
                     track* out, std::string* error);

// Reads the tracker's binary form: a 32-bit key count, then per key a 32-bit
// row, a 32-bit float and a 1-byte interpolation, little-endian.
int track_parse_binary(const std::vector<unsigned char>& bytes, const char* path, const script_tempo& tempo,
                       int rows_per_beat, track* out, std::string* error);

// The text form of `t`, which track_parse_text reads back to the same keys.
std::string track_format_text(const track& t, const script_tempo& tempo);

// ---------------------------------------------------------------------------
// The store
// ---------------------------------------------------------------------------

// What a param follows: a track of the store, or a computed one.
struct track_ref {
    int index;                     // into the store; -1 for a computed track
    const track_builtin* family;
    int id;
};

float track_ref_value(const track_ref& ref, double seconds);

// A param bound to a track: the section's params[param] = value * scale + offset.
struct track_param {
    int param;
    track_ref ref;
    float scale, offset;
};

// Before a script is read: forgets the tracks read from files, keeping those
// edited live whose file is unchanged since.
void track_store_refresh();
// Forgets every track (tests).
void track_store_clear();

int track_count();
track* track_at(int index);
// The store's index of `name`, or -1 when it holds no such track.
int track_find(const char* name);

// Finds the track `name` (a computed one, one held, or one read now from its
// file with the tempo and rows per beat given). Returns 1, or 0 with the
// fault in `error`, which is empty when the track's file failed before (since
// the last refresh) and was reported then.
int track_resolve(const char* name, const script_tempo& tempo, int rows_per_beat, track_ref* out,
                  std::string* error);

// Live edits: a track that is not held yet is made, empty, with its text
// file as its path. Setting a key at an existing key's time replaces it.
// Return the track's index.
int track_edit_set(const char* name, double seconds, float value, int interp);
// Removes the key at `seconds`; 0 when there is none.
int track_edit_remove(const char* name, double seconds);
// Empties the track (an editor is about to send its keys).
int track_edit_clear(const char* name);

// The section's bound params take their tracks' values at `seconds`.
void track_apply(section* s, double seconds);
