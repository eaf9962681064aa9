// The free camera taking over a camera that a spline places every frame:
// without the takeover each frame starts again from the spline, with it the
// moves add up and the view drawn is the free camera's.
#include <cmath>

#include "core/settings.h"
#include "resources/camera.h"
#include "resources/free_camera.h"
#include "show/engine.h"
#include "tests/effect_window.h"

namespace {

struct FreeCameraTakeover : effect_window {
    void TearDown() override {
        if (free_camera_takeover) free_camera_toggle_takeover();
        key_state[SDLK_UP] = 0;
        forward_speed = strafe_speed = 0;
        effect_window::TearDown();
        settings_reset();
    }
    static void press_c() {
        SDL_Event event = {};
        event.type = SDL_KEYDOWN;
        event.key.keysym.sym = SDLK_c;
        handle_event(&event);
    }
    // Ten frames of a spline holding the camera at (0, 0, 5), the up arrow
    // held; returns how far the camera ends from the spline's place.
    static float fly(camera* c) {
        forward_speed = 0;
        key_state[SDLK_UP] = 1;
        for (int frame = 0; frame < 10; ++frame) {
            camera_set_position(c, 0, 0, 5);
            camera_set_target(c, 0, 0, 0);
            camera_set_angles(c, 0, 0, 0);
            camera_apply_view(c);
            free_camera_update(c, 0.1f);
        }
        key_state[SDLK_UP] = 0;
        float d[3] = {c->position[0], c->position[1], c->position[2] - 5};
        return std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    }
};

TEST_F(FreeCameraTakeover, KeyCTogglesAndTheMovesAddUp) {
    open();
    camera* c = camera_create(CAMERA_LOOK_AT_MODE);
    debug = 0;
    press_c();
    EXPECT_EQ(free_camera_takeover, 0);  // only while authoring
    debug = 1;
    // One frame's move at most: the spline puts the camera back each frame.
    EXPECT_LT(fly(c), 0.61f);
    press_c();
    ASSERT_EQ(free_camera_takeover, 1);
    EXPECT_GT(fly(c), 2.0f);
    // The view drawn with is the free camera's, not the spline's.
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    float eye_z = -(m[8] * m[12] + m[9] * m[13] + m[10] * m[14]);
    EXPECT_NEAR(eye_z, c->position[2], 1e-3);
    EXPECT_LT(eye_z, 3.0f);
    press_c();
    EXPECT_EQ(free_camera_takeover, 0);
    EXPECT_LT(fly(c), 0.61f);
}

}  // namespace
