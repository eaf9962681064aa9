// The scenes drawn on Mesa through their own callbacks, from plain pictures
// and small models the tests write at the scenes' fixed paths, and read
// back: which phase draws what, where sprites, quads and faces land (the
// right way up, in the right order), their colours, and the render state
// each leaves for the next section.
#include "scenes/3Dbuilder.h"
#include "scenes/knots.h"
#include "scenes/paintex.h"
#include "scenes/particletitle.h"
#include "scenes/titulo.h"
#include "tests/image_writers.h"
#include "tests/scene_window.h"

namespace {

TEST_F(scene_window, knots_phases_draw_their_sky_ring_and_explosion) {
    write_plain("data/skyboxes/knots.jpg", 40, 40, 40);
    write_plain("data/skyboxes/knots2.jpg", 0, 40, 0);
    write_plain("data/textures/01logos/blueflare.jpg", 255, 255, 255);
    write_plain("data/textures/knots/explosion.jpg", 0, 0, 255);
    open();
    knots_load();
    section& s = add_section(section_type_find("knots"), 10, 20, {}, {2, 4, 6});
    section_init(current_section);
    // Phase 1, a second in: five sky layers at a quarter each, 1.25 x 40;
    // particle 0 at (8, 1, 0) turned 10 degrees adds the ring's red.
    render_cleared(s, 1, knots_render);
    EXPECT_GT(share_of(50, 50, 50), 0.2);
    const float first[3] = {8, 1, 0};
    EXPECT_GT(projected(first, 10).r, 50 + 100);
    EXPECT_EQ(integer_state(GL_BLEND_DST), GL_ONE);
    expect_clean_state();
    // Phase 2 three quarters in: the camera looks down on the blue explosion.
    render_cleared(s, 2.75f, knots_render);
    EXPECT_GT(pixel_at(256, 256).b, 230);
    // At its sync the explosion's scale has no logarithm, yet the frame is drawn.
    render_cleared(s, 2, knots_render);
    EXPECT_GT(share_of(50, 50, 50), 0.2);
    // Phase 4: the second sky (which follows last frame's camera), none of the first.
    render_at(s, 6.5f, knots_render);
    render_at(s, 6.5f, knots_render);
    render_cleared(s, 6.5f, knots_render);
    EXPECT_GT(share_of(0, 50, 0), 0.2);
    EXPECT_EQ(share_of(50, 50, 50, 8), 0);
    expect_clean_state();
}

// The colour at title point (x, y) (world units, y up).
rgb title_at(float x, float y) {
    const float p[3] = {x, y, 0};
    return scene_window::projected(p);
}

TEST_F(scene_window, title_sprites_gather_into_the_picture_then_the_quad_grows) {
    write_plain("data/particletitle/flares/grayflare.jpg", 255, 255, 255);
    open();
    particletitle_load();
    // 4 x 2 with an alpha channel: the colours must still be read right.
    const rgba R = {255, 0, 0, 255}, G = {0, 255, 0, 255}, B = {0, 0, 255, 255}, W = {255, 255, 255, 255},
               K = {0, 0, 0, 255};
    write_tga(dir.file("title.tga"), {4, 2, {R, G, B, W, K, K, K, K}}, TGA_TRUE, 32);
    section& t = add_section(section_type_find("particletitle"), 0, 8, {12}, {4});
    set_strings(t, {"title.tga"});
    add_spline(t, "{0,0,128,0,0,0,0,0,0}\n", 4);  // both cameras 128 in front of the title
    add_spline(t, "{0,0,128,0,0,0,0,0,0}\n", 4);
    section_init(current_section);
    // Just before the sync the sprites sit on their grid places: column c at
    // x = 64 c - 128, row 0 at y = 64; the black row makes none.
    render_cleared(t, 3.9999f, particletitle_render);
    EXPECT_RGB_NEAR(title_at(-128, 64), 255, 0, 0, 4);
    EXPECT_RGB_NEAR(title_at(-64, 64), 0, 255, 0, 4);
    EXPECT_RGB_NEAR(title_at(0, 64), 0, 0, 255, 4);
    EXPECT_RGB_NEAR(title_at(64, 64), 255, 255, 255, 4);
    EXPECT_RGB_NEAR(title_at(-96, 64), 0, 0, 0, 0);
    EXPECT_RGB_NEAR(title_at(-128, 0), 0, 0, 0, 0);
    // At the start they are scattered: the grid places are empty.
    render_cleared(t, 0, particletitle_render);
    EXPECT_RGB_NEAR(title_at(-128, 64), 0, 0, 0, 0);
    // From the sync the picture is one 256 x 128 quad: texel centres.
    render_cleared(t, 4, particletitle_render);
    EXPECT_RGB_NEAR(title_at(-96, 32), 255, 0, 0, 4);
    EXPECT_RGB_NEAR(title_at(96, 32), 255, 255, 255, 4);
    EXPECT_RGB_NEAR(title_at(-140, 32), 0, 0, 0, 0);  // outside the quad
    // At the end it has grown by 1.4: the red texel centre moved out.
    render_cleared(t, 8, particletitle_render);
    EXPECT_RGB_NEAR(title_at(-96 * 1.4f, 32 * 1.4f), 255, 0, 0, 4);
    EXPECT_GT(title_at(-140, 32).r, 180);
    expect_clean_state();
}

TEST_F(scene_window, titulo_adds_its_picture_upright_over_the_whole_frame) {
    open();
    write_picture(TITULO_IMAGE, 64, 64, [](int x, int y) {
        if (y < 32) return x < 32 ? rgb{255, 0, 0} : rgb{0, 255, 0};
        return x < 32 ? rgb{0, 0, 255} : rgb{255, 255, 255};
    });
    titulo_load();
    add_section(section_type_find("titulo"), 0, 5, {});
    clear_to(0.2f, 0.2f, 0.2f);
    titulo_render();
    EXPECT_RGB_NEAR(pixel_at(128, 384), 255, 51, 51, 6);    // red, top left
    EXPECT_RGB_NEAR(pixel_at(384, 384), 51, 255, 51, 6);    // green, top right
    EXPECT_RGB_NEAR(pixel_at(128, 128), 51, 51, 255, 6);    // blue, bottom left
    EXPECT_RGB_NEAR(pixel_at(384, 128), 255, 255, 255, 6);  // white, bottom right
    EXPECT_RGB_NEAR(pixel_at(3, 3), 51, 51, 255, 6);        // stretched to the corners
    EXPECT_RGB_NEAR(pixel_at(508, 508), 51, 255, 51, 6);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    expect_clean_state();
}

// Two boxes, the left one first in the file: half the faces is the left box,
// solid in the (white) front picture; none at the start, both with no length.
TEST_F(scene_window, builder_draws_the_leading_faces_of_the_model) {
    open();
    write_boxes(std::string(BUILDER3D_MODEL_DIR) + BUILDER3D_MODEL_FILE,
                {{{-1.2f, -0.5f, -0.5f}, {-0.2f, 0.5f, 0.5f}}, {{0.2f, -0.5f, -0.5f}, {1.2f, 0.5f, 0.5f}}});
    write_plain(BUILDER3D_FRONT_IMAGE, 255, 255, 255);
    write_plain(BUILDER3D_BACK_IMAGE, 0, 0, 0);
    builder3d_load();
    const struct {
        const char* name;
        float end, t;
        bool left, right;
    } cases[] = {
        {"at the start", 8, 0, false, false},
        {"halfway", 8, 4, true, false},
        {"just before the end", 8, 7.99f, true, true},
        {"no length", 0, 0, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        section& s = add_section(section_type_find("3Dbuilder"), 0, c.end, {});
        builder3d_start();
        render_cleared(s, c.t, builder3d_render);
        // Box centres at x = +-0.7 land about 56 pixels either side of the middle.
        EXPECT_EQ(pixel_at(200, 256).r, c.left ? 255 : 0);
        EXPECT_EQ(pixel_at(312, 256).r, c.right ? 255 : 0);
        EXPECT_RGB_NEAR(pixel_at(256, 480), 0, 0, 0, 0);
        GLint modes[2] = {0, 0};
        glGetIntegerv(GL_POLYGON_MODE, modes);
        EXPECT_EQ(modes[0], GL_FILL);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}

// Captions red on the left half, blue above green on the right. Halfway
// through the reveal the left half is painted, the right is not, and the
// sparks at the edge take the colours of the image column under it, row by
// row: blue above the middle, green below.
TEST_F(scene_window, paintex_paints_left_to_right_behind_a_spark_edge) {
    open();
    for (int i = 0; i < PAINTEX_CAPTIONS; ++i)
        write_picture(PAINTEX_CAPTION_IMAGES[i], 64, 256,
                      [](int x, int y) { return x < 32 ? rgb{255, 0, 0} : y < 128 ? rgb{0, 0, 255} : rgb{0, 255, 0}; });
    write_plain(PAINTEX_SPARK_IMAGE, 255, 255, 255);
    paintex_load();
    section& s = add_section(section_type_find("paintex"), 2, 32, {0, 0, 0, 0, 0, 0, 0}, {10, 20});
    section_init(current_section);
    paintex_start();
    render_cleared(s, 5, paintex_render);  // the edge at x = 0, the camera 22 away (90 degrees, 16:9)
    auto at = [](float x, float y) {
        return pixel_at(static_cast<int>(256 + 256 * x / (22 * 16.0f / 9.0f)), static_cast<int>(256 + 256 * y / 22));
    };
    EXPECT_RGB_NEAR(at(-25, 10), 255, 0, 0, 3);
    EXPECT_RGB_NEAR(at(0.5f, 6), 0, 0, 255, 3);  // sparks alone
    EXPECT_RGB_NEAR(at(0.5f, -6), 0, 255, 0, 3);
    EXPECT_RGB_NEAR(at(20, 0), 0, 0, 0, 0);      // not painted yet
    expect_clean_state();
}

}  // namespace
