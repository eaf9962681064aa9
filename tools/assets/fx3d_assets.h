// Assets of the model effect examples: a sphere-map environment picture and
// the object splines that place the examples' models in the frame.
#pragma once

#include <string>
#include <vector>

#include "tools/assets/asset_io.h"

// One object spline key: scale xyz, degrees about X Y Z, translation xyz.
struct object_key {
    float values[9];
};

// Keys of a uniformly scaled object turning by `turns` full turns about Y
// (with a slow wobble about X), each key's translation chosen so that the
// object's origin lands on `centre` in the drawing frame.
std::vector<object_key> fx3d_turning_keys(int count, float scale, float turns, const float centre[3]);

// A sphere-map picture: a sky above a bright horizon and a dark ground, seen
// in a mirror ball, with a sun highlight.
rgb_image fx3d_environment_image(int size);

