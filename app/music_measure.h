// The show's music as the program measures it: decoded once, its levels,
// loudness, onsets and tempo each worked out the first time one is asked
// for, all again when the file changes (by its stamp). Shared by the audio
// tracks and the timeline view, so the music is decoded once for both.
#pragma once

#include <string>
#include <vector>

#include "app/music_analysis.h"
#include "core/file_read.h"
#include "platform/music_levels.h"

enum { MUSIC_PEAKS_PER_SECOND = 100 };

struct measured_music {
    std::string path;
    file_stamp stamp = {};
    std::vector<float> mono;
    bool has_levels = false, has_peaks = false, has_onsets = false, analysed = false;
    music_levels levels;
    std::vector<float> peaks;  // the loudest sample of each hundredth of a second
    std::vector<music_onset> onsets;
    music_analysis analysis;
};

// The music named by snd_mp3file, read through the engine's file reader.
// Null when the script names none or it cannot be played; then `error`
// (may be null) says why.
measured_music* music_measured(std::string* error);

const music_levels& music_levels_of(measured_music* m);
const std::vector<float>& music_peaks_of(measured_music* m);
const std::vector<music_onset>& music_onsets_of(measured_music* m);
const music_analysis& music_analysis_of(measured_music* m);
