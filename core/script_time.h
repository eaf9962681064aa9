// Times as the script writes them: seconds, beats or bars and beats.
//
//   12.5     seconds
//   16b      beat 16 (beats may have a fraction: 16.5b)
//   8:2      bar 8, beat 2: four beats a bar, bars and beats counted from 0,
//            so 8:2 is beat 34 (the beat may have a fraction: 8:2.5)
//
// A time on the demo clock (demostart, demoend, start, end) counts its beats
// from the tempo's first beat; a length (a sync time, which counts from its
// section's start, a spline's duration, the step of `syncs every`) is just
// that many beats. Beats become seconds once, here, at reading.
#pragma once

enum {
    SCRIPT_TIME_MAX = 100000,   // latest time a script may name, in seconds
    SCRIPT_BEATS_PER_BAR = 4,
};

// The head's tempo: beats per minute (0: none set) and the demo time of
// beat 0, in seconds.
struct script_tempo {
    float bpm;
    float beat_offset;
};

enum script_time_kind {
    SCRIPT_TIME_POINT,   // a moment on the demo clock: beats count from beat_offset
    SCRIPT_TIME_LENGTH,  // a span: beats are lengths
};

enum script_time_status {
    SCRIPT_TIME_OK,       // the text is a time
    SCRIPT_TIME_JUNK,     // a number of seconds followed by other text: the number is taken
    SCRIPT_TIME_NONE,     // nothing parses; the caller keeps what it had
    SCRIPT_TIME_ERROR,    // a time that cannot be taken: `error` says why
};

struct script_time {
    script_time_status status;
    double seconds;       // valid for OK and JUNK
    int in_beats;         // written in beats or bars
    const char* error;    // for ERROR
};

// The error of a time in beats read without a tempo (compared by address).
extern const char* const SCRIPT_TIME_NO_TEMPO;

// Reads the time at the start of `text` (leading blanks skipped; the time is
// one word: what follows it must be blank or the end, else the result is
// JUNK for seconds and ERROR for beats). A time in beats needs a tempo;
// every time must be finite and at most SCRIPT_TIME_MAX seconds, and a time
// in beats must not fall before 0.
script_time script_time_parse(const char* text, const script_tempo& tempo, script_time_kind kind);

// A time typed outside the script (on the command line, in edit mode's
// commands): one word in any of the script's forms, read as a moment with
// `tempo` (seconds may be negative, as the caller decides). Null, with the seconds in *out and whether it was
// written in beats in *in_beats (may be null), or the reason it is no time.
const char* script_time_read(const char* text, const script_tempo& tempo, float* out, int* in_beats);

// A decimal float at the start of `text` (white space, optional sign, digits
// with an optional fraction, an optional exponent; the longest such prefix).
// Hex, "inf" and "nan" are not decimal and do not parse. Returns 0, leaving
// *out alone, when nothing parses; else 1, with *end after the number.
int script_scan_float(const char* text, float* out, const char** end);

// The moment of beat `beats` on the demo clock (the tempo has a bpm).
double script_time_of_beat(double beats, const script_tempo& tempo);

// Writes the moment `seconds` on the demo clock as the script would name it
// in bars and beats ("8:2.50", beat to two decimals) into `out`; an empty
// string when the tempo has no bpm or the moment falls before beat 0.
void script_time_bar_beat(float seconds, const script_tempo& tempo, char* out, int size);

// Whether `text` holds nothing but blanks.
int script_text_blank(const char* text);
