// Feedback textures: the render target copied into a texture of its own size.
#include "effects/frame_copy.h"

#include <GL/gl.h>
#include <algorithm>

#include "core/settings.h"
#include "resources/texture.h"

int frame_copy_create(int options) {
    int index = texture_create_empty(gl_rttWidth, gl_rttHeight, GL_RGB, 3);
    texture_set_options(index, options);
    texture_upload(index);
    return index;
}

void frame_copy_take(int texture) {
    const struct texture* t = texture_table[texture];
    int width = std::min({gl_rttWidth, t->width, gl_width});
    int height = std::min({gl_rttHeight, t->height, gl_height});
    texture_bind(texture);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, width, height);
}
