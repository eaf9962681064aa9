// The audio family of tracks: the soundtrack read as every other file of the
// show is (so edit mode sees it change), decoded once, measured once.
#include "app/audio_tracks.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "app/music_measure.h"
#include "core/fatal.h"
#include "core/track.h"

namespace {

const char* const NAMES[AUDIO_TRACK_COUNT] = {"audio.level", "audio.bass", "audio.mid", "audio.treble", "audio.beat"};

// What the tracks read: the levels, and the beats found (none without a
// steady tempo) with their period.
measured_music* music = nullptr;
std::vector<double> beats;
double period = 0;

void measure(const char* name, bool beat) {
    std::string error;
    music = music_measured(&error);
    if (!music) fatal_error("Script: %s follows the music, but %s", name, error.c_str());
    music_levels_of(music);
    if (!beat) return;
    const music_analysis& a = music_analysis_of(music);
    beats.clear();
    period = 0;
    if (!a.steady) {
        fatal_warning("%s: no steady tempo found in %s (confidence %.2f): the track stays 0", name,
                      music->path.c_str(), a.confidence);
        return;
    }
    beats = a.beats;
    period = 60.0 / a.bpm;
}

}  // namespace

int audio_track_find(const char* name) {
    for (int id = 0; id < AUDIO_TRACK_COUNT; ++id) {
        if (std::strcmp(name, NAMES[id]) != 0) continue;
        measure(name, id == AUDIO_BEAT);
        return id;
    }
    return -1;
}

float audio_track_value(int id, double seconds) {
    if (id < 0 || id >= AUDIO_TRACK_COUNT) return 0;
    if (!music) return 0;
    if (id != AUDIO_BEAT) return music_levels_at(music_levels_of(music), music_band(id), seconds);
    // The last beat at or before `seconds`, and how far into its first half.
    auto next = std::upper_bound(beats.begin(), beats.end(), seconds);
    if (next == beats.begin()) return 0;
    double since = seconds - *(next - 1);
    return float(std::max(0.0, 1.0 - since / (period / 2)));
}

void audio_tracks_register() {
    static const track_builtin family = {"audio.", audio_track_find, audio_track_value};
    track_builtin_register(&family);
}
