// The texture table: images decoded into records, uploaded to GL, bound
// through a cache so repeated binds cost no GL call.
//
// A record's pixel buffer holds its rows top row first, each row padded to a
// multiple of 4 bytes (texture_row_bytes), in the byte order `pixel_format`
// names. Palette, grey and 16-bit images are expanded to GL_RGB (GL_RGBA when
// a colour key or an alpha bit makes some pixels transparent) when loaded.
#pragma once

#include <GL/gl.h>

#include <vector>

// The byte orders BMP and TGA pixels come in, where the GL headers lack
// their names.
#ifndef GL_BGR_EXT
#define GL_BGR_EXT 0x80E0
#endif
#ifndef GL_BGRA_EXT
#define GL_BGRA_EXT 0x80E1
#endif

enum {
    TEXTURE_MAX = 1024,
    IMAGE_BMP = 1,
    IMAGE_JPEG = 2,
    IMAGE_TGA = 3,
    IMAGE_PNG = 4,
    TEXTURE_LINEAR = 1,   // no mipmaps
    TEXTURE_CLAMP = 2,
    TEXTURE_MODULATE = 4,
};

struct texture {
    char* name;
    int width;
    int height;
    GLuint gl_name;
    unsigned char* pixels;
    int components;
    GLenum pixel_format;
    GLenum filter;
    GLenum wrap;
    GLenum env_mode;
};

extern texture* texture_table[TEXTURE_MAX];
extern int texture_count;
extern GLuint bound_texture;
extern GLenum bound_env_mode;

// Uploads without mipmaps go to GL at their own size when the driver takes
// sides that are not powers of two; otherwise (or when this is set) they are
// rescaled to the next powers of two first. The record keeps its own size
// and pixels either way.
extern int texture_force_pot;

// GL calls issued by texture_upload and texture_bind, counted so the bind
// cache can be checked against a real driver.
struct texture_counters {
    unsigned long bind_calls;   // glBindTexture
    unsigned long env_calls;    // glTexEnvi of GL_TEXTURE_ENV_MODE
};
extern texture_counters texture_stats;

// Image kind from the name (".bmp"/".BMP", ".jpg"/".JPG", ".tga"/".TGA",
// ".png"/".PNG", searched in that order anywhere in the name), or 0.
int texture_kind_from_name(const char* name);

// Bytes in one row of a record's pixel buffer.
int texture_row_bytes(const texture* t);

// Reads the picture `name` into a new slot, its kind taken from the name; a
// name of no picture kind is a fatal error saying so.
int texture_load(const char* name);
int texture_load_as(const char* name, int kind);
int texture_create_empty(int width, int height, GLenum pixel_format, int components);
void texture_set_options(int index, int options);
void texture_upload(int index);
void texture_bind(int index);

// Gives back the slots from `first` on (the show's, when the window's own
// come before it) and sets the count to `first`. A record read from a file
// goes to the texture cache with its pixels and its GL texture, and the next
// texture_load of the same file (same name, size and modification time, as
// file_stamp_of reports them) takes it back instead of decoding it again;
// an upload with the same filter and wrap then reuses the GL texture. Every
// other record is freed with its GL texture.
void texture_release_from(int first);
// Frees what the cache holds (the files the running show did not load).
void texture_cache_trim();
// GL textures created and not yet deleted, cached ones included.
int texture_gl_count();

// The top level (level 0) of a texture as RGB bytes, rows bottom first and
// tightly packed, at the size GL keeps it.
struct texture_level {
    int width, height;
    std::vector<unsigned char> pixels;
};
// Reads the top level of slot `index` back from GL.
void texture_read_top(int index, texture_level* out);
// Writes `level` over the top level of slot `index`; 0 (nothing written)
// when the sizes differ.
int texture_write_top(int index, const texture_level& level);

// Forgets the bind cache (after another piece of code touched GL binding, or
// a new context).
void texture_reset_cache();
