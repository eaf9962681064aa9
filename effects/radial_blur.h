// efxRadialBlur: smears the picture drawn so far outward from a centre point.
// Each pass copies the frame into the shared feedback texture and adds it
// back over itself (additive blending), zoomed by a little more than the pass
// before, so bright parts leave radial streaks.
//
// Params: the pass count (passes i = 0, 1, ... while i < passes); then key j
// (j = 0 .. syncs + 1) as an alpha and a zoom step; the zoom centre (x, y) at
// the section's start and at its end, in texture units (0.5, 0.5 is the
// middle), is read from the params of keys 2 and 3, which it doubles as when
// the section has syncs. Key 0 lies at local time 0, key j at sync j - 1 (a
// local time), the last key at the section's duration.
//
// Leaves behind: blending off with (GL_SRC_ALPHA, GL_ONE) as the blend
// factors, depth test on, the feedback texture bound, the colour
// (1, 1, 1, alpha), the projection matrix as the current matrix mode.
#pragma once

#include "core/section_reads.h"

enum {
    RADIAL_BLUR_MIN_PARAMS = 9,
    // More passes than this add nothing visible (the zoom window has long
    // turned inside out); the cap keeps a wild pass count from looping for
    // ever.
    RADIAL_BLUR_MAX_PASSES = 1024,
    // As many keys as a section's params can hold after the pass count.
    RADIAL_BLUR_MAX_KEYS = 127,
};

struct radial_blur_key {
    float alpha;
    float step;
};

struct radial_blur_point {
    float x, y;
};

// Its params, by the names its declaration binds. Keys 2 and 3 also hold
// the zoom centre at the section's start and at its end: x as the alpha, y
// as the step.
struct radial_blur_values {
    float passes;
    radial_blur_key keys[RADIAL_BLUR_MAX_KEYS];
};

// Params a section with `sync_count` syncs must have: 2n + 5 for its keys,
// and at least 9 for the centre.
int radial_blur_params_needed(int sync_count);

// Passes drawn for a pass count of `passes`: 0 when it is 0 or less, else the integers
// below it (2.5 gives 3), at most RADIAL_BLUR_MAX_PASSES.
int radial_blur_pass_count(float passes);

// Alpha and zoom step at local time t: linear between the two keys around t
// (keys 0 and 1 before the first sync, negative t included); with syncs, from
// the section's duration on, alpha 1.0 and step 0.05.
radial_blur_key radial_blur_key_at(const radial_blur_values& v, const float* syncs, int sync_count,
                                   float duration, float t);

// The zoom centre at local time t, moving linearly from its start to its end.
radial_blur_point radial_blur_centre(const radial_blur_values& v, float t, float duration);

// Texture coordinates of the zoom quad for zoom amount s about `centre`, in
// the drawing order of its corners (0, 0), (0, 1), (1, 1), (1, 0) on a
// y-down unit square: the window [2 s cx, 1 - s] x [2 s cy, 1 - s].
void radial_blur_window(float s, radial_blur_point centre, float texcoords[4][2]);

void radial_blur_load();
void radial_blur_render();

// What its sections carry: the declaration the section type table points at.
extern const section_reads radial_blur_reads;
