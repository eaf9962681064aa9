// Cost of the camera and model effects: one frame of each as its example
// script under data/examples sets it up (512 x 512 render target in an
// 800 x 600 window), against an empty engine frame (prepare, present, swap).
// The examples' genCamera section is rendered before the effect, as in the
// show, so every figure includes the camera (the genCamera figure is the
// camera alone). The "x_empty" counter is the ratio of the two per-frame
// times. Needs a display (run under Xvfb).
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

// The examples name their files from the repository root.
void enter_source_root() {
    std::string here = __FILE__;
    std::string root = here.substr(0, here.rfind('/')) + "/..";
    if (chdir(root.c_str()) != 0) std::perror(root.c_str());
}

std::string example_path(const char* name) { return std::string("data/examples/") + name + ".txt"; }

double empty_frame_ms = 0;

void ensure_video() {
    if (SDL_GetVideoSurface()) return;
    video_start();
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

void BM_fx3d_empty_frame(benchmark::State& state) {
    enter_source_root();
    script_reset();
    read_script_file(example_path("genCamera").c_str());
    ensure_video();
    empty_frame_ms = timed_ms(state, [] {
        frame_begin();
        frame_present();
        frame_swap();
    });
}
BENCHMARK(BM_fx3d_empty_frame)->Unit(benchmark::kMillisecond);

bool measured(const section* s, int type, int camera_type) {
    return s->type == type || s->type == camera_type;
}

// Reads the example, loads the effect's and the camera's splines, types and
// sections once; every iteration is one frame at demo time `at`.
void BM_fx3d_effect(benchmark::State& state, const char* name, float at) {
    enter_source_root();
    script_reset();
    read_script_file(example_path(name).c_str());
    ensure_video();
    int type = section_type_find(name), camera_type = section_type_find("genCamera");
    section_types[camera_type].load();
    if (type != camera_type) section_types[type].load();
    for (section* s = section_list; s; s = s->next) {
        if (!measured(s, type, camera_type)) continue;
        for (int i = 0; i < s->spline_count; ++i) {
            s->splines[i] = spline_load(s->spline_names[i]);
            spline_spread_times(&s->splines[i], s->spline_durations[i]);
        }
        current_section = s;
        section_types[s->type].init();
    }
    demo_time = at;
    // The camera's layer is below the effect's in every example.
    double ms = timed_ms(state, [type, camera_type, at] {
        frame_begin();
        for (int pass : {camera_type, type}) {
            for (section* s = section_list; s; s = s->next) {
                if (s->type != pass || s->start > at || s->end <= at) continue;
                s->local_time = at - s->start;
                current_section = s;
                section_types[pass].render();
            }
            if (type == camera_type) break;
        }
        frame_present();
        frame_swap();
    });
    if (empty_frame_ms > 0) state.counters["x_empty"] = ms / empty_frame_ms;
    current_section = nullptr;
}

BENCHMARK_CAPTURE(BM_fx3d_effect, genCamera, "genCamera", 2.0f)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_fx3d_effect, genMacroBox, "genMacroBox", 2.0f)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_fx3d_effect, gen3DS, "gen3DS", 2.0f)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_fx3d_effect, genEnvironment, "genEnvironment", 2.0f)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_fx3d_effect, genWireframe, "genWireframe", 2.0f)->Unit(benchmark::kMillisecond);

}  // namespace
