// Texture upload and bind on a real driver: textured quads drawn into a
// 64x64 window and read back, GL's own texture state queried, the bind
// cache's GL call counts, and the power-of-two rescaling path.
#include <GL/gl.h>
#include <SDL/SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "resources/texture.h"
#include "tests/image_writers.h"
#include "tests/test_support.h"

namespace {

const int SIZE = 64;

// A loaded Xvfb now and then refuses a connection (EAGAIN on its socket), so
// opening the window is tried a few times before the test gives up.
bool open_window() {
    for (int attempt = 0; attempt < 10; attempt++) {
        if (SDL_Init(SDL_INIT_VIDEO) == 0) {
            if (SDL_SetVideoMode(SIZE, SIZE, 0, SDL_OPENGL)) return true;
            SDL_Quit();
        }
        usleep(100 * 1000);
    }
    return false;
}

class GlTexture : public testing::Test {
protected:
    // One window for the suite, closed at its end so the tests that follow
    // in this process find no window and no GL state of ours.
    static void SetUpTestSuite() { window_open = open_window(); }
    static void TearDownTestSuite() {
        SDL_Quit();
        texture_reset_cache();
    }

    void SetUp() override {
        ASSERT_TRUE(window_open) << SDL_GetError();
        glViewport(0, 0, SIZE, SIZE);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
        glDisable(GL_LIGHTING);
        glDisable(GL_CULL_FACE);
        glReadBuffer(GL_BACK);
        glDrawBuffer(GL_BACK);
        texture_reset_cache();
        texture_force_pot = 0;
    }
    void TearDown() override { texture_force_pot = 0; }

    // The whole window covered by the texture, t = 0 at the top edge.
    void draw_quad(int index, float grey = 1.0f) {
        glClearColor(1, 1, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glColor3f(grey, grey, grey);
        glEnable(GL_TEXTURE_2D);
        texture_bind(index);
        glBegin(GL_QUADS);
        glTexCoord2f(0, 0); glVertex2f(-1, 1);
        glTexCoord2f(0, 1); glVertex2f(-1, -1);
        glTexCoord2f(1, 1); glVertex2f(1, -1);
        glTexCoord2f(1, 0); glVertex2f(1, 1);
        glEnd();
        glDisable(GL_TEXTURE_2D);
        glFinish();
    }

    // Window pixel (x, y) with y counted from the top.
    rgba read(int x, int y) {
        uint8_t p[4];
        glReadPixels(x, SIZE - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        return {p[0], p[1], p[2], p[3]};
    }

    void expect_colour(int x, int y, rgba want, int tolerance = 2) {
        rgba got = read(x, y);
        EXPECT_NEAR(got.r, want.r, tolerance) << x << "," << y;
        EXPECT_NEAR(got.g, want.g, tolerance) << x << "," << y;
        EXPECT_NEAR(got.b, want.b, tolerance) << x << "," << y;
    }

    // The quadrant picture's four colours at the quadrants' centres.
    void expect_quadrants(int tolerance = 2) {
        expect_colour(16, 16, {255, 0, 0, 255}, tolerance);
        expect_colour(48, 16, {0, 255, 0, 255}, tolerance);
        expect_colour(16, 48, {0, 0, 255, 255}, tolerance);
        expect_colour(48, 48, {255, 255, 255, 255}, tolerance);
    }

    GLint parameter(GLenum name) {
        GLint value = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
        return value;
    }
    GLint level_parameter(int level, GLenum name) {
        GLint value = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, name, &value);
        return value;
    }

    int load(const char* name, void (*write)(const std::string&, const picture&),
             const picture& pic) {
        std::string path = dir.file(name);
        write(path, pic);
        return texture_load(path.c_str());
    }

    temp_dir dir;
    static bool window_open;
};

bool GlTexture::window_open = false;

void bmp24(const std::string& p, const picture& pic) { write_bmp24(p, pic); }
void tga32(const std::string& p, const picture& pic) { write_tga(p, pic, TGA_TRUE, 32); }
}  // namespace

TEST_F(GlTexture, LoadedPicturesDrawTopRowFirst) {
    struct row { const char* name; void (*write)(const std::string&, const picture&); int options; }
    rows[] = {
        {"q.bmp", bmp24, 0},              // mipmapped, GL_BGR_EXT
        {"q.tga", tga32, 1},              // single level, swapped to GL_RGBA
        {"q-wide.bmp", bmp24, 3},         // single level, 12x4: not a power of two
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.name);
        picture pic = quadrant_picture(r.options == 3 ? 12 : 8, r.options == 3 ? 4 : 8);
        int index = load(r.name, r.write, pic);
        texture_set_options(index, r.options);
        texture_upload(index);
        draw_quad(index);
        expect_quadrants();
    }
}
