// lines: the random strip's numbers, then one additive GL_LINE_STRIP over the
// unit square of the viewport.
#include "scenes/lines.h"

#include "core/section.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "core/random.h"

lines_strip lines_next_strip() {
    lines_strip strip;
    strip.width = static_cast<float>(rand_next() % 3 + 3);
    for (int i = 0; i < LINES_POINTS; ++i) {
        strip.points[i][0] = static_cast<float>(rand_next() % 100) * 0.01f;
        strip.points[i][1] = static_cast<float>(rand_next() % 100) * 0.01f;
    }
    return strip;
}

void lines_render() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, 1, 0, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_TEXTURE_2D);
    lines_strip strip = lines_next_strip();
    glLineWidth(strip.width);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glColor4f(1.0f, 0.6f, 0.7f, 1.0f);
    glBegin(GL_LINE_STRIP);
    for (const float* p : strip.points) glVertex2f(p[0], p[1]);
    glEnd();
    glDisable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
}

// ---------------------------------------------------------------------------
// What its sections carry
// ---------------------------------------------------------------------------

const section_reads lines_reads = {
    "a new random pink zigzag across the picture every frame",
    {{}, {}, {}, {}},
    {{}, {}, {}, {}},
    nullptr, nullptr,
};
