// The picture-particle, trail and 3-D picture section types drawn on Mesa
// through their own init and render, under a plain orthographic view that
// stands in for a camera section: where the colours land, how strong they
// are, and the render state each leaves for the next section.
#include <algorithm>

#include "core/random.h"
#include "effects/image3d.h"
#include "effects/particletex.h"
#include "effects/pathway.h"
#include "resources/spline.h"
#include "tests/effect_window.h"
#include "tests/image_writers.h"

namespace {

struct fxpart_window : effect_window {
    // World x, y in -1..1 fill the 512 x 512 render target.
    void open_view() {
        open();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-1, 1, -1, 1, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
    // Render-target pixel of a world point.
    static rgb world_pixel(float x, float y) {
        return pixel_at(static_cast<int>((x + 1) * 256), static_cast<int>((y + 1) * 256));
    }
    void write_picture(const std::string& name, const picture& p) {
        write_tga(dir.file(name), p, TGA_TRUE, 24);
    }
    static void set_strings(section& s, std::initializer_list<const char*> names) {
        for (const char* name : names) s.strings[s.string_count++] = const_cast<char*>(name);
    }
    static void render_at(section& s, float t, void (*render)()) {
        s.local_time = t;
        current_section = &s;
        render();
    }
};

picture one_colour(rgba colour, int width, int height) {
    return {width, height, std::vector<rgba>(static_cast<size_t>(width) * height, colour)};
}

// A 2 x 2 picture: red, green on the top row; blue and black below.
picture corner_picture() {
    return {2, 2, {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}, {0, 0, 0, 255}}};
}

// ---------------------------------------------------------------------------
// genParticletex
// ---------------------------------------------------------------------------

struct particletex_case {
    const char* name;
    float alpha_start, alpha_end, t;
    int strength;  // expected 0..255 of each lit channel
};

TEST_F(fxpart_window, particletex_assembles_the_picture_upright_at_its_alpha) {
    open_view();
    write_picture("corners.tga", corner_picture());
    write_picture("white.tga", one_colour({255, 255, 255, 255}, 8, 8));
    const particletex_case cases[] = {
        {"opaque", 1, 1, 2, 255},
        {"halfway through a fade in", 0, 1, 2, 128},
        {"at the end of a fade out", 1, 0, 4, 0},
    };
    for (const particletex_case& c : cases) {
        SCOPED_TRACE(c.name);
        // Spacing 0.5, half edge 0.15, no scatter, shifted so the four places
        // sit at (+-0.25, +-0.25).
        section& s = add_section(section_type_find("genParticletex"), 0, 4,
                                 {0.5f, 0.15f, 1, 0.25f, -0.25f, 0, c.alpha_start, c.alpha_end});
        set_strings(s, {"corners.tga", "white.tga"});
        particletex_init();
        clear_to(0, 0, 0);
        render_at(s, c.t, particletex_render);
        int v = c.strength;
        EXPECT_RGB_NEAR(world_pixel(-0.25f, 0.25f), v, 0, 0, 3);   // row 0 at the top, left
        EXPECT_RGB_NEAR(world_pixel(0.25f, 0.25f), 0, v, 0, 3);
        EXPECT_RGB_NEAR(world_pixel(-0.25f, -0.25f), 0, 0, v, 3);
        EXPECT_RGB_NEAR(world_pixel(0.25f, -0.25f), 0, 0, 0, 0);   // the black pixel makes no sprite
        EXPECT_RGB_NEAR(world_pixel(0, 0), 0, 0, 0, 0);            // between the sprites
    }
}

TEST_F(fxpart_window, particletex_scattered_sprites_leave_the_grid_at_the_start) {
    open_view();
    // One red pixel; offsets of whole units put the sprite off its place
    // unless every draw is 0, and at the end it sits exactly there.
    write_picture("dot.tga", one_colour({255, 0, 0, 255}, 1, 1));
    write_picture("white.tga", one_colour({255, 255, 255, 255}, 8, 8));
    section& s = add_section(section_type_find("genParticletex"), 0, 2, {0.2f, 0.1f, 3, 0, 0, 0, 1, 1});
    set_strings(s, {"dot.tga", "white.tga"});
    rand_restart();  // the first offset is then (-2, -1, 1)
    particletex_init();
    clear_to(0, 0, 0);
    render_at(s, 0, particletex_render);
    // The grid place of the single pixel is (-0.1, 0.1) after the turn; the
    // offset moves it to (-1.1, 2.1), off the frame.
    EXPECT_RGB_NEAR(world_pixel(-0.1f, 0.1f), 0, 0, 0, 0);
    EXPECT_RGB_NEAR(world_pixel(0, 0), 0, 0, 0, 0);
    clear_to(0, 0, 0);
    render_at(s, 2, particletex_render);
    EXPECT_RGB_NEAR(world_pixel(-0.1f, 0.1f), 255, 0, 0, 3);
}

TEST_F(fxpart_window, particletex_leaves_blending_off_and_depth_writes_on) {
    open_view();
    write_picture("corners.tga", corner_picture());
    write_picture("white.tga", one_colour({255, 255, 255, 255}, 8, 8));
    section& s = add_section(section_type_find("genParticletex"), 0, 4, {0.5f, 0.1f, 1, 0, 0, 0, 1, 1});
    set_strings(s, {"corners.tga", "white.tga"});
    particletex_init();
    glDepthMask(GL_FALSE);
    glMatrixMode(GL_PROJECTION);
    render_at(s, 1, particletex_render);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(integer_state(GL_BLEND_SRC), GL_SRC_ALPHA);
    EXPECT_EQ(integer_state(GL_BLEND_DST), GL_ONE);
    EXPECT_EQ(integer_state(GL_DEPTH_WRITEMASK), GL_TRUE);
    EXPECT_EQ(integer_state(GL_MODELVIEW_STACK_DEPTH), 1);
    EXPECT_EQ(integer_state(GL_PROJECTION_STACK_DEPTH), 1);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(m[i], i % 5 == 0 ? 1 : 0) << i;
}

TEST_F(fxpart_window, particletex_sprite_of_unknown_kind_is_reported_like_the_picture) {
    open_view();
    write_picture("corners.tga", corner_picture());
    section& s = add_section(section_type_find("genParticletex"), 0, 4, {0.5f, 0.1f, 1, 0, 0, 0, 1, 1});
    set_strings(s, {"corners.tga", "sprite.gif"});
    catch_fatal guard;
    try {
        particletex_init();
        FAIL() << "a sprite that cannot be loaded was accepted";
    } catch (const fatal_exception& e) {
        EXPECT_STREQ(e.what(), "Error loading texture sprite.gif");
    }
    EXPECT_EQ(s.instance_data, nullptr);
}

// ---------------------------------------------------------------------------
// genPathway
// ---------------------------------------------------------------------------

TEST_F(fxpart_window, pathway_lays_its_trail_along_the_path_as_time_passes) {
    open_view();
    write_picture("white.tga", one_colour({255, 255, 255, 255}, 8, 8));
    // From (-0.8, 0) to (0.8, 0) over one second, 10 particles a second.
    dir.write("path.txt", "{-0.8,0,0,0,0,0,0,0,0}\n{0.8,0,0,0,0,0,0,0,0}\n");
    section& s = add_section(section_type_find("genPathway"), 0, 1, {10, 0.04f, 1, 0.5f, 0});
    set_strings(s, {"white.tga"});
    s.splines[0] = spline_load("path.txt");
    spline_spread_times(&s.splines[0], 1);
    s.spline_count = 1;
    pathway_init();
    // At 0.05 only particle 0 is out, at the path point of time 0.1.
    clear_to(0, 0, 0);
    render_at(s, 0.05f, pathway_render);
    EXPECT_RGB_NEAR(world_pixel(-0.64f, 0), 255, 128, 0, 3);
    EXPECT_RGB_NEAR(world_pixel(-0.32f, 0), 0, 0, 0, 0);
    EXPECT_RGB_NEAR(world_pixel(0.8f, 0), 0, 0, 0, 0);
    // Near the end all ten are out, the last at the path's end; the drift
    // of the first has not yet carried it far.
    clear_to(0, 0, 0);
    render_at(s, 0.95f, pathway_render);
    for (int j = 0; j < 10; ++j) {
        float x = -0.8f + 1.6f * (j + 1) / 10;
        EXPECT_GT(world_pixel(x, 0).r, 200) << "particle " << j;
    }
    EXPECT_RGB_NEAR(world_pixel(0, 0.5f), 0, 0, 0, 0);
    spline_free(&s.splines[0]);
}

TEST_F(fxpart_window, pathway_leaves_texturing_on_filled_polygons_and_blending_off) {
    open_view();
    write_picture("white.tga", one_colour({255, 255, 255, 255}, 8, 8));
    dir.write("path.txt", "{0,0,0,0,0,0,0,0,0}\n");
    section& s = add_section(section_type_find("genPathway"), 0, 2, {5, 0.1f, 1, 1, 1});
    set_strings(s, {"white.tga"});
    s.splines[0] = spline_load("path.txt");
    spline_spread_times(&s.splines[0], 2);
    s.spline_count = 1;
    pathway_init();
    glDisable(GL_TEXTURE_2D);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glDepthMask(GL_FALSE);
    render_at(s, 0.5f, pathway_render);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLint modes[2] = {0, 0};
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], GL_FILL);
    EXPECT_EQ(modes[1], GL_FILL);
    EXPECT_EQ(integer_state(GL_DEPTH_WRITEMASK), GL_TRUE);
    EXPECT_EQ(integer_state(GL_MODELVIEW_STACK_DEPTH), 1);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    // The sprite of the still path is there, white.
    EXPECT_RGB_NEAR(world_pixel(0, 0), 255, 255, 255, 3);
    spline_free(&s.splines[0]);
}

