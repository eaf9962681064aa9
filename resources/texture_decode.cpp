// Decoding an image into a texture record: SDL_image reads the bytes, then
// the surface's pixels are converted into the record's own buffer (3- and
// 4-byte images in the byte order their kind names, palette, grey and 16-bit
// images expanded to RGB or RGBA) and the surface is freed. No GL call.
//
// Every picture ends up top row first, left column first, whatever its file
// stores: the decoder turns bottom-up BMP and TGA rows round itself, and a
// TGA stored right to left (which the decoder refuses) is decoded with that
// bit cleared and its rows mirrored here.
#include "resources/texture_decode.h"

#include <SDL/SDL.h>
#include <SDL/SDL_image.h>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "core/fatal.h"
#include "resources/image_check.h"
#include "resources/image_convert.h"
#include "resources/texture.h"

#if SDL_BYTEORDER == SDL_BIG_ENDIAN
#error "image_convert reads pixel values little-endian, as SDL stores them here"
#endif

// The pixel format a decoded 3- or 4-byte image of `kind` is handed to GL in.
static GLenum kind_format(int kind, int bytes_per_pixel) {
    bool four = bytes_per_pixel == 4;
    switch (kind) {
    case IMAGE_BMP: return four ? GL_BGRA_EXT : GL_BGR_EXT;
    case IMAGE_JPEG: return GL_RGB;
    case IMAGE_PNG: return four ? GL_RGBA : GL_RGB;
    default: return four ? GL_RGBA : GL_BGR_EXT;
    }
}

static void surface_layout(const SDL_Surface* s, image_layout* layout, uint8_t palette[768]) {
    const SDL_PixelFormat* f = s->format;
    memset(layout, 0, sizeof *layout);
    layout->bytes_per_pixel = f->BytesPerPixel;
    if (f->palette) {
        int n = f->palette->ncolors < 256 ? f->palette->ncolors : 256;
        for (int i = 0; i < n; i++) {
            palette[3 * i] = f->palette->colors[i].r;
            palette[3 * i + 1] = f->palette->colors[i].g;
            palette[3 * i + 2] = f->palette->colors[i].b;
        }
        layout->palette = palette;
        layout->palette_size = n;
    }
    layout->masks[0] = f->Rmask;
    layout->masks[1] = f->Gmask;
    layout->masks[2] = f->Bmask;
    layout->masks[3] = f->Amask;
    layout->has_key = (s->flags & SDL_SRCCOLORKEY) != 0;
    layout->key = f->colorkey;
}

// Fills the record's pixels, components and pixel format from the decoded
// surface: 3- and 4-byte images in the byte order their kind's format names,
// palette, grey and 16-bit images expanded to RGB or RGBA.
static void texture_take_pixels(texture* t, SDL_Surface* surface, int kind, const char* name) {
    uint8_t palette[768];
    image_layout layout;
    surface_layout(surface, &layout, palette);
    int bytes = layout.bytes_per_pixel;
    if (bytes >= 3) {
        t->components = bytes;
        t->pixel_format = kind_format(kind, bytes);
    } else {
        t->components = image_expanded_components(&layout);
        t->pixel_format = t->components == 4 ? GL_RGBA : GL_RGB;
    }
    image_order order = (t->pixel_format == GL_RGB || t->pixel_format == GL_RGBA)
                            ? IMAGE_ORDER_RGB : IMAGE_ORDER_BGR;
    t->width = surface->w;
    t->height = surface->h;
    size_t size = (size_t)image_row_bytes(t->width, t->components) * t->height;
    t->pixels = (unsigned char*)malloc(size ? size : 1);
    if (!t->pixels) {
        SDL_FreeSurface(surface);
        fatal_error("Out of memory loading texture %s", name);
    }
    SDL_LockSurface(surface);
    image_convert((const uint8_t*)surface->pixels, surface->pitch, t->width, t->height,
                  &layout, order, t->components, t->pixels);
    SDL_UnlockSurface(surface);
}

// Whether `type` names TGA, in any case.
static bool is_tga_hint(const char* type) {
    return type && (type[0] == 't' || type[0] == 'T') && (type[1] == 'g' || type[1] == 'G') &&
           (type[2] == 'a' || type[2] == 'A') && type[3] == '\0';
}

// A surface the conversion can read: 1 to 4 bytes a pixel, rows that hold
// them. The decoder hands back other shapes for some damaged headers.
static bool surface_readable(const SDL_Surface* s) {
    int bytes = s->format ? s->format->BytesPerPixel : 0;
    return s->pixels && bytes >= 1 && bytes <= 4 && s->pitch >= s->w * bytes;
}

// Turns each of the record's rows end to end.
static void mirror_rows(texture* t) {
    int bytes = t->components, row = texture_row_bytes(t);
    for (int y = 0; y < t->height; ++y) {
        unsigned char* p = t->pixels + static_cast<size_t>(y) * row;
        for (int l = 0, r = t->width - 1; l < r; ++l, --r)
            for (int b = 0; b < bytes; ++b) std::swap(p[l * bytes + b], p[r * bytes + b]);
    }
}

void texture_decode(texture* t, const unsigned char* data, size_t size, const char* type, int kind,
                    const char* name) {
    bool tga = is_tga_hint(type);
    if (const char* fault = image_check(data, size, tga))
        fatal_error("Error loading texture %s: %s", name, fault);
    std::vector<unsigned char> cleared;
    bool right_first = tga && size > TGA_DESCRIPTOR && (data[TGA_DESCRIPTOR] & TGA_RIGHT_FIRST);
    if (right_first) {
        cleared.assign(data, data + size);
        cleared[TGA_DESCRIPTOR] &= ~TGA_RIGHT_FIRST;
        data = cleared.data();
    }
    if (kind == IMAGE_JPEG && texture_decode_cmyk_jpeg(t, data, size, name)) return;
    SDL_RWops* source = SDL_RWFromConstMem(data, static_cast<int>(size));
    if (!source) fatal_error("Error loading texture %s: %s", name, SDL_GetError());
    SDL_Surface* surface = IMG_LoadTyped_RW(source, 1, const_cast<char*>(type));
    if (!surface) fatal_error("Error loading texture %s: %s", name, SDL_GetError());
    bool known_kind = kind == IMAGE_BMP || kind == IMAGE_JPEG || kind == IMAGE_TGA || kind == IMAGE_PNG;
    const char* fault = known_kind ? image_check_sides(surface->w, surface->h) : "No format specified in code";
    if (!fault && !surface_readable(surface)) fault = "the image's pixel layout cannot be read";
    if (fault) {
        SDL_FreeSurface(surface);
        fatal_error("Error loading texture %s: %s", name, fault);
    }
    texture_take_pixels(t, surface, kind, name);
    // The pixels now live in the record's own buffer.
    SDL_FreeSurface(surface);
    if (right_first) mirror_rows(t);
}
