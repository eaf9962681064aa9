// The music's measures on the generated soundtrack (160 s): decoding it to
// mono, its band levels, its onsets, the whole tempo analysis, and reading
// one level at a moment, which is what a tracked param costs per frame.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

#include "app/music_analysis.h"
#include "core/file_read.h"
#include "platform/music_levels.h"
#include "platform/sound.h"

static const std::vector<float>& soundtrack_mono() {
    static std::vector<float> mono;
    if (mono.empty()) {
        std::vector<unsigned char> mp3;
        if (file_read_all(QUILLON_SOURCE_DIR "/data/music/soundtrack.mp3", &mp3))
            music_decode_mono(mp3.data(), mp3.size(), &mono);
    }
    return mono;
}

static void BM_music_decode_mono(benchmark::State& state) {
    std::vector<unsigned char> mp3;
    if (!file_read_all(QUILLON_SOURCE_DIR "/data/music/soundtrack.mp3", &mp3))
        return state.SkipWithError("data/music/soundtrack.mp3 missing (build the assets)");
    std::vector<float> mono;
    for (auto _ : state) benchmark::DoNotOptimize(music_decode_mono(mp3.data(), mp3.size(), &mono));
}
BENCHMARK(BM_music_decode_mono)->Unit(benchmark::kMillisecond)->Iterations(2);

static void BM_music_levels_compute(benchmark::State& state) {
    const std::vector<float>& mono = soundtrack_mono();
    if (mono.empty()) return state.SkipWithError("no soundtrack");
    for (auto _ : state) benchmark::DoNotOptimize(music_levels_compute(mono.data(), mono.size(), SOUND_RATE));
}
BENCHMARK(BM_music_levels_compute)->Unit(benchmark::kMillisecond)->Iterations(2);

static void BM_music_onsets(benchmark::State& state) {
    const std::vector<float>& mono = soundtrack_mono();
    if (mono.empty()) return state.SkipWithError("no soundtrack");
    for (auto _ : state) benchmark::DoNotOptimize(music_onsets(mono.data(), mono.size(), SOUND_RATE));
}
BENCHMARK(BM_music_onsets)->Unit(benchmark::kMillisecond)->Iterations(2);

static void BM_music_analyse(benchmark::State& state) {
    const std::vector<float>& mono = soundtrack_mono();
    if (mono.empty()) return state.SkipWithError("no soundtrack");
    for (auto _ : state) benchmark::DoNotOptimize(music_analyse(mono.data(), mono.size(), SOUND_RATE));
}
BENCHMARK(BM_music_analyse)->Unit(benchmark::kMillisecond)->Iterations(2);

// One level read at a moment of the show: what each frame pays per tracked param.
static void BM_music_level_at(benchmark::State& state) {
    const std::vector<float>& mono = soundtrack_mono();
    if (mono.empty()) return state.SkipWithError("no soundtrack");
    static const music_levels levels = music_levels_compute(mono.data(), mono.size(), SOUND_RATE);
    double t = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(music_levels_at(levels, MUSIC_BASS, t));
        t = t > 160 ? 0 : t + 1.0 / 60;
    }
}
BENCHMARK(BM_music_level_at);
