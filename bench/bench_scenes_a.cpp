// Cost of the knots, flash, particle title and lake scenes: one frame of
// each as its example script under data/examples sets it up (512 x 512
// render target in an 800 x 600 window), at a time in each of its phases,
// against an empty engine frame (prepare, present, swap). The "x_empty"
// counter is the ratio of the two per-frame times. Runs in the repository's
// folder, where the scenes' fixed pictures are. Needs a display (Xvfb).
#include <benchmark/benchmark.h>

#include <SDL/SDL.h>
#include <chrono>
#include <string>
#include <unistd.h>

#include "core/clock.h"
#include "core/script.h"
#include "core/section.h"
#include "core/settings.h"
#include "platform/video.h"

namespace {

std::string repository() {
    std::string here = __FILE__;
    return here.substr(0, here.rfind('/')) + "/..";
}

double empty_ms = 0;

// Reads the example and opens the video in the repository's folder.
void start_example(const char* name) {
    if (chdir(repository().c_str()) != 0) return;
    script_reset();
    read_script_file((std::string("data/examples/") + name + ".txt").c_str());
    if (!SDL_GetVideoSurface()) video_start();
}

template <typename F> double timed_ms(benchmark::State& state, F frame) {
    auto began = std::chrono::steady_clock::now();
    long frames = 0;
    for (auto _ : state) {
        frame();
        ++frames;
    }
    std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - began;
    return frames ? spent.count() / static_cast<double>(frames) : 0;
}

void BM_scenes_a_empty_frame(benchmark::State& state) {
    start_example("knots");
    empty_ms = timed_ms(state, [] {
        frame_begin();
        frame_present();
        frame_swap();
    });
}
BENCHMARK(BM_scenes_a_empty_frame)->Unit(benchmark::kMillisecond);

// Loads the scene and inits its sections once; every iteration is one
// frame at demo time `at` (frame step 1/60 s, so the lake's rain moves).
void BM_scenes_a_scene(benchmark::State& state, const char* name, float at) {
    start_example(name);
    int type = section_type_find(name);
    section_types[type].load();
    for (section* s = section_list; s; s = s->next) {
        current_section = s;
        if (s->type == type) section_types[type].init();
    }
    demo_time = at;
    frame_delta = 1 / 60.0f;
    double ms = timed_ms(state, [type, at] {
        frame_begin();
        for (section* s = section_list; s; s = s->next) {
            if (s->type != type || s->start > at || s->end <= at) continue;
            s->local_time = at - s->start;
            current_section = s;
            section_types[type].render();
        }
        frame_present();
        frame_swap();
    });
    if (empty_ms > 0) state.counters["x_empty"] = ms / empty_ms;
    current_section = nullptr;
}

BENCHMARK_CAPTURE(BM_scenes_a_scene, knots_phase1, "knots", 2.0f)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_scenes_a_scene, knots_phase2, "knots", 6.0f)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_scenes_a_scene, knots_phase4, "knots", 14.0f)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_scenes_a_scene, flash_phase1, "flash", 1.5f)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_scenes_a_scene, flash_phase2, "flash", 3.5f)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_scenes_a_scene, particletitle_gather, "particletitle", 3.0f)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_scenes_a_scene, particletitle_title, "particletitle", 8.0f)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_scenes_a_scene, thelake, "thelake", 11.0f)->Unit(benchmark::kMillisecond);

}  // namespace
