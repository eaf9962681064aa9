// efxFader: a full-frame quad in a colour interpolated over the section's
// span, drawn with alpha blending on an orthographic unit square.
#include "effects/fader.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "core/clock.h"
#include "core/section.h"

// The unit square, in drawing order; shared by every fader section.
static float fader_square[4][2];

fader_colour fader_colour_at(const fader_values& v, float start, float end, float demo_time) {
    float f = (demo_time - start) / (end - start);
    float c[4];
    for (int i = 0; i < 4; ++i) c[i] = v.from[i] + (v.to[i] - v.from[i]) * f;
    return {c[0], c[1], c[2], c[3]};
}

void fader_load() {
    const float corners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (int i = 0; i < 4; ++i) {
        fader_square[i][0] = corners[i][0];
        fader_square[i][1] = corners[i][1];
    }
}

static void overlay_begin() {
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0, 1, 0, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_TEXTURE_2D);
}

static void overlay_end() {
    glDisable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
}

void fader_render() {
    const section& s = *current_section;
    fader_colour c = fader_colour_at(section_values<fader_values>(s), s.start, s.end, demo_time);
    overlay_begin();
    glColor4f(c.r, c.g, c.b, c.a);
    glBegin(GL_QUADS);
    for (const float* corner : fader_square) glVertex2fv(corner);
    glEnd();
    overlay_end();
}

// ---------------------------------------------------------------------------
// What its sections carry
// ---------------------------------------------------------------------------

static const section_field fader_params[] = {
    {"red0", "red at the section's start (0..1)", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(fader_values, from[0])},
    {"green0", "green at the start", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(fader_values, from[1])},
    {"blue0", "blue at the start", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(fader_values, from[2])},
    {"alpha0", "alpha at the start (0 leaves the picture unchanged)", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(fader_values, from[3])},
    {"red1", "red at the section's end", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(fader_values, to[0])},
    {"green1", "green at the end", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(fader_values, to[1])},
    {"blue1", "blue at the end", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(fader_values, to[2])},
    {"alpha1", "alpha at the end", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(fader_values, to[3])},
};
const section_reads fader_reads = {
    "covers the whole picture with one flat colour moving from a start colour to an end colour",
    {SECTION_FIELDS(fader_params), {}, {}, {}},
    {{SECTION_OWN_MESSAGE, "Script: eight floats are needed in fader effect, line %d"}, {}, {}, {}},
    nullptr, nullptr,
};
