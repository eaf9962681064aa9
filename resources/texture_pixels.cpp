// A texture's top level read back from GL and written again: what a copy
// of the frame left in it, kept and put back later as it was.
#include <GL/gl.h>

#include <cstddef>

#include "resources/texture.h"

// Runs `access` with the texture's GL name bound and rows packed tightly,
// then binds back what was bound, so the bind cache stays true.
template <typename Access> static void with_texture(int index, Access access) {
    GLint was_bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &was_bound);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glBindTexture(GL_TEXTURE_2D, texture_table[index]->gl_name);
    access();
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(was_bound));
    glPopClientAttrib();
}

static void level_size(int* width, int* height) {
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, height);
}

void texture_read_top(int index, texture_level* out) {
    with_texture(index, [&] {
        level_size(&out->width, &out->height);
        out->pixels.resize(static_cast<size_t>(out->width) * out->height * 3);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, out->pixels.data());
    });
}

// A texture that rebuilds its smaller levels whenever its top one changes
// (GL_GENERATE_MIPMAP) rebuilds them here as it does after a copy.
int texture_write_top(int index, const texture_level& level) {
    int fits = 0;
    with_texture(index, [&] {
        int width = 0, height = 0;
        level_size(&width, &height);
        fits = width == level.width && height == level.height;
        if (fits)
            glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, level.pixels.data());
    });
    return fits;
}
