// The measured music: one record, filled as it is asked.
#include "app/music_measure.h"

#include <algorithm>
#include <cmath>

#include "core/settings.h"
#include "platform/sound.h"

namespace {
measured_music music;
bool music_ok = false;
}  // namespace

measured_music* music_measured(std::string* error) {
    std::string why;
    if (!snd_mp3file) why = "the script names no music (snd_mp3file)";
    file_stamp stamp = {};
    bool stamped = snd_mp3file && file_stamp_of(snd_mp3file, &stamp);
    if (why.empty() && music_ok && music.path == snd_mp3file && stamped && stamp == music.stamp) return &music;
    std::vector<unsigned char> bytes;
    if (why.empty() && !file_read_all(snd_mp3file, &bytes)) why = std::string("Mp3 file not found in ") + snd_mp3file;
    music = measured_music();
    music_ok = false;
    if (why.empty() && !music_decode_mono(bytes.data(), bytes.size(), &music.mono))
        why = std::string(sound_error_text(sound_error())) + ": " + snd_mp3file;
    if (!why.empty()) {
        if (error) *error = why;
        return nullptr;
    }
    music.path = snd_mp3file;
    music.stamp = stamp;
    music_ok = true;
    return &music;
}

const music_levels& music_levels_of(measured_music* m) {
    if (!m->has_levels) m->levels = music_levels_compute(m->mono.data(), m->mono.size(), SOUND_RATE);
    m->has_levels = true;
    return m->levels;
}

const std::vector<float>& music_peaks_of(measured_music* m) {
    if (!m->has_peaks) {
        size_t block = SOUND_RATE / MUSIC_PEAKS_PER_SECOND;
        m->peaks.assign((m->mono.size() + block - 1) / block, 0.0f);
        for (size_t i = 0; i < m->mono.size(); ++i)
            m->peaks[i / block] = std::max(m->peaks[i / block], std::abs(m->mono[i]));
    }
    m->has_peaks = true;
    return m->peaks;
}

const std::vector<music_onset>& music_onsets_of(measured_music* m) {
    if (!m->has_onsets) m->onsets = m->analysed ? m->analysis.onsets : music_onsets(m->mono.data(), m->mono.size(), SOUND_RATE);
    m->has_onsets = true;
    return m->onsets;
}

const music_analysis& music_analysis_of(measured_music* m) {
    if (!m->analysed) m->analysis = music_analyse(m->mono.data(), m->mono.size(), SOUND_RATE);
    m->analysed = true;
    return m->analysis;
}
