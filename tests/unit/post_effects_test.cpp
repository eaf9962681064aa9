// The post-processing section types' arithmetic (fade colours, radial blur
// passes, centre and zoom window), without a window.
#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <memory>
#include <string>

#include "core/section.h"
#include "effects/fader.h"
#include "effects/radial_blur.h"
#include "effects/render_mesh.h"
#include "tests/test_support.h"

namespace {

// A section of the type named `type` with `params`, its values record filled
// as loading fills it.
std::unique_ptr<section> section_with(const char* type, std::initializer_list<float> params) {
    std::unique_ptr<section> s(new section());
    s->type = section_type_find(type);
    for (float p : params) s->params[s->param_count++] = p;
    section_values_fill(s.get());
    return s;
}

// ---------------------------------------------------------------------------
// efxFader
// ---------------------------------------------------------------------------

TEST(fader, colour_moves_linearly_over_the_span_and_extrapolates_past_it) {
    const fader_values ramp = {{0, 0.2f, 1, 1}, {1, 0.6f, 0, 0}};
    const fader_values still = {{0.3f, 0.4f, 0.5f, 0.6f}, {0.3f, 0.4f, 0.5f, 0.6f}};
    struct {
        const fader_values& values;
        float time;
        fader_colour want;
    } cases[] = {
        {ramp, 10, {0, 0.2f, 1, 1}},          // section start
        {ramp, 12, {0.5f, 0.4f, 0.5f, 0.5f}},  // halfway
        {ramp, 11, {0.25f, 0.3f, 0.75f, 0.75f}},
        {ramp, 14, {1, 0.6f, 0, 0}},          // section end
        {ramp, 16, {1.5f, 0.8f, -0.5f, -0.5f}},  // not clamped
        {still, 13, {0.3f, 0.4f, 0.5f, 0.6f}},
    };
    for (const auto& c : cases) {
        fader_colour got = fader_colour_at(c.values, 10, 14, c.time);
        EXPECT_NEAR(got.r, c.want.r, 1e-6f) << c.time;
        EXPECT_NEAR(got.g, c.want.g, 1e-6f) << c.time;
        EXPECT_NEAR(got.b, c.want.b, 1e-6f) << c.time;
        EXPECT_NEAR(got.a, c.want.a, 1e-6f) << c.time;
    }
}

// ---------------------------------------------------------------------------
// efxRadialBlur
// ---------------------------------------------------------------------------

TEST(radial_blur, pass_count_covers_the_integers_below_the_param) {
    const struct {
        float param;
        int passes;
    } cases[] = {
        {-3, 0}, {0, 0}, {0.25f, 1}, {1, 1}, {2, 2}, {2.5f, 3}, {7, 7},
        {NAN, 0}, {RADIAL_BLUR_MAX_PASSES - 0.5f, RADIAL_BLUR_MAX_PASSES},
        {RADIAL_BLUR_MAX_PASSES + 1, RADIAL_BLUR_MAX_PASSES}, {5e6f, RADIAL_BLUR_MAX_PASSES},
        {1e12f, RADIAL_BLUR_MAX_PASSES},
    };
    for (const auto& c : cases) EXPECT_EQ(radial_blur_pass_count(c.param), c.passes) << c.param;
}

TEST(radial_blur, centre_moves_linearly_and_sets_the_zoom_window) {
    auto s = section_with("efxRadialBlur", {1, 0, 0, 0, 0, 0.2f, 0.4f, 0.6f, 0.8f});
    const radial_blur_values& v = section_values<radial_blur_values>(*s);
    radial_blur_point start = radial_blur_centre(v, 0, 8);
    radial_blur_point middle = radial_blur_centre(v, 4, 8);
    EXPECT_FLOAT_EQ(start.x, 0.2f);
    EXPECT_FLOAT_EQ(start.y, 0.4f);
    EXPECT_FLOAT_EQ(middle.x, 0.4f);
    EXPECT_FLOAT_EQ(middle.y, 0.6f);

    const struct {
        float s;
        radial_blur_point centre;
        float window[4][2];  // corners (0,0), (0,1), (1,1), (1,0) of the y-down square
    } cases[] = {
        {0, {0.5f, 0.5f}, {{0, 1}, {0, 0}, {1, 0}, {1, 1}}},
        {0.1f, {0.5f, 0.5f}, {{0.1f, 0.9f}, {0.1f, 0.1f}, {0.9f, 0.1f}, {0.9f, 0.9f}}},
        {0.25f, {0.2f, 0.8f}, {{0.1f, 0.75f}, {0.1f, 0.4f}, {0.75f, 0.4f}, {0.75f, 0.75f}}},
    };
    for (const auto& c : cases) {
        float got[4][2];
        radial_blur_window(c.s, c.centre, got);
        for (int i = 0; i < 4; ++i) {
            EXPECT_NEAR(got[i][0], c.window[i][0], 1e-6f) << "s " << c.s << " corner " << i;
            EXPECT_NEAR(got[i][1], c.window[i][1], 1e-6f) << "s " << c.s << " corner " << i;
        }
    }
}

// With n syncs the keys run on past the declared params, in script order.
TEST(radial_blur, keys_follow_the_params_past_the_declared_ones) {
    auto s = section_with("efxRadialBlur", {3, 0.1f, 1, 0.2f, 2, 0.3f, 3, 0.4f, 4, 0.5f, 5, 0.6f, 6});
    const radial_blur_values& v = section_values<radial_blur_values>(*s);
    const float syncs[4] = {1, 2, 3, 4};
    const struct {
        float t;
        radial_blur_key want;
    } cases[] = {{0.5f, {0.15f, 1.5f}}, {2.5f, {0.35f, 3.5f}}, {5, {0.55f, 5.5f}}, {6, {1, 0.05f}}};
    for (const auto& c : cases) {
        radial_blur_key got = radial_blur_key_at(v, syncs, 4, 6, c.t);
        EXPECT_FLOAT_EQ(got.alpha, c.want.alpha) << c.t;
        EXPECT_FLOAT_EQ(got.step, c.want.step) << c.t;
    }
    EXPECT_EQ(radial_blur_pass_count(v.passes), 3);
}

}  // namespace
