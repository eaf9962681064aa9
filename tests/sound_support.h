// A stereo test tone of known frequency and phase, its MP3, and a search for
// the lag at which decoded samples line up with it.
#pragma once

#include <cmath>
#include <cstdint>
#include <map>
#include <vector>

#include "assetlib/mp3_encode.h"

// Left: 441 Hz; right: 11 Hz, whose period (4009 samples) is longer than the
// lags searched, so a match is unique.
inline double tone_value(int64_t frame, int channel) {
    const double PI = 3.14159265358979;
    double t = static_cast<double>(frame) / 44100.0;
    return channel == 0 ? 12000.0 * std::sin(2 * PI * 441.0 * t + 0.3) : 12000.0 * std::sin(2 * PI * 11.0 * t + 1.0);
}

// The MP3 of the tone's first `frames` frames, made once per length.
inline const std::vector<unsigned char>& tone_mp3(int frames) {
    static std::map<int, std::vector<unsigned char>> made;
    std::vector<unsigned char>& mp3 = made[frames];
    if (mp3.empty()) {
        std::vector<int16_t> pcm(static_cast<size_t>(frames) * 2);
        for (int i = 0; i < frames; ++i)
            for (int c = 0; c < 2; ++c) pcm[size_t(i) * 2 + c] = static_cast<int16_t>(std::lround(tone_value(i, c)));
        mp3 = asset_encode_mp3(pcm, 192);
    }
    return mp3;
}

struct tone_match {
    int lag;     // decoded[k] matches the tone at first + k + lag
    double rms;  // the residual at that lag
};

// Compares `count` decoded frames with the tone from `first` on, for every
// lag in -max_lag..max_lag, and returns the best.
inline tone_match tone_best_lag(const int16_t* decoded, int count, int first, int max_lag) {
    tone_match best = {0, 1e30};
    for (int lag = -max_lag; lag <= max_lag; ++lag) {
        double sum = 0;
        for (int k = 0; k < count; ++k)
            for (int c = 0; c < 2; ++c) {
                double d = decoded[size_t(k) * 2 + c] - tone_value(int64_t(first) + k + lag, c);
                sum += d * d;
            }
        double rms = std::sqrt(sum / (2.0 * count));
        if (rms < best.rms) best = {lag, rms};
    }
    return best;
}
