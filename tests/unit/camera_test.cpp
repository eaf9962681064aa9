// Camera maths: the modelview the view calls build, checked against matrices
// worked out by hand for look-at and angle cameras, and the vectors read back.
#include <gtest/gtest.h>

#include <vector>

#include "effects/camera_fx.h"
#include "resources/camera.h"

namespace {

struct view_case {
    const char* name;
    int mode;
    float position[3], target[3];
    float roll, pitch, yaw, twist;
    float rows[3][4];   // upper three rows of the expected matrix
};

// Rz(-90) = rows (0 1 0)(-1 0 0)(0 0 1); Rx(-90) = (1 0 0)(0 0 1)(0 -1 0);
// Ry(-90) = (0 0 -1)(0 1 0)(1 0 0). The look-at from (0,0,2) to the origin is
// a translation by (0,0,-2), so each matrix is R with R * (0,0,-2) as its last
// column.
const view_case view_cases[] = {
    {"look-at alone", 1, {0, 0, 2}, {0, 0, 0}, 0, 0, 0, 0,
     {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, -2}}},
    {"look-at from +x", 1, {2, 0, 0}, {0, 0, 0}, 0, 0, 0, 0,
     {{0, 0, -1, 0}, {0, 1, 0, 0}, {1, 0, 0, -2}}},
    {"pitch 90 looks up", 1, {0, 0, 2}, {0, 0, 0}, 0, 90, 0, 0,
     {{1, 0, 0, 0}, {0, 0, 1, -2}, {0, -1, 0, 0}}},
    {"roll 90", 1, {0, 0, 2}, {0, 0, 0}, 90, 0, 0, 0,
     {{0, 1, 0, 0}, {-1, 0, 0, 0}, {0, 0, 1, -2}}},
    {"roll before pitch", 1, {0, 0, 2}, {0, 0, 0}, 90, 90, 0, 0,
     {{0, 0, 1, -2}, {-1, 0, 0, 0}, {0, -1, 0, 0}}},
    {"twist before yaw", 1, {0, 0, 2}, {0, 0, 0}, 0, 0, 90, 90,
     {{0, 1, 0, 0}, {0, 0, 1, -2}, {1, 0, 0, 0}}},
    {"angle mode ignores the target", 0, {1, 2, 3}, {9, 9, 9}, 0, 0, 90, 0,
     {{0, 0, -1, 3}, {0, 1, 0, -2}, {1, 0, 0, -1}}},
};

TEST(CameraView, MatricesMatchHandWorkedResults) {
    for (const view_case& v : view_cases) {
        SCOPED_TRACE(v.name);
        camera* c = camera_create(v.mode);
        camera_set_position(c, v.position[0], v.position[1], v.position[2]);
        camera_set_target(c, v.target[0], v.target[1], v.target[2]);
        camera_set_roll(c, v.roll);
        camera_set_angles(c, v.pitch, v.yaw, v.twist);
        float m[16];
        camera_view_matrix(c, m);
        for (int row = 0; row < 3; row++)
            for (int col = 0; col < 4; col++)
                EXPECT_NEAR(m[col * 4 + row], v.rows[row][col], 1e-6) << row << "," << col;
        for (int col = 0; col < 4; col++) EXPECT_NEAR(m[col * 4 + 3], col == 3, 1e-6);

        camera_store_vectors(c, m);
        for (int i = 0; i < 3; i++) {
            EXPECT_NEAR(c->right_vector[i], v.rows[0][i], 1e-6);
            EXPECT_NEAR(c->back_vector[i], v.rows[2][i], 1e-6);
        }
        free(c);
    }
}

TEST(CameraFx, SplineValuesGoToPositionAnglesAndTarget) {
    camera* c = camera_create(CAMERA_LOOK_AT_MODE);
    const float values[SPLINE_CHANNELS] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    camera_fx_from_values(c, values);
    const float got[] = {c->position[0], c->position[1], c->position[2], c->pitch, c->yaw,
                         c->twist,       c->target[0],   c->target[1],   c->target[2]};
    EXPECT_EQ(std::vector<float>(got, got + 9), std::vector<float>(values, values + 9));
    EXPECT_EQ(c->roll, 0);  // a spline has no roll channel
    EXPECT_EQ(c->mode, CAMERA_LOOK_AT_MODE);
    free(c);
}

}  // namespace
