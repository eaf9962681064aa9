// Procedural meshes for the generated models: a gear wheel, a torus knot, a
// fluted column and a cluster of cubes. Pure functions over the mesh record.
//
// All meshes are Y-up, closed, and wound counter-clockwise seen from outside.
// Vertices are shared along smooth surfaces (so the player's averaged normals
// shade them smoothly) and split along hard edges (so flat faces stay flat);
// texture seams duplicate a vertex at exactly the same position.
#pragma once

#include <vector>

#include "assetlib/model_writer.h"

// A spur gear lying in the XZ plane, turning about Y, centred on the origin,
// from y = -thickness / 2 to +thickness / 2. Two gears of the same module mesh
// when their centres are module * (teeth1 + teeth2) / 2 apart.
struct gear_params {
    int teeth = 16;
    float module = 0.1f;
    float thickness = 0.2f;
    float bore = 0.2f;  // radius of the axle hole
};

float gear_pitch_radius(const gear_params& g);  // module * teeth / 2
float gear_tip_radius(const gear_params& g);    // pitch + module
float gear_root_radius(const gear_params& g);   // pitch - 1.25 module

// Points of the toothed outline as (x, z) pairs in order of increasing angle;
// tooth k is centred on the angle k * 360 / teeth degrees (starting at +X).
std::vector<mesh_uv> gear_outline(const gear_params& g);

mesh_object mesh_build_gear(const gear_params& g, const char* name);

// A (p, q) torus knot: the tube winds p times around the Y axis and q times
// through the hole. UVs: u along the knot (`u_repeat` times), v around the tube.
struct torus_knot_params {
    int p = 2, q = 3;
    float radius = 1.0f;  // overall size of the curve
    float tube = 0.15f;
    int segments = 192;   // along the curve
    int sides = 12;       // around the tube
    float u_repeat = 8.0f;
};

mesh_object mesh_build_torus_knot(const torus_knot_params& k, const char* name);

// A column centred on the origin, from y = -height / 2 to +height / 2: square
// plinth, round moulding, fluted shaft with a slight taper, flared capital and
// square abacus on top. UVs: u around, v up the height (planar on the flat
// caps and box faces).
struct column_params {
    float height = 4.0f;
    float radius = 0.4f;     // shaft radius at the foot
    int flutes = 16;
    float flute_depth = 0.08f;  // fraction of the radius
    int sides = 64;          // vertices around (a multiple of flutes reads best)
    int shaft_rings = 9;
};

mesh_object mesh_build_column(const column_params& c, const char* name);

// Cubes on a grid inside a ball of `radius` grid steps; sizes vary with the
// grid position and never let two cubes touch. Faces come in two groups: the
// cubes of the inner core and those of the outer layer.
struct cube_cluster_params {
    int radius = 3;
    float spacing = 0.5f;
};

struct cube_cluster {
    mesh_object mesh;
    std::vector<int> inner_faces;
    std::vector<int> outer_faces;
};

cube_cluster mesh_build_cube_cluster(const cube_cluster_params& c, const char* name);

// An axis-aligned box appended to `o` as 24 vertices (split at every edge)
// and 12 triangles, with 0..1 UVs on each face when `with_uvs`.
void mesh_append_box(mesh_object& o, mesh_vec3 low, mesh_vec3 high, bool with_uvs);
