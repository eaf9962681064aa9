// The test pieces: the soundtrack's instruments in plain patterns. A bass
// line changes its note each bar (so bars can be told), and nothing sounds
// before the first downbeat.
#include "assetlib/test_music.h"

#include <cmath>

#include "assetlib/instruments.h"
#include "assetlib/noise.h"

namespace {

const int RATE = 44100;
const int ROOTS[4] = {45, 41, 48, 43};

const test_piece PIECES[TEST_PIECE_COUNT] = {
    {"kicks at 128 BPM from 0.25 s", 128.0, 0.25, 30},
    {"97.3 BPM, off-beat hats and a bass line", 97.3, 0.4, 30},
    {"110 BPM swung", 110.0, 0.0, 30},
    {"drumless pad", 0.0, 0.0, 30},
};

// A snare: a noise burst with a body, 150 ms.
float snare(float t, int sample) {
    if (t < 0 || t > 0.15f) return 0;
    float n = noise_hash(sample, 29, 11) * 2 - 1;
    return (n * 0.4f + 0.3f * std::sin(2 * 3.14159265f * 190.0f * t)) * std::exp(-t * 25.0f);
}

float pattern(int id, int i) {
    const test_piece& p = PIECES[id];
    float t = float(i) / RATE;
    float beat = p.bpm > 0 ? float(60.0 / p.bpm) : 1.0f;
    float since = t - float(p.first_downbeat);
    if (since < 0) return 0;
    int n = int(since / beat);
    float in_beat = since - float(n) * beat;
    int root = ROOTS[(n / 4) % 4];
    switch (id) {
    case TEST_PIECE_KICKS: return 0.8f * instrument_kick(in_beat);
    case TEST_PIECE_OFFBEATS:
        return 0.7f * instrument_kick(in_beat) + instrument_bass(in_beat, t, root) +
               instrument_hat(in_beat - beat / 2, i);
    case TEST_PIECE_SWING: {
        float drum = n % 2 == 0 ? 0.7f * instrument_kick(in_beat) : snare(in_beat, i);
        return drum + instrument_bass(in_beat, t, root) + instrument_hat(in_beat, i) +
               instrument_hat(in_beat - beat * 2 / 3, i);
    }
    default: {
        // Chords at uneven times, each swelling in over a second.
        static const float changes[] = {0.0f, 2.9f, 7.3f, 9.1f, 14.6f, 17.0f, 22.3f, 25.8f, 1e9f};
        int c = 0;
        while (changes[c + 1] <= t) ++c;
        float swell = std::fmin(1.0f, (t - changes[c]) / 1.0f);
        return 2.0f * swell * instrument_pad(t, ROOTS[c % 4] + (c % 3));
    }
    }
}

}  // namespace

const test_piece& test_piece_info(int id) { return PIECES[id]; }

std::vector<int16_t> test_piece_pcm(int id) {
    int count = int(PIECES[id].seconds * RATE);
    std::vector<int16_t> pcm(size_t(count) * 2);
    for (int i = 0; i < count; ++i) {
        float v = std::tanh(pattern(id, i) * 1.2f);
        pcm[size_t(i) * 2] = pcm[size_t(i) * 2 + 1] = int16_t(v * 28000);
    }
    return pcm;
}
