// gen3DS, genEnvironment and genWireframe without a window: the object
// transform a spline gives, the spin angles, the pulsing wireframe colour and
// its culling switch, and the example splines that carry a model to the
// middle of the flat view.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "effects/gen3ds.h"
#include "effects/wireframe.h"
#include "tools/assets/fx3d_assets.h"

namespace {

struct vec3 {
    float x, y, z;
};

vec3 transform_point(const float m[16], vec3 p) {
    return {m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12], m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
            m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14]};
}

struct transform_case {
    const char* name;
    float values[SPLINE_CHANNELS];  // scale xyz, degrees about X Y Z, position xyz
    vec3 point;
    vec3 expected;
};

const transform_case transform_cases[] = {
    {"unit values leave points alone", {1, 1, 1, 0, 0, 0, 0, 0, 0}, {1, 2, 3}, {1, 2, 3}},
    {"scale per axis", {2, 3, 4, 0, 0, 0, 0, 0, 0}, {1, 1, 1}, {2, 3, 4}},
    {"translation is scaled too", {2, 2, 2, 0, 0, 0, 1, 2, 3}, {0, 0, 0}, {2, 4, 6}},
    {"90 about X takes +Y to +Z", {1, 1, 1, 90, 0, 0, 0, 0, 0}, {0, 1, 0}, {0, 0, 1}},
    {"90 about Y takes +Z to +X", {1, 1, 1, 0, 90, 0, 0, 0, 0}, {0, 0, 1}, {1, 0, 0}},
    {"90 about Z takes +X to +Y", {1, 1, 1, 0, 0, 90, 0, 0, 0}, {1, 0, 0}, {0, 1, 0}},
    // The Y turn acts on the point first (-Z), then the X turn (+Y); the
    // other order would give -Z.
    {"X turn is outermost", {1, 1, 1, 90, 90, 0, 0, 0, 0}, {1, 0, 0}, {0, 1, 0}},
    {"Y turn outside Z turn", {1, 1, 1, 0, 90, 90, 0, 0, 0}, {1, 0, 0}, {0, 1, 0}},
    {"translation lies inside the turns", {1, 1, 1, 0, 90, 0, 1, 0, 0}, {0, 0, 0}, {0, 0, -1}},
    {"all five steps", {2, 2, 2, 0, 0, 90, 1, 0, 0}, {0, 0, 1}, {0, 2, 2}},
    {"negative scale mirrors", {-1, 1, 1, 0, 0, 0, 0, 0, 0}, {1, 1, 1}, {-1, 1, 1}},
};

}  // namespace

TEST(ObjectTransform, SplineValuesMoveKnownPoints) {
    for (const transform_case& c : transform_cases) {
        float m[16];
        object_transform_matrix(object_transform_from_values(c.values), m);
        vec3 got = transform_point(m, c.point);
        EXPECT_NEAR(got.x, c.expected.x, 1e-5) << c.name;
        EXPECT_NEAR(got.y, c.expected.y, 1e-5) << c.name;
        EXPECT_NEAR(got.z, c.expected.z, 1e-5) << c.name;
        EXPECT_FLOAT_EQ(m[15], 1.0f) << c.name;
        EXPECT_FLOAT_EQ(m[3] + m[7] + m[11], 0.0f) << c.name;
    }
}

TEST(Gen3dsSpin, AnglesGrowFromZeroAtTheirOwnRates) {
    struct row {
        float t;
        float expected[GEN3DS_SPINS];
    } rows[] = {
        {0.0f, {0, 0, 0}},
        {1.5f, {15, 30, 45}},
        {1000.0f, {10000, 20000, 30000}},  // never wrapped
    };
    for (const row& r : rows) {
        float angles[GEN3DS_SPINS];
        gen3ds_spin_angles(r.t, angles);
        for (int i = 0; i < GEN3DS_SPINS; ++i) EXPECT_FLOAT_EQ(angles[i], r.expected[i]) << "t " << r.t;
    }
    EXPECT_FLOAT_EQ(gen3ds_spins[1].axis[1], -5.0f);
}

