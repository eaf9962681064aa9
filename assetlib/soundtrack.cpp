// The show's soundtrack: an original piece synthesised here and encoded to
// MP3. 120 beats per minute (a beat every 0.5 s, a bar every 2 s), 160 s long,
// so sync times in the script fall on multiples of 0.5 s. Sections of the
// piece, in bars: 0-7 pads alone, 8-15 kick joins, 16-47 bass and hats,
// 48-63 breakdown (pads and bass), 64-79 everything, fading out.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "assetlib/asset_io.h"
#include "assetlib/generators.h"
#include "assetlib/instruments.h"
#include "assetlib/mp3_encode.h"

namespace {

const int RATE = 44100;
const float PI = 3.14159265f;

// One piece: its beat, its length, and whether it is the default show's
// (layers by its own plan) or a starter show's beat track (kick from the
// second bar, bass and hats from the third).
struct piece {
    float beat;
    float seconds;
    bool show;
};

// Root notes of the chord progression, one per bar, as MIDI numbers.
const int progression[4] = {45, 41, 48, 43};  // A, F, C, G

struct layers {
    bool kick, hats, bass, pads;
};

layers layers_at_bar(int bar) {
    if (bar < 8) return {false, false, false, true};
    if (bar < 16) return {true, false, false, true};
    if (bar < 48) return {true, true, true, true};
    if (bar < 64) return {false, false, true, true};
    return {true, true, true, true};
}

float sample_at(const piece& p, int i) {
    const float BEAT = p.beat;
    float t = static_cast<float>(i) / RATE;
    int beat = static_cast<int>(t / BEAT);
    int bar = beat / 4;
    float in_beat = t - beat * BEAT;
    int root = progression[bar % 4];
    layers on = p.show ? layers_at_bar(bar) : layers{bar >= 1, bar >= 2, bar >= 2, true};
    float v = 0;
    if (on.pads) v += instrument_pad(t, root);
    if (on.kick) v += instrument_kick(in_beat) * 0.7f;
    if (on.hats) v += instrument_hat(in_beat - BEAT / 2, i);
    if (on.bass) v += instrument_bass(in_beat, t, root);
    float total = p.seconds;
    float fade = std::min(8.0f, total / 4);
    if (t > total - fade) v *= (total - t) / fade;  // out over the last 8 s (a short piece: a quarter)
    if (t < 2) v *= t / 2;                          // and in over the first 2 s
    return v;
}

std::vector<int16_t> synthesise(const piece& p) {
    int count = static_cast<int>(p.seconds * RATE);
    std::vector<int16_t> pcm(static_cast<size_t>(count) * 2);
    for (int i = 0; i < count; ++i) {
        float v = std::tanh(sample_at(p, i) * 1.2f);
        float pan = 0.08f * std::sin(2 * PI * 0.1f * static_cast<float>(i) / RATE);
        pcm[size_t(i) * 2] = static_cast<int16_t>(v * (1 - pan) * 30000);
        pcm[size_t(i) * 2 + 1] = static_cast<int16_t>(v * (1 + pan) * 30000);
    }
    return pcm;
}

}  // namespace

void generate_soundtrack(const std::string& data_dir) {
    const float bars = 80;
    asset_write(data_dir + "/music/soundtrack.mp3", asset_encode_mp3(synthesise({0.5f, bars * 2, true}), 160));
}

std::vector<unsigned char> soundtrack_beat_mp3(int bpm, float seconds) {
    return asset_encode_mp3(synthesise({60.0f / static_cast<float>(bpm), seconds, false}), 128);
}