// ---------------------------------------------------------------------------
// gen3Dimage
// ---------------------------------------------------------------------------

struct image3d_case {
    const char* name;
    float alpha_start, alpha_end, t;
    int strength;
};

TEST_F(fxpart_window, image3d_adds_the_picture_at_its_place_and_scale) {
    open_view();
    // 8 x 4 pixels at 0.1 units each: 0.8 x 0.4 units centred on (0.2, 0).
    write_picture("quadrants.tga", quadrant_picture(8, 4));
    const image3d_case cases[] = {
        {"opaque", 1, 1, 1, 255},
        {"halfway through a fade in", 0, 1, 1, 128},
        {"transparent at both ends", 0, 0, 1, 0},
    };
    for (const image3d_case& c : cases) {
        SCOPED_TRACE(c.name);
        section& s = add_section(section_type_find("gen3Dimage"), 0, 2,
                                 {0.1f, 0.1f, 0.2f, 0, 0, c.alpha_start, c.alpha_end});
        set_strings(s, {"quadrants.tga"});
        image3d_init();
        clear_to(0, 0, 0.4f);
        render_at(s, c.t, image3d_render);
        int v = c.strength;
        // Added over the blue background, picture upright: red top left.
        EXPECT_RGB_NEAR(world_pixel(0.0f, 0.1f), v, 0, 102, 3);
        EXPECT_RGB_NEAR(world_pixel(0.4f, 0.1f), 0, v, 102, 3);
        EXPECT_RGB_NEAR(world_pixel(0.0f, -0.1f), 0, 0, std::min(255, 102 + v), 3);
        EXPECT_RGB_NEAR(world_pixel(0.4f, -0.1f), v, v, std::min(255, 102 + v), 3);
        // Just outside its 0.8 x 0.4 units the background is untouched.
        for (float x : {-0.23f, 0.63f}) EXPECT_RGB_NEAR(world_pixel(x, 0.1f), 0, 0, 102, 0);
        for (float y : {-0.23f, 0.23f}) EXPECT_RGB_NEAR(world_pixel(0.2f, y), 0, 0, 102, 0);
    }
}

TEST_F(fxpart_window, image3d_draws_over_depth_and_restores_depth_test_and_blending) {
    open_view();
    write_picture("quadrants.tga", quadrant_picture(8, 4));
    section& s = add_section(section_type_find("gen3Dimage"), 0, 2, {0.1f, 0.1f, 0, 0, 0, 1, 1});
    set_strings(s, {"quadrants.tga"});
    image3d_init();
    // A depth buffer nearer than anything: only a draw without the depth
    // test gets through.
    glClearDepth(0);
    clear_to(0, 0, 0);
    glClearDepth(1);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    render_at(s, 1, image3d_render);
    EXPECT_RGB_NEAR(world_pixel(-0.2f, 0.1f), 255, 0, 0, 3);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(integer_state(GL_MODELVIEW_STACK_DEPTH), 1);
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(colour[0], 0);
    EXPECT_EQ(colour[3], 1);
    // And with both off before, the same afterwards.
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    render_at(s, 1, image3d_render);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
