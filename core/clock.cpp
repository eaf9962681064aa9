// The demo clock. demo_time follows the tick source from the reset on,
// offset by demostart; frame_delta is its change at the last tick.
#include "core/clock.h"

#include <SDL/SDL.h>

#include "core/settings.h"

float demo_time = 0;
float frame_delta = 0;
float clock_origin = 0;
int frame_number = 0;
float fps_value = 0;

static int fps_frames = 0;
static float fps_window = 0;

float clock_source_ticks() { return static_cast<float>(SDL_GetTicks()) * 0.001f; }

static clock_source current_source = clock_source_ticks;

void clock_set_source(clock_source source) {
    current_source = source ? source : clock_source_ticks;
}

void clock_start() {
    demo_time = demostart;
    frame_delta = 0;
    frame_number = 0;
    fps_frames = 0;
    fps_window = 0;
    fps_value = 0;
}

void clock_reset() { clock_origin = current_source(); }

void clock_tick() {
    fps_frames += 1;
    float now = current_source();
    frame_delta = now - demo_time + demostart - clock_origin;
    demo_time += frame_delta;
    fps_window += frame_delta;
    if (fps_window > 0.2f) {
        fps_value = static_cast<float>(fps_frames) / fps_window;
        fps_frames = 0;
        fps_window = 0;
    }
    frame_number += 1;
}
