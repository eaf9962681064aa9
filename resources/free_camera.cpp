// Free camera: mouse look, gliding forward and sideways moves with friction,
// target nudges, and the camera log.
#include "resources/free_camera.h"

#include <SDL/SDL.h>
#include <cstdio>

#include "core/clock.h"
#include "core/settings.h"
#include "show/engine.h"

float forward_speed = 0;
float strafe_speed = 0;
int free_camera_takeover = 0;

// The placement the takeover keeps, and the camera it belongs to.
static camera held_pose;
static const camera* held_for = nullptr;

const char* const CAMERA_LOG_NAME = "camera.log";

// The pointer goes back here every frame (the centre of a 640 x 480 window).
static const int MOUSE_HOME_X = 320;
static const int MOUSE_HOME_Y = 240;

static const float ACCELERATION = 10;   // units per second, per second held
static const float FRICTION = 5;
static const float FORWARD_LIMIT = 6;
static const float STRAFE_LIMIT = 3;
static const float NUDGE_RATE = 5;

void vec3_add(const float a[3], const float b[3], float c[3]) {
    for (int i = 0; i < 3; i++) c[i] = a[i] + b[i];
}

void vec3_sub(const float a[3], const float b[3], float c[3]) {
    for (int i = 0; i < 3; i++) c[i] = b[i] - a[i];
}

void vec3_scale(const float a[3], float s, float c[3]) {
    for (int i = 0; i < 3; i++) c[i] = s * a[i];
}

void camera_mouse_look(camera* c, int dx, int dy) {
    float h = dx / 16.0f, v = dy / 16.0f;
    if (h == 0 && v == 0) return;
    c->pitch += v;
    if (c->pitch > 90) c->pitch = 90;
    if (c->pitch < -90) c->pitch = -90;
    c->yaw += h;
}

// Position and target move together, so the view direction is kept.
static void camera_shift(camera* c, const float direction[3], float amount) {
    float step[3];
    vec3_scale(direction, amount, step);
    vec3_add(c->position, step, c->position);
    vec3_add(c->target, step, c->target);
}

void camera_move_forward(camera* c, float amount) { camera_shift(c, c->back_vector, -amount); }

void camera_move_right(camera* c, float amount) { camera_shift(c, c->right_vector, amount); }

std::string free_camera_log_line(const camera* c, float demo_time) {
    const char* format = "{%f, %f, %f, %f, %f, %f, %f, %f, %f},\n; demo time %.3f s\n";
    double v[9] = {c->position[0], c->position[1], c->position[2], c->pitch, c->yaw, c->twist,
                   c->target[0],   c->target[1],   c->target[2]};
    double t = demo_time;
    int length = snprintf(nullptr, 0, format, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], t);
    std::string line(length > 0 ? (size_t)length : 0, '\0');
    snprintf(&line[0], line.size() + 1, format, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7],
             v[8], t);
    return line;
}

// Opened for appending for every line and closed after it, so lines
// accumulate across runs and survive a crash.
static void append_line(const char* path, const std::string& line) {
    FILE* f = fopen(path, "at");
    if (!f) return;
    fputs(line.c_str(), f);
    fclose(f);
}

void free_camera_append_log(const camera* c, float demo_time, const char* path) {
    append_line(path, free_camera_log_line(c, demo_time));
}

// The speed is clamped, moves the camera, then loses `friction` toward 0.
static float glide(float speed, float limit, float dt, camera* c,
                   void (*move)(camera*, float)) {
    if (speed == 0) return 0;
    if (speed > limit) speed = limit;
    if (speed < -limit) speed = -limit;
    move(c, speed * dt);
    float f = FRICTION * dt;
    if (speed > f) return speed - f;
    if (speed < -f) return speed + f;
    return 0;
}

void free_camera_step(camera* c, const free_camera_input* in, float dt, float demo_time,
                      std::string* log_line) {
    camera_mouse_look(c, in->mouse_dx, in->mouse_dy);
    if (in->log && log_line) *log_line = free_camera_log_line(c, demo_time);

    if (in->up) forward_speed += ACCELERATION * dt;
    if (in->down) forward_speed -= ACCELERATION * dt;
    forward_speed = glide(forward_speed, FORWARD_LIMIT, dt, c, camera_move_forward);

    if (in->left) strafe_speed -= ACCELERATION * dt;
    if (in->right) strafe_speed += ACCELERATION * dt;
    strafe_speed = glide(strafe_speed, STRAFE_LIMIT, dt, c, camera_move_right);

    float nudge = NUDGE_RATE * dt;
    if (in->q) c->target[0] -= nudge;
    if (in->a) c->target[0] += nudge;
    if (in->w) c->target[1] -= nudge;
    if (in->s) c->target[1] += nudge;
    if (in->e) c->target[2] -= nudge;
    if (in->d) c->target[2] += nudge;
}

void free_camera_toggle_takeover() {
    free_camera_takeover = !free_camera_takeover;
    held_for = nullptr;
}

// The placement of a camera: what a spline sets and the free camera moves.
static void copy_pose(camera* to, const camera* from) {
    for (int i = 0; i < 3; i++) {
        to->position[i] = from->position[i];
        to->target[i] = from->target[i];
    }
    to->pitch = from->pitch;
    to->yaw = from->yaw;
    to->twist = from->twist;
}

void free_camera_update(camera* c, float dt) {
    if (!debug) return;
    if (free_camera_takeover && held_for == c) copy_pose(c, &held_pose);
    int x = 0, y = 0;
    Uint8 buttons = SDL_GetMouseState(&x, &y);
    SDL_WarpMouse(MOUSE_HOME_X, MOUSE_HOME_Y);

    free_camera_input in = {};
    in.mouse_dx = MOUSE_HOME_X - x;
    in.mouse_dy = MOUSE_HOME_Y - y;
    in.log = (buttons & SDL_BUTTON(SDL_BUTTON_LEFT)) || key_state[SDLK_SPACE];
    in.up = key_state[SDLK_UP];
    in.down = key_state[SDLK_DOWN];
    in.left = key_state[SDLK_LEFT];
    in.right = key_state[SDLK_RIGHT];
    in.q = key_state[SDLK_q];
    in.a = key_state[SDLK_a];
    in.w = key_state[SDLK_w];
    in.s = key_state[SDLK_s];
    in.e = key_state[SDLK_e];
    in.d = key_state[SDLK_d];

    std::string line;
    free_camera_step(c, &in, dt, demo_time, &line);
    if (in.log) {
        append_line(CAMERA_LOG_NAME, line);
        key_state[SDLK_SPACE] = 0;
    }
    if (!free_camera_takeover) return;
    copy_pose(&held_pose, c);
    held_for = c;
    camera_apply_view(c);
}
