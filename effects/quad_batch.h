// A run of textured quads sharing one texture and one blend, each placed by
// its own matrix and tinted by its own colour, sent to GL as one draw. A
// scene that turns thousands of small quads one by one under the modelview
// would otherwise pay one draw per quad: every matrix change ends a draw.
//
// The corners are taken to clip space here, by the product of the
// projection and the quad's own modelview, with the arithmetic of GL's
// vertex stage, and drawn under identity matrices; with the matrices built
// as GL builds them (mat4_rotate, mat4_translate, mat4_multiply) the quads
// land on the pixels they would cover drawn one by one.
#pragma once

#include <vector>

#include "effects/quads.h"

struct quad_batch {
    std::vector<float> vertices;   // clip x, y, z, w per corner, four corners a quad
    std::vector<float> texcoords;  // s, t per corner
    std::vector<float> colours;    // r, g, b, a per corner
};

void quad_batch_clear(quad_batch* batch);
// Appends `quad`'s corners taken to clip space by the column-major
// `projection_modelview`, with `colour` on all four.
void quad_batch_add(quad_batch* batch, const textured_quad* quad, const float projection_modelview[16],
                    const float colour[4]);
// Binds `texture` and draws every quad in order with the current blend and
// depth state; both matrices are left as they were, the colour as the last
// quad's.
void quad_batch_draw(const quad_batch* batch, int texture);
