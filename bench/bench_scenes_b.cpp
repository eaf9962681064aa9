// Cost of the lines, titulo, redsun, flare and paintex scenes: one frame of
// each as its example script under data/examples sets it up (512 x 512
// render target in an 800 x 600 window), against an empty engine frame
// (prepare, present, swap). The "x_empty" counter is the ratio of the two
// per-frame times. Needs a display (run under Xvfb).
#include <benchmark/benchmark.h>

#include <SDL/SDL.h>
#include <chrono>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "core/clock.h"
#include "core/script.h"
#include "core/section.h"
#include "core/settings.h"
#include "platform/video.h"
#include "resources/spline.h"

namespace {

// The examples and the scenes' fixed pictures are named from the
// repository root.
void enter_source_root() {
    std::string here = __FILE__;
    std::string root = here.substr(0, here.rfind('/')) + "/..";
    if (chdir(root.c_str()) != 0) std::perror(root.c_str());
}

std::string example_path(const char* name) { return std::string("data/examples/") + name + ".txt"; }

double empty_frame_ms = 0;
bool video_open = false;

void ensure_video() {
    if (video_open && SDL_GetVideoSurface()) return;
    video_start();
    video_open = true;
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

void BM_scenes_b_empty_frame(benchmark::State& state) {
    enter_source_root();
    script_reset();
    read_script_file(example_path("lines").c_str());
    ensure_video();
    empty_frame_ms = timed_ms(state, [] {
        frame_begin();
        frame_present();
        frame_swap();
    });
}
BENCHMARK(BM_scenes_b_empty_frame)->Unit(benchmark::kMillisecond);

// Reads the example, loads the scene once, reads its sections' splines, inits
// and starts them; every iteration is one frame at demo time `at` of the
// scene's sections running then.
void BM_scenes_b_scene(benchmark::State& state, const char* name, float at) {
    enter_source_root();
    script_reset();
    read_script_file(example_path(name).c_str());
    ensure_video();
    int type = section_type_find(name);
    section_types[type].load();
    for (section* s = section_list; s; s = s->next) {
        if (s->type != type) continue;
        for (int i = 0; i < s->spline_count; ++i) {
            s->splines[i] = spline_load(s->spline_names[i]);
            spline_spread_times(&s->splines[i], s->spline_durations[i]);
        }
        current_section = s;
        section_types[type].init();
        section_types[type].start();
    }
    demo_time = at;
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
    if (empty_frame_ms > 0) state.counters["x_empty"] = ms / empty_frame_ms;
    current_section = nullptr;
}

BENCHMARK_CAPTURE(BM_scenes_b_scene, lines, "lines", 1.0f)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_scenes_b_scene, titulo, "titulo", 1.0f)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_scenes_b_scene, redsun, "redsun", 2.0f)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_scenes_b_scene, flare, "flare", 2.0f)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_scenes_b_scene, paintex, "paintex", 1.5f)->Unit(benchmark::kMillisecond);

}  // namespace
