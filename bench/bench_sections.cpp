// Cost of every section type: one frame of its example script under
// data/examples (512 x 512 render target in an 800 x 600 window) at a chosen
// demo time, with every section of the example that runs then drawn in layer
// order, against an empty engine frame (prepare, present, swap) in the same
// run. The "x_empty" counter is the ratio of the two per-frame times. Needs
// a display (run under Xvfb).
#include <benchmark/benchmark.h>

#include <SDL/SDL.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

#include "core/clock.h"
#include "core/script.h"
#include "core/settings.h"
#include "platform/video.h"
#include "resources/spline.h"
#include "show/section_table.h"
#include "show/show_host.h"

namespace {

// Scripts are read as the player reads them.
const int door_opened = (show_host_install(nullptr), 1);

double empty_frame_ms = 0;

// The examples and the scenes' fixed pictures are named from the
// repository root.
void open_example(const char* name) {
    std::string here = __FILE__;
    std::string root = here.substr(0, here.rfind('/')) + "/..";
    if (chdir(root.c_str()) != 0) std::perror(root.c_str());
    script_reset();
    read_script_file(("data/examples/" + std::string(name) + ".txt").c_str());
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

void BM_empty_frame(benchmark::State& state) {
    open_example("efxFader");
    empty_frame_ms = timed_ms(state, [] {
        frame_begin();
        frame_present();
        frame_swap();
    });
}
BENCHMARK(BM_empty_frame)->Unit(benchmark::kMillisecond);

// Loads the example's splines and types and inits its sections (the loading
// section aside) as the loading phase would; returns the sections running at
// `at` in drawing order.
std::vector<section*> prepare_example(float at) {
    bool loaded[SECTION_TYPE_COUNT] = {};
    std::vector<section*> running;
    for (section* s = section_list; s; s = s->next) {
        if (s->type == 0) continue;
        for (int i = 0; i < s->spline_count; ++i) {
            s->splines[i] = spline_load(s->spline_names[i]);
            spline_spread_times(&s->splines[i], s->spline_durations[i]);
        }
        if (!loaded[s->type]) section_types[s->type].load();
        loaded[s->type] = true;
        current_section = s;
        section_types[s->type].init();
        if (s->start <= at && s->end > at) running.push_back(s);
    }
    std::stable_sort(running.begin(), running.end(),
                     [](const section* a, const section* b) { return a->layer < b->layer; });
    return running;
}

void BM_section(benchmark::State& state, const char* example, float at) {
    open_example(example);
    std::vector<section*> running = prepare_example(at);
    demo_time = at;
    frame_delta = 1 / 60.0f;
    double ms = timed_ms(state, [&running, at] {
        frame_begin();
        for (section* s : running) {
            s->local_time = at - s->start;
            current_section = s;
            section_types[s->type].render();
        }
        frame_present();
        frame_swap();
    });
    if (empty_frame_ms > 0) state.counters["x_empty"] = ms / empty_frame_ms;
    current_section = nullptr;
}

#define SECTION_BENCH(label, example, at) \
    BENCHMARK_CAPTURE(BM_section, label, example, at)->Unit(benchmark::kMillisecond)

SECTION_BENCH(efxFader, "efxFader", 1.0f);
SECTION_BENCH(efxRadialBlur, "efxRadialBlur", 1.0f);
SECTION_BENCH(efxRenderMesh, "efxRenderMesh", 1.0f);
SECTION_BENCH(genCamera, "genCamera", 2.0f);
SECTION_BENCH(genMacroBox, "genMacroBox", 2.0f);
SECTION_BENCH(gen3DS, "gen3DS", 2.0f);
SECTION_BENCH(genEnvironment, "genEnvironment", 2.0f);
SECTION_BENCH(genWireframe, "genWireframe", 2.0f);
SECTION_BENCH(genParticletex, "genParticletex", 3.0f);
SECTION_BENCH(genPathway, "genPathway", 4.5f);
SECTION_BENCH(gen3Dimage, "gen3Dimage", 2.0f);
SECTION_BENCH(knots_phase1, "knots", 2.0f);
SECTION_BENCH(knots_phase2, "knots", 6.0f);
SECTION_BENCH(knots_phase4, "knots", 14.0f);
SECTION_BENCH(flash_phase1, "flash", 1.5f);
SECTION_BENCH(flash_phase2, "flash", 3.5f);
SECTION_BENCH(particletitle_gather, "particletitle", 3.0f);
SECTION_BENCH(particletitle_title, "particletitle", 8.0f);
SECTION_BENCH(thelake, "thelake", 11.0f);
SECTION_BENCH(lines, "lines", 1.0f);
SECTION_BENCH(titulo, "titulo", 1.0f);
SECTION_BENCH(redsun, "redsun", 2.0f);
SECTION_BENCH(flare, "flare", 2.0f);
SECTION_BENCH(paintex, "paintex", 1.5f);
SECTION_BENCH(builder3d, "3Dbuilder", 7.5f);
SECTION_BENCH(columna, "columna", 5.0f);
SECTION_BENCH(paranoia, "paranoia", 11.5f);
SECTION_BENCH(gears, "gears", 3.0f);
SECTION_BENCH(meditation, "meditation", 3.0f);
SECTION_BENCH(loop, "loop", 8.0f);
SECTION_BENCH(logofinal, "logofinal", 6.0f);

}  // namespace
