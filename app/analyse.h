// quillon --analyse [SHOW_DIR | FILE.mp3] [--write [--force]]: the tempo,
// first downbeat, beats and onsets of a show's music, printed as lines an
// author can paste into the script, or written into it.
#pragma once

#include <string>

#include "app/music_analysis.h"

struct cmdline;

// Runs the command; the process's exit status (0, or 1 when no steady tempo
// was found). Faults of the file or the script end the run as fatal errors.
int analyse_run(const cmdline* options);

// A number as the script takes it: at most `decimals` decimals, no trailing
// zeros ("120", "97.31", "0.25").
std::string analyse_number(double value, int decimals);

// What --analyse prints for the music in `name`.
std::string analyse_report(const music_analysis& a, const std::string& name);

// The onsets as a track file: each a key of its strength falling linearly
// to 0 within a tenth of a second (or half the way to the next onset).
std::string analyse_onset_track(const music_analysis& a, const std::string& name);

// The script with `bpm` and `beat_offset` set in its head, every other byte
// as it was. A setting already there with the same value is left alone; a
// different one is replaced with `force`, else `error` says why not and the
// text is empty.
struct head_edit {
    std::string text;
    std::string error;
};
head_edit analyse_set_tempo(const std::string& script, const std::string& script_name, double bpm, double beat_offset,
                            bool force);
