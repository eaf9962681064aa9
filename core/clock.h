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
// source and frame k shows origin + k / frames_per_second, each tick
// advancing frame_delta by exactly one step; 0 goes back to the source.
void clock_set_fixed_step(int frames_per_second);

// The origin of the fixed step's frames: demostart as the script sets it,
// before a run or an opening moves demostart elsewhere. Every run of a show
// then draws its frames on the one grid, whatever time it begins at. Until
// it is set, the origin is demostart at clock_start.
void clock_set_step_origin(float origin);
void clock_clear_step_origin();

// The grid index of the current frame on the fixed step (frame 0 shows the
// origin); the frame count since the reset otherwise.
int clock_grid_frame();
// The fixed step's frames per second; 0 when the clock follows its source.
int clock_step_fps();
// In real time the frames have no grid of their own. What a run carries from
// frame to frame (motion, fed-back pictures) is then rebuilt at an opening on
// a nominal grid of this rate from the same origin, so the opening looks like
// the run it continues, though not to the bit.
enum { CLOCK_NOMINAL_FPS = 60 };
// The time frame `frame` of the grid shows (the nominal grid in real time),
// its step, and the frame in which the run from the origin starts a section
// that starts at `start` (the first whose time has reached it, frame 0 at the
// latest).
float clock_grid_time(int frame);
float clock_grid_step();
int clock_start_frame(float start);
// The frame of that grid the run has reached: the current one on the fixed
// step; in real time the first nominal frame at or after demo_time.
int clock_motion_frame();

// A run that renders frames `first`, first + 1, ... of the run from `origin`
// on the same fixed step: its frame k shows exactly the time of that run's
// frame first + k, bit for bit, and demostart becomes the time of frame
// `first`, where the timeline opens (the origin becomes the step's).
void clock_set_first_frame(float origin, int first);

// The demo time of frame `frame` on a fixed step (frame 0 shows `start`).
float clock_fixed_time(float start, int frame, int frames_per_second);

// Whether the frame just drawn is the show's last when it ends at `end`:
// past `end` in real time, the last frame before `end` on the fixed step.
int clock_reached(float end);

// demo_time = demostart, every counter 0. On the fixed step, when demostart
// is a frame of the grid (to a tenth of a millisecond), it becomes that
// frame's time exactly and frame_delta is the step unless that frame is the
// origin's: the frame is then the one the show's run from its origin draws
// there. Between two frames of the grid the frames go on from demostart.
void clock_start();

// The local_time that a section starting at `start` has when it is started
// in this frame: demo_time - start for a section whose start has just come;
// on the fixed step, for one that began in an earlier frame of the show's
// run from the origin, the sum that run kept, its time at the frame that
// started it plus each step rendered since, added in the same order, so a
// run opened later carries the same number, one-frame lead included.
float clock_section_time(float start);
void clock_reset();
void clock_tick();

// Moves the origin so the next tick goes on from the current demo_time, as if
// no time had passed since the last frame (after a pause).
void clock_resume();
