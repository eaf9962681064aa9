// The knots, flash, particle title and lake scenes drawn on Mesa through
// their own load, init and render, with one-colour pictures at their fixed
// paths so every layer's share of a pixel can be worked out: the sky layers'
// strength, where the sprites and quads land (projected through the
// scene's own matrices), which phase draws what, and the state each leaves.
#include <GL/glu.h>

#include <cmath>

#include "core/clock.h"
#include "core/random.h"
#include "resources/camera.h"
#include "resources/spline.h"
#include "scenes/flash.h"
#include "scenes/knots.h"
#include "scenes/particletitle.h"
#include "scenes/thelake.h"
#include "tests/effect_window.h"
#include "tests/image_writers.h"

namespace {

picture flat(rgba colour, int width = 16, int height = 16) {
    return {width, height, std::vector<rgba>(static_cast<size_t>(width) * height, colour)};
}

struct scenes_window : effect_window {
    void jpeg(const std::string& name, const picture& p) {
        dir.write(name, "");  // makes the folders
        write_jpeg(dir.file(name), p);
    }
    void tga(const std::string& name, const picture& p, int bits = 24) {
        dir.write(name, "");
        write_tga(dir.file(name), p, TGA_TRUE, bits);
    }
    void set_strings(section& s, std::initializer_list<const char*> names) {
        for (const char* name : names) s.strings[s.string_count++] = const_cast<char*>(name);
    }
    void add_spline(section& s, const std::string& name, const std::string& keys, float duration) {
        dir.write(name, keys);
        s.splines[s.spline_count] = spline_load(name.c_str());
        spline_spread_times(&s.splines[s.spline_count], duration);
        s.spline_count++;
    }
    void TearDown() override {
        for (auto& s : sections)
            for (int i = 0; i < s->spline_count; ++i) spline_free(&s->splines[i]);
        effect_window::TearDown();
    }
    // One frame of a section at demo time `at`, as the timeline renders it.
    static void render_at(section& s, float at, void (*render)()) {
        demo_time = at;
        frame_delta = 0;
        s.local_time = at - s.start;
        current_section = &s;
        render();
    }
    // Render-target pixel of world point p under the current matrices, after
    // turning it `degrees` about Y (the rings' own turn).
    static rgb projected(const float p[3], float degrees = 0, float shift = 0) {
        double a = degrees * M_PI / 180;
        double x = p[0] * std::cos(a) + p[2] * std::sin(a) + shift;
        double z = -p[0] * std::sin(a) + p[2] * std::cos(a);
        double y = p[1] + shift;
        double model[16], projection[16], wx, wy, wz;
        GLint viewport[4] = {0, 0, gl_rttWidth, gl_rttHeight};
        glGetDoublev(GL_MODELVIEW_MATRIX, model);
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        gluProject(x, y, z, model, projection, viewport, &wx, &wy, &wz);
        EXPECT_TRUE(wx >= 0 && wx < gl_rttWidth && wy >= 0 && wy < gl_rttHeight) << wx << "," << wy;
        return pixel_at(static_cast<int>(wx), static_cast<int>(wy));
    }
    // Share of the render target's pixels within `tolerance` of a colour.
    static double share_of(int r, int g, int b, int tolerance = 4) {
        std::vector<unsigned char> p = read_target();
        size_t hits = 0, n = p.size() / 4;
        for (size_t i = 0; i < n; ++i)
            if (std::abs(p[i * 4] - r) <= tolerance && std::abs(p[i * 4 + 1] - g) <= tolerance &&
                std::abs(p[i * 4 + 2] - b) <= tolerance)
                ++hits;
        return static_cast<double>(hits) / n;
    }
    static void expect_state(GLenum src, GLenum dst) {
        EXPECT_FALSE(glIsEnabled(GL_BLEND));
        EXPECT_EQ(integer_state(GL_BLEND_SRC), static_cast<GLint>(src));
        EXPECT_EQ(integer_state(GL_BLEND_DST), static_cast<GLint>(dst));
        EXPECT_EQ(integer_state(GL_DEPTH_WRITEMASK), GL_TRUE);
        EXPECT_EQ(integer_state(GL_MATRIX_MODE), GL_MODELVIEW);
        EXPECT_EQ(integer_state(GL_MODELVIEW_STACK_DEPTH), 1);
        EXPECT_EQ(integer_state(GL_PROJECTION_STACK_DEPTH), 1);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
};

// ---------------------------------------------------------------------------
// knots
// ---------------------------------------------------------------------------

struct knots_window : scenes_window {
    void SetUp() override {
        scenes_window::SetUp();
        jpeg("data/skyboxes/knots.jpg", flat({40, 40, 40, 255}));
        jpeg("data/skyboxes/knots2.jpg", flat({0, 40, 0, 255}));
        jpeg("data/textures/01logos/blueflare.jpg", flat({255, 255, 255, 255}));
        jpeg("data/textures/knots/explosion.jpg", flat({0, 0, 255, 255}));
        open();
        knots_load();
    }
};

TEST_F(knots_window, each_phase_draws_its_sky_ring_and_explosion) {
    section& s = add_section(section_type_find("knots"), 10, 20, {}, {2, 4, 6});
    knots_init();
    // Phase 1, a second in: five layers at a quarter each, 1.25 x 40.
    clear_to(0, 0, 0);
    render_at(s, 11, knots_render);
    EXPECT_GT(share_of(50, 50, 50), 0.2);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    // Particle 0 of phase 1 is at (8, 1, 0), turned 10 degrees: the ring's
    // red adds to the sky there.
    const float first[3] = {8, 1, 0};
    EXPECT_GT(projected(first, 10).r, 50 + 100);
    expect_state(GL_SRC_ALPHA, GL_ONE);
    // Phase 2 three quarters in: the camera rises above the explosion and
    // looks down on it, blue at 0.8 over the whole middle.
    clear_to(0, 0, 0);
    render_at(s, 12.75f, knots_render);
    EXPECT_GT(pixel_at(256, 256).b, 230);
    expect_state(GL_SRC_ALPHA, GL_ONE);
    // Phase 2 at its sync: the explosion's scale has no logarithm there,
    // yet the frame is drawn without a fault.
    clear_to(0, 0, 0);
    render_at(s, 12, knots_render);
    EXPECT_GT(share_of(50, 50, 50), 0.2);
    expect_state(GL_SRC_ALPHA, GL_ONE);
    // Phase 4: the second sky, and none of the first.
    clear_to(0, 0, 0);
    render_at(s, 16.5f, knots_render);
    render_at(s, 16.5f, knots_render);  // the sky follows last frame's camera
    clear_to(0, 0, 0);
    render_at(s, 16.5f, knots_render);
    EXPECT_GT(share_of(0, 50, 0), 0.2);
    EXPECT_EQ(share_of(50, 50, 50, 8), 0);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    expect_state(GL_SRC_ALPHA, GL_ONE);
}

// ---------------------------------------------------------------------------
// flash
// ---------------------------------------------------------------------------

struct flash_window : scenes_window {
    void SetUp() override {
        scenes_window::SetUp();
        jpeg("data/skyboxes/flash.jpg", flat({200, 200, 200, 255}));
        jpeg("data/skyboxes/flash2.jpg", flat({0, 0, 200, 255}));
        jpeg("data/textures/01logos/blueflare.jpg", flat({255, 255, 255, 255}));
        open();
        flash_load();
    }
};

// ---------------------------------------------------------------------------
// particletitle
// ---------------------------------------------------------------------------

struct title_window : scenes_window {
    section* s = nullptr;
    void SetUp() override {
        scenes_window::SetUp();
        jpeg("data/particletitle/flares/grayflare.jpg", flat({255, 255, 255, 255}));
        open();
        particletitle_load();
    }
    // A title section from 0 to 8 with its sync at `sync`; both cameras 128
    // units in front of the title.
    section& title(const char* picture, float sync, float size) {
        section& t = add_section(section_type_find("particletitle"), 0, 8, {size}, {sync});
        set_strings(t, {picture});
        add_spline(t, "near.txt", "{0,0,128,0,0,0,0,0,0}\n", sync);
        add_spline(t, "near2.txt", "{0,0,128,0,0,0,0,0,0}\n", 8 - sync);
        particletitle_init();
        return t;
    }
    // The colour at title point (x, y) (world units, y up).
    static rgb at(float x, float y) {
        const float p[3] = {x, y, 0};
        return projected(p);
    }
};

const rgba RED = {255, 0, 0, 255}, GREEN = {0, 255, 0, 255}, BLUE = {0, 0, 255, 255},
           WHITE = {255, 255, 255, 255}, BLACK = {0, 0, 0, 255};

TEST_F(title_window, sprites_gather_into_the_picture_then_the_quad_grows) {
    // 4 x 2 with an alpha channel: the colours must still be read right.
    tga("title.tga", {4, 2, {RED, GREEN, BLUE, WHITE, BLACK, BLACK, BLACK, BLACK}}, 32);
    section& t = title("title.tga", 4, 12);
    // Just before the sync the sprites sit on their grid places: column c
    // at x = 64 c - 128, row 0 at y = 64; the black row makes none.
    clear_to(0, 0, 0);
    render_at(t, 3.9999f, particletitle_render);
    EXPECT_RGB_NEAR(at(-128, 64), 255, 0, 0, 4);
    EXPECT_RGB_NEAR(at(-64, 64), 0, 255, 0, 4);
    EXPECT_RGB_NEAR(at(0, 64), 0, 0, 255, 4);
    EXPECT_RGB_NEAR(at(64, 64), 255, 255, 255, 4);
    EXPECT_RGB_NEAR(at(-96, 64), 0, 0, 0, 0);
    EXPECT_RGB_NEAR(at(-128, 0), 0, 0, 0, 0);
    expect_state(GL_ONE, GL_ONE);
    // At the start they are scattered: the grid places are empty.
    clear_to(0, 0, 0);
    render_at(t, 0, particletitle_render);
    EXPECT_RGB_NEAR(at(-128, 64), 0, 0, 0, 0);
    EXPECT_RGB_NEAR(at(-64, 64), 0, 0, 0, 0);
    // From the sync the picture is one 256 x 128 quad: texel centres.
    clear_to(0, 0, 0);
    render_at(t, 4, particletitle_render);
    EXPECT_RGB_NEAR(at(-96, 32), 255, 0, 0, 4);
    EXPECT_RGB_NEAR(at(96, 32), 255, 255, 255, 4);
    EXPECT_RGB_NEAR(at(-32, -32), 0, 0, 0, 4);
    EXPECT_RGB_NEAR(at(-140, 32), 0, 0, 0, 0);  // outside the quad
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    expect_state(GL_ONE, GL_ONE);
    // At the end it has grown by 1.4: the red texel centre moved out.
    clear_to(0, 0, 0);
    render_at(t, 8, particletitle_render);
    EXPECT_RGB_NEAR(at(-96 * 1.4f, 32 * 1.4f), 255, 0, 0, 4);
    rgb edge = at(-140, 32);  // inside now, near the red texel's edge
    EXPECT_GT(edge.r, 180);
    EXPECT_LT(edge.g, 40);
}

// ---------------------------------------------------------------------------
// thelake
// ---------------------------------------------------------------------------

struct lake_window : scenes_window {
    void SetUp() override {
        scenes_window::SetUp();
        jpeg("data/thelake/mirror.jpg", flat({60, 0, 0, 255}));
        // Sky: blue upper half, green lower half (the half that is shown).
        picture sky = flat({0, 0, 255, 255}, 16, 16);
        for (int i = 16 * 8; i < 16 * 16; ++i) sky.pixels[i] = {0, 200, 0, 255};
        jpeg("data/thelake/cielo.jpg", sky);
        tga("drop.tga", flat({255, 255, 255, 255}, 8, 8));
        open();
        thelake_load();
    }
    section& lake(const std::string& path, float rate, float size) {
        section& s = add_section(section_type_find("thelake"), 0, 4, {rate, size, 1, 1, 1});
        set_strings(s, {"drop.tga"});
        add_spline(s, "rain.txt", path, 4);
        thelake_init();
        return s;
    }
};

}  // namespace
