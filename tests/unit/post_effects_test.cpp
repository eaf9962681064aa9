// The post-processing section types' arithmetic (radial blur passes, centre
// and zoom window, how far back a feedback mesh draws), without a window;
// the fader's colour is read back on Mesa (fader_test).
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <initializer_list>
#include <memory>

#include "core/section.h"
#include "core/settings.h"
#include "core/track.h"
#include "effects/frame_copy.h"
#include "effects/radial_blur.h"
#include "effects/render_mesh.h"
#include "show/section_table.h"
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

// ---------------------------------------------------------------------------
// Fed-back pictures: how far back an opening draws them
// ---------------------------------------------------------------------------

// The count must cover what was measured on the default show at 60 frames/s
// and 512 x 512: an opening from an empty feedback matched the run after 21
// frames at most at alpha 0.35, 22 at 0.3, 20 at 0.25 (the warped copy
// added); more pixels or more gain take longer, none takes nothing, no fade
// takes all.
TEST(render_mesh, an_opening_draws_back_as_far_as_its_picture_still_shows) {
    struct row {
        const char* name;
        float alpha0, alpha1, add;
        int rtt;
        int at_least, at_most;
    };
    const row rows[] = {
        {"first mesh", 0.35f, 0, 1, 512, 23, 48},
        {"second mesh", 0.3f, 0, 1, 512, 23, 48},
        {"rising alpha", 0, 0.25f, 1, 512, 21, 48},
        {"plain copy fades faster", 0.35f, 0, 0, 512, 1, 36},
        {"no alpha, no history", 0, 0, 1, 512, 0, 0},
        {"alpha past one is one", 3, 0, 0, 512, INT_MAX, INT_MAX},
        {"hardly fading", 0.65f, 0.5f, 1, 512, INT_MAX, INT_MAX},
    };
    int saved_w = gl_rttWidth, saved_h = gl_rttHeight;
    for (const row& r : rows) {
        SCOPED_TRACE(r.name);
        auto made = section_with("efxRenderMesh", {0, r.alpha0, r.alpha1, r.add});
        const section& s = *made;
        gl_rttWidth = gl_rttHeight = r.rtt;
        int frames = render_mesh_history(&s);
        EXPECT_GE(frames, r.at_least);
        EXPECT_LE(frames, r.at_most);
        if (frames > 0 && frames < INT_MAX) {
            gl_rttWidth = gl_rttHeight = 4 * r.rtt;
            EXPECT_GT(render_mesh_history(&s), frames) << "more pixels, longer";
        }
    }
    section s = {};
    s.params[1] = 0.1f;
    track_param alpha_follows_a_track = {};
    alpha_follows_a_track.param = 2;
    s.tracked = &alpha_follows_a_track;
    s.tracked_count = 1;
    EXPECT_EQ(render_mesh_history(&s), INT_MAX) << "a tracked alpha can rise to anything";
    gl_rttWidth = saved_w, gl_rttHeight = saved_h;
}
