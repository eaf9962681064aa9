// A 64 x 64 GL window shared by the camera, skybox and particle tests, with
// a plain render state and pixel read-back (rows counted from the top).
#pragma once

#include <GL/gl.h>
#include <SDL/SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "resources/texture.h"
#include "tests/image_writers.h"

class CameraGlWindow : public testing::Test {
protected:
    static const int SIZE = 64;

    // One window per suite, closed at its end so later suites start clean. A
    // loaded Xvfb now and then refuses a connection, so opening is retried.
    static void SetUpTestSuite() {
        window_open = false;
        for (int attempt = 0; attempt < 10 && !window_open; attempt++) {
            if (SDL_Init(SDL_INIT_VIDEO) == 0) {
                if (SDL_SetVideoMode(SIZE, SIZE, 0, SDL_OPENGL)) window_open = true;
                else SDL_Quit();
            }
            if (!window_open) usleep(100 * 1000);
        }
    }
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
        glDisable(GL_TEXTURE_2D);
        glDepthMask(GL_TRUE);
        glColor4f(1, 1, 1, 1);
        glReadBuffer(GL_BACK);
        glDrawBuffer(GL_BACK);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
        texture_reset_cache();
    }

    // Window pixel (x, y) with y counted from the top.
    static rgba read(int x, int y) {
        uint8_t p[4];
        glReadPixels(x, SIZE - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        return {p[0], p[1], p[2], p[3]};
    }

    static void expect_colour(int x, int y, rgba want, int tolerance = 2) {
        rgba got = read(x, y);
        EXPECT_NEAR(got.r, want.r, tolerance) << "at " << x << "," << y;
        EXPECT_NEAR(got.g, want.g, tolerance) << "at " << x << "," << y;
        EXPECT_NEAR(got.b, want.b, tolerance) << "at " << x << "," << y;
    }

    static bool get_bool(GLenum name) {
        GLboolean value = GL_FALSE;
        glGetBooleanv(name, &value);
        return value == GL_TRUE;
    }

    static GLint get_int(GLenum name) {
        GLint value = 0;
        glGetIntegerv(name, &value);
        return value;
    }

    static inline bool window_open = false;
};

// A one-colour picture.
inline picture flat_picture(rgba colour, int width = 8, int height = 8) {
    return {width, height, std::vector<rgba>((size_t)width * height, colour)};
}
