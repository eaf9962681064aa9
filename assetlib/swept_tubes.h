// Assets of the final logo and loop scenes: tubes swept along curves (the
// logo's frame and letter, the loop with its wound strands), two starry
// nebula skies and three sphere-map reflection pictures. Pure functions over
// the mesh and picture records, the same bytes every run.
#pragma once

#include <string>
#include <vector>

#include "assetlib/asset_io.h"
#include "assetlib/model_writer.h"

// ---------------------------------------------------------------------------
// Swept tubes
// ---------------------------------------------------------------------------

// A curve to sweep a round tube along: its points in order, and the tube's
// radius at each. A closed curve joins its last point to its first; an open
// one gets a rounded cap at each end.
struct sweep_path {
    std::vector<mesh_vec3> points;
    std::vector<float> radii;
    bool closed = true;
};

// Unit tangent, normal and binormal of each point of a path. The normals are
// carried along the curve without turning about it, so the tube does not
// twist; on a closed curve the turn that is left over when the last point
// wraps to the first is spread evenly over all points, so the tube closes on
// itself without a seam.
struct sweep_frame {
    mesh_vec3 tangent, normal, binormal;
};
std::vector<sweep_frame> sweep_frames(const std::vector<mesh_vec3>& points, bool closed);

// The tube: `sides` vertices around each point, shared along the surface so
// the player's averaged normals shade it smoothly; triangles counter-clockwise
// from outside. Fewer than two points (three when closed) build nothing.
mesh_object mesh_build_sweep(const sweep_path& path, int sides, const char* name);

// The loop: a figure of eight, lifted where it crosses itself so the tube
// passes over itself, `points` points, tube radius `tube`.
sweep_path scene_loop_path(int points, float size, float lift, float tube);
// A strand wound `turns` times around the tube of `core` at `distance` from
// its centre line, starting at `phase` radians.
sweep_path scene_strand_path(const sweep_path& core, int turns, float distance, float phase,
                               float tube);
// The letter S in the XY plane, facing +Z: two three-quarter circles of
// radius `bow` meeting at the origin.
sweep_path scene_letter_path(int points, float bow, float tube);
// A rounded square (|x|^4 + |y|^4 = size^4) in the XY plane.
sweep_path scene_frame_path(int points, float size, float tube);
// A circle of `radius` in the XY plane.
sweep_path scene_ring_path(int points, float radius, float tube);

// The loop model's centre line, and how its two strands lie on it: each
// strand's centre SCENE_E_STRAND_GAP outside the tube, its own radius
// SCENE_E_STRAND_TUBE.
sweep_path scene_loop_core();
const float SCENE_E_STRAND_GAP = 1.2f, SCENE_E_STRAND_TUBE = 1.4f;

mesh_model scene_loop_model();     // loop.3d: the loop and two strands
mesh_model scene_frame_model();    // logo/marco.3d: rounded square and inner ring
mesh_model scene_letter_model();   // logo/s.3d: the letter

// ---------------------------------------------------------------------------
// Pictures
// ---------------------------------------------------------------------------

// Colours of a nebula sky, as r, g, b in 0..1.
struct sky_palette {
    mesh_vec3 deep;     // the empty sky
    mesh_vec3 cloud;    // the thick of the clouds
    mesh_vec3 glow;     // their bright cores
    int seed;
};

// A sky for a one-picture skybox: noise clouds over a dark ground, strewn
// with stars. The same picture serves all six faces, so the clouds thin out
// towards the edges, where every face meets its neighbours in the deep
// colour.
rgb_image scene_sky(int size, const sky_palette& palette);

// Colours of a sphere-map reflection picture.
struct reflection_palette {
    mesh_vec3 zenith, horizon, ground, light;
    int seed;
};
// A reflection as a sphere map: sky over a bright horizon band over ground,
// with clouds and one soft light, seen in a mirror ball. The sky is at the
// bottom rows: the texture's first row is t = 0, the sphere map's lowest t.
rgb_image scene_reflection(int size, const reflection_palette& palette);
// A cool, shimmering sheen: bright ridged noise streaks on deep blue.
rgb_image scene_sheen(int size, int seed);
