// Feedback textures: the render target copied into a texture of its own size.
#include "effects/frame_copy.h"

#include <GL/gl.h>
#include <algorithm>
#include <climits>
#include <cmath>

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

int frame_copy_is_whole(int texture) {
    const struct texture* t = texture_table[texture];
    return t->width == gl_rttWidth && t->height == gl_rttHeight && gl_rttWidth <= gl_width &&
           gl_rttHeight <= gl_height;
}

int frame_copy_fade_frames(double gain, double pixels) {
    if (!(gain > 0)) return 0;
    if (!(gain < 0.95)) return INT_MAX;
    double frames = 1.5 * std::log(255.0 * std::max(pixels, 1.0)) / -std::log(gain);
    return static_cast<int>(std::ceil(frames));
}
