// The demo clock: turns the tick source into demo_time and frame_delta.
#pragma once

extern float demo_time;
extern float frame_delta;
extern float clock_origin;
extern int frame_number;
extern float fps_value;

// Where the clock reads "now", in seconds. The default reads the platform's
// millisecond counter; tests install their own.
typedef float (*clock_source)();
void clock_set_source(clock_source source);
float clock_source_ticks();  // the millisecond counter, as seconds

// Offline rendering: with `frames_per_second` > 0 the clock ignores its
// source and frame k shows demostart + k / frames_per_second, each tick
// advancing frame_delta by exactly one step; 0 goes back to the source.
void clock_set_fixed_step(int frames_per_second);

// A run that renders frames `first`, first + 1, ... of the run from `origin`
// on the same fixed step: its frame k shows exactly the time of that run's
// frame first + k, bit for bit, and demostart becomes the time of frame
// `first`, where the timeline opens. Until it is called (or after
// clock_set_fixed_step), the step counts from demostart.
void clock_set_first_frame(float origin, int first);

// The demo time of frame `frame` on a fixed step (frame 0 shows `start`).
float clock_fixed_time(float start, int frame, int frames_per_second);

// Whether the frame just drawn is the show's last when it ends at `end`:
// past `end` in real time, the last frame before `end` on the fixed step.
int clock_reached(float end);

// demo_time = demostart, every counter 0.
void clock_start();
void clock_reset();
void clock_tick();

// Moves the origin so the next tick goes on from the current demo_time, as if
// no time had passed since the last frame (after a pause).
void clock_resume();
