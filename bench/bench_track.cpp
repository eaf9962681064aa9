// The cost of a tracked param per frame: track_apply on a section whose
// params follow tracks of a few keys (a repeating beat pulse) and of many
// (a key every row for four minutes), sampled across the time the way
// frames sample it.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "core/section.h"
#include "core/track.h"

static void bench_track_apply(benchmark::State& state) {
    const int params = static_cast<int>(state.range(0)), keys = static_cast<int>(state.range(1));
    track_store_clear();
    for (int k = 0; k < keys; ++k) track_edit_set("bench", 0.125 * k, static_cast<float>(k % 7), k % TRACK_INTERPS);
    track* t = track_at(track_find("bench"));
    if (keys == 2) t->repeat = 0.5;
    auto s = std::make_unique<section>();
    std::vector<track_param> bound(static_cast<size_t>(params));
    for (int i = 0; i < params; ++i) bound[static_cast<size_t>(i)] = {i, {track_find("bench"), nullptr, 0}, 0.5f, 0.1f};
    s->tracked = bound.data();
    s->tracked_count = params;
    double time = 0;
    for (auto _ : state) {
        track_apply(s.get(), time);
        benchmark::DoNotOptimize(s->params[0]);
        time += 1.0 / 60;
        if (time > 240) time = 0;
    }
    state.SetItemsProcessed(state.iterations() * params);
    track_store_clear();
}
BENCHMARK(bench_track_apply)->Args({1, 2})->Args({8, 2})->Args({1, 1920})->Args({8, 1920});
