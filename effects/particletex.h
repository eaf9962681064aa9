// genParticletex: a picture assembled from one additive sprite per pixel.
// Every pixel that is not near black becomes a particle in the pixel's
// colour; it starts at a random whole-number offset from its place in a flat
// grid and glides there on a cosine ease over the section's span, while its
// alpha moves linearly from a start to an end value.
//
// Strings: 0 the picture, 1 the sprite. Params: 0 grid spacing (world units
// per pixel), 1 sprite half edge, 2 scatter range (whole units), 3..5 the
// grid's centre, 6 alpha at the start, 7 alpha at the end.
//
// Leaves behind: blending off with (GL_SRC_ALPHA, GL_ONE) as the blend
// factors, depth writes on, the modelview as the current matrix mode, the
// sprite bound (modulate), the last particle's colour as the current colour.
#pragma once

#include "core/section_reads.h"

#include "effects/particles.h"

struct texture;

struct particletex_instance {
    particle_system* particles;  // one per pixel, row by row
    int image;                   // texture index of the picture
    int width;                   // the picture's size in pixels
    int height;
    float half_width;
    float half_height;
    float row_spacing;
    float column_spacing;
};

// Its params, by the names its declaration binds.
struct particletex_values {
    float spacing;  // grid spacing, world units per pixel
    float size;     // sprite size
    float scatter;  // the scatter range, see particletex_scatter_range
    float x, y, z;  // the picture's centre
    float alpha0, alpha1;
};

// The scatter range the scatter param stands for: truncated toward zero, never
// below 1 (a range of 0 has no draw to make). Above the random limit every
// range draws the same numbers, so the range is capped there.
int particletex_scatter_range(float param);

// A start offset: z, then y, then x, each a sign draw and a magnitude draw
// below `range`, a whole number in -(range - 1) .. range - 1.
void particletex_draw_offset(int range, float offset[3]);

// The red, green and blue of pixel (x, y) of a picture record, 0..1, read in
// the record's own layout: its row padding, its byte order (RGB or BGR) and
// its bytes per pixel (an alpha byte is skipped; one or two bytes are grey).
void particletex_pixel_colour(const texture* picture, int x, int y, float rgb[3]);

// Fills `system` (width x height particles) from the picture: per pixel in
// row order an offset drawn as above, kept in both position and velocity,
// the pixel's colour with alpha `alpha`, alive when the channels add up to
// at least 0.1. Attaches no texture.
void particletex_fill(particle_system* system, const texture* picture, int range, float alpha);

// The ease factor at local time t of a span d: 1 at t = 0, 0 at t = d.
float particletex_ease(float t, float d);

// Places every alive particle for local time t of a span d: its grid place
// plus its offset times the ease, and an alpha moving from `alpha_start` to
// `alpha_end`.
void particletex_place(particletex_instance* instance, float t, float d, float alpha_start,
                       float alpha_end);

void particletex_init();
void particletex_render();

// What its sections carry: the declaration the section type table points at.
extern const section_reads particletex_reads;
