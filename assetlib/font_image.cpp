// The debug font image: a 16 x 16 grid of 16-pixel cells, white glyphs whose
// alpha is their coverage, each cell holding the character the engine's
// character set names for it (Latin-1 bytes are their own code points).
// Glyphs are rasterised from a monospaced TrueType face.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdio>
#include <cstdlib>

#include "platform/font.h"
#include "assetlib/asset_io.h"
#include "assetlib/generators.h"

static const char* FACE_PATH = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
static const int GRID = 16;
static const int CELL = 16;
static const int PIXELS = 14;   // glyph height in pixels, leaving a margin in the cell

static void fail(const char* what) {
    std::fprintf(stderr, "quillon-assets: %s (%s)\n", what, FACE_PATH);
    std::exit(1);
}

// Copies the rendered glyph into its cell, centred on its advance, on a
// baseline placed so the face's ascent and descent fit the cell.
static void place_glyph(rgb_image& image, FT_Face face, int cell, int baseline) {
    FT_GlyphSlot slot = face->glyph;
    int cell_x = (cell % GRID) * CELL, cell_y = (cell / GRID) * CELL;
    int advance = static_cast<int>(slot->advance.x >> 6);
    int left = cell_x + (CELL - advance) / 2 + slot->bitmap_left;
    int top = cell_y + baseline - slot->bitmap_top;
    const FT_Bitmap& bitmap = slot->bitmap;
    for (unsigned row = 0; row < bitmap.rows; ++row)
        for (unsigned col = 0; col < bitmap.width; ++col) {
            int x = left + static_cast<int>(col), y = top + static_cast<int>(row);
            if (x < cell_x || x >= cell_x + CELL || y < cell_y || y >= cell_y + CELL) continue;
            image.at(x, y)[3] = bitmap.buffer[row * bitmap.pitch + col];
        }
}

static rgb_image make_font_image() {
    FT_Library library;
    FT_Face face;
    if (FT_Init_FreeType(&library)) fail("cannot start FreeType");
    if (FT_New_Face(library, FACE_PATH, 0, &face)) fail("cannot open the font face");
    if (FT_Set_Pixel_Sizes(face, 0, PIXELS)) fail("cannot size the font face");

    rgb_image image(GRID * CELL, GRID * CELL, 4);
    for (size_t i = 0; i < image.pixels.size(); i += 4) {
        image.pixels[i] = image.pixels[i + 1] = image.pixels[i + 2] = 255;
        image.pixels[i + 3] = 0;
    }
    int ascent = static_cast<int>(face->size->metrics.ascender >> 6);
    int descent = static_cast<int>(-face->size->metrics.descender >> 6);
    int baseline = (CELL - ascent - descent) / 2 + ascent;
    for (int cell = 0; cell < FONT_CHARSET_LENGTH; ++cell) {
        unsigned long code = static_cast<unsigned char>(font_charset[cell]);
        if (code == ' ') continue;
        if (FT_Load_Char(face, code, FT_LOAD_RENDER)) fail("cannot render a glyph");
        place_glyph(image, face, cell, baseline);
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return image;
}

void generate_font_image(const std::string& data_dir) {
    asset_write_tga(data_dir + "/fonts/font.tga", make_font_image());
}
