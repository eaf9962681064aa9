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
