// 3Dbuilder: a cluster of cubes built up face by face over the section, the
// leading part of each object's faces (in file order) growing from nothing
// at the start to the whole model at the end. Each frame draws that part
// twice: white half-transparent points, then solid with the loading screen's
// front picture sphere-mapped on it. Reads the section's local_time and
// duration only.
//
// Leaves behind: polygon mode fill, texturing on with the front picture
// bound (replace), colour white, point size 2, blending and depth as found.
#pragma once

#include "core/section_reads.h"

extern const char* const BUILDER3D_MODEL_DIR;
extern const char* const BUILDER3D_MODEL_FILE;
extern const char* const BUILDER3D_BACK_IMAGE;
extern const char* const BUILDER3D_FRONT_IMAGE;

// The share of each object's faces drawn t seconds into a build of
// `duration` seconds: t / duration. A build of no length (or a negative
// one) counts as finished, 1, never a division by zero.
float build_fraction(float t, float duration);

void builder3d_load();
void builder3d_start();
void builder3d_render();

// What its sections carry: the declaration the section type table points at.
extern const section_reads builder3d_reads;
