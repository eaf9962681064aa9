// Textured quads centred on the origin, and the debug axes marker.
#pragma once

struct textured_quad {
    int texture;              // texture index
    float bounds[4];          // x_min, y_min, x_max, y_max
    float vertices[4][3];     // lower left, lower right, upper right, upper left
    float texcoords[4][2];    // t = 0 at the top edge, so images appear upright
};

// A w x h quad in the z = 0 plane, centred on the origin.
void quad_init(textured_quad* quad, int texture, float width, float height);
// Binds the texture and draws one GL_QUADS; colour, blending and matrices are
// the caller's.
void quad_draw(const textured_quad* quad);

// With `debug` on: a white point at the origin and red, green and blue lines
// one unit along X, Y and Z; texturing is on afterwards and the colour left
// blue. Does nothing with `debug` off.
void draw_debug_axes();
