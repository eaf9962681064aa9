// The texture table: 1024 records filled by decoding image files with
// SDL_image (or zero-filled for render targets), uploaded to GL in a separate
// step, and bound through a two-value cache (texture name, environment mode)
// so repeated binds issue no GL call. Records are never freed.
//
// Depends on resources/texture_decode (decoding), GL and GLU (upload),
// core/fatal.h and the driver's extension list (platform/video.h).
#include "resources/texture.h"

#include <GL/glu.h>
#include <SDL/SDL.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/fatal.h"
#include "core/file_read.h"
#include "platform/video.h"
#include "resources/image_convert.h"
#include "resources/texture_decode.h"

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

// Where a slot's record came from and what was sent to GL for it: what the
// cache needs to tell whether a record can serve again.
struct texture_origin {
    texture* record;  // null: not read from a file
    file_stamp stamp;
    int kind;
    int uploaded;     // gl_name holds a texture built with `filter` and `wrap`
    int cached;       // taken back from the cache and not uploaded since
    GLenum filter, wrap;
};
static texture_origin origins[TEXTURE_MAX];
static std::vector<texture_origin> texture_cache;
static int gl_textures = 0;

// ---------------------------------------------------------------------------
// Records
// ---------------------------------------------------------------------------

int texture_kind_from_name(const char* name) {
    static const struct { const char* extension; int kind; } kinds[] = {
        {".bmp", IMAGE_BMP}, {".BMP", IMAGE_BMP},
        {".jpg", IMAGE_JPEG}, {".JPG", IMAGE_JPEG},
        {".tga", IMAGE_TGA}, {".TGA", IMAGE_TGA},
        {".png", IMAGE_PNG}, {".PNG", IMAGE_PNG},
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
    origins[index] = texture_origin{};
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

int texture_load(const char* name) {
    int kind = texture_kind_from_name(name);
    if (!kind) fatal_error("Error loading texture %s: it is not a picture (a picture is a .bmp, .jpg, .png or .tga file)", name);
    return texture_load_as(name, kind);
}

// A cached record of the same version of the file, put back in a new slot;
// -1 when there is none.
static int take_cached(const char* name, int kind, const file_stamp& stamp) {
    for (size_t i = 0; i < texture_cache.size(); ++i) {
        const texture_origin& c = texture_cache[i];
        if (c.kind != kind || !(c.stamp == stamp) || strcmp(c.record->name, name) != 0) continue;
        if (texture_count >= TEXTURE_MAX) return -1;
        int index = texture_count++;
        texture_table[index] = c.record;
        origins[index] = c;
        origins[index].cached = 1;
        texture_cache.erase(texture_cache.begin() + static_cast<long>(i));
        texture_set_options(index, 0);
        return index;
    }
    return -1;
}

int texture_load_as(const char* name, int kind) {
    file_stamp stamp = {-1, -1};
    if (file_stamp_of(name, &stamp)) {
        int cached = take_cached(name, kind, stamp);
        if (cached >= 0) return cached;
    }
    int index = take_slot(name, 0, 0);
    texture* t = texture_table[index];
    std::vector<unsigned char> bytes;
    if (!file_read_all(name, &bytes)) {
        // The decoder's own words for it, as its error text is what is shown.
        SDL_SetError("Couldn't open %s", name);
        fatal_error("Error loading texture %s: %s\n", name, SDL_GetError());
    }
    // The decoder's hint is the text after the last dot, as IMG_Load takes it.
    const char* dot = strrchr(name, '.');
    t->name = strdup(name);
    texture_decode(t, bytes.data(), bytes.size(), dot ? dot + 1 : nullptr, kind, name);
    if (stamp.size >= 0) {
        origins[index].record = t;
        origins[index].stamp = stamp;
        origins[index].kind = kind;
    }
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

// A record taken back from the cache whose GL texture was built with the
// options asked for now: bound, with its parameters set, as an upload leaves
// it. Any other upload builds a new GL texture, and the one the record had
// before (which nothing can bind any more) is deleted.
static int reuse_upload(int index) {
    texture_origin& o = origins[index];
    texture* t = texture_table[index];
    int cached = o.cached;
    o.cached = 0;
    if (!o.uploaded) return 0;
    if (cached && o.filter == t->filter && o.wrap == t->wrap) return 1;
    glDeleteTextures(1, &t->gl_name);
    gl_textures -= 1;
    o.uploaded = 0;
    return 0;
}

void texture_upload(int index) {
    texture* t = texture_at(index, "texture_upload");
    int reused = reuse_upload(index);
    if (!reused) {
        glGenTextures(1, &t->gl_name);
        gl_textures += 1;
    }
    glBindTexture(GL_TEXTURE_2D, t->gl_name);
    texture_stats.bind_calls++;
    bound_texture = t->gl_name;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, t->wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, t->wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, t->filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    if (reused) return;
    origins[index].uploaded = 1;
    origins[index].filter = t->filter;
    origins[index].wrap = t->wrap;
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

static void free_record(texture_origin* o, texture* t) {
    if (o->uploaded) {
        glDeleteTextures(1, &t->gl_name);
        gl_textures -= 1;
        if (bound_texture == t->gl_name) bound_texture = ~0u;
    }
    free(t->pixels);
    free(t->name);
    free(t);
}

void texture_release_from(int first) {
    if (first < 0) first = 0;
    for (int i = first; i < texture_count; ++i) {
        texture_origin& o = origins[i];
        if (o.record) texture_cache.push_back(o);
        else free_record(&o, texture_table[i]);
        texture_table[i] = nullptr;
        o = texture_origin{};
    }
    if (first < texture_count) texture_count = first;
}

void texture_cache_trim() {
    for (texture_origin& o : texture_cache) free_record(&o, o.record);
    texture_cache.clear();
}

int texture_gl_count() { return gl_textures; }

void texture_reset_cache() {
    bound_texture = ~0u;
    bound_env_mode = ~0u;
}
