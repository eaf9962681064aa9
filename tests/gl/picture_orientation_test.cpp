// Pictures of every storage order and kind, through every upload path
// (mipmapped, one level, a side not a power of two), drawn on Mesa and read
// back: whatever the file's origin, the top left of the picture is drawn at
// the top left (texture coordinate t = 0 addresses the top row).
#include <functional>

#include <string>

#include "resources/texture.h"
#include "tests/image_writers.h"
#include "tests/scene_window.h"

namespace {

using picture_orientation = scene_window;

// The texture over the whole render target, its top row at the top.
void draw_picture(int index) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glColor3f(1, 1, 1);
    texture_bind(index);
    glBegin(GL_QUADS);
    const float corners[4][4] = {{0, 0, -1, 1}, {1, 0, 1, 1}, {1, 1, 1, -1}, {0, 1, -1, -1}};
    for (const auto& c : corners) {
        glTexCoord2f(c[0], c[1]);
        glVertex2f(c[2], c[3]);
    }
    glEnd();
}

TEST_F(picture_orientation, every_origin_kind_and_upload_path_is_drawn_upright) {
    open();
    const picture quadrants = quadrant_picture(8, 8);  // red, green / blue, white
    using writer = std::function<void(const std::string&, const picture&)>;
    const int linear_clamp = TEXTURE_LINEAR | TEXTURE_CLAMP;
    const struct {
        const char* name;
        writer write;
        int options, width;  // mipmapped BGR, one RGBA level, a side not a power of two
    } files[] = {
        {"bottom_left.tga", [](auto& p, auto& q) { write_tga(p, q, TGA_TRUE, 24, false); }, linear_clamp, 8},
        {"top_left.tga", [](auto& p, auto& q) { write_tga(p, q, TGA_TRUE, 24, true); }, linear_clamp, 8},
        {"bottom_right.tga", [](auto& p, auto& q) { write_tga(p, q, TGA_TRUE, 32, false, true); }, linear_clamp, 8},
        {"top_right.tga", [](auto& p, auto& q) { write_tga(p, q, TGA_TRUE, 24, true, true); }, linear_clamp, 8},
        {"bottom_up.bmp", [](auto& p, auto& q) { write_bmp32(p, q); }, linear_clamp, 8},
        {"top_down.bmp", [](auto& p, auto& q) { write_bmp32(p, q, true); }, linear_clamp, 8},
        {"mipmapped.bmp", [](auto& p, auto& q) { write_bmp24(p, q); }, 0, 8},
        {"one_level.tga", [](auto& p, auto& q) { write_tga(p, q, TGA_TRUE, 32); }, TEXTURE_LINEAR, 8},
        {"wide.bmp", [](auto& p, auto& q) { write_bmp24(p, q); }, linear_clamp, 12},
        {"rgb.png", [](auto& p, auto& q) { write_png(p, q, false); }, linear_clamp, 8},
        {"rgba.PNG", [](auto& p, auto& q) { write_png(p, q, true); }, linear_clamp, 8},
        {"picture.jpg", [](auto& p, auto& q) { write_jpeg(p, q); }, linear_clamp, 8},
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.name);
        f.write(dir.file(f.name), quadrant_picture(f.width, f.width == 8 ? 8 : 4));
        int index = texture_load(dir.file(f.name).c_str());
        ASSERT_GE(index, 0);
        texture_set_options(index, f.options);
        texture_upload(index);
        draw_picture(index);
        // The middle of each quadrant, top left first (rows of the render
        // target count from the bottom); JPEG may be a little off.
        for (int corner = 0; corner < 4; ++corner) {
            int x = corner % 2, y = corner / 2;
            rgba want = quadrants.at(7 * x, 7 * y);
            EXPECT_RGB_NEAR(pixel_at(gl_rttWidth * (1 + 2 * x) / 4, gl_rttHeight * (3 - 2 * y) / 4), want.r, want.g,
                            want.b, 8);
        }
    }
    // PNG keeps its alpha, in four components; without alpha it has three.
    EXPECT_EQ(texture_table[texture_count - 2]->components, 4);
    EXPECT_EQ(texture_table[texture_count - 2]->pixel_format, static_cast<GLenum>(GL_RGBA));
    EXPECT_EQ(texture_table[texture_count - 3]->components, 3);
    EXPECT_EQ(texture_table[texture_count - 3]->pixel_format, static_cast<GLenum>(GL_RGB));
}

}  // namespace
