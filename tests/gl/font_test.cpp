// The debug font printed on Mesa over a presented (black) frame and read
// back: glyphs land in their cells from the top left, characters outside the
// set and line feeds draw nothing but move the pen, and the 2-D state is
// restored afterwards.
#include "platform/font.h"
#include "platform/overlay.h"
#include "tests/effect_window.h"

namespace {

struct font_window : effect_window {
    // A 4:3 window so the letterbox covers it all and pixels map 1:1.
    void open_presented() {
        dir.add_font();
        open("gl_panoramic 0\n");
        font_start();
        frame_begin();
        frame_present();
    }
    // Lit pixels in the square glyph cell at text column `col`, line `line`.
    static int lit_in_cell(int col, int line) {
        int size = static_cast<int>(engine_font.size);
        std::vector<unsigned char> p(static_cast<size_t>(size) * size * 4);
        int y = gl_height - (line + 1) * size;
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(col * size, y, size, size, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
        int lit = 0;
        for (size_t i = 0; i < p.size(); i += 4)
            if (p[i] + p[i + 1] + p[i + 2] > 96) ++lit;
        return lit;
    }
};

TEST_F(font_window, glyphs_fill_their_cells_and_skipped_characters_only_advance) {
    open_presented();
    ASSERT_EQ(engine_font.size, 16.0f);  // 256-texel image over 16 columns
    font_print(engine_font, "A%c_\tW\n%d", 'B', 7);
    EXPECT_GT(lit_in_cell(0, 0), 10);  // A
    EXPECT_GT(lit_in_cell(1, 0), 10);  // B
    EXPECT_EQ(lit_in_cell(2, 0), 0);   // underscore: never found in the set
    EXPECT_EQ(lit_in_cell(3, 0), 0);   // tab
    EXPECT_GT(lit_in_cell(4, 0), 10);  // W
    EXPECT_EQ(lit_in_cell(5, 0), 0);   // nothing after the line's end
    EXPECT_GT(lit_in_cell(0, 1), 5);   // the second line starts at x 0
    EXPECT_EQ(lit_in_cell(1, 1), 0);
    EXPECT_EQ(lit_in_cell(0, 2), 0);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    expect_matrices_restored();
}

}  // namespace
