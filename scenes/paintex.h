// paintex: one of six wide captions painted onto the picture from left to
// right, a textured quad whose right edge and texture coordinate advance
// together, led by a column of 256 sparks coloured from the image column at
// the edge. After the first sync the painted quad holds; after the second it
// is drawn on to the section's end.
//
// Params: 0 the caption (0 engine, 1 music, 2 graphics, 3 modelling, 4 logo,
// 5 title, which also slows the camera); 1..3 a translation; 4..6 the axis
// the caption turns about at half a degree a second (0, 0, 0: no turn).
// Syncs: 0 the end of the reveal, 1 the end of the hold, both seconds after
// the section's start. Clock: demo_time - start.
//
// Leaves behind: blending off with (GL_ONE, GL_ONE), depth test on, the
// modelview current with the placement on it.
#pragma once

#include "core/section_reads.h"

#include "effects/quads.h"

struct texture;

enum {
    PAINTEX_CAPTIONS = 6,
    PAINTEX_SPARKS = 256,
    PAINTEX_QUAD_WIDTH = 1024,   // the caption quad, before its scale
    PAINTEX_QUAD_HEIGHT = 256,
    PAINTEX_FOVY = 90,           // degrees, vertical
};
// The caption quad is drawn at a tenth of its size.
const float PAINTEX_QUAD_SCALE = 0.1f;

extern const char* const PAINTEX_CAPTION_IMAGES[PAINTEX_CAPTIONS];
extern const char* const PAINTEX_SPARK_IMAGE;

enum paintex_phase_kind { PAINTEX_REVEAL = 0, PAINTEX_HOLD = 1, PAINTEX_END = 2 };

struct paintex_phase {
    paintex_phase_kind kind;
    float length;   // the reveal's length (syncs[0]) or the end phase's
};

// The phase at t seconds after the section's start.
paintex_phase paintex_phase_at(float t, const float* syncs, float start, float end);
// Its params, by the names its declaration binds.
struct paintex_values {
    float caption;  // which caption, read as the section is set up
    float x, y, z;  // where the caption is moved to
    float axis[3];  // what it turns about; 0 0 0: it does not turn
};

// The camera's distance: slow for the title caption (caption exactly 5).
float paintex_camera_z(float caption_param, float t);
// The share (at most 1) of the caption's width inside the picture at t
// seconds after the section's start, on a picture `aspect` times as wide as
// high, for a caption neither moved nor turned.
float paintex_visible_share(float caption_param, float t, float aspect);
// Moves the quad's right edge and its texture coordinate to the fraction f
// of the full width; returns the edge's x.
float paintex_reveal(textured_quad* quad, float f);
// The red, green and blue (0..1) of image pixel (column x, row y, row 0 at
// the top) of a loaded record, in the record's own layout; places outside
// the image take the nearest edge pixel.
void paintex_pixel_colour(const texture* image, int x, int y, float rgb[3]);
// The image column under the edge at fraction f: truncate(width * f),
// kept inside the image.
int paintex_edge_column(int width, float f);
// Whether the section gives an axis to turn about.
int paintex_has_axis(const paintex_values& v);

void paintex_load();
// Checks the caption number.
void paintex_init();
void paintex_start();
void paintex_render();

// What its sections carry: the declaration the section type table points at.
extern const section_reads paintex_reads;
