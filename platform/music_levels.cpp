// The soundtrack's band levels: a Hann-windowed FFT (libavutil's) per hop,
// band magnitudes, and each divided by its trailing mean. Computed once over
// the whole decoded piece; reading a value is an interpolation.
#include "platform/music_levels.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

extern "C" {
#include <libavutil/mem.h>
#include <libavutil/tx.h>
}

#include "platform/sound.h"

namespace {

struct band_edges {
    float low, high;  // Hz
};
const band_edges EDGES[MUSIC_BAND_COUNT] = {{20, 16000}, {20, 250}, {250, 4000}, {4000, 16000}};

// A band quieter on average than a full-scale sine 60 dB down counts as
// silent: its level is measured against that, not against its own noise.
const float SILENCE = 0.001f;

// Magnitude of each band in every window: the root of the band's summed
// power, scaled so a full-scale sine inside the band measures 1.
void band_magnitudes(const float* mono, size_t count, int rate, music_levels* out) {
    const int n = MUSIC_LEVEL_WINDOW;
    size_t hops = count / MUSIC_LEVEL_HOP + 1;
    AVTXContext* tx = nullptr;
    av_tx_fn fft = nullptr;
    float scale = 1.0f;
    if (av_tx_init(&tx, &fft, AV_TX_FLOAT_FFT, 0, n, &scale, 0) < 0) return;
    std::vector<float> hann(n);
    double window_sum = 0;
    for (int i = 0; i < n; ++i) {
        hann[size_t(i)] = 0.5f - 0.5f * std::cos(2 * float(M_PI) * float(i) / float(n));
        window_sum += hann[size_t(i)];
    }
    AVComplexFloat* in = static_cast<AVComplexFloat*>(av_malloc(sizeof(AVComplexFloat) * n));
    AVComplexFloat* spectrum = static_cast<AVComplexFloat*>(av_malloc(sizeof(AVComplexFloat) * n));
    int first[MUSIC_BAND_COUNT], last[MUSIC_BAND_COUNT];
    for (int b = 0; b < MUSIC_BAND_COUNT; ++b) {
        first[b] = std::max(1, int(std::lround(EDGES[b].low * n / rate)));
        last[b] = std::min(n / 2 - 1, int(std::lround(EDGES[b].high * n / rate)) - 1);
        out->band[b].assign(hops, 0.0f);
    }
    // A full-scale sine peaks at window_sum / 2 in one bin (power spread over
    // neighbours sums to about 1.5 times that squared for Hann).
    double unit = window_sum * window_sum / 4 * 1.5;
    for (size_t h = 0; h < hops; ++h) {
        // The window ends at the hop's time.
        int64_t end = int64_t(h) * MUSIC_LEVEL_HOP;
        for (int i = 0; i < n; ++i) {
            int64_t k = end - n + i;
            float v = k >= 0 && size_t(k) < count ? mono[k] : 0.0f;
            in[i] = {v * hann[size_t(i)], 0.0f};
        }
        fft(tx, spectrum, in, sizeof(AVComplexFloat));
        for (int b = 0; b < MUSIC_BAND_COUNT; ++b) {
            double power = 0;
            for (int k = first[b]; k <= last[b]; ++k)
                power += double(spectrum[k].re) * spectrum[k].re + double(spectrum[k].im) * spectrum[k].im;
            out->band[b][h] = float(std::sqrt(power / unit));
        }
    }
    av_free(in);
    av_free(spectrum);
    av_tx_uninit(&tx);
}

// Each value divided by the mean of the values of the last MEMORY seconds
// (itself included), or by SILENCE when that mean is lower; capped.
void divide_by_recent_mean(std::vector<float>* values, int rate) {
    size_t span = size_t(MUSIC_LEVEL_MEMORY) * size_t(rate) / MUSIC_LEVEL_HOP;
    std::vector<float> raw = *values;
    double sum = 0;
    for (size_t h = 0; h < raw.size(); ++h) {
        sum += raw[h];
        if (h >= span) sum -= raw[h - span];
        double mean = sum / double(std::min(h + 1, span));
        (*values)[h] = float(std::min<double>(MUSIC_LEVEL_MAX, raw[h] / std::max<double>(mean, SILENCE)));
    }
}

}  // namespace

bool music_decode_mono(const unsigned char* mp3, size_t size, std::vector<float>* mono) {
    sound_stream* stream = sound_stream_open_memory(mp3, size);
    if (!stream) return false;
    int64_t length = sound_stream_length(stream);
    mono->assign(size_t(std::max<int64_t>(length, 0)), 0.0f);
    std::vector<int16_t> block(2 * 4096);
    size_t done = 0;
    while (done < mono->size()) {
        int got = sound_decode(stream, block.data(), 4096);
        if (got <= 0) break;
        for (int i = 0; i < got && done < mono->size(); ++i)
            (*mono)[done++] = (float(block[size_t(i) * 2]) + float(block[size_t(i) * 2 + 1])) / 65536.0f;
    }
    mono->resize(done);
    sound_stream_close(stream);
    return true;
}

music_levels music_levels_compute(const float* mono, size_t count, int rate) {
    music_levels levels;
    levels.rate = rate;
    if (rate <= 0) return levels;
    band_magnitudes(mono, count, rate, &levels);
    for (std::vector<float>& values : levels.band) divide_by_recent_mean(&values, rate);
    return levels;
}

float music_levels_at(const music_levels& levels, music_band band, double seconds) {
    const std::vector<float>& values = levels.band[band];
    if (values.empty() || !(seconds >= 0)) return 0.0f;
    double hop = seconds * levels.rate / MUSIC_LEVEL_HOP;
    size_t h = size_t(hop);
    if (h + 1 >= values.size()) return h + 1 == values.size() ? values[h] : 0.0f;
    float f = float(hop - double(h));
    return values[h] + (values[h + 1] - values[h]) * f;
}
