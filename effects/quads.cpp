// Textured quads and the debug axes marker.
#include "effects/quads.h"

#include <GL/gl.h>

#include "core/settings.h"
#include "resources/texture.h"

void quad_init(textured_quad* quad, int texture, float width, float height) {
    float x = width / 2, y = height / 2;
    const float vertices[4][3] = {{-x, -y, 0}, {x, -y, 0}, {x, y, 0}, {-x, y, 0}};
    const float texcoords[4][2] = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};
    quad->texture = texture;
    quad->bounds[0] = -x;
    quad->bounds[1] = -y;
    quad->bounds[2] = x;
    quad->bounds[3] = y;
    for (int k = 0; k < 4; k++) {
        for (int i = 0; i < 3; i++) quad->vertices[k][i] = vertices[k][i];
        for (int i = 0; i < 2; i++) quad->texcoords[k][i] = texcoords[k][i];
    }
}

void quad_draw(const textured_quad* quad) {
    texture_bind(quad->texture);
    glBegin(GL_QUADS);
    for (int k = 0; k < 4; k++) {
        glTexCoord2fv(quad->texcoords[k]);
        glVertex3fv(quad->vertices[k]);
    }
    glEnd();
}

void draw_debug_axes() {
    if (!debug) return;
    glDisable(GL_TEXTURE_2D);
    glPointSize(5);
    glBegin(GL_POINTS);
    glColor3f(1, 1, 1);
    glVertex3f(0, 0, 0);
    glEnd();
    glPointSize(1);
    glLineWidth(2);
    glBegin(GL_LINES);
    glColor3f(1, 0, 0);
    glVertex3f(0, 0, 0);
    glVertex3f(1, 0, 0);
    glColor3f(0, 1, 0);
    glVertex3f(0, 0, 0);
    glVertex3f(0, 1, 0);
    glColor3f(0, 0, 1);
    glVertex3f(0, 0, 0);
    glVertex3f(0, 0, 1);
    glEnd();
    glLineWidth(1);
    glEnable(GL_TEXTURE_2D);
}
