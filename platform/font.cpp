// Bitmap font: loading the glyph grid image, finding a character's cell and
// printing formatted text as one textured square per character in a pixel
// projection, blended additively over the frame.
#include "platform/font.h"

#include <GL/gl.h>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

#include "core/fatal.h"
#include "core/settings.h"
#include "resources/texture.h"

// Printable ASCII in order (the underscore's cell holds a second '-', so an
// underscore is never found), then the accented Latin-1 letters at their
// cells; the plain letters and digits among them only fill cells.
const char font_charset[FONT_CHARSET_LENGTH + 1] =
    "\x20\x21\x22\x23\x24\x25\x26\x27\x28\x29\x2A\x2B\x2C\x2D\x2E\x2F"
    "\x30\x31\x32\x33\x34\x35\x36\x37\x38\x39\x3A\x3B\x3C\x3D\x3E\x3F"
    "\x40\x41\x42\x43\x44\x45\x46\x47\x48\x49\x4A\x4B\x4C\x4D\x4E\x4F"
    "\x50\x51\x52\x53\x54\x55\x56\x57\x58\x59\x5A\x5B\x5C\x5D\x5E\x2D"
    "\x60\x61\x62\x63\x64\x65\x66\x67\x68\x69\x6A\x6B\x6C\x6D\x6E\x6F"
    "\x70\x71\x72\x73\x74\x75\x76\x77\x78\x79\x7A\x7B\x7C\x7D\x7E\x20"
    "\x43\xAA\x3C\xBA\x2B\x27\xBA\x27\x3E\xBF\xC0\xC1\xC2\x41\x41\x41"
    "\x41\xC7\xC8\xC9\x45\x45\xCC\xCD\x49\x49\xD1\xD2\xD3\x4F\x4F\x4F"
    "\x30\xD9\xDA\x55\x55\xDD\x70\x62\xE0\xE1\x61\x61\x61\x61\x61\xE7"
    "\xE8\xE9\x65\x65\xEC\xED\x69\x69\xF1\xF2\xF3\x6F\x6F\x6F\x6F\xF9"
    "\xFA\x75\x75\xFD\x79\x79\x20";
static_assert(sizeof(font_charset) == FONT_CHARSET_LENGTH + 1, "character set length");

font engine_font = {};

int font_cell(const char* charset, char c) {
    if (!charset || c == '\0') return -1;
    const char* hit = std::strchr(charset, c);
    return hit ? static_cast<int>(hit - charset) : -1;
}

bool font_glyph_cell(const font& f, char c, font_cell_coords* out) {
    int i = font_cell(f.charset, c);
    if (i < 0 || f.columns <= 0 || f.rows <= 0) return false;
    // Cells run left to right, then down; a set longer than the grid wraps
    // back to the top row.
    int column = i % f.columns;
    int row = (i / f.columns) % f.rows;
    out->left = static_cast<float>(column) / f.columns;
    out->top = static_cast<float>(row) / f.rows;
    out->right = out->left + 1.0f / f.columns;
    out->bottom = out->top + 1.0f / f.rows;
    return true;
}

int font_format(char* out, const char* format, va_list args) {
    int n = std::vsnprintf(out, FONT_TEXT_MAX + 1, format, args);
    if (n < 0) {
        out[0] = '\0';
        return 0;
    }
    return n > FONT_TEXT_MAX ? FONT_TEXT_MAX : n;
}

void font_load(font* f, const char* charset, int columns, int rows, const char* image_name) {
    f->image_name = image_name;
    f->charset = charset;
    f->texture = texture_load(image_name);
    texture_set_options(f->texture, TEXTURE_LINEAR | TEXTURE_CLAMP);
    texture_upload(f->texture);
    f->columns = columns;
    f->rows = rows;
    f->x = f->y = 0;
    f->spacing = 1;
    f->red = f->green = f->blue = f->alpha = 1;
    f->size = static_cast<float>(texture_table[f->texture]->width) / columns;
}

const char* font_engine_folder = nullptr;

void font_start() {
    static const char FONT_PATH[] = "data/fonts/font.tga";
    static std::string path;
    path = FONT_PATH;
    if (font_engine_folder && access(FONT_PATH, F_OK) != 0) {
        path = std::string(font_engine_folder) + "/" + FONT_PATH;
        if (access(path.c_str(), R_OK) != 0)
            fatal_error("The show has no %s and the engine's data folder %s is missing or damaged", FONT_PATH,
                        font_engine_folder);
    }
    font_load(&engine_font, font_charset, 16, 16, path.c_str());
}

void begin_2d() {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, gl_width, gl_height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}

void end_2d() {
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
}

void font_glyph(font f, char c, float x, float y) {
    font_cell_coords cell;
    if (!font_glyph_cell(f, c, &cell)) return;
    glPushMatrix();
    glTranslatef(x, y, 0);
    glBegin(GL_QUADS);
    glTexCoord2f(cell.left, cell.top);
    glVertex2f(0, 0);
    glTexCoord2f(cell.left, cell.bottom);
    glVertex2f(0, f.size);
    glTexCoord2f(cell.right, cell.bottom);
    glVertex2f(f.size, f.size);
    glTexCoord2f(cell.right, cell.top);
    glVertex2f(f.size, 0);
    glEnd();
    glPopMatrix();
}

void font_print(font f, const char* format, ...) {
    if (!format) return;
    char text[FONT_TEXT_MAX + 1];
    va_list args;
    va_start(args, format);
    font_format(text, format, args);
    va_end(args);

    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    texture_bind(f.texture);
    begin_2d();
    glColor4f(f.red, f.green, f.blue, f.alpha);
    float advance = f.size * f.spacing;
    float pen_x = f.x, pen_y = f.y;
    for (const char* p = text; *p; ++p) {
        // A line feed puts the pen one advance left of the margin, so the
        // advance that follows it lands the next line at x 0.
        if (*p == '\n') {
            pen_x = -f.size;
            pen_y += f.size;
        }
        font_glyph(f, *p, pen_x, pen_y);
        pen_x += advance;
    }
    glDisable(GL_BLEND);
    end_2d();
}