TEST(WireframeColour, ChannelsPulseAndAlphaFlickers) {
    const float half_pi = static_cast<float>(M_PI) / 2;
    struct row {
        const char* name;
        float params[WIREFRAME_PARAMS];
        float T;
        int flicker;
        wireframe_colour expected;
    } rows[] = {
        {"all zero is black and clear", {}, 12.3f, 57, {0, 0, 0, 0}},
        {"bases alone", {1, 0.2f, 0, 0, 0.4f, 0, 0, 0.6f, 0, 0, 0.8f, 0, 0}, 3, 99, {0.2f, 0.4f, 0.6f, 0.8f}},
        {"red at the sine's crest",
         {1, 0.5f, 0.25f, half_pi, 0, 0, 0, 0, 0, 0, 1, 0, 0}, 1, 0, {0.75f, 0, 0, 1}},
        {"green at the trough",
         {1, 0, 0, 0, 0.5f, 0.5f, half_pi, 0, 0, 0, 1, 0, 0}, 3, 0, {0, 0, 0, 1}},
        {"blue a quarter turn later at T 2",
         {1, 0, 0, 0, 0, 0, 0, 0.5f, 0.5f, half_pi / 2, 1, 0, 0}, 2, 0, {0, 0, 1, 1}},
        {"flicker scales the amplitude by hundredths",
         {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0.2f, 0.5f, 0}, 0, 40, {0, 0, 0, 0.4f}},
        {"largest flicker", {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0}, 0, 99, {0, 0, 0, 0.99f}},
    };
    for (const row& r : rows) {
        wireframe_colour c = wireframe_colour_at(r.params, r.T, r.flicker);
        EXPECT_NEAR(c.r, r.expected.r, 1e-5) << r.name;
        EXPECT_NEAR(c.g, r.expected.g, 1e-5) << r.name;
        EXPECT_NEAR(c.b, r.expected.b, 1e-5) << r.name;
        EXPECT_NEAR(c.a, r.expected.a, 1e-5) << r.name;
    }
}

TEST(WireframeColour, OnlyExactlyOneCulls) {
    struct row {
        float value;
        int culls;
    } rows[] = {{1.0f, 1}, {0.0f, 0}, {0.99f, 0}, {2.0f, 0}, {-1.0f, 0}, {std::nextafter(1.0f, 2.0f), 0}};
    for (const row& r : rows) {
        float params[WIREFRAME_PARAMS] = {};
        params[12] = r.value;
        EXPECT_EQ(wireframe_culls(params), r.culls) << r.value;
    }
}

TEST(Fx3dAssets, TurningKeysKeepTheOriginOnTheCentre) {
    const float centre[3] = {0.5f, 0.5f, 0.0f};
    struct row {
        int count;
        float scale, turns;
    } rows[] = {{49, 0.22f, 1.0f}, {1, 0.22f, 0.0f}, {7, 2.0f, 0.5f}};
    for (const row& r : rows) {
        std::vector<object_key> keys = fx3d_turning_keys(r.count, r.scale, r.turns, centre);
        ASSERT_EQ(keys.size(), static_cast<size_t>(r.count));
        EXPECT_FLOAT_EQ(keys.back().values[4], 360.0f * r.turns);
        for (const object_key& k : keys) {
            float m[16];
            object_transform_matrix(object_transform_from_values(k.values), m);
            vec3 got = transform_point(m, {0, 0, 0});
            EXPECT_NEAR(got.x, 0.5f, 1e-4) << r.count << " keys, yaw " << k.values[4];
            EXPECT_NEAR(got.y, 0.5f, 1e-4) << r.count << " keys, yaw " << k.values[4];
            EXPECT_NEAR(got.z, 0.0f, 1e-4) << r.count << " keys, yaw " << k.values[4];
        }
    }
}
