// Free camera: mouse look with its pitch clamp, and gliding moves with
// friction, speed clamps and target nudges.
#include <gtest/gtest.h>


#include "core/settings.h"
#include "resources/free_camera.h"
#include "resources/spline.h"
#include "tests/test_support.h"

namespace {

// A look-at camera at the origin looking down -Z, with the vectors a view of
// it would store.
camera* test_camera() {
    camera* c = camera_create(CAMERA_LOOK_AT_MODE);
    camera_set_target(c, 0, 0, -1);
    c->right_vector[0] = 1;
    c->back_vector[2] = 1;
    return c;
}

struct look_case {
    int dx, dy;
    float pitch_before, pitch_after, yaw_after;
};

TEST(FreeCamera, MouseLookTurnsAndClampsPitch) {
    const look_case cases[] = {
        {-16, 0, 0, 0, -1},      // pointer at (336, 240)
        {0, 0, 10, 10, 0},       // pointer at home
        {0, 40, 89, 90, 0},      // clamped at the top
        {0, -40, -89, -90, 0},   // and at the bottom
        {8, 8, 0, 0.5f, 0.5f},
    };
    for (const look_case& l : cases) {
        camera* c = test_camera();
        c->pitch = l.pitch_before;
        camera_mouse_look(c, l.dx, l.dy);
        EXPECT_FLOAT_EQ(c->pitch, l.pitch_after) << l.dx << "," << l.dy;
        EXPECT_FLOAT_EQ(c->yaw, l.yaw_after) << l.dx << "," << l.dy;
        free(c);
    }
}

struct move_case {
    const char* name;
    float forward0, strafe0;
    free_camera_input keys;
    float dt;
    float forward1, strafe1;
    float position[3], target[3];
};

free_camera_input keys_none() { return {}; }
free_camera_input keys_up() { free_camera_input k = {}; k.up = 1; return k; }
free_camera_input keys_down() { free_camera_input k = {}; k.down = 1; return k; }
free_camera_input keys_left() { free_camera_input k = {}; k.left = 1; return k; }
free_camera_input keys_right() { free_camera_input k = {}; k.right = 1; return k; }
free_camera_input keys_lower() { free_camera_input k = {}; k.q = k.w = k.e = 1; return k; }
free_camera_input keys_raise() { free_camera_input k = {}; k.a = k.s = k.d = 1; return k; }

TEST(FreeCamera, MovesGlideClampAndSlowDown) {
    const move_case cases[] = {
        {"up from rest", 0, 0, keys_up(), 0.1f, 0.5f, 0, {0, 0, -0.1f}, {0, 0, -1.1f}},
        {"down from rest", 0, 0, keys_down(), 0.1f, -0.5f, 0, {0, 0, 0.1f}, {0, 0, -0.9f}},
        {"glide stops", 0.3f, 0, keys_none(), 0.1f, 0, 0, {0, 0, -0.03f}, {0, 0, -1.03f}},
        {"backward glide stops", -0.3f, 0, keys_none(), 0.1f, 0, 0, {0, 0, 0.03f},
         {0, 0, -0.97f}},
        {"forward clamp", 5.5f, 0, keys_up(), 0.1f, 5.5f, 0, {0, 0, -0.6f}, {0, 0, -1.6f}},
        {"right from rest", 0, 0, keys_right(), 0.1f, 0, 0.5f, {0.1f, 0, 0}, {0.1f, 0, -1}},
        {"left from rest", 0, 0, keys_left(), 0.1f, 0, -0.5f, {-0.1f, 0, 0}, {-0.1f, 0, -1}},
        {"strafe clamp", 0, 2.5f, keys_right(), 0.1f, 0, 2.5f, {0.3f, 0, 0}, {0.3f, 0, -1}},
        {"nudges down", 0, 0, keys_lower(), 0.2f, 0, 0, {0, 0, 0}, {-1, -1, -2}},
        {"nudges up", 0, 0, keys_raise(), 0.2f, 0, 0, {0, 0, 0}, {1, 1, 0}},
    };
    for (const move_case& m : cases) {
        SCOPED_TRACE(m.name);
        camera* c = test_camera();
        forward_speed = m.forward0;
        strafe_speed = m.strafe0;
        free_camera_step(c, &m.keys, m.dt, 0, nullptr);
        EXPECT_NEAR(forward_speed, m.forward1, 1e-6);
        EXPECT_NEAR(strafe_speed, m.strafe1, 1e-6);
        for (int i = 0; i < 3; i++) {
            EXPECT_NEAR(c->position[i], m.position[i], 1e-6) << i;
            EXPECT_NEAR(c->target[i], m.target[i], 1e-6) << i;
        }
        free(c);
    }
    forward_speed = strafe_speed = 0;
}

}  // namespace
