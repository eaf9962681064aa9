// genCamera and genMacroBox without a window: where a camera spline's values
// go, the camera a section starts with, the ghost copies' angles, and the
// camera flight the examples use.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "effects/camera_fx.h"
#include "effects/macro_box.h"
#include "resources/camera.h"
#include "tools/assets/fx3d_assets.h"

namespace {

TEST(CameraFx, SplineValuesGoToPositionAnglesAndTarget) {
    camera* c = camera_create(CAMERA_LOOK_AT_MODE);
    const float values[SPLINE_CHANNELS] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    camera_fx_from_values(c, values);
    EXPECT_EQ(c->position[0], 1);
    EXPECT_EQ(c->position[1], 2);
    EXPECT_EQ(c->position[2], 3);
    EXPECT_EQ(c->pitch, 4);
    EXPECT_EQ(c->yaw, 5);
    EXPECT_EQ(c->twist, 6);
    EXPECT_EQ(c->target[0], 7);
    EXPECT_EQ(c->target[1], 8);
    EXPECT_EQ(c->target[2], 9);
    EXPECT_EQ(c->roll, 0);  // a spline has no roll channel
    EXPECT_EQ(c->mode, CAMERA_LOOK_AT_MODE);
    free(c);
}

TEST(CameraFx, SectionCameraStartsAtThreeThreeThreeWithItsParams) {
    camera* c = camera_create(CAMERA_LOOK_AT_MODE);
    c->pitch = 7;  // angles a spline never set are left as they are
    const float params[CAMERA_FX_PARAMS] = {45, 0.25f, 300};
    camera_fx_setup(c, params, 16.0f / 9.0f);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(c->position[i], 3);
        EXPECT_EQ(c->target[i], 0);
    }
    EXPECT_EQ(c->fovy, 45);
    EXPECT_FLOAT_EQ(c->aspect, 16.0f / 9.0f);
    EXPECT_EQ(c->near_clip, 0.25f);
    EXPECT_EQ(c->far_clip, 300);
    EXPECT_EQ(c->pitch, 7);
    c->pitch = 0;
    // The view looks from (3, 3, 3) down the diagonal: the origin lands on
    // the view axis.
    float m[16];
    camera_view_matrix(c, m);
    EXPECT_NEAR(m[12], 0, 1e-5);
    EXPECT_NEAR(m[13], 0, 1e-5);
    EXPECT_NEAR(m[14], -std::sqrt(27.0f), 1e-5);
    free(c);
}

TEST(MacroBox, CopiesTurnTwentySixApartAtOneDegreePerSecond) {
    struct row {
        float t;
        float expected[MACRO_BOX_COPIES];
    } rows[] = {
        {0, {0, 26, 52, 78, 104}},
        {2.5f, {2.5f, 28.5f, 54.5f, 80.5f, 106.5f}},
        {400, {400, 426, 452, 478, 504}},  // no wrap
    };
    for (const row& r : rows) {
        float angles[MACRO_BOX_COPIES];
        macro_box_angles(r.t, angles);
        for (int i = 0; i < MACRO_BOX_COPIES; ++i) EXPECT_FLOAT_EQ(angles[i], r.expected[i]) << "t " << r.t;
    }
    // Five copies at 0.07 add up to about a third of the picture.
    EXPECT_NEAR(MACRO_BOX_COPIES * MACRO_BOX_ALPHA, 0.35f, 1e-6);
}

TEST(Fx3dAssets, CameraFlightCirclesTheOriginAndCloses) {
    struct row {
        int count;
        float radius, height, bob;
    } rows[] = {{17, 6, 1.5f, 1}, {2, 3, 0, 0}, {5, 10, -2, 0.5f}};
    for (const row& r : rows) {
        std::vector<object_key> keys = fx3d_flight_keys(r.count, r.radius, r.height, r.bob);
        ASSERT_EQ(keys.size(), static_cast<size_t>(r.count));
        for (int i = 0; i < 9; ++i) EXPECT_EQ(keys.front().values[i], keys.back().values[i]) << i;
        for (const object_key& k : keys) {
            const float* v = k.values;
            EXPECT_NEAR(std::hypot(v[0], v[2]), r.radius, 1e-4);
            EXPECT_LE(std::fabs(v[1] - r.height), r.bob + 1e-5f);
            for (int i = 3; i < 9; ++i) EXPECT_EQ(v[i], 0) << "angles and target stay 0";
        }
    }
    // Halfway round the camera is on the far side.
    std::vector<object_key> keys = fx3d_flight_keys(5, 6, 0, 0);
    EXPECT_NEAR(keys[2].values[2], -6, 1e-4);
    EXPECT_NEAR(keys[1].values[0], 6, 1e-4);
}

TEST(Fx3dAssets, SkyPictureEdgesMeet) {
    rgb_image sky = fx3d_sky_image(64);
    ASSERT_EQ(sky.width, 64);
    long seam = 0, inside = 0;
    for (int y = 0; y < 64; ++y)
        for (int c = 0; c < 3; ++c) {
            seam += std::abs(sky.at(0, y)[c] - sky.at(63, y)[c]);
            inside += std::abs(sky.at(31, y)[c] - sky.at(32, y)[c]);
        }
    // Across the wrap the picture changes no more than between two
    // neighbouring columns in its middle (stars aside).
    EXPECT_LT(seam, 3 * inside + 64 * 3 * 8);
}

}  // namespace
