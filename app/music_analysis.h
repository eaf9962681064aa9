// Tempo, first downbeat, beats and onsets of a piece of music.
//
// A show's music usually keeps one steady tempo, so one tempo and one phase
// are fitted to the whole piece rather than trusting beat-by-beat estimates:
// the onsets the detector finds (with their strengths) vote for the period
// and phase that put the most of them on a beat, and a least-squares line
// through the onsets that fall on that grid sets both exactly. The bar's
// first beat (four beats a bar) is the beat where the harmony changes most,
// or, when every beat sounds alike, the first beat that sounds.
#pragma once

#include <cstddef>
#include <vector>

// Below this confidence the piece has no steady tempo.
const double ANALYSIS_MIN_CONFIDENCE = 0.35;

struct music_onset {
    double time;     // seconds
    float strength;  // 0..1, the strongest onset of the piece 1
};

struct tempo_alternative {
    double bpm;
    double confidence;
};

struct music_analysis {
    double seconds = 0;        // the piece's length
    bool silent = false;       // nothing above the detector's silence gate
    bool steady = false;       // a tempo was found (confidence high enough)
    double bpm = 0;
    double confidence = 0;     // 0..1: how much of the onsets' weight the beat grid explains
    double beat_offset = 0;    // the first downbeat, seconds
    std::vector<double> beats;  // every beat of the grid over the piece
    std::vector<music_onset> onsets;
    // Half and double the tempo when they explain the onsets nearly as well.
    std::vector<tempo_alternative> alternatives;
};

// The onsets alone (the quicker part of the analysis).
std::vector<music_onset> music_onsets(const float* mono, size_t count, int rate);

// Analyses `count` mono samples at `rate` samples a second.
music_analysis music_analyse(const float* mono, size_t count, int rate);

// The confidence of a beat grid (`period` seconds, a beat at `phase`) for
// the onsets: the share of their weight within a tolerance of a beat, above
// what onsets scattered at random would give (0), up to all of it (1).
double analysis_grid_confidence(const std::vector<music_onset>& onsets, double period, double phase);
