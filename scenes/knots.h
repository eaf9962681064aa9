// knots: a ring of 512 glowing sprites on a knotted curve before layered,
// turning, additively blended skyboxes, in four phases that the section's
// first three syncs divide (seconds from the section's start). The second
// phase adds a pulsing explosion quad under a camera that rises through it;
// the third and fourth turn the camera about itself, the fourth before the
// second sky.
//
// Syncs 0..2: phase boundaries. Fixed pictures: "data/skyboxes/knots.jpg",
// "data/skyboxes/knots2.jpg", "data/textures/01logos/blueflare.jpg",
// "data/textures/knots/explosion.jpg". The camera, ring and skies are shared
// by every knots section; the sky is drawn under the camera of the frame
// before, the rest under the camera each phase places.
//
// Leaves behind: blending off with (GL_SRC_ALPHA, GL_ONE), depth test on,
// depth writes on, texturing on, the camera's matrices, the modelview
// current.
#pragma once

#include "core/section_reads.h"

#include "effects/particles.h"
#include "resources/camera.h"

enum { KNOTS_RING = 512, KNOTS_SYNCS = 3 };

// Ring positions of each phase (1..4) at phase time tp, before the draw's
// turn (and, in phases 3 and 4, its shift).
void knots_ring(particle_system* ring, int phase, float tp);
// The explosion quad's scale tp seconds into phase 2: 3 sin(2 pi tp) ln tp
// + tp + 4, with tp kept away from 0 so it stays finite (4 at tp = 0).
float knots_explosion_scale(float tp);
// Places what phase `phase` does not set itself: phase 1's position, target
// and angles, the target phases 3 and 4 keep from phase 2.
void knots_place_camera(camera* c, int phase);

void knots_load();
void knots_render();

// What its sections carry: the declaration the section type table points at.
extern const section_reads knots_reads;
