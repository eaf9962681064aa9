// The bitmap font of the debug overlays: one image holding a grid of square
// glyph cells, a character set naming what each cell holds, and printf-style
// printing of text in a 2-D pixel projection, drawn additively.
//
// Cell lookup is kept apart from GL (font_cell, font_glyph_cell) so that the
// layout can be checked without a window.
#pragma once

#include <cstdarg>

enum {
    FONT_CHARSET_LENGTH = 167,
    FONT_TEXT_MAX = 255,   // longest printed text; longer ones are cut
};

struct font {
    const char* image_name;
    const char* charset;
    int texture;
    int columns;
    int rows;
    float x, y;        // pen start, pixels from the top left
    float size;        // edge of one drawn glyph square, pixels
    float spacing;     // advance per character, as a multiple of size
    float red, green, blue, alpha;
};

// The engine's character set, cell 0 first (167 bytes and a terminating 0).
extern const char font_charset[FONT_CHARSET_LENGTH + 1];

// The engine's one font, loaded by font_start.
extern font engine_font;

// Texture coordinates of one glyph cell; t = 0 is the top of the image.
struct font_cell_coords {
    float left, top, right, bottom;
};

// Cell index of the first occurrence of `c` in `charset`, or -1.
int font_cell(const char* charset, char c);
// The cell `c` is drawn from; false when `c` draws nothing.
bool font_glyph_cell(const font& f, char c, font_cell_coords* out);

// Formats into `out` (FONT_TEXT_MAX + 1 bytes), cutting longer texts; returns
// the stored length.
int font_format(char* out, const char* format, va_list args);

void font_load(font* f, const char* charset, int columns, int rows, const char* image_name);
// The engine's own data folder (a show folder holding data/fonts/font.tga),
// where the font is taken from when the show has none; null: nowhere else.
extern const char* font_engine_folder;

// Loads "data/fonts/font.tga" into engine_font (16 x 16 grid), or the engine
// folder's when the show has no font of its own.
void font_start();

void font_print(font f, const char* format, ...) __attribute__((format(printf, 2, 3)));
// One glyph at pen (x, y); nothing for characters outside the set.
void font_glyph(font f, char c, float x, float y);

// Push / pop the pixel projection: gl_width x gl_height, y growing downward.
void begin_2d();
void end_2d();
