// The free camera: with the `debug` setting on, the mouse and the keyboard
// steer a scene's camera, and camera keys are appended to "camera.log" in the
// spline key format, each followed by a comment with the demo time it was
// taken at, so the log can be pasted into a camera spline as it is.
//
// A section that flies its camera along a spline places it again every
// frame, which undoes the free camera's moves; with the takeover on (key C
// toggles it) the free camera keeps its own placement of the section's
// camera and puts it back every frame instead.
//
// One frame of control is a pure step (free_camera_step) over the camera, the
// keys held, the mouse displacement and the frame's duration; the thin
// free_camera_update reads SDL and the key table and writes the log.
#pragma once

#include <SDL/SDL.h>
#include <string>

#include "resources/camera.h"

// Shared by every camera and scene; world units per second.
extern float forward_speed;
extern float strafe_speed;

// Non-zero while the free camera has taken the section's camera over.
extern int free_camera_takeover;

// The keys held down, as the engine's event handling records them.
enum { KEY_STATE_COUNT = SDLK_LAST };
extern int key_state[KEY_STATE_COUNT];

// Switches the takeover on or off; on, the next frame starts from where the
// section's camera stands.
void free_camera_toggle_takeover();

// What one frame of input holds.
struct free_camera_input {
    int mouse_dx, mouse_dy;           // 320 - x, 240 - y
    int log;                          // left button or space: log this frame
    int up, down, left, right;        // arrow keys
    int q, a, w, s, e, d;             // target nudges
};

// Path of the camera log, in the working directory.
extern const char* const CAMERA_LOG_NAME;

// c = a + b, c = b - a, c = s * a; c may be a or b.
void vec3_add(const float a[3], const float b[3], float c[3]);
void vec3_sub(const float a[3], const float b[3], float c[3]);
void vec3_scale(const float a[3], float s, float c[3]);

void camera_mouse_look(camera* c, int dx, int dy);
void camera_move_forward(camera* c, float amount);
void camera_move_right(camera* c, float amount);

// "{x, y, z, pitch, yaw, twist, tx, ty, tz},\n" with %f, then the comment
// line "; demo time T s\n" (T with %.3f).
std::string free_camera_log_line(const camera* c, float demo_time);
// Appends one key to the log at `path`; a log that cannot be opened is
// skipped.
void free_camera_append_log(const camera* c, float demo_time, const char* path);

// One frame: mouse look, then (when input->log) the log lines of the camera
// as it stands, taken at `demo_time`, are put in *log_line, then the speeds,
// the moves and the target nudges. log_line is left alone when nothing is
// logged.
void free_camera_step(camera* c, const free_camera_input* input, float dt, float demo_time,
                      std::string* log_line);

// Reads the mouse (and recentres it), the key table and the left button,
// steps the camera and appends to the log; clears the space key so one press
// writes one key. With the takeover on, the camera is first put back where
// the free camera left it (unless it is another camera than last frame's)
// and its view applied again after the step. Does nothing when `debug` is 0.
void free_camera_update(camera* c, float dt);
