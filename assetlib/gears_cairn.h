// Assets of the gears and meditation scenes: the three gear models, their
// sphere-map picture and the clockwork's camera flight; the meditation
// sculpture (a cairn of balanced stones), its cloud sky, electric flare,
// fractal reflection and ring pictures. All procedural, the same bytes every
// run.
//
// Sphere-mapped pictures are read with the image's top row at t = 0, and
// surfaces facing up reflect t > 0.5: their "sky" is painted in the lower
// half of the picture.
#pragma once

#include <string>

#include "assetlib/asset_io.h"
#include "assetlib/meshes.h"
#include "assetlib/model_writer.h"

enum { SCENE_C_GEARS = 3 };

// One gear model: its wheel, and where its teeth stand, as a fraction of
// one tooth pitch turned from +X towards +Z. The scene's rest angles put
// neighbouring wheels half a tooth apart only with these phases.
struct scene_gear {
    gear_params shape;
    float phase;
    int spokes;  // 0 or 1: a cross of two bars from the bore to the centre
};

// Gear 1 (40 teeth, 0.2 pitch radius), gear 2 (15), gear 3 (10); 0-based.
scene_gear scene_gear_shape(int which);
// The wheel of scene_gear_shape(which) as a model, turned to its phase.
mesh_model scene_gear_model(int which);
// guitar.jpg: warm brass reflections of a wooden room under a golden sky.
rgb_image scene_gear_reflection(int size);
// The clockwork camera: a spiralling orbit close around the wheels.
std::string scene_gears_flight();

// The cairn: five flattened, slightly lumpy stones stacked on one another,
// stored so that the scene's own turn (90 degrees about X, then 180 about Z)
// stands them upright. Smooth shared vertices, closed surfaces.
mesh_model scene_meditation_model();
rgb_image scene_cloud_sky(int size);          // cloudskybox.jpg
rgb_image scene_electric_flare(int size);     // electronicflareblack.jpg
rgb_image scene_fractal_reflection(int size); // fractalreflections2.jpg
rgb_image scene_circle(int size);             // circle.jpg
