// titulo: one additive screen-sized quad of the title picture.
#include "scenes/titulo.h"

#include "core/section.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "core/fatal.h"
#include "core/settings.h"
#include "resources/texture.h"

const char* const TITULO_IMAGE = "data/particletitle/titles/sunmere.jpg";

static int titulo_texture = -1;
static titulo_screen titulo_quad;

titulo_screen titulo_screen_quad(float width, float height) {
    titulo_screen q = {{{0, 1}, {1, 1}, {1, 0}, {0, 0}},
                       {{0, 0}, {width, 0}, {width, height}, {0, height}}};
    return q;
}

// The quad takes the window size as it is when the type loads.
void titulo_load() {
    titulo_texture = texture_load(TITULO_IMAGE);
    if (titulo_texture < 0) fatal_error("titulo: Error loading texture %s", TITULO_IMAGE);
    texture_set_options(titulo_texture, TEXTURE_LINEAR | TEXTURE_CLAMP);
    texture_upload(titulo_texture);
    titulo_quad = titulo_screen_quad(static_cast<float>(gl_width), static_cast<float>(gl_height));
}

void titulo_render() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, gl_width, 0, gl_height);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    texture_bind(titulo_texture);
    glColor4f(1, 1, 1, 1);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glDisable(GL_DEPTH_TEST);
    glBegin(GL_QUADS);
    for (int k = 0; k < 4; ++k) {
        glTexCoord2fv(titulo_quad.texcoords[k]);
        glVertex2fv(titulo_quad.vertices[k]);
    }
    glEnd();
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
}

// ---------------------------------------------------------------------------
// What its sections carry
// ---------------------------------------------------------------------------

const section_reads titulo_reads = {
    "the show's title picture added over the whole frame",
    {{}, {}, {}, {}},
    {{}, {}, {}, {}},
    nullptr, nullptr,
};
