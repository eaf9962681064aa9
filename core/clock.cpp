// The demo clock. demo_time follows the tick source from the reset on,
// offset by demostart; frame_delta is its change at the last tick. When
// rendering offline it follows the frame count instead, one fixed step per
// frame, so a run draws the same times whatever the machine's speed.
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
static int fixed_fps = 0;
static int fixed_first = 0;      // the frame of the longer run this one starts at
static int has_fixed_origin = 0;
static float fixed_origin = 0;  // where that run started

void clock_set_fixed_step(int frames_per_second) {
    fixed_fps = frames_per_second > 0 ? frames_per_second : 0;
    has_fixed_origin = 0;
    fixed_first = 0;
}

void clock_set_first_frame(float origin, int first) {
    has_fixed_origin = 1;
    fixed_origin = origin;
    fixed_first = first;
    demostart = clock_fixed_time(origin, first, fixed_fps);
}

// Computed from the frame count rather than summed, so no rounding builds up
// over a long show.
float clock_fixed_time(float start, int frame, int frames_per_second) {
    return start + static_cast<float>(frame) / static_cast<float>(frames_per_second);
}

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

void clock_resume() { clock_origin = current_source() - (demo_time - demostart); }

// The next frame's time on the fixed step; frame_delta is the step itself,
// so every section's local_time gains exactly one step per frame.
static void fixed_tick() {
    frame_delta = 1.0f / static_cast<float>(fixed_fps);
    if (has_fixed_origin)
        demo_time = clock_fixed_time(fixed_origin, fixed_first + frame_number + 1, fixed_fps);
    else
        demo_time = clock_fixed_time(demostart, frame_number + 1, fixed_fps);
}

// Whether the show is over after the frame just drawn. In real time, once a
// frame lies past `end`; on the fixed step, once the next frame would lie at
// or past it, so an offline run draws exactly the frames in [demostart, end)
// (to a thousandth of a step, against float rounding).
int clock_reached(float end) {
    if (!fixed_fps) return demo_time > end;
    return static_cast<float>(frame_number + 1) >= (end - demostart) * static_cast<float>(fixed_fps) - 0.001f;
}

void clock_tick() {
    fps_frames += 1;
    if (fixed_fps) {
        fixed_tick();
    } else {
        float now = current_source();
        frame_delta = now - demo_time + demostart - clock_origin;
        demo_time += frame_delta;
    }
    fps_window += frame_delta;
    if (fps_window > 0.2f) {
        fps_value = static_cast<float>(fps_frames) / fps_window;
        fps_frames = 0;
        fps_window = 0;
    }
    frame_number += 1;
}
