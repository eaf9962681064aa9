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

TEST(FontCharset, HoldsAsciiThenLatin1Cells) {
    EXPECT_EQ(std::strlen(font_charset), size_t(FONT_CHARSET_LENGTH));
    for (int i = 0; i < 95; i++) {
        char expected = i == 0x5F - 0x20 ? '-' : static_cast<char>(0x20 + i);
        EXPECT_EQ(font_charset[i], expected) << "cell " << i;
    }
    EXPECT_EQ(static_cast<unsigned char>(font_charset[97]), 0xAA);
    EXPECT_EQ(static_cast<unsigned char>(font_charset[166]), 0x20);
}

TEST(FontCell, FindsFirstOccurrence) {
    struct row {
        unsigned char c;
        int cell;
    } rows[] = {
        {' ', 0},    {'!', 1},    {'-', 13},   {'0', 16},   {'A', 33},   {'^', 62},
        {'`', 64},   {'a', 65},   {'~', 94},   {0xAA, 97},  {0xBA, 99},  {0xBF, 105},
        {0xC0, 106}, {0xC7, 113}, {0xD1, 122}, {0xE7, 143}, {0xF9, 159}, {0xFD, 163},
        // not in the set: drawn as nothing
        {'_', -1},   {'\t', -1},  {'\n', -1},  {0x7F, -1},  {0xC3, -1},  {0xFF, -1},
        {0, -1},
    };
    for (const row& r : rows)
        EXPECT_EQ(font_cell(font_charset, static_cast<char>(r.c)), r.cell) << "byte " << int(r.c);
    EXPECT_EQ(font_cell(nullptr, 'A'), -1);
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

TEST(OverlayText, TimingFormat) {
    struct row {
        int frame;
        float time, end, fps, sound;
        const char* text;
    } rows[] = {
        {0, 0, 0, 0, 0, "frame 0 sec 0.0/0.0\nfps 0 snd 0.0"},
        {42, 12.34f, 60, 59.6f, 0, "frame 42 sec 12.3/60.0\nfps 60 snd 0.0"},
        {123456, 301.25f, 300, 1234.4f, 3.14f, "frame 123456 sec 301.2/300.0\nfps 1234 snd 3.1"},
        {-1, -0.5f, -2, 0.4f, 0, "frame -1 sec -0.5/-2.0\nfps 0 snd 0.0"},
    };
    for (const row& r : rows)
        EXPECT_EQ(overlay_timing_text(r.frame, r.time, r.end, r.fps, r.sound), r.text);
}

TEST(OverlayText, CameraFormat) {
    camera cam = {};
    cam.mode = CAMERA_LOOK_AT_MODE;
    camera_set_position(&cam, 1.25f, -2.5f, 100.04f);
    camera_set_target(&cam, 0.05f, 7, -0.26f);
    EXPECT_EQ(overlay_camera_text(59.5f, 1200, 20.07f, &cam),
              "fps 60  total: 1200 frames  time: 20.1\n\nCamera Position\n"
              "Loc x: 1.2 Tgt x: 0.1\nLoc y: -2.5 Tgt y: 7.0\nLoc z: 100.0 Tgt z: -0.3\n");
    EXPECT_EQ(overlay_camera_text(0, 0, 0, nullptr),
              "fps 0  total: 0 frames  time: 0.0\n\nCamera Position\n"
              "Loc x: 0.0 Tgt x: 0.0\nLoc y: 0.0 Tgt y: 0.0\nLoc z: 0.0 Tgt z: 0.0\n");
    // Huge values stay within the printing limit.
    camera far = {};
    camera_set_position(&far, 1e30f, 1e30f, 1e30f);
    camera_set_target(&far, -1e30f, -1e30f, -1e30f);
    EXPECT_LE(overlay_camera_text(1e30f, 0, 1e30f, &far).size(), size_t(FONT_TEXT_MAX));
}

}  // namespace
