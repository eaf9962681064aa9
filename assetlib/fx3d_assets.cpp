// The model effect examples' assets. The examples draw in the flat view a
// frame starts with (0..1 across the render target, depth -1..1), so their
// splines scale the models down and carry them to the middle of the picture.
#include "assetlib/fx3d_assets.h"

#include <cmath>
#include <cstdio>

#include "assetlib/generators.h"
#include "assetlib/noise.h"

static const float DEG = 3.14159265358979f / 180.0f;

// Rotates v by -degrees about X, then by -degrees about Y: the inverse of
// the turns the object transform applies (X outermost), so the translation
// comes out where the turns would have carried it from.
static void undo_turns(float x_deg, float y_deg, float v[3]) {
    float cx = std::cos(-x_deg * DEG), sx = std::sin(-x_deg * DEG);
    float y = cx * v[1] - sx * v[2], z = sx * v[1] + cx * v[2];
    v[1] = y;
    v[2] = z;
    float cy = std::cos(-y_deg * DEG), sy = std::sin(-y_deg * DEG);
    float x = cy * v[0] + sy * v[2];
    z = -sy * v[0] + cy * v[2];
    v[0] = x;
    v[2] = z;
}

std::vector<object_key> fx3d_turning_keys(int count, float scale, float turns, const float centre[3]) {
    std::vector<object_key> keys(static_cast<size_t>(count));
    for (int k = 0; k < count; ++k) {
        float f = count > 1 ? static_cast<float>(k) / static_cast<float>(count - 1) : 0.0f;
        float yaw = 360.0f * turns * f;
        float tilt = 20.0f * std::sin(f * 2.0f * 3.14159265f);
        float t[3] = {centre[0] / scale, centre[1] / scale, centre[2] / scale};
        undo_turns(tilt, yaw, t);
        float* v = keys[static_cast<size_t>(k)].values;
        v[0] = v[1] = v[2] = scale;
        v[3] = tilt;
        v[4] = yaw;
        v[5] = 0.0f;
        v[6] = t[0];
        v[7] = t[1];
        v[8] = t[2];
    }
    return keys;
}

std::vector<object_key> fx3d_flight_keys(int count, float radius, float height, float bob) {
    std::vector<object_key> keys(static_cast<size_t>(count));
    for (int k = 0; k < count; ++k) {
        float f = count > 1 ? static_cast<float>(k) / static_cast<float>(count - 1) : 0.0f;
        float a = 2.0f * 3.14159265f * f;
        float* v = keys[static_cast<size_t>(k)].values;
        v[0] = radius * std::sin(a);
        v[1] = height + bob * std::sin(2.0f * a);
        v[2] = radius * std::cos(a);
        for (int i = 3; i < 9; ++i) v[i] = 0.0f;
    }
    if (count > 1) keys.back() = keys.front();
    return keys;
}

// A value that wraps around the picture's edges: the noise of a point on a
// torus, so opposite edges of the picture carry the same values.
static float wrapped_noise(float u, float v, int octaves, int seed) {
    float au = u * 2.0f * 3.14159265f, av = v * 2.0f * 3.14159265f;
    float a = noise_fractal(2.0f + std::cos(au) * 1.5f, 2.0f + std::sin(au) * 1.5f + std::cos(av) * 1.5f,
                            octaves, seed);
    float b = noise_fractal(6.0f + std::sin(av) * 1.5f, 6.0f + std::cos(av) * 1.5f + std::sin(au) * 1.5f,
                            octaves, seed + 1);
    return 0.5f * (a + b);
}

rgb_image fx3d_sky_image(int size) {
    rgb_image image(size, size, 3);
    for (int row = 0; row < size; ++row)
        for (int col = 0; col < size; ++col) {
            float u = (col + 0.5f) / size, v = (row + 0.5f) / size;
            float cloud = wrapped_noise(u, v, 5, 31);
            float wisp = std::pow(noise_clamp01(1.6f * wrapped_noise(u + 0.3f, v, 4, 41) - 0.5f), 2.0f);
            float star = noise_hash(col, row, 51) > 0.996f ? 1.0f : 0.0f;
            float c[3] = {0.05f + 0.35f * cloud * cloud + 0.9f * wisp, 0.04f + 0.15f * cloud + 0.5f * wisp,
                          0.15f + 0.45f * cloud + 0.7f * wisp};
            unsigned char* p = image.at(col, row);
            for (int i = 0; i < 3; ++i)
                p[i] = static_cast<unsigned char>(noise_clamp01(c[i] + star) * 255.0f + 0.5f);
        }
    return image;
}

