// The texture table: 1024 records filled by decoding image files with
// SDL_image (or zero-filled for render targets), uploaded to GL in a separate
// step, and bound through a two-value cache (texture name, environment mode)
// so repeated binds issue no GL call. Records are never freed.
//
// Depends on SDL_image (decoding), GL and GLU (upload), core/fatal.h and the
// driver's extension list (platform/video.h).
#include "resources/texture.h"

#include <GL/glu.h>
#include <SDL/SDL.h>
#include <SDL/SDL_image.h>
#include <cstdlib>
#include <cstring>

#include "core/fatal.h"
#include "platform/video.h"
#include "resources/image_convert.h"

#if SDL_BYTEORDER == SDL_BIG_ENDIAN
#error "image_convert reads pixel values little-endian, as SDL stores them here"
#endif

#ifndef GL_BGR_EXT
#define GL_BGR_EXT 0x80E0
#endif
#ifndef GL_BGRA_EXT
#define GL_BGRA_EXT 0x80E1
#endif

// ---------------------------------------------------------------------------
// Globals
// ---------------------------------------------------------------------------

texture* texture_table[TEXTURE_MAX];
int texture_count = 0;
// All bits set: no real texture name or mode, so the first bind issues both.
GLuint bound_texture = ~0u;
GLenum bound_env_mode = ~0u;
int texture_force_pot = 0;
texture_counters texture_stats = {0, 0};

// ---------------------------------------------------------------------------
// Records
// ---------------------------------------------------------------------------

int texture_kind_from_name(const char* name) {
    static const struct { const char* extension; int kind; } kinds[] = {
        {".bmp", IMAGE_BMP}, {".BMP", IMAGE_BMP},
        {".jpg", IMAGE_JPEG}, {".JPG", IMAGE_JPEG},
        {".tga", IMAGE_TGA}, {".TGA", IMAGE_TGA},
    };
    for (const auto& k : kinds)
        if (strstr(name, k.extension)) return k.kind;
    return 0;
}

int texture_row_bytes(const texture* t) {
    return image_row_bytes(t->width, t->components);
}

// Takes the next free slot for a new record with upload options 0. `name`
// is the file being loaded, or null for an empty texture of width x height.
static int take_slot(const char* name, int width, int height) {
    if (texture_count >= TEXTURE_MAX) {
        if (name) fatal_error("Texture table full (%d textures) loading %s", TEXTURE_MAX, name);
        fatal_error("Texture table full (%d textures) creating an empty %dx%d texture",
                    TEXTURE_MAX, width, height);
    }
    texture* t = (texture*)calloc(1, sizeof(texture));
    if (!t) fatal_error("Out of memory loading texture %s", name ? name : "(empty)");
    int index = texture_count++;
    texture_table[index] = t;
    texture_set_options(index, 0);
    return index;
}

static texture* texture_at(int index, const char* operation) {
    if (index < 0 || index >= texture_count)
        fatal_error("%s: no texture at index %d (%d loaded)", operation, index, texture_count);
    return texture_table[index];
}

void texture_set_options(int index, int options) {
    texture* t = texture_at(index, "texture_set_options");
    t->filter = (options & TEXTURE_LINEAR) ? GL_LINEAR : GL_LINEAR_MIPMAP_NEAREST;
    t->wrap = (options & TEXTURE_CLAMP) ? GL_CLAMP : GL_REPEAT;
    t->env_mode = (options & TEXTURE_MODULATE) ? GL_MODULATE : GL_REPLACE;
}

// ---------------------------------------------------------------------------
// Loading
// ---------------------------------------------------------------------------

