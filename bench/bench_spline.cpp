// spline_evaluate on a 100-key spline, sampled evenly across its range, the
// way a camera or object flight reads it once per frame.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "resources/spline.h"

static void bench_spline_evaluate(benchmark::State& state) {
    const int keys = 100;
    std::vector<spline_key> storage(keys);
    for (int k = 0; k < keys; k++)
        for (int c = 0; c < SPLINE_CHANNELS; c++)
            storage[k].values[c] = std::sin(0.3f * k + c) * 10.0f;
    spline s = {storage.data(), keys, 0.0f};
    spline_spread_times(&s, 60.0f);

    const int samples = 1000;
    float out[SPLINE_CHANNELS];
    for (auto _ : state) {
        for (int i = 0; i < samples; i++) {
            spline_evaluate(&s, 60.0f * i / (samples - 1), out);
            benchmark::DoNotOptimize(out);
        }
    }
    state.SetItemsProcessed(state.iterations() * samples);
}
BENCHMARK(bench_spline_evaluate);
