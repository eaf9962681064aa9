// Cameras and their matrices: the record's setters, the projection and view
// as GL calls, and the same view computed on plain floats.
#include "resources/camera.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "core/fatal.h"
#include "core/owned.h"

camera* current_camera = nullptr;

camera* camera_create(int mode) {
    camera* c = (camera*)calloc(1, sizeof(camera));
    if (!c) fatal_error("Out of memory creating a camera");
    generation_own(c, free);
    c->mode = (unsigned char)mode;
    c->near_clip = 0.1f;
    c->far_clip = 100.0f;
    return c;
}

void camera_set_position(camera* c, float x, float y, float z) {
    c->position[0] = x;
    c->position[1] = y;
    c->position[2] = z;
}

void camera_set_target(camera* c, float x, float y, float z) {
    c->target[0] = x;
    c->target[1] = y;
    c->target[2] = z;
}

void camera_set_roll(camera* c, float degrees) { c->roll = degrees; }

void camera_set_angles(camera* c, float pitch, float yaw, float twist) {
    c->pitch = pitch;
    c->yaw = yaw;
    c->twist = twist;
}

void camera_set_perspective(camera* c, float fovy, float aspect) {
    c->fovy = fovy;
    c->aspect = aspect;
}

void camera_apply_projection(const camera* c) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective((double)c->fovy, (double)c->aspect, (double)c->near_clip,
                   (double)c->far_clip);
}

void camera_store_vectors(camera* c, const float m[16]) {
    c->right_vector[0] = m[0];
    c->right_vector[1] = m[4];
    c->right_vector[2] = m[8];
    c->back_vector[0] = m[2];
    c->back_vector[1] = m[6];
    c->back_vector[2] = m[10];
}

// The eye-space rotations go on the matrix before the look-at (or the
// translation), so a world point is brought into the camera's frame first and
// then turned by yaw, twist, pitch and roll.
void camera_apply_view(camera* c) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    if (c->roll != 0) glRotatef(-c->roll, 0, 0, 1);
    glRotatef(-c->pitch, 1, 0, 0);
    glRotatef(-c->twist, 0, 0, 1);
    glRotatef(-c->yaw, 0, 1, 0);
    if (c->mode != CAMERA_ANGLE_MODE)
        gluLookAt(c->position[0], c->position[1], c->position[2], c->target[0], c->target[1],
                  c->target[2], 0, 1, 0);
    else
        glTranslatef(-c->position[0], -c->position[1], -c->position[2]);
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    camera_store_vectors(c, m);
}

// ---------------------------------------------------------------------------
// Matrix arithmetic
// ---------------------------------------------------------------------------

void mat4_identity(float m[16]) {
    memset(m, 0, 16 * sizeof(float));
    m[0] = m[5] = m[10] = m[15] = 1;
}

void mat4_multiply(float m[16], const float b[16]) {
    float r[16];
    for (int col = 0; col < 4; col++)
        for (int row = 0; row < 4; row++) {
            float sum = 0;
            for (int k = 0; k < 4; k++) sum += m[k * 4 + row] * b[col * 4 + k];
            r[col * 4 + row] = sum;
        }
    memcpy(m, r, sizeof r);
}

// A turn about one axis, as the driver builds it: the identity but for the
// plane of axes a and b, which takes a towards b.
static void mat4_axis_turn(float r[16], int a, int b, float s, float c) {
    mat4_identity(r);
    r[a * 4 + a] = c;
    r[b * 4 + b] = c;
    r[a * 4 + b] = s;
    r[b * 4 + a] = -s;
}

// The GL driver's own arithmetic, step for step (the angle in radians in
// double, the sine and cosine in float, the products paired as below), so
// that a matrix built here equals the one glRotatef builds to the last bit
// and geometry moved here lands on the pixels it would under GL's matrices.
// Turns about a coordinate axis take the driver's shorter road.
void mat4_rotate(float m[16], float degrees, float x, float y, float z) {
    float length = std::sqrt(x * x + y * y + z * z);
    if (length == 0) return;
    x /= length;
    y /= length;
    z /= length;
    float s = std::sin(static_cast<float>(degrees * M_PI / 180.0));
    float c = std::cos(static_cast<float>(degrees * M_PI / 180.0));
    float xx = x * x, yy = y * y, zz = z * z, xy = x * y, yz = y * z, zx = z * x;
    float xs = x * s, ys = y * s, zs = z * s, one_c = 1 - c;
    float r[16] = {one_c * xx + c,  one_c * xy + zs, one_c * zx - ys, 0,
                   one_c * xy - zs, one_c * yy + c,  one_c * yz + xs, 0,
                   one_c * zx + ys, one_c * yz - xs, one_c * zz + c,  0,
                   0,               0,               0,               1};
    if (x == 0 && y == 0) mat4_axis_turn(r, 0, 1, z < 0 ? -s : s, c);
    else if (x == 0 && z == 0) mat4_axis_turn(r, 2, 0, y < 0 ? -s : s, c);
    else if (y == 0 && z == 0) mat4_axis_turn(r, 1, 2, x < 0 ? -s : s, c);
    mat4_multiply(m, r);
}

void mat4_translate(float m[16], float x, float y, float z) {
    float t[16];
    mat4_identity(t);
    t[12] = x;
    t[13] = y;
    t[14] = z;
    mat4_multiply(m, t);
}

static void normalise(float v[3]) {
    float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length == 0) return;
    for (int i = 0; i < 3; i++) v[i] /= length;
}

static void cross(const float a[3], const float b[3], float out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

// Rows side, up and -forward, then the eye moved to the origin.
void mat4_look_at(float m[16], const float eye[3], const float centre[3], const float up[3]) {
    float forward[3] = {centre[0] - eye[0], centre[1] - eye[1], centre[2] - eye[2]};
    normalise(forward);
    float side[3], true_up[3];
    cross(forward, up, side);
    normalise(side);
    cross(side, forward, true_up);
    float r[16];
    mat4_identity(r);
    for (int i = 0; i < 3; i++) {
        r[i * 4 + 0] = side[i];
        r[i * 4 + 1] = true_up[i];
        r[i * 4 + 2] = -forward[i];
    }
    mat4_multiply(m, r);
    mat4_translate(m, -eye[0], -eye[1], -eye[2]);
}

void camera_view_matrix(const camera* c, float m[16]) {
    mat4_identity(m);
    if (c->roll != 0) mat4_rotate(m, -c->roll, 0, 0, 1);
    mat4_rotate(m, -c->pitch, 1, 0, 0);
    mat4_rotate(m, -c->twist, 0, 0, 1);
    mat4_rotate(m, -c->yaw, 0, 1, 0);
    if (c->mode != CAMERA_ANGLE_MODE) {
        const float up[3] = {0, 1, 0};
        mat4_look_at(m, c->position, c->target, up);
    } else {
        mat4_translate(m, -c->position[0], -c->position[1], -c->position[2]);
    }
}
