// What an upload leaves in GL, read back on Mesa: a picture magnified
// smoothly, the pixel store as it was, and a picture taken back from the
// cache with other options rebuilt with them.
#include "resources/texture.h"
#include "tests/effect_window.h"
#include "tests/image_writers.h"

namespace {

GLint bound_parameter(GLenum name) {
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    return value;
}

TEST_F(effect_window, an_upload_leaves_gl_as_its_options_say) {
    open();
    // Black beside white, stretched over the 512-pixel target: the middle
    // shades from one to the other.
    write_tga(dir.file("pair.tga"), picture{2, 1, {{0, 0, 0, 255}, {255, 255, 255, 255}}}, TGA_TRUE, 24);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    int pair = texture_load(dir.file("pair.tga").c_str());
    texture_set_options(pair, TEXTURE_LINEAR | TEXTURE_CLAMP);
    texture_upload(pair);
    EXPECT_EQ(integer_state(GL_UNPACK_ALIGNMENT), 1);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 1, 0, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    texture_bind(pair);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0), glVertex2f(0, 0);
    glTexCoord2f(1, 0), glVertex2f(1, 0);
    glTexCoord2f(1, 1), glVertex2f(1, 1);
    glTexCoord2f(0, 1), glVertex2f(0, 1);
    glEnd();
    EXPECT_RGB_NEAR(pixel_at(256, 256), 128, 128, 128, 4);
    EXPECT_RGB_NEAR(pixel_at(128, 256), 0, 0, 0, 2);  // the texel centres
    EXPECT_RGB_NEAR(pixel_at(384, 256), 255, 255, 255, 2);

    // Released to the cache clamped, taken back to repeat: rebuilt repeating.
    int first = texture_count;
    int stripe = texture_load(dir.file("pair.tga").c_str());
    texture_set_options(stripe, TEXTURE_CLAMP);
    texture_upload(stripe);
    texture_release_from(first);
    int again = texture_load(dir.file("pair.tga").c_str());
    texture_set_options(again, 0);
    texture_upload(again);
    EXPECT_EQ(bound_parameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(bound_parameter(GL_TEXTURE_WRAP_T), GL_REPEAT);
    texture_release_from(first);
    texture_cache_trim();
}

}  // namespace
