// genMacroBox: five faint copies of one skybox, each turned by its own slowly
// growing angle on the projection matrix and added over one another, so the
// background seems to swirl around current_camera.
#pragma once

#include "core/section_reads.h"

enum { MACRO_BOX_COPIES = 5 };

// The strength each copy is added with (the alpha of the current colour).
extern const float MACRO_BOX_ALPHA;
// The axis the copies turn about.
extern const float MACRO_BOX_AXIS[3];

// Degrees each copy is turned by at local time t: 26 apart, one degree per
// second of section time.
void macro_box_angles(float t, float out[MACRO_BOX_COPIES]);

void macro_box_init();
void macro_box_render();

// What its sections carry: the declaration the section type table points at.
extern const section_reads macro_box_reads;
