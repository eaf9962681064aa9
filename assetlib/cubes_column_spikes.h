// Assets of the model builder, column and paranoia scenes: their three
// models (a cube cluster, a tall fluted column, a spiked ball), the
// sphere-map reflections and sky pictures they draw, and the loading
// pictures the builder ships with. All procedural, the same bytes every run.
//
// Sphere-mapped pictures are read by GL with the image's top row at t = 0,
// and surfaces facing up reflect t > 0.5: so their "sky" is painted in the
// lower half of the picture, their "ground" in the upper half.
#pragma once

#include <string>

#include "assetlib/asset_io.h"
#include "assetlib/model_writer.h"

// A ball of `radius` made of three-sided spikes, one on each triangle of a
// subdivided icosahedron (`subdivisions` times, 20 * 4^n triangles); spike
// lengths vary with noise between `spike_min` and `spike_max` times the
// radius. Faces are ordered from the lowest spike to the highest, so a model
// drawn by its leading faces rises from the bottom.
struct spiked_ball_params {
    float radius = 1.0f;
    int subdivisions = 3;
    float spike_min = 0.06f;
    float spike_max = 0.55f;
};
mesh_object scene_spiked_ball(const spiked_ball_params& p, const char* name);

mesh_model scene_cubes_model();     // data/cubitos/models/cubez.3ds
mesh_model scene_column_model();    // data/models/columna.3d
mesh_model scene_paranoia_model();  // data/models/paranoia.3d

rgb_image scene_chrome_front(int size);         // loadingfront.jpg: studio chrome
rgb_image scene_loading_back(int size);         // loadingback.jpg: dark haze
rgb_image scene_column_sky(int size);           // 8470702.jpg: blue nebula, stars
rgb_image scene_julia_reflection(int size);   // FractalReflections2.jpg: a Julia set
rgb_image scene_paranoia_map(int size);         // paranoia.jpg: a staring iris
rgb_image scene_paranoia_sky(int size);         // paranoia_sky.jpg: crimson nebula
