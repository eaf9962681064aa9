// Pictures and paths of the knots, flash, particle title and lake scenes,
// exposed so tests can check what the generator makes.
#pragma once

#include <string>

#include "assetlib/asset_io.h"

// A soft round glow of the given tint on black, size x size; the centre is
// the tint at full strength and the edge is black.
rgb_image scene_flare(int size, float r, float g, float b, float falloff);
// The title "QUILLON" in warm-to-cool letters on pure black, 2:1.
rgb_image scene_title(int width, int height);
// The keys of the lake's rain path: low over the water, in front of the
// lake camera, in the spline file format.
std::string scene_rain_path();
