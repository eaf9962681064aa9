// particletitle: a title picture assembled from one sprite per pixel. The
// sprites start scattered at random and fly on a cosine ease into the
// picture's grid until the first sync; from then on the assembled title is
// one textured quad that slowly grows to 1.4 times its size by the end.
// The camera follows spline 0 during the assembly and spline 1 afterwards
// (channels 1-3 position, 4-6 pitch, yaw, twist, 7-9 target).
//
// String 0: the title picture. Param 0: sprite half edge. Sync 0: end of the
// assembly, in seconds from the section's start. Splines 0 and 1: cameras.
// Fixed sprite: "data/particletitle/flares/grayflare.jpg".
//
// The grid is 256 x 128 world units whatever the picture's shape (a picture
// that is not twice as wide as high is stretched to it, as the quad is), and
// pictures with an alpha channel or grey pixels give their colours.
//
// The picture, pool and quad are held once for the type: every section
// draws those of the last one initialised. Leaves behind: blending off with
// (GL_ONE, GL_ONE), depth test on, depth writes on, the modelview current.
#pragma once

#include "core/section_reads.h"

#include "effects/particletex.h"

struct camera;
struct spline;

// The grid places of a width x height picture: a row steps 128 / height
// along x (from -64), a column 256 / width along y (from -128); the draw's
// quarter turn then puts row 0 at the top of a 256 x 128 rectangle.
void ptitle_grid(particletex_instance* grid, int width, int height);

// Title quad scale tp seconds into a title phase lasting d2: 1 at its start,
// 1.4 at its end; 1 throughout a phase of no length.
float ptitle_title_scale(float tp, float d2);

// Camera placement from a camera spline at time tau.
void ptitle_camera_from_spline(camera* cam, const spline* path, float tau);

void particletitle_load();
void particletitle_init();
void particletitle_render();

// What its sections carry: the declaration the section type table points at.
extern const section_reads particletitle_reads;