// The pixel format a decoded 3- or 4-byte image of `kind` is handed to GL in.
static GLenum kind_format(int kind, int bytes_per_pixel) {
    bool four = bytes_per_pixel == 4;
    switch (kind) {
    case IMAGE_BMP: return four ? GL_BGRA_EXT : GL_BGR_EXT;
    case IMAGE_JPEG: return GL_RGB;
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
static void texture_take_pixels(texture* t, SDL_Surface* surface, int kind) {
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
    size_t size = (size_t)texture_row_bytes(t) * t->height;
    t->pixels = (unsigned char*)malloc(size ? size : 1);
    if (!t->pixels) fatal_error("Out of memory loading texture %s", t->name);
    SDL_LockSurface(surface);
    image_convert((const uint8_t*)surface->pixels, surface->pitch, t->width, t->height,
                  &layout, order, t->components, t->pixels);
    SDL_UnlockSurface(surface);
}

int texture_load(const char* name) {
    int kind = texture_kind_from_name(name);
    return kind ? texture_load_as(name, kind) : -1;
}

int texture_load_as(const char* name, int kind) {
    int index = take_slot(name, 0, 0);
    texture* t = texture_table[index];
    SDL_Surface* surface = IMG_Load(name);
    if (!surface) fatal_error("Error loading texture %s: %s\n", name, SDL_GetError());
    if (kind != IMAGE_BMP && kind != IMAGE_JPEG && kind != IMAGE_TGA) {
        SDL_FreeSurface(surface);
        fatal_error("Error loading texture %s: %s\n", name, "No format specified in code");
    }
    if (surface->w <= 0 || surface->h <= 0) {
        SDL_FreeSurface(surface);
        fatal_error("Error loading texture %s: %s\n", name, "the image has no pixels");
    }
    t->name = strdup(name);
    texture_take_pixels(t, surface, kind);
    // The pixels now live in the record's own buffer.
    SDL_FreeSurface(surface);
    return index;
}

// Bytes GL reads for one pixel of `format`.
static int format_bytes(GLenum format) {
    return (format == GL_RGBA || format == GL_BGRA_EXT) ? 4 : 3;
}

int texture_create_empty(int width, int height, GLenum pixel_format, int components) {
    if (width < 0 || height < 0)
        fatal_error("Cannot create an empty texture of %dx%d pixels", width, height);
    int index = take_slot(nullptr, width, height);
    texture* t = texture_table[index];
    t->width = width;
    t->height = height;
    t->pixel_format = pixel_format;
    t->components = components;
    // Big enough for the rows GL reads, whichever of the format and the
    // component count asks for more bytes.
    int bytes = components > format_bytes(pixel_format) ? components : format_bytes(pixel_format);
    size_t size = (size_t)image_row_bytes(width, bytes) * height;
    t->pixels = (unsigned char*)calloc(size ? size : 1, 1);
    if (!t->pixels) fatal_error("Out of memory creating an empty %dx%d texture", width, height);
    return index;
}

// ---------------------------------------------------------------------------
// Upload and bind
// ---------------------------------------------------------------------------

static int next_power_of_two(int n) {
    int p = 1;
    while (p < n) p <<= 1;
    return p;
}

// Level 0 without mipmaps; rescaled to powers of two when the driver (or
// texture_force_pot) demands them.
static void upload_single_level(const texture* t) {
    int w = next_power_of_two(t->width), h = next_power_of_two(t->height);
    bool rescale = (w != t->width || h != t->height) &&
                   (texture_force_pot || !has_extension("GL_ARB_texture_non_power_of_two"));
    if (!rescale) {
        glTexImage2D(GL_TEXTURE_2D, 0, t->components, t->width, t->height, 0,
                     t->pixel_format, GL_UNSIGNED_BYTE, t->pixels);
        return;
    }
    size_t size = (size_t)image_row_bytes(w, format_bytes(t->pixel_format)) * h;
    unsigned char* scaled = (unsigned char*)malloc(size);
    if (!scaled) fatal_error("Out of memory rescaling texture %s", t->name ? t->name : "(empty)");
    gluScaleImage(t->pixel_format, t->width, t->height, GL_UNSIGNED_BYTE, t->pixels,
                  w, h, GL_UNSIGNED_BYTE, scaled);
    glTexImage2D(GL_TEXTURE_2D, 0, t->components, w, h, 0, t->pixel_format,
                 GL_UNSIGNED_BYTE, scaled);
    free(scaled);
}

void texture_upload(int index) {
    texture* t = texture_at(index, "texture_upload");
    glGenTextures(1, &t->gl_name);
    glBindTexture(GL_TEXTURE_2D, t->gl_name);
    texture_stats.bind_calls++;
    bound_texture = t->gl_name;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, t->wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, t->wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, t->filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    // The buffer's rows are 4-byte aligned; make sure GL (and GLU's
    // rescaling) read and write them that way, whatever was set before.
    GLint unpack = 4, pack = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &unpack);
    glGetIntegerv(GL_PACK_ALIGNMENT, &pack);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    if (t->filter == GL_LINEAR_MIPMAP_NEAREST) {
        gluBuild2DMipmaps(GL_TEXTURE_2D, t->components, t->width, t->height,
                          t->pixel_format, GL_UNSIGNED_BYTE, t->pixels);
    } else {
        upload_single_level(t);
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, unpack);
    glPixelStorei(GL_PACK_ALIGNMENT, pack);
}

void texture_bind(int index) {
    texture* t = texture_at(index, "texture_bind");
    if (t->gl_name != bound_texture) {
        glBindTexture(GL_TEXTURE_2D, t->gl_name);
        texture_stats.bind_calls++;
        bound_texture = t->gl_name;
    }
    if (t->env_mode != bound_env_mode) {
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, t->env_mode);
        texture_stats.env_calls++;
        bound_env_mode = t->env_mode;
    }
}

void texture_reset_cache() {
    bound_texture = ~0u;
    bound_env_mode = ~0u;
}
