// Cost of the picture-particle, trail and 3-D picture effects: one frame of
// each as its example script under data/examples sets it up (512 x 512
// render target in an 800 x 600 window, a fixed view 6 units in front of the
// origin), against an empty engine frame (prepare, present, swap). The
// "x_empty" counter is the ratio of the two per-frame times. Needs a display
// (run under Xvfb).
#include <benchmark/benchmark.h>

#include <GL/gl.h>
#include <GL/glu.h>
#include <SDL/SDL.h>
#include <chrono>
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

// The view the examples' camera section gives.
void apply_view() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60, aspect_ratio, 0.1, 100);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0, 0, 6, 0, 0, 0, 0, 1, 0);
}

void BM_fxpart_empty_frame(benchmark::State& state) {
    enter_source_root();
    script_reset();
    read_script_file(example_path("gen3Dimage").c_str());
    ensure_video();
    empty_frame_ms = timed_ms(state, [] {
        frame_begin();
        apply_view();
        frame_present();
        frame_swap();
    });
}
BENCHMARK(BM_fxpart_empty_frame)->Unit(benchmark::kMillisecond);

// Reads the example, loads its sections' splines and inits them once; every
// iteration is one frame at local time `at` of the effect's sections.
void BM_fxpart_effect(benchmark::State& state, const char* name, float at) {
    enter_source_root();
    script_reset();
    read_script_file(example_path(name).c_str());
    ensure_video();
    int type = section_type_find(name);
    for (section* s = section_list; s; s = s->next) {
        if (s->type != type) continue;
        for (int i = 0; i < s->spline_count; ++i) {
            s->splines[i] = spline_load(s->spline_names[i]);
            spline_spread_times(&s->splines[i], s->spline_durations[i]);
        }
        current_section = s;
        section_types[type].init();
    }
    double ms = timed_ms(state, [type, at] {
        frame_begin();
        apply_view();
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

BENCHMARK_CAPTURE(BM_fxpart_effect, genParticletex, "genParticletex", 3.0f)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_fxpart_effect, genPathway, "genPathway", 4.5f)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_fxpart_effect, gen3Dimage, "gen3Dimage", 2.0f)->Unit(benchmark::kMillisecond);

}  // namespace
