// The lines, titulo, redsun, flare and paintex scenes drawn on Mesa through
// their own callbacks, from pictures the tests write at the scenes' fixed
// paths, and read back: where their colours land, how strong they are, and
// the render state they leave for the next section.
#include <cmath>
#include <functional>

#include "core/random.h"
#include "scenes/flare.h"
#include "scenes/lines.h"
#include "scenes/paintex.h"
#include "scenes/redsun.h"
#include "scenes/titulo.h"
#include "tests/effect_window.h"
#include "tools/assets/asset_io.h"

namespace {

struct scenes_window : effect_window {
    // A picture painted pixel by pixel (row 0 at the top), written under the
    // test's folder as a JPEG or a TGA by its name.
    void write_picture(const std::string& name, int width, int height,
                       const std::function<rgb(int x, int y)>& colour) {
        rgb_image image(width, height, 3);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                rgb c = colour(x, y);
                unsigned char* p = image.at(x, y);
                p[0] = static_cast<unsigned char>(c.r);
                p[1] = static_cast<unsigned char>(c.g);
                p[2] = static_cast<unsigned char>(c.b);
            }
        std::string path = dir.file(name);
        asset_make_parent(path);
        if (name.find(".jpg") != std::string::npos) asset_write_jpeg(path, image, 100);
        else asset_write_tga(path, image);
    }
    void write_white(const std::string& name) {
        write_picture(name, 16, 16, [](int, int) { return rgb{255, 255, 255}; });
    }
    static void render_at(section& s, float t, void (*render)()) {
        demo_time = s.start + t;
        s.local_time = t;
        current_section = &s;
        render();
    }
    static void expect_blend_off_depth_on() {
        EXPECT_FALSE(glIsEnabled(GL_BLEND));
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
        EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
};

// ---------------------------------------------------------------------------
// lines
// ---------------------------------------------------------------------------

// The strip lands where its draws say, pink added over the picture; away
// from it the picture stays.
TEST_F(scenes_window, lines_adds_a_pink_strip_where_its_draws_put_it) {
    open();
    rand_restart();
    lines_strip strip = lines_next_strip();  // what the frame will draw
    rand_restart();
    clear_to(0.2f, 0.2f, 0.2f);
    add_section(section_type_find("lines"), 0, 5, {});
    lines_render();
    int lit = 0;
    for (int i = 0; i + 1 < LINES_POINTS; ++i) {
        float x = (strip.points[i][0] + strip.points[i + 1][0]) / 2;
        float y = (strip.points[i][1] + strip.points[i + 1][1]) / 2;
        rgb p = pixel_at(static_cast<int>(x * 512), static_cast<int>(y * 512));
        // (1, 0.6, 0.7) on top of 0.2 grey.
        if (std::abs(p.r - 255) <= 2 && std::abs(p.g - 204) <= 2 && std::abs(p.b - 230) <= 2) ++lit;
    }
    EXPECT_GE(lit, 8);  // a crossing may double a midpoint's colour
    // The top-right corner is never reached.
    EXPECT_RGB_NEAR(pixel_at(511, 511), 51, 51, 51, 1);
    float width = -1;
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_EQ(width, strip.width);
    expect_blend_off_depth_on();
}

// ---------------------------------------------------------------------------
// titulo
// ---------------------------------------------------------------------------

rgb quadrant(int x, int y, int size) {
    bool right = x >= size / 2, bottom = y >= size / 2;
    if (!bottom) return right ? rgb{0, 255, 0} : rgb{255, 0, 0};
    return right ? rgb{255, 255, 255} : rgb{0, 0, 255};
}

TEST_F(scenes_window, titulo_adds_its_picture_upright_over_the_whole_frame) {
    open();
    write_picture(TITULO_IMAGE, 64, 64, [](int x, int y) { return quadrant(x, y, 64); });
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
    // The projection left behind is the window-sized orthographic one.
    float m[16];
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    EXPECT_NEAR(m[0], 2.0f / 800, 1e-6);
    EXPECT_NEAR(m[5], 2.0f / 600, 1e-6);
    EXPECT_EQ(integer_state(GL_MATRIX_MODE), GL_MODELVIEW);
    expect_blend_off_depth_on();
}

// ---------------------------------------------------------------------------
// redsun
// ---------------------------------------------------------------------------

// Six white 3 x 3 flares at T = 0 all lie in one plane, so the middle of
// the frame gets six times the colour at the frame's random alpha. The
// first frame shows the camera of load; the spline's placement (here
// looking far to the side) shows from the next frame on.
TEST_F(scenes_window, redsun_adds_six_flares_in_its_colour_then_follows_its_spline) {
    open();
    write_white(REDSUN_FLARE_IMAGE);
    std::string path = dir.write("away.txt", "{0,0,5,0,0,0,40,0,0}\n");
    redsun_load();
    section& s = add_section(section_type_find("redsun"), 0, 5,
                             {0, 0.1f, 0, 0, 0.05f, 0, 0, 0, 0, 0, 0.5f, 0.5f});
    s.splines[0] = spline_load(path.c_str());
    spline_spread_times(&s.splines[0], 5);
    s.spline_count = 1;
    redsun_init();
    rand_restart();  // the first draw is 16838: rho 38, alpha 0.69
    clear_to(0, 0, 0);
    render_at(s, 0, redsun_render);
    float alpha = 0.5f + 38 * 0.5f * 0.01f;
    EXPECT_RGB_NEAR(pixel_at(256, 256), 6 * 0.1f * alpha * 255, 6 * 0.05f * alpha * 255, 0, 8);
    EXPECT_RGB_NEAR(pixel_at(2, 2), 0, 0, 0, 0);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    clear_to(0, 0, 0);
    render_at(s, 0, redsun_render);
    EXPECT_RGB_NEAR(pixel_at(256, 256), 0, 0, 0, 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    spline_free(&s.splines[0]);
}

// ---------------------------------------------------------------------------
// flare
// ---------------------------------------------------------------------------

// Three white flares through the origin add three times the alpha there.
TEST_F(scenes_window, flare_fades_from_half_strength_to_nothing) {
    open();
    write_white(FLARE_IMAGE);
    flare_load();
    const struct {
        const char* name;
        float end, t;
        float alpha;
    } cases[] = {
        {"a fifth of the fade left", 1.25f, 1, 0.1f},
        {"at the start", 20, 0, 0.5f},
        {"at the end", 2, 2, 0},
        {"no length", 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        section& s = add_section(section_type_find("flare"), 3, 3 + c.end, {});
        flare_start();
        clear_to(0, 0, 0);
        render_at(s, c.t, flare_render);
        int want = static_cast<int>(std::fmin(3 * c.alpha * 255, 255));
        EXPECT_RGB_NEAR(pixel_at(256, 256), want, want, want, 6);
        expect_blend_off_depth_on();
    }
}

// The copies grow as the square of time (scale 0.1 at t = 0, 1 at t = 3):
// the part of the frame where two or more of them overlap, bright white at
// these alphas, widens several times over.
TEST_F(scenes_window, flare_copies_grow_over_the_frame) {
    open();
    write_white(FLARE_IMAGE);
    flare_load();
    section& s = add_section(section_type_find("flare"), 0, 100, {});
    flare_start();
    auto overlapped = [] {
        int count = 0;
        for (int y = 8; y < 512; y += 16)
            for (int x = 8; x < 512; x += 16) count += pixel_at(x, y).r >= 240;
        return count;
    };
    clear_to(0, 0, 0);
    render_at(s, 0, flare_render);
    int at_start = overlapped();
    clear_to(0, 0, 0);
    render_at(s, 3, flare_render);
    int later = overlapped();
    EXPECT_GT(at_start, 0);
    EXPECT_GT(later, 2 * at_start);
}

// ---------------------------------------------------------------------------
// paintex
// ---------------------------------------------------------------------------

struct paintex_window : scenes_window {
    // Captions 0-4 red on the left half and green on the right; the title
    // caption (5) blue and white. 64 columns, 256 rows.
    void write_captions() {
        for (int i = 0; i < PAINTEX_CAPTIONS; ++i) {
            bool title = i == 5;
            write_picture(PAINTEX_CAPTION_IMAGES[i], 64, 256, [title](int x, int) {
                if (title) return x < 32 ? rgb{0, 0, 255} : rgb{255, 255, 255};
                return x < 32 ? rgb{255, 0, 0} : rgb{0, 255, 0};
            });
        }
        write_white(PAINTEX_SPARK_IMAGE);
    }
    // Render-target pixel of world (x, y) on the caption's plane with the
    // camera at distance z (field of view 90, 16:9).
    static rgb world_pixel(float x, float y, float z) {
        return pixel_at(static_cast<int>(256 + 256 * x / (z * 16.0f / 9.0f)),
                        static_cast<int>(256 + 256 * y / z));
    }
};

// Halfway through the reveal the left half is painted and the sparks at the
// edge take the colour of the image column under it (green, the right half's
// first column), not of the first byte of the pixel.
TEST_F(paintex_window, paintex_paints_left_to_right_behind_a_spark_edge) {
    open();
    write_captions();
    paintex_load();
    section& s = add_section(section_type_find("paintex"), 2, 32, {0, 0, 0, 0, 0, 0, 0}, {10, 20});
    paintex_init();
    paintex_start();
    clear_to(0, 0, 0);
    render_at(s, 5, paintex_render);  // f = 0.5, the edge at x = 0, camera at 22
    EXPECT_RGB_NEAR(world_pixel(-25, 0, 22), 255, 0, 0, 3);
    EXPECT_RGB_NEAR(world_pixel(-25, 10, 22), 255, 0, 0, 3);
    EXPECT_RGB_NEAR(world_pixel(0.5f, 0, 22), 0, 255, 0, 3);   // sparks alone
    rgb over = world_pixel(-0.7f, 0, 22);  // sparks over the red (filtered at its edge)
    EXPECT_EQ(over.g, 255);
    EXPECT_GT(over.r, 200);
    EXPECT_RGB_NEAR(world_pixel(20, 0, 22), 0, 0, 0, 0);       // not painted yet
    EXPECT_RGB_NEAR(world_pixel(-25, 20, 22), 0, 0, 0, 0);     // above the caption
    expect_blend_off_depth_on();

    // Hold: the quad stays as the reveal left it, without the sparks.
    clear_to(0, 0, 0);
    render_at(s, 15, paintex_render);
    EXPECT_RGB_NEAR(world_pixel(-25, 0, 32), 255, 0, 0, 3);
    EXPECT_RGB_NEAR(world_pixel(1, 0, 32), 0, 0, 0, 0);
    // End phase: still drawn, the fading alpha does not change the picture.
    clear_to(0, 0, 0);
    render_at(s, 25, paintex_render);
    EXPECT_RGB_NEAR(world_pixel(-25, 0, 42), 255, 0, 0, 3);
    expect_blend_off_depth_on();
}

// Param 0 = 5: the title caption under the slow camera (at 30 + t / 4); a
// later section paints its own caption from the beginning.
TEST_F(paintex_window, paintex_title_caption_and_a_fresh_start) {
    open();
    write_captions();
    paintex_load();
    section& title = add_section(section_type_find("paintex"), 0, 10, {5, 0, 0, 0, 0, 0, 0}, {8, 9});
    paintex_init();
    paintex_start();
    clear_to(0, 0, 0);
    render_at(title, 6, paintex_render);  // f = 0.75, edge at 25.6, camera at 31.5
    EXPECT_RGB_NEAR(world_pixel(-30, 0, 31.5f), 0, 0, 255, 3);
    EXPECT_RGB_NEAR(world_pixel(12, 0, 31.5f), 255, 255, 255, 3);
    EXPECT_RGB_NEAR(world_pixel(35, 0, 31.5f), 0, 0, 0, 0);

    section& music = add_section(section_type_find("paintex"), 10, 20, {1, 0, 0, 0, 0, 0, 0}, {8, 9});
    paintex_init();
    paintex_start();
    clear_to(0, 0, 0);
    render_at(music, 0.8f, paintex_render);  // f = 0.1, edge at -40.96, camera at 17.8
    EXPECT_RGB_NEAR(world_pixel(-20, 0, 17.8f), 0, 0, 0, 0);
}

// A placement by params 1-3 moves the picture; an axis of (0, 0, 0) means no
// turn, so the view is the same as without one.
TEST_F(paintex_window, paintex_translation_and_a_missing_axis) {
    open();
    write_captions();
    paintex_load();
    section& s = add_section(section_type_find("paintex"), 0, 30, {0, 0, 20, 0, 0, 0, 0}, {10, 20});
    paintex_init();
    paintex_start();
    clear_to(0, 0, 0);
    render_at(s, 5, paintex_render);
    EXPECT_RGB_NEAR(world_pixel(-25, 20, 22), 255, 0, 0, 3);
    EXPECT_RGB_NEAR(world_pixel(-25, 0, 22), 0, 0, 0, 0);
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_FLOAT_EQ(m[0], 1);  // no rotation on top of the straight view
    EXPECT_NEAR(m[13], 20, 1e-4);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
