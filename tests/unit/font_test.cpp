// Font cell lookup, text formatting with its 255-character cut, and the two
// overlay texts for known clock and camera values.
#include <gtest/gtest.h>

#include <cstdarg>
#include <cstring>
#include <string>

#include "platform/font.h"
#include "platform/overlay.h"

namespace {

font grid_font(int columns, int rows) {
    font f = {};
    f.charset = font_charset;
    f.columns = columns;
    f.rows = rows;
    return f;
}

std::string format(const char* fmt, ...) {
    char text[FONT_TEXT_MAX + 1];
    std::memset(text, '#', sizeof text);
    va_list args;
    va_start(args, fmt);
    int n = font_format(text, fmt, args);
    va_end(args);
    EXPECT_EQ(n, static_cast<int>(std::strlen(text)));
    return text;
}

TEST(FontGlyphCell, MapsCellsToGridCoordinates) {
    struct row {
        int columns, rows;
        unsigned char c;
        float left, top;
    } rows[] = {
        {16, 16, ' ', 0, 0},
        {16, 16, 'A', 1 / 16.f, 2 / 16.f},      // cell 33
        {16, 16, '~', 14 / 16.f, 5 / 16.f},     // cell 94
        {16, 16, 0xFD, 3 / 16.f, 10 / 16.f},    // cell 163
        {8, 4, '(', 0, 1 / 4.f},                // cell 8: second row of a wide grid
        {8, 4, 'A', 1 / 8.f, 0},                // cell 33 wraps past the fourth row
    };
    for (const row& r : rows) {
        font f = grid_font(r.columns, r.rows);
        font_cell_coords cell;
        ASSERT_TRUE(font_glyph_cell(f, static_cast<char>(r.c), &cell)) << int(r.c);
        EXPECT_FLOAT_EQ(cell.left, r.left) << int(r.c);
        EXPECT_FLOAT_EQ(cell.top, r.top) << int(r.c);
        EXPECT_FLOAT_EQ(cell.right, r.left + 1.0f / r.columns) << int(r.c);
        EXPECT_FLOAT_EQ(cell.bottom, r.top + 1.0f / r.rows) << int(r.c);
    }
    font_cell_coords cell;
    EXPECT_FALSE(font_glyph_cell(grid_font(16, 16), '_', &cell));
    EXPECT_FALSE(font_glyph_cell(grid_font(0, 16), 'A', &cell));
}

TEST(FontFormat, CutsAt255Characters) {
    std::string long_text(300, 'x');
    struct row {
        std::string text;
        size_t length;
    } rows[] = {{"", 0}, {"abc", 3}, {std::string(255, 'y'), 255}, {long_text, 255}};
    for (const row& r : rows) {
        std::string out = format("%s", r.text.c_str());
        EXPECT_EQ(out.size(), r.length);
        EXPECT_EQ(out, r.text.substr(0, r.length));
    }
    EXPECT_EQ(format("%d/%.1f", 7, 2.25), "7/2.2");
}

}  // namespace
