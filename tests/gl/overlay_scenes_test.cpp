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

// ---------------------------------------------------------------------------
// flare
// ---------------------------------------------------------------------------

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

}  // namespace
