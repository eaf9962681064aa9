// flash: a ring of 1000 sprites on a wavy curve before five layered, turning
// skyboxes, in three phases that the section's first two syncs divide
// (seconds from the section's start). In the second and third phases a
// wide camera turns about itself, the sky layers are stretched by a tangent
// curve and the ring is bent by a logarithm.
//
// Syncs 0..1: phase boundaries. Fixed pictures: "data/skyboxes/flash.jpg",
// "data/skyboxes/flash2.jpg", "data/textures/01logos/blueflare.jpg". The
// camera, ring and skies are shared by every flash section; the camera keeps
// what a phase last set.
//
// Leaves behind: blending off with (GL_ONE, GL_SRC_ALPHA), texturing on,
// depth writes on, the camera's matrices, the modelview current.
#pragma once

#include "core/section_reads.h"

#include "effects/particles.h"

enum { FLASH_RING = 1000, FLASH_SYNCS = 2 };

// Largest size of the sky stretch either way: the tangent runs to infinity at
// the ends of phases 2 and 3, where the layers are already one flat colour.
static const float FLASH_SKY_SCALE_MAX = 100.0f;

// Ring positions of phase 1..3 at phase time tp. In phases 2 and 3 a
// particle whose sin(x tp) is not positive has no logarithm and is not
// drawn (made dead for the frame; phase 1 makes every one alive).
void flash_ring(particle_system* ring, int phase, float tp);
// The sky stretch of phase 2 (tan(tp pi/2) + 0.5, single precision) or 3
// (tan(tp pi/2 - pi/2) + 1.5, double), within +-FLASH_SKY_SCALE_MAX; 1 in
// phase 1 (no stretch).
float flash_sky_scale(int phase, float tp);

void flash_load();
void flash_render();

// What its sections carry: the declaration the section type table points at.
extern const section_reads flash_reads;
