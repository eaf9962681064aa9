// The loading screen's two pictures: a dark nebula background and a brighter
// foreground (rings of light around a centre glow) that fades in over it as
// loading advances.
#include <cmath>

#include "assetlib/asset_io.h"
#include "assetlib/generators.h"
#include "assetlib/noise.h"

static const int SIZE = 512;

static rgb_image make_background() {
    rgb_image image(SIZE, SIZE, 3);
    for (int y = 0; y < SIZE; ++y)
        for (int x = 0; x < SIZE; ++x) {
            float u = static_cast<float>(x) / SIZE, v = static_cast<float>(y) / SIZE;
            float cloud = noise_fractal(u * 4, v * 4, 5, 7);
            float glow = cloud * cloud * 0.5f;
            float star = noise_hash(x, y, 3) > 0.9975f ? 0.8f : 0.0f;
            asset_put(image, x, y, 0.05f + glow * 0.5f + star, 0.03f + glow * 0.3f + star,
                0.10f + glow * 0.9f + star);
        }
    return image;
}

static rgb_image make_foreground() {
    rgb_image image(SIZE, SIZE, 3);
    for (int y = 0; y < SIZE; ++y)
        for (int x = 0; x < SIZE; ++x) {
            float dx = (x - SIZE / 2) / static_cast<float>(SIZE / 2);
            float dy = (y - SIZE / 2) / static_cast<float>(SIZE / 2);
            float r = std::sqrt(dx * dx + dy * dy);
            float angle = std::atan2(dy, dx);
            float rings = 0.5f + 0.5f * std::cos(r * 40.0f - angle * 3.0f);
            float fade = std::exp(-r * r * 3.0f);
            float core = std::exp(-r * r * 40.0f);
            float swirl = noise_fractal(dx * 3 + 10, dy * 3 + 10, 4, 11);
            float light = rings * fade * (0.6f + 0.4f * swirl);
            asset_put(image, x, y, light * 1.0f + core, light * 0.7f + core, light * 0.35f + core * 0.8f);
        }
    return image;
}

void generate_loading_images(const std::string& data_dir) {
    asset_write_jpeg(data_dir + "/loading/back.jpg", make_background());
    asset_write_jpeg(data_dir + "/loading/front.jpg", make_foreground());
}
