// Assets of the model and camera effect examples: a sphere-map environment
// picture, a skybox picture, the object splines that place the examples'
// models in the frame and a camera flight.
#pragma once

#include <string>
#include <vector>

#include "assetlib/asset_io.h"

// One object spline key: scale xyz, degrees about X Y Z, translation xyz.
struct object_key {
    float values[9];
};

// Keys of a uniformly scaled object turning by `turns` full turns about Y
// (with a slow wobble about X), each key's translation chosen so that the
// object's origin lands on `centre` in the drawing frame.
std::vector<object_key> fx3d_turning_keys(int count, float scale, float turns, const float centre[3]);

// Keys of a camera flight once around the origin: position on a circle of
// `radius` at `height` (rising and falling by `bob`), angles 0, looking at the
// origin. The last key repeats the first, so the flight ends where it began.
std::vector<object_key> fx3d_flight_keys(int count, float radius, float height, float bob);

// Writes `keys` to `path` as a spline file, one key per line.
void fx3d_write_keys(const std::string& path, const std::vector<object_key>& keys);

// The particle and picture examples' pictures: an emblem on pure black (48 x
// 48), a soft round spark sprite (32 x 32) and a banner of colour bands
// behind a bright disc (256 x 128).
rgb_image fx_emblem_image();
rgb_image fx_spark_image();
rgb_image fx_banner_image();

// A skybox picture for all six faces: a dark blue nebula with bright wisps
// and stars, the same colours at every edge so the faces meet without seams.
rgb_image fx3d_sky_image(int size);

// A sphere-map picture: a sky above a bright horizon and a dark ground, seen
// in a mirror ball, with a sun highlight.
rgb_image fx3d_environment_image(int size);

