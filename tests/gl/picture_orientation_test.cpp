// Pictures of every storage order, and PNG, drawn on Mesa and read back:
// whatever the file's origin, the top left of the picture is drawn at the
// top left (texture coordinate t = 0 addresses the top row).
#include <functional>

#include <string>

#include "tests/camera_gl_window.h"
#include "tests/test_support.h"

namespace {

struct picture_orientation : CameraGlWindow {
    temp_dir dir;
};

// The texture over the whole window, its top row at the top.
void draw_picture(int index) {
    glEnable(GL_TEXTURE_2D);
    texture_bind(index);
    glBegin(GL_QUADS);
    const float corners[4][4] = {{0, 0, -1, 1}, {1, 0, 1, 1}, {1, 1, 1, -1}, {0, 1, -1, -1}};
    for (const auto& c : corners) {
        glTexCoord2f(c[0], c[1]);
        glVertex2f(c[2], c[3]);
    }
    glEnd();
}

TEST_F(picture_orientation, every_origin_and_kind_is_drawn_upright) {
    const picture quadrants = quadrant_picture(8, 8);  // red, green / blue, white
    using writer = std::function<void(const std::string&)>;
    const std::pair<const char*, writer> files[] = {
        {"bottom_left.tga", [&](const std::string& p) { write_tga(p, quadrants, TGA_TRUE, 24, false); }},
        {"top_left.tga", [&](const std::string& p) { write_tga(p, quadrants, TGA_TRUE, 24, true); }},
        {"bottom_right.tga", [&](const std::string& p) { write_tga(p, quadrants, TGA_TRUE, 32, false, true); }},
        {"top_right.tga", [&](const std::string& p) { write_tga(p, quadrants, TGA_TRUE, 24, true, true); }},
        {"bottom_up.bmp", [&](const std::string& p) { write_bmp32(p, quadrants); }},
        {"top_down.bmp", [&](const std::string& p) { write_bmp32(p, quadrants, true); }},
        {"rgb.png", [&](const std::string& p) { write_png(p, quadrants, false); }},
        {"rgba.PNG", [&](const std::string& p) { write_png(p, quadrants, true); }},
        {"picture.jpg", [&](const std::string& p) { write_jpeg(p, quadrants); }},
    };
    for (const auto& [name, write] : files) {
        SCOPED_TRACE(name);
        write(dir.file(name));
        int index = texture_load(dir.file(name).c_str());
        ASSERT_GE(index, 0);
        texture_set_options(index, TEXTURE_LINEAR | TEXTURE_CLAMP);
        texture_upload(index);
        draw_picture(index);
        // Window (16, 16) is the top left quadrant's middle, and so on; JPEG
        // may be a little off.
        for (int corner = 0; corner < 4; ++corner) {
            int x = corner % 2, y = corner / 2;
            rgba got = read(16 + 32 * x, 16 + 32 * y), want = quadrants.at(7 * x, 7 * y);
            EXPECT_NEAR(got.r, want.r, 8) << corner;
            EXPECT_NEAR(got.g, want.g, 8) << corner;
            EXPECT_NEAR(got.b, want.b, 8) << corner;
        }
    }
    // PNG keeps its alpha, in four components; without alpha it has three.
    EXPECT_EQ(texture_table[texture_count - 2]->components, 4);
    EXPECT_EQ(texture_table[texture_count - 2]->pixel_format, static_cast<GLenum>(GL_RGBA));
    EXPECT_EQ(texture_table[texture_count - 3]->components, 3);
    EXPECT_EQ(texture_table[texture_count - 3]->pixel_format, static_cast<GLenum>(GL_RGB));
}

}  // namespace
