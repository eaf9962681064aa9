// titulo: the show's title picture added over the whole frame for as long as
// the section runs. The picture and the screen size are fixed: it reads no
// params, strings, syncs or splines.
//
// Leaves behind: the projection a screen-sized orthographic one, the
// modelview identity and current, blending off with (GL_SRC_ALPHA, GL_ONE),
// depth test on, texturing on, the colour white, the title bound (replace).
#pragma once

#include "core/section_reads.h"

// The title picture, at a fixed path.
extern const char* const TITULO_IMAGE;

// The screen quad: four corners in drawing order, each a texture coordinate
// and a vertex; the bottom edge (y = 0) carries the image's last row.
struct titulo_screen {
    float texcoords[4][2];
    float vertices[4][2];
};

titulo_screen titulo_screen_quad(float width, float height);

void titulo_load();
void titulo_render();

// What its sections carry: the declaration the section type table points at.
extern const section_reads titulo_reads;
