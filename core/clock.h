// The demo clock: turns the tick source into demo_time and frame_delta.
#pragma once

extern float demo_time;
extern float frame_delta;
extern float clock_origin;
extern int frame_number;
extern float fps_value;

// Where the clock reads "now", in seconds. The default reads the platform's
// millisecond counter; offline rendering and tests install a fixed step.
typedef float (*clock_source)();
void clock_set_source(clock_source source);
float clock_source_ticks();  // the millisecond counter, as seconds

// demo_time = demostart, every counter 0.
void clock_start();
void clock_reset();
void clock_tick();