// Colour seen along the world direction (x, y, z), y up.
static void sky_colour(float x, float y, float z, float out[3]) {
    float sun = std::pow(std::fmax(0.0f, 0.5f * x + 0.6f * y + 0.62f * z), 60.0f);
    float clouds = noise_fractal(x * 3 + 5, z * 3 + 5, 4, 21);
    if (y >= 0) {
        float h = std::pow(1.0f - y, 4.0f);
        out[0] = 0.15f + 0.75f * h + 0.2f * clouds * (1 - h);
        out[1] = 0.30f + 0.60f * h + 0.2f * clouds * (1 - h);
        out[2] = 0.75f + 0.25f * h;
    } else {
        float d = std::pow(1.0f + y, 6.0f);
        float grain = noise_fractal(x * 8 + 1, z * 8 + 1, 3, 22);
        out[0] = 0.25f * d + 0.10f + 0.08f * grain;
        out[1] = 0.18f * d + 0.07f + 0.06f * grain;
        out[2] = 0.12f * d + 0.05f + 0.04f * grain;
    }
    for (int i = 0; i < 3; ++i) out[i] += sun;
}

rgb_image fx3d_environment_image(int size) {
    rgb_image image(size, size, 3);
    for (int row = 0; row < size; ++row)
        for (int col = 0; col < size; ++col) {
            // The ball's normal at this point of the picture (rows top first).
            float nx = 2.0f * (col + 0.5f) / size - 1.0f;
            float ny = 1.0f - 2.0f * (row + 0.5f) / size;
            float r2 = nx * nx + ny * ny;
            if (r2 > 1.0f) {
                float s = 1.0f / std::sqrt(r2);
                nx *= s;
                ny *= s;
                r2 = 1.0f;
            }
            float nz = std::sqrt(1.0f - r2);
            // Reflection of the view direction (0, 0, -1) about the normal.
            float colour[3];
            sky_colour(2 * nz * nx, 2 * nz * ny, 2 * nz * nz - 1, colour);
            unsigned char* p = image.at(col, row);
            for (int i = 0; i < 3; ++i)
                p[i] = static_cast<unsigned char>(noise_clamp01(colour[i]) * 255.0f + 0.5f);
        }
    return image;
}

void fx3d_write_keys(const std::string& path, const std::vector<object_key>& keys) {
    std::string text;
    char line[256];
    for (const object_key& k : keys) {
        std::snprintf(line, sizeof line, "{%.5f,%.5f,%.5f,%.4f,%.4f,%.4f,%.5f,%.5f,%.5f}\n", k.values[0],
                      k.values[1], k.values[2], k.values[3], k.values[4], k.values[5], k.values[6], k.values[7],
                      k.values[8]);
        text += line;
    }
    asset_write(path, std::vector<unsigned char>(text.begin(), text.end()));
}

void generate_fx3d_assets(const std::string& data_dir) {
    asset_write_jpeg(data_dir + "/textures/environment.jpg", fx3d_environment_image(256), 92);
    const float centre[3] = {0.5f, 0.5f, 0.0f};
    fx3d_write_keys(data_dir + "/splines/object_turn.txt", fx3d_turning_keys(49, 0.22f, 1.0f, centre));
    fx3d_write_keys(data_dir + "/splines/object_still.txt", fx3d_turning_keys(1, 0.22f, 0.0f, centre));
    const float origin[3] = {0.0f, 0.0f, 0.0f};
    fx3d_write_keys(data_dir + "/splines/object_spin.txt", fx3d_turning_keys(49, 1.6f, 1.0f, origin));
    asset_write_jpeg(data_dir + "/textures/nebula.jpg", fx3d_sky_image(256), 90);
    fx3d_write_keys(data_dir + "/splines/camera_flight.txt", fx3d_flight_keys(17, 6.0f, 1.5f, 1.0f));
}
