// One empty frame of the engine (prepare the render target, present it
// letterboxed, swap) against a bare clear and swap at 800 x 600: the cost the
// render target adds to every frame. Needs a display (run under Xvfb).
#include <benchmark/benchmark.h>

#include <GL/gl.h>
#include <SDL/SDL.h>
#include <cstdio>

#include "core/settings.h"
#include "platform/video.h"

static bool window_open = false;

static bool open_window(benchmark::State& state) {
    if (!window_open) {
        settings_reset();
        gl_fullscreen = 0;
        gl_info = 0;
        video_start();
        window_open = true;
    }
    if (SDL_GetVideoSurface()) return true;
    state.SkipWithError("no window");
    return false;
}

static void BM_bare_clear_and_swap(benchmark::State& state) {
    if (!open_window(state)) return;
    for (auto _ : state) {
        glViewport(0, 0, gl_width, gl_height);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glFinish();
        SDL_GL_SwapBuffers();
    }
}
BENCHMARK(BM_bare_clear_and_swap)->Unit(benchmark::kMillisecond);

static void BM_empty_engine_frame(benchmark::State& state) {
    if (!open_window(state)) return;
    for (auto _ : state) {
        frame_begin();
        frame_present();
        frame_swap();
    }
}
BENCHMARK(BM_empty_engine_frame)->Unit(benchmark::kMillisecond);
