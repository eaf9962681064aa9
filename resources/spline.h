// Kochanek-Bartels splines through nine float channels, read from text files
// of one "{v1,...,v9}" key per line, with evenly spread key times.
#pragma once

#include <cstddef>

enum { SPLINE_CHANNELS = 9 };

struct spline_key {
    float values[SPLINE_CHANNELS];
    float tension;
    float continuity;
    float bias;
    int linear;
    float time;
};

struct spline {
    spline_key* keys;
    int count;
    float end_time;
};

// Reads a spline file: one key per non-blank line (lines of at most 255
// characters). A missing file, an unreadable line, a number that is not
// finite (nan, inf, beyond the float range) or a file without keys is a
// fatal error naming the file (and the line).
spline spline_load(const char* path);
// Reads `size` bytes of `text` (not necessarily terminated) as spline_load
// reads a file; `name` stands for the file in the messages.
spline spline_load_memory(const char* text, size_t size, const char* name);
// Key k at k * (duration / (count - 1)), in single precision; a lone key at 0.
void spline_spread_times(spline* s, float duration);
// The nine values at time t. Times before the first key give the first key,
// times after the last key give the last key; a one-key spline is constant.
void spline_evaluate(const spline* s, float t, float out[SPLINE_CHANNELS]);
// h1 = 1 - h2, h2 = 3s^2 - 2s^3, h3 = s^3 - 2s^2 + s, h4 = s^3 - s^2.
void hermite_basis(float s, float* h1, float* h2, float* h3, float* h4);

// Parses one key line ("{a,b,...,i}" with optional blanks, anything after the
// closing brace ignored). Returns 1 on success.
int spline_parse_line(const char* line, float out[SPLINE_CHANNELS]);

// Releases the keys (tests and tools; the show keeps its splines).
void spline_free(spline* s);
