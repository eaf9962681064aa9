// The default show's orbit flights, read back through the player's own
// spline reader: where the first and last keys sit and what they look at.
#include <gtest/gtest.h>

#include <cmath>

#include "resources/spline.h"
#include "tests/test_support.h"
#include "tools/assets/show_assets.h"

namespace {

TEST(show_flights, orbits_spiral_from_the_first_radius_and_height_to_the_last) {
    orbit_flight f = {5, {4.0f, 2.0f}, {1.0f, 3.0f}, 0.5f, 0.0f, {1, 2, 3}};
    temp_dir dir;
    std::string path = dir.write("flight.txt", orbit_flight_text(f));
    spline s = spline_load(path.c_str());
    ASSERT_EQ(s.count, 5);
    const float* first = s.keys[0].values;
    const float* last = s.keys[4].values;
    // Angle 0 is the +Z side; half a turn later the camera is on the -Z side.
    EXPECT_NEAR(first[0], 1.0f, 1e-3f);
    EXPECT_NEAR(first[1], 3.0f, 1e-3f);
    EXPECT_NEAR(first[2], 7.0f, 1e-3f);
    EXPECT_NEAR(last[0], 1.0f, 1e-3f);
    EXPECT_NEAR(last[1], 5.0f, 1e-3f);
    EXPECT_NEAR(last[2], 1.0f, 1e-3f);
    // The middle key: a quarter turn round, halfway in radius and height.
    const float* mid = s.keys[2].values;
    EXPECT_NEAR(mid[0], 1.0f + 3.0f, 1e-3f);
    EXPECT_NEAR(mid[1], 2.0f + 2.0f, 1e-3f);
    EXPECT_NEAR(mid[2], 3.0f, 1e-3f);
    for (int k = 0; k < s.count; ++k) {
        EXPECT_FLOAT_EQ(s.keys[k].values[3], 0.0f);
        EXPECT_NEAR(s.keys[k].values[6], 1.0f, 1e-4f);
        EXPECT_NEAR(s.keys[k].values[7], 2.0f, 1e-4f);
        EXPECT_NEAR(s.keys[k].values[8], 3.0f, 1e-4f);
    }
    spline_free(&s);
}

}  // namespace
