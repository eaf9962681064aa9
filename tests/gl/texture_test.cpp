// Loaded pictures drawn on Mesa come out the right way up and in their own
// colours whatever the file kind and upload path: mipmapped BGR, a single
// RGBA level, a side that is not a power of two.
#include "resources/texture.h"
#include "tests/image_writers.h"
#include "tests/scene_window.h"

namespace {

// The whole render target covered by texture `index`, t = 0 at its top edge.
void draw_over_target(int index) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 1, 0, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glColor3f(1, 1, 1);
    texture_bind(index);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0), glVertex2f(0, 1);
    glTexCoord2f(0, 1), glVertex2f(0, 0);
    glTexCoord2f(1, 1), glVertex2f(1, 0);
    glTexCoord2f(1, 0), glVertex2f(1, 1);
    glEnd();
}

TEST_F(scene_window, loaded_pictures_draw_top_row_first) {
    open();
    const struct {
        const char* name;
        int width, height, options;
    } rows[] = {{"q.bmp", 8, 8, 0}, {"q.tga", 8, 8, 1}, {"q-wide.bmp", 12, 4, 3}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        picture pic = quadrant_picture(r.width, r.height);
        std::string path = dir.file(r.name);
        if (path.find(".tga") != std::string::npos) write_tga(path, pic, TGA_TRUE, 32);
        else write_bmp24(path, pic);
        int index = texture_load(path.c_str());
        texture_set_options(index, r.options);
        texture_upload(index);
        draw_over_target(index);
        const int w = gl_rttWidth, h = gl_rttHeight;
        EXPECT_RGB_NEAR(pixel_at(w / 4, h * 3 / 4), 255, 0, 0, 2);       // top left
        EXPECT_RGB_NEAR(pixel_at(w * 3 / 4, h * 3 / 4), 0, 255, 0, 2);   // top right
        EXPECT_RGB_NEAR(pixel_at(w / 4, h / 4), 0, 0, 255, 2);           // bottom left
        EXPECT_RGB_NEAR(pixel_at(w * 3 / 4, h / 4), 255, 255, 255, 2);   // bottom right
    }
}

}  // namespace
