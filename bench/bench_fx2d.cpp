// Cost of the post-processing effects: one frame of each effect as its
// example script under data/examples sets it up (512 x 512 render target in
// an 800 x 600 window), against an empty engine frame (prepare, present,
// swap). The "x_empty" counter is the ratio of the two per-frame times.
// Needs a display (run under Xvfb).
#include <benchmark/benchmark.h>

#include <SDL/SDL.h>
#include <chrono>
#include <string>

#include "core/clock.h"
#include "core/script.h"
#include "core/section.h"
#include "core/settings.h"
#include "platform/video.h"

namespace {

// data/examples beside this file's folder.
std::string example_path(const char* name) {
    std::string here = __FILE__;
    return here.substr(0, here.rfind('/')) + "/../data/examples/" + name + ".txt";
}

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

void BM_fx2d_empty_frame(benchmark::State& state) {
    script_reset();
    read_script_file(example_path("efxFader").c_str());
    ensure_video();
    empty_frame_ms = timed_ms(state, [] {
        frame_begin();
        frame_present();
        frame_swap();
    });
}
BENCHMARK(BM_fx2d_empty_frame)->Unit(benchmark::kMillisecond);

// Reads the example, loads the type and inits its sections once; every
// iteration is one frame at demo time `at` with the effect's sections that
// are running then.
void BM_fx2d_effect(benchmark::State& state, const char* name, float at) {
    script_reset();
    read_script_file(example_path(name).c_str());
    ensure_video();
    int type = section_type_find(name);
    section_types[type].load();
    for (section* s = section_list; s; s = s->next) {
        current_section = s;
        if (s->type == type) section_types[type].init();
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

BENCHMARK_CAPTURE(BM_fx2d_effect, efxFader, "efxFader", 1.0f)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_fx2d_effect, efxRadialBlur, "efxRadialBlur", 1.0f)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_fx2d_effect, efxRenderMesh, "efxRenderMesh", 1.0f)->Unit(benchmark::kMillisecond);

}  // namespace
