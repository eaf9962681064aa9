// What the show's ring-and-sky scenes share: choosing the phase that the
// section's syncs divide, the layered skybox passes turned on the projection
// matrix, loading their fixed resources (a missing one names the scene), and
// the sprite ring whose positions each scene computes for itself.
#pragma once

#include "effects/particles.h"
#include "resources/camera.h"
#include "resources/skybox.h"

// Phase of a section clock t against `bounds` ascending boundaries: the
// first boundary t lies strictly below gives phase i + 1 (so t equal to a
// boundary already belongs to the next phase); past them all, bounds + 1.
// *tp is t less the boundary that opened the phase (0 for phase 1).
int ring_scene_phase(float t, const float* syncs, int bounds, float* tp);

// Five faint copies of the skybox around the camera, i = 0, 26, .., 104:
// each pass multiplies the projection by a scale (g, g, 1) (1 for none),
// then turns it (i + angle) degrees about (x, y, z), draws the
// sky, and restores the projection. Texturing is on afterwards and the
// modelview is the current matrix mode; blending and colour are the
// caller's.
void ring_scene_sky_layers(const skybox* box, const camera* cam, float angle, float scale, float x,
                      float y, float z);

// The one-image skybox at `path`, uploaded; without one the scene cannot
// draw, so a missing or unknown image stops the run naming `type`.
skybox* ring_scene_load_skybox(const char* type, const char* path);
// A texture at a fixed path with its options, uploaded unless `upload` is 0
// (pools upload theirs with particles_upload_textures).
int ring_scene_load_texture(const char* type, const char* path, int options, int upload);

// A pool of `count` alive sprites at rest, all on one texture (uploaded), in
// the ring colour (0.5, 0.1, 0.1, 1).
particle_system* ring_scene_pool(const char* type, int count, float size, const char* sprite);

// The camera every ring scene makes: look-at, at `position` looking at
// `target`, field of view 100, the show's aspect, near and far defaults.
camera* ring_scene_camera_create(float px, float py, float pz, float tx, float ty, float tz);
