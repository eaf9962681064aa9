// quillon --new DIR: a starter show that plays at once. Its script comments
// every setting and every param from the engine's own tables; its pictures,
// model, flights and beat soundtrack are made here, by the asset
// generator's code, at the tempo asked for.
#pragma once

#include <string>

enum { NEW_SHOW_BPM = 120, NEW_SHOW_SECONDS = 20 };

// The length of the starter show of about `seconds` at `bpm`, in whole
// beats (at least one).
int new_show_beats(int bpm, float seconds);
// The starter script for a show of `seconds` (to the nearest beat) at `bpm`:
// eight section types whose starts, ends and spline lengths are all written
// in bars and beats, so a new bpm alone re-times the show.
std::string new_show_script(int bpm, float seconds);

// The text of its one track, data/tracks/pulse.txt.
const char* new_show_pulse_track();

// Writes the show into a temporary folder beside `dir`, then renames it to
// `dir`, so an interrupted run leaves no half-made show. A `dir` that exists
// and is not an empty folder is refused and nothing is written. Faults stop
// the run with an error naming the folder.
void new_show_write(const char* dir, int bpm, float seconds);
