// The sound layer's decoder: how many seconds of the soundtrack it decodes
// per second of CPU, and how long a sample-exact seek to the middle of a
// three-minute MP3 takes (the frame index is built at open, so a seek
// decodes only the frames just before the target).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "platform/sound.h"
#include "assetlib/mp3_encode.h"

static std::vector<unsigned char> read_soundtrack() {
    std::vector<unsigned char> bytes;
    FILE* file = std::fopen(QUILLON_SOURCE_DIR "/data/music/soundtrack.mp3", "rb");
    if (!file) return bytes;
    unsigned char chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.insert(bytes.end(), chunk, chunk + n);
    std::fclose(file);
    return bytes;
}

static void BM_sound_decode_soundtrack(benchmark::State& state) {
    static const std::vector<unsigned char> mp3 = read_soundtrack();
    sound_stream* stream = sound_stream_open_memory(mp3.data(), mp3.size());
    if (!stream) {
        state.SkipWithError("data/music/soundtrack.mp3 missing or unreadable (build the assets)");
        return;
    }
    std::vector<int16_t> out(4096 * 2);
    int64_t frames = 0;
    for (auto _ : state) {
        int got = sound_decode(stream, out.data(), 4096);
        if (got < 4096) sound_stream_set_time(stream, 0);
        frames += got;
    }
    // Rate = seconds of audio decoded per second of benchmark time.
    state.counters["audio_s_per_s"] =
        benchmark::Counter(static_cast<double>(frames) / SOUND_RATE, benchmark::Counter::kIsRate);
    sound_stream_close(stream);
}
BENCHMARK(BM_sound_decode_soundtrack)->Unit(benchmark::kMicrosecond);

// Three minutes of two tones with a slow sweep, at the soundtrack's bitrate.
static std::vector<unsigned char> three_minutes() {
    const int frames = 180 * SOUND_RATE;
    std::vector<int16_t> pcm(static_cast<size_t>(frames) * 2);
    for (int i = 0; i < frames; ++i) {
        double t = static_cast<double>(i) / SOUND_RATE;
        pcm[size_t(i) * 2] = static_cast<int16_t>(9000 * std::sin(2 * M_PI * (220 + t) * t));
        pcm[size_t(i) * 2 + 1] = static_cast<int16_t>(9000 * std::sin(2 * M_PI * 330 * t));
    }
    return asset_encode_mp3(pcm, 160);
}

static void BM_sound_seek_to_middle(benchmark::State& state) {
    static const std::vector<unsigned char> mp3 = three_minutes();
    sound_stream* stream = sound_stream_open_memory(mp3.data(), mp3.size());
    if (!stream) {
        state.SkipWithError("the three-minute MP3 did not open");
        return;
    }
    int16_t first[2 * 16];
    int ms = 90000;
    for (auto _ : state) {
        // Alternate between two nearby targets so no seek is a no-op.
        ms = ms == 90000 ? 90013 : 90000;
        sound_stream_set_time(stream, ms);
        benchmark::DoNotOptimize(sound_decode(stream, first, 16));
    }
    sound_stream_close(stream);
}
BENCHMARK(BM_sound_seek_to_middle)->Unit(benchmark::kMicrosecond);

static void BM_sound_open_three_minutes(benchmark::State& state) {
    static const std::vector<unsigned char> mp3 = three_minutes();
    for (auto _ : state) {
        sound_stream* stream = sound_stream_open_memory(mp3.data(), mp3.size());
        benchmark::DoNotOptimize(stream);
        sound_stream_close(stream);
    }
}
BENCHMARK(BM_sound_open_three_minutes)->Unit(benchmark::kMillisecond);
