// The free camera: with the `debug` setting on, the mouse and the keyboard
// steer a scene's camera, and camera keys are appended to "camera.log" in the
// spline key format so they can be pasted into a camera spline.
//
// One frame of control is a pure step (free_camera_step) over the camera, the
// keys held, the mouse displacement and the frame's duration; the thin
// free_camera_update reads SDL and the key table and writes the log.
#pragma once

#include <string>

#include "resources/camera.h"

// Shared by every camera and scene; world units per second.
extern float forward_speed;
extern float strafe_speed;

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

// "{x, y, z, pitch, yaw, twist, tx, ty, tz},\n" with %f.
std::string free_camera_log_line(const camera* c);
// Appends one line to the log at `path`; a log that cannot be opened is
// skipped.
void free_camera_append_log(const camera* c, const char* path);

// One frame: mouse look, then (when input->log) the log line of the camera
// as it stands is put in *log_line, then the speeds, the moves and the
// target nudges. log_line is left alone when nothing is logged.
void free_camera_step(camera* c, const free_camera_input* input, float dt,
                      std::string* log_line);

// Reads the mouse (and recentres it), the key table and the left button,
// steps the camera and appends to the log; clears the space key so one press
// writes one line. Does nothing when `debug` is 0.
void free_camera_update(camera* c, float dt);
