// The view and the text on Mesa: the modelview GL builds for a camera is the
// one computed on plain floats for every pose, and the camera keeps its
// right and back vectors from it; text lands glyph by glyph where the pen
// puts it, each drawn from its own cell of the font, added over the frame.
#include <algorithm>
#include <cstdlib>

#include "platform/font.h"
#include "resources/camera.h"
#include "resources/texture.h"
#include "tests/effect_window.h"

namespace {

TEST_F(effect_window, gl_view_equals_the_computed_view_for_every_pose) {
    open();
    const struct {
        const char* name;
        int mode;
        float eye[3], target[3], pitch, yaw, twist, roll;
    } poses[] = {
        {"look-at, turned every way", CAMERA_LOOK_AT_MODE, {1, 2, 5}, {0, 0.5f, 0}, 10, 35, -20, 15},
        {"look-at from below", CAMERA_LOOK_AT_MODE, {-3, -4, 2}, {1, 0, -1}, 0, 0, 0, 0},
        {"angles only, moved off the origin", CAMERA_ANGLE_MODE, {2, -1, 7}, {0, 0, 0}, -25, 60, 5, 0},
        {"angles only, rolled", CAMERA_ANGLE_MODE, {0, 3, 0}, {0, 0, 0}, 45, -90, 0, 30},
    };
    for (const auto& p : poses) {
        SCOPED_TRACE(p.name);
        camera c = {};
        c.mode = static_cast<unsigned char>(p.mode);
        camera_set_position(&c, p.eye[0], p.eye[1], p.eye[2]);
        camera_set_target(&c, p.target[0], p.target[1], p.target[2]);
        camera_set_angles(&c, p.pitch, p.yaw, p.twist);
        camera_set_roll(&c, p.roll);
        camera_apply_view(&c);
        float gl[16], ours[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, gl);
        camera_view_matrix(&c, ours);
        for (int i = 0; i < 16; ++i) EXPECT_NEAR(gl[i], ours[i], 1e-4) << "element " << i;
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR(c.right_vector[i], ours[4 * i], 1e-4) << "right " << i;
            EXPECT_NEAR(c.back_vector[i], ours[4 * i + 2], 1e-4) << "back " << i;
        }
    }
}

struct text_window : effect_window {
    font f = {};
    void SetUp() override {
        open();
        font_load(&f, font_charset, 16, 16, QUILLON_SOURCE_DIR "/data/fonts/font.tga");
        glViewport(0, 0, gl_width, gl_height);
    }
    // Lit pixels in the cell of the text grid whose top-left corner is
    // (x, y) in text coordinates (y down from the window's top).
    int lit_in_cell(float x, float y) const {
        int size = static_cast<int>(f.size), lit = 0;
        std::vector<unsigned char> p(static_cast<size_t>(size) * size * 4);
        glReadPixels(static_cast<int>(x), gl_height - static_cast<int>(y) - size, size, size, GL_RGBA,
                     GL_UNSIGNED_BYTE, p.data());
        for (size_t i = 0; i < p.size(); i += 4) lit += p[i] + p[i + 1] + p[i + 2] > 60;
        return lit;
    }
    // The share of the cell at (x, y) that shows the font picture's own cell
    // of `c` pixel for pixel, as drawn over black: its colour times its alpha.
    double matches_glyph(char c, float x, float y) const {
        const texture* t = texture_table[f.texture];
        int index = font_cell(f.charset, c), size = static_cast<int>(f.size), same = 0;
        std::vector<unsigned char> drawn(static_cast<size_t>(size) * size * 4);
        glReadPixels(static_cast<int>(x), gl_height - static_cast<int>(y) - size, size, size, GL_RGBA,
                     GL_UNSIGNED_BYTE, drawn.data());
        for (int row = 0; row < size; ++row)
            for (int column = 0; column < size; ++column) {
                const unsigned char* texel = t->pixels +
                                             static_cast<size_t>(index / 16 * size + row) * texture_row_bytes(t) +
                                             (index % 16 * size + column) * t->components;
                const unsigned char* pixel = &drawn[(static_cast<size_t>(size - 1 - row) * size + column) * 4];
                int alpha = t->components == 4 ? texel[3] : 255;
                same += std::abs(pixel[1] - texel[1] * alpha / 255) <= 24;
            }
        return static_cast<double>(same) / (size * size);
    }
};

TEST_F(text_window, glyphs_land_where_the_pen_puts_them) {
    ASSERT_EQ(f.size, 16);
    clear_to(0, 0, 0);
    font_print(f, "M\nW");
    ASSERT_GT(lit_in_cell(0, 0), 20);
    // Each glyph drawn from its own cell, the second line at the margin one
    // line down; nothing beside them.
    EXPECT_GT(matches_glyph('M', 0, 0), 0.97);
    EXPECT_GT(matches_glyph('W', 0, 16), 0.97);
    EXPECT_EQ(lit_in_cell(16, 0), 0);
    EXPECT_EQ(lit_in_cell(16, 16), 0);
    EXPECT_EQ(lit_in_cell(0, 32), 0);
    // A blank draws nothing; letter spacing spreads the glyphs.
    clear_to(0, 0, 0);
    font_print(f, " ");
    EXPECT_EQ(lit_in_cell(0, 0), 0);
    f.spacing = 2;
    font_print(f, "MM");
    EXPECT_EQ(lit_in_cell(16, 0), 0);
    EXPECT_GT(matches_glyph('M', 32, 0), 0.97);
    f.spacing = 1;
}

TEST_F(text_window, text_is_added_over_the_frame) {
    clear_to(0, 0.5f, 0);
    font_print(f, "%s", "M");
    // The glyph's grey adds to the green below wherever it lies.
    unsigned char p[16 * 16 * 4];
    glReadPixels(0, gl_height - 16, 16, 16, GL_RGBA, GL_UNSIGNED_BYTE, p);
    int glyph = 0;
    for (int i = 0; i < 16 * 16 * 4; i += 4) {
        if (p[i] < 20) continue;
        glyph += 1;
        EXPECT_NEAR(p[i + 1], std::min(255, p[i] + 128), 3) << "pixel " << i / 4;
    }
    EXPECT_GT(glyph, 20);
}

}  // namespace
