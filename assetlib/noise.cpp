// Value noise built on an integer hash, so every run makes the same pictures.
#include "assetlib/noise.h"

#include <cmath>
#include <cstdint>

float noise_hash(int x, int y, int seed) {
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
                 static_cast<uint32_t>(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return static_cast<float>(h & 0xffffff) / static_cast<float>(0xffffff);
}

static float smooth(float t) { return t * t * (3 - 2 * t); }

float noise_mix(float a, float b, float t) { return a + (b - a) * t; }

float noise_value(float x, float y, int seed) {
    int xi = static_cast<int>(std::floor(x));
    int yi = static_cast<int>(std::floor(y));
    float tx = smooth(x - static_cast<float>(xi));
    float ty = smooth(y - static_cast<float>(yi));
    float top = noise_mix(noise_hash(xi, yi, seed), noise_hash(xi + 1, yi, seed), tx);
    float bottom = noise_mix(noise_hash(xi, yi + 1, seed), noise_hash(xi + 1, yi + 1, seed), tx);
    return noise_mix(top, bottom, ty);
}

float noise_fractal(float x, float y, int octaves, int seed) {
    float sum = 0, weight = 0.5f, total = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += noise_value(x, y, seed + i * 131) * weight;
        total += weight;
        x *= 2;
        y *= 2;
        weight *= 0.5f;
    }
    return sum / total;
}

float noise_clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
