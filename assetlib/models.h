// The generated models as records (before they are written), so their files
// and their geometry can be checked apart from the generator's output.
#pragma once

#include "assetlib/asset_io.h"
#include "assetlib/model_writer.h"

mesh_model models_gear();         // gear.3ds: one steel wheel
mesh_model models_torus_knot();   // torusknot.3ds: textured with metal.jpg
mesh_model models_column();       // column.3ds: textured with marble.jpg
mesh_model models_cubes();        // cubes.3ds: two materials, core and shell

rgb_image models_metal_map();
rgb_image models_marble_map();
