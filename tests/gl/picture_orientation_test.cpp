// Pictures of every storage order, and PNG, drawn on Mesa and read back:
// whatever the file's origin, the top left of the picture is drawn at the
// top left (texture coordinate t = 0 addresses the top row).
#include <functional>

#include "resources/texture.h"
#include "tests/effect_window.h"
#include "tests/image_writers.h"

namespace {

struct picture_orientation : effect_window {};

// The texture over the whole 64 x 64 frame, its top row at the top.
void draw_picture(int index) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
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
    open("gl_width 64\ngl_height 64\ngl_rttWidth 64\ngl_rttHeight 64\n");
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
        EXPECT_RGB_NEAR(pixel_at(16, 48), 255, 0, 0, 8);    // top left
        EXPECT_RGB_NEAR(pixel_at(48, 48), 0, 255, 0, 8);    // top right
        EXPECT_RGB_NEAR(pixel_at(16, 16), 0, 0, 255, 8);    // bottom left
        EXPECT_RGB_NEAR(pixel_at(48, 16), 255, 255, 255, 8);
    }
    // PNG keeps its alpha, in four components; without alpha it has three.
    EXPECT_EQ(texture_table[texture_count - 2]->components, 4);
    EXPECT_EQ(texture_table[texture_count - 2]->pixel_format, static_cast<GLenum>(GL_RGBA));
    EXPECT_EQ(texture_table[texture_count - 3]->components, 3);
    EXPECT_EQ(texture_table[texture_count - 3]->pixel_format, static_cast<GLenum>(GL_RGB));
}

}  // namespace
