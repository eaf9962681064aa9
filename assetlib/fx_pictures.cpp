// Pictures, sprites and paths for the particle and picture examples: an
// emblem on black to be assembled from particles, a soft spark sprite, a
// banner to hang in the 3-D view, a spiral path for a trail and a fixed
// camera looking at the origin from the front.
#include <cmath>
#include <cstdio>
#include <string>

#include "assetlib/asset_io.h"
#include "assetlib/fx3d_assets.h"
#include "assetlib/generators.h"
#include "assetlib/noise.h"

// A ring with a five-pointed star inside, warm on pure black: the black
// pixels make no particle, so only the shape is assembled.
rgb_image fx_emblem_image() {
    const int size = 48;
    rgb_image image(size, size, 3);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float dx = (x + 0.5f - size / 2.0f) / (size / 2.0f);
            float dy = (y + 0.5f - size / 2.0f) / (size / 2.0f);
            float r = std::sqrt(dx * dx + dy * dy);
            float angle = std::atan2(dy, dx);
            float star_edge = 0.45f + 0.2f * std::cos(5 * angle);
            bool ring = r > 0.8f && r < 0.95f;
            bool star = r < star_edge;
            if (!ring && !star) continue;  // stays black
            float shade = 0.6f + 0.4f * noise_fractal(dx * 3, dy * 3, 3, 5);
            if (ring) asset_put(image, x, y, 0.3f * shade, 0.6f * shade, 1.0f * shade);
            else asset_put(image, x, y, 1.0f * shade, 0.7f * shade, 0.2f * shade);
        }
    return image;
}

// A round glow, white in the middle and black at the edge: under additive
// blending only the middle shows.
rgb_image fx_spark_image() {
    const int size = 32;
    rgb_image image(size, size, 3);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float dx = (x + 0.5f - size / 2.0f) / (size / 2.0f);
            float dy = (y + 0.5f - size / 2.0f) / (size / 2.0f);
            float d2 = dx * dx + dy * dy;
            float glow = d2 >= 1 ? 0 : std::exp(-d2 * 5.0f) * (1 - d2);
            asset_put(image, x, y, glow, glow, glow);
        }
    return image;
}

// Horizontal colour bands behind a bright disc, 2:1.
rgb_image fx_banner_image() {
    const int width = 256, height = 128;
    rgb_image image(width, height, 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            float u = x / static_cast<float>(width), v = y / static_cast<float>(height);
            float band = 0.5f + 0.5f * std::sin(v * 18.0f + u * 3.0f);
            float dx = (u - 0.5f) * 2.0f, dy = (v - 0.5f);
            float disc = std::exp(-(dx * dx + dy * dy) * 12.0f);
            asset_put(image, x, y, 0.15f + 0.5f * band * u + disc, 0.1f + 0.3f * band + disc * 0.9f,
                0.4f * band * (1 - u) + 0.2f + disc * 0.6f);
        }
    return image;
}

// Keys of a rising spiral around the Y axis, in the spline file format
// (position in the first three channels, the rest 0).
static std::string make_spiral_path() {
    const int keys = 16;
    std::string text;
    for (int k = 0; k < keys; ++k) {
        float a = k * 0.7f;
        float radius = 1.6f - k * 0.05f;
        char line[160];
        std::snprintf(line, sizeof line, "{%.4f,%.4f,%.4f,0,0,0,0,0,0}\n", radius * std::cos(a),
                      -1.2f + k * 0.16f, radius * std::sin(a));
        text += line;
    }
    return text;
}

void generate_fx_pictures(const std::string& data_dir) {
    asset_write_tga(data_dir + "/textures/emblem.tga", fx_emblem_image());
    asset_write_tga(data_dir + "/textures/spark.tga", fx_spark_image());
    asset_write_tga(data_dir + "/textures/banner.tga", fx_banner_image());
    std::string path = make_spiral_path();
    asset_write(data_dir + "/splines/spiral_path.txt",
                std::vector<unsigned char>(path.begin(), path.end()));
    // A camera that stays 6 units in front of the origin, looking at it.
    std::string front = "{0,0,6,0,0,0,0,0,0}\n";
    asset_write(data_dir + "/splines/front_camera.txt",
                std::vector<unsigned char>(front.begin(), front.end()));
}
