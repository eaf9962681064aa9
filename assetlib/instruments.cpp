// The generated music's instruments.
#include "assetlib/instruments.h"

#include <cmath>

#include "assetlib/noise.h"

namespace {
const float PI = 3.14159265f;
}

float note_hz(int midi) { return 440.0f * std::pow(2.0f, (midi - 69) / 12.0f); }

float instrument_kick(float t) {
    if (t < 0 || t > 0.4f) return 0;
    float phase = 2 * PI * (50.0f * t + 60.0f * (1 - std::exp(-t * 30.0f)) / 30.0f * 2.0f);
    return std::sin(phase) * std::exp(-t * 9.0f);
}

float instrument_hat(float t, int sample) {
    if (t < 0 || t > 0.08f) return 0;
    float n = noise_hash(sample, 17, 5) * 2 - 1;
    return n * std::exp(-t * 60.0f) * 0.25f;
}

float instrument_pad(float t, int root) {
    const int chord[3] = {0, 3, 7};  // minor triad
    float sum = 0;
    for (int k = 0; k < 3; ++k) {
        float f = note_hz(root + 12 + chord[k]);
        sum += std::sin(2 * PI * f * t) + 0.5f * std::sin(2 * PI * f * 1.003f * t);
    }
    return sum * 0.06f;
}

float instrument_bass(float t_in_beat, float t, int root) {
    float env = std::exp(-t_in_beat * 5.0f);
    float f = note_hz(root);
    float saw = 0;
    for (int h = 1; h <= 6; ++h) saw += std::sin(2 * PI * f * h * t) / h;
    return saw * env * 0.18f;
}
