// Textured quads gathered into arrays in clip space and drawn in one call.
#include "effects/quad_batch.h"

#include <GL/gl.h>

#include "resources/texture.h"

void quad_batch_clear(quad_batch* batch) {
    batch->vertices.clear();
    batch->texcoords.clear();
    batch->colours.clear();
}

// Column by column, x first, as the vertex stage multiplies and adds.
static void clip_corner(const float m[16], const float v[3], std::vector<float>* out) {
    for (int row = 0; row < 4; ++row) {
        float d = v[0] * m[row];
        d = d + v[1] * m[4 + row];
        d = d + v[2] * m[8 + row];
        out->push_back(d + m[12 + row]);
    }
}

void quad_batch_add(quad_batch* batch, const textured_quad* quad, const float projection_modelview[16],
                    const float colour[4]) {
    for (int k = 0; k < 4; ++k) {
        clip_corner(projection_modelview, quad->vertices[k], &batch->vertices);
        batch->texcoords.insert(batch->texcoords.end(), quad->texcoords[k], quad->texcoords[k] + 2);
        batch->colours.insert(batch->colours.end(), colour, colour + 4);
    }
}

static void push_identity(GLenum mode) {
    glMatrixMode(mode);
    glPushMatrix();
    glLoadIdentity();
}

static void pop_matrix(GLenum mode) {
    glMatrixMode(mode);
    glPopMatrix();
}

void quad_batch_draw(const quad_batch* batch, int texture) {
    GLsizei corners = static_cast<GLsizei>(batch->vertices.size() / 4);
    if (corners == 0) return;
    GLint mode = GL_MODELVIEW;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    texture_bind(texture);
    push_identity(GL_PROJECTION);
    push_identity(GL_MODELVIEW);
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(4, GL_FLOAT, 0, batch->vertices.data());
    glTexCoordPointer(2, GL_FLOAT, 0, batch->texcoords.data());
    glColorPointer(4, GL_FLOAT, 0, batch->colours.data());
    glDrawArrays(GL_QUADS, 0, corners);
    glPopClientAttrib();
    glColor4fv(&batch->colours[batch->colours.size() - 4]);
    pop_matrix(GL_MODELVIEW);
    pop_matrix(GL_PROJECTION);
    glMatrixMode(static_cast<GLenum>(mode));
}
