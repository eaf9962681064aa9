// The audio family of tracks: the soundtrack read as every other file of the
// show is (so edit mode sees it change), decoded once, measured once.
#include "app/audio_tracks.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "app/music_analysis.h"
#include "core/fatal.h"
#include "core/file_read.h"
#include "core/settings.h"
#include "platform/music_levels.h"
#include "platform/sound.h"

const char AUDIO_TRACK_PREFIX[] = "audio.";

namespace {

const char* const NAMES[AUDIO_TRACK_COUNT] = {"audio.level", "audio.bass", "audio.mid", "audio.treble", "audio.beat"};

// What was measured, and of which file as it was then.
struct measured_music {
    std::string path;
    file_stamp stamp = {};
    std::vector<float> mono;
    music_levels levels;
    bool analysed = false;
    std::vector<double> beats;
    double period = 0;
};
measured_music music;

void measure(const char* name) {
    if (!snd_mp3file) fatal_error("Script: %s follows the music, but the script names none (snd_mp3file)", name);
    file_stamp stamp = {};
    bool stamped = file_stamp_of(snd_mp3file, &stamp);
    if (music.path == snd_mp3file && stamped && stamp == music.stamp) return;
    std::vector<unsigned char> bytes;
    if (!file_read_all(snd_mp3file, &bytes)) fatal_error("Mp3 file not found in %s", snd_mp3file);
    measured_music fresh;
    fresh.path = snd_mp3file;
    fresh.stamp = stamp;
    if (!music_decode_mono(bytes.data(), bytes.size(), &fresh.mono))
        fatal_error("%s: %s", sound_error_text(sound_error()), snd_mp3file);
    fresh.levels = music_levels_compute(fresh.mono.data(), fresh.mono.size(), SOUND_RATE);
    music = std::move(fresh);
}

void analyse_beats() {
    if (music.analysed) return;
    music_analysis a = music_analyse(music.mono.data(), music.mono.size(), SOUND_RATE);
    music.analysed = true;
    if (!a.steady) {
        fatal_warning("audio.beat: no steady tempo found in %s (confidence %.2f): the track stays 0",
                      music.path.c_str(), a.confidence);
        return;
    }
    music.beats = a.beats;
    music.period = 60.0 / a.bpm;
}

}  // namespace

int audio_track_find(const char* name) {
    for (int id = 0; id < AUDIO_TRACK_COUNT; ++id) {
        if (std::strcmp(name, NAMES[id]) != 0) continue;
        measure(name);
        if (id == AUDIO_BEAT) analyse_beats();
        return id;
    }
    return -1;
}

float audio_track_value(int id, double seconds) {
    if (id < 0 || id >= AUDIO_TRACK_COUNT) return 0;
    if (id != AUDIO_BEAT) return music_levels_at(music.levels, music_band(id), seconds);
    // The last beat at or before `seconds`, and how far into its first half.
    auto next = std::upper_bound(music.beats.begin(), music.beats.end(), seconds);
    if (next == music.beats.begin()) return 0;
    double since = seconds - *(next - 1);
    return float(std::max(0.0, 1.0 - since / (music.period / 2)));
}
