// The camera overlay: formatting its text and drawing it with the debug
// font over the frame (glFinish inside the loop, so the figure includes
// Mesa's rasterising). Needs a display and the generated font image, so run
// it from the project folder under Xvfb.
#include <benchmark/benchmark.h>

#include <GL/gl.h>
#include <SDL/SDL.h>
#include <unistd.h>

#include "core/settings.h"
#include "platform/font.h"
#include "platform/overlay.h"
#include "platform/video.h"

static void BM_camera_overlay_draw(benchmark::State& state) {
    if (access("data/fonts/font.tga", R_OK) != 0) {
        state.SkipWithError("run from the project folder after a build");
        return;
    }
    if (!SDL_GetVideoSurface()) {
        settings_reset();
        gl_fullscreen = 0;
        gl_info = 0;
        video_start();
    }
    font_start();
    for (auto _ : state) {
        draw_camera_overlay();
        glFinish();
    }
}
BENCHMARK(BM_camera_overlay_draw)->Unit(benchmark::kMillisecond);
