// The demo clock. demo_time follows the tick source from the reset on,
// offset by demostart; frame_delta is its change at the last tick. When
// rendering offline it follows the frame count instead, one fixed step per
// frame, so a run draws the same times whatever the machine's speed.
#include "core/clock.h"

#include <SDL/SDL.h>

#include <climits>
#include <cmath>

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
static float step_origin = 0;
static int has_step_origin = 0;
static int grid_frame = 0;  // index of the current frame on the fixed step

void clock_set_fixed_step(int frames_per_second) {
    fixed_fps = frames_per_second > 0 ? frames_per_second : 0;
}

void clock_set_first_frame(float origin, int first) {
    step_origin = origin;
    has_step_origin = 1;
    demostart = clock_fixed_time(origin, first, fixed_fps);
}

// Computed from the frame count rather than summed, so no rounding builds up
// over a long show.
float clock_fixed_time(float start, int frame, int frames_per_second) {
    return start + static_cast<float>(frame) / static_cast<float>(frames_per_second);
}

void clock_set_step_origin(float origin) {
    step_origin = origin;
    has_step_origin = 1;
}

void clock_clear_step_origin() { has_step_origin = 0; }

int clock_grid_frame() { return fixed_fps ? grid_frame : frame_number; }

int clock_step_fps() { return fixed_fps; }

// The grid's rate: the fixed step's, or the nominal one in real time.
static int grid_rate() { return fixed_fps ? fixed_fps : CLOCK_NOMINAL_FPS; }

static float grid_time(int frame) { return clock_fixed_time(step_origin, frame, grid_rate()); }

float clock_grid_time(int frame) { return grid_time(frame); }

static float step_length() { return 1.0f / static_cast<float>(grid_rate()); }

float clock_grid_step() { return step_length(); }

// The first frame of the grid whose time is at least `t` less `tolerance`.
static int first_frame_from(float t, float tolerance) {
    double estimate = std::floor((static_cast<double>(t) - step_origin) * grid_rate()) - 2;
    int frame = estimate < INT_MIN / 2 ? INT_MIN / 2 : estimate > INT_MAX / 2 ? INT_MAX / 2 : static_cast<int>(estimate);
    while (grid_time(frame) < t - tolerance) ++frame;
    return frame;
}

// The start phase compares exactly, hence no tolerance.
int clock_start_frame(float start) { return start <= grid_time(0) ? 0 : first_frame_from(start, 0); }

int clock_motion_frame() { return fixed_fps ? grid_frame : first_frame_from(demo_time, 0); }

float clock_section_time(float start) {
    if (!fixed_fps) return demo_time - start;
    int first = clock_start_frame(start);
    if (first >= grid_frame) return demo_time - start;
    float local = grid_time(first) - start;
    const float step = step_length();
    for (int frame = first; frame < grid_frame; ++frame) local += frame == 0 ? 0.0f : step;
    return local;
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
    grid_frame = 0;
    if (!has_step_origin) step_origin = demostart;
    if (!fixed_fps) return;
    grid_frame = first_frame_from(demostart, 1e-4f);
    if (grid_time(grid_frame) > demostart + 1e-4f) {
        // Between two frames of the grid, where the run from the origin
        // draws nothing: the frames go on from demostart itself.
        step_origin = demostart;
        grid_frame = 0;
        return;
    }
    demo_time = demostart = grid_time(grid_frame);
    if (grid_frame != 0) frame_delta = step_length();
}

void clock_reset() { clock_origin = current_source(); }

void clock_resume() { clock_origin = current_source() - (demo_time - demostart); }

// The next frame's time on the fixed step; frame_delta is the step itself,
// so every section's local_time gains exactly one step per frame.
static void fixed_tick() {
    frame_delta = step_length();
    grid_frame += 1;
    demo_time = grid_time(grid_frame);
}

// Whether the show is over after the frame just drawn. In real time, once a
// frame lies past `end`; on the fixed step, once the next frame would lie at
// or past it, so an offline run draws exactly the frames in [demostart, end)
// (to a thousandth of a step, against float rounding).
int clock_reached(float end) {
    if (!fixed_fps) return demo_time > end;
    return static_cast<float>(grid_frame + 1) >= (end - step_origin) * static_cast<float>(fixed_fps) - 0.001f;
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
