// Pictures and paths of the knots, flash, particle title and lake scenes:
// four skies of fractal clouds and stars (deep blue and ember red nebulae
// for the knots, pale and violet clouds for the flash), soft flares, an
// explosion, the title lettering, the lake's water and evening sky, the rain
// drop, and the camera and rain paths.
#include "assetlib/scene_pictures.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "assetlib/generators.h"
#include "assetlib/noise.h"

static const char* TITLE_FACE = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

// ---------------------------------------------------------------------------
// Skies
// ---------------------------------------------------------------------------

struct sky_style {
    float deep[3];    // colour of the thin parts
    float glow[3];    // colour of the dense parts
    float stars;      // share of pixels that hold a star
    float contrast;   // how sharply the clouds thin out
    int seed;
};

// Clouds of fractal noise warped by a second noise, so they swirl, over a
// field of stars that shine through where the clouds are thin.
static rgb_image make_sky(const sky_style& style) {
    const int size = 256;
    rgb_image image(size, size, 3);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float u = x / 64.0f, v = y / 64.0f;
            float warp = noise_fractal(u + 7.3f, v + 1.1f, 3, style.seed + 9);
            float cloud = noise_fractal(u + warp * 1.5f, v - warp, 5, style.seed);
            float density = noise_clamp01((cloud - 0.35f) * style.contrast);
            density *= density;
            float star = noise_hash(x, y, style.seed + 77);
            float twinkle = star > 1 - style.stars ? (star - (1 - style.stars)) / style.stars : 0;
            twinkle *= (1 - density);
            float c[3];
            for (int i = 0; i < 3; ++i)
                c[i] = noise_mix(style.deep[i], style.glow[i], density) + twinkle;
            asset_put(image, x, y, c[0], c[1], c[2]);
        }
    return image;
}

// ---------------------------------------------------------------------------
// Flares and the explosion
// ---------------------------------------------------------------------------

rgb_image scene_flare(int size, float r, float g, float b, float falloff) {
    rgb_image image(size, size, 3);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float dx = (x + 0.5f - size / 2.0f) / (size / 2.0f);
            float dy = (y + 0.5f - size / 2.0f) / (size / 2.0f);
            float d2 = dx * dx + dy * dy;
            float glow = d2 >= 1 ? 0 : std::exp(-d2 * falloff) * (1 - d2);
            // A white-hot core over the tint.
            float core = d2 >= 1 ? 0 : std::exp(-d2 * falloff * 6);
            asset_put(image, x, y, glow * r + core, glow * g + core, glow * b + core);
        }
    return image;
}

// A ragged fireball: a hot centre through yellow and orange to a dark red
// rim whose edge is torn by noise, with rays, on black.
static rgb_image make_explosion() {
    const int size = 256;
    rgb_image image(size, size, 3);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float dx = (x + 0.5f - size / 2.0f) / (size / 2.0f);
            float dy = (y + 0.5f - size / 2.0f) / (size / 2.0f);
            float d = std::sqrt(dx * dx + dy * dy);
            float angle = std::atan2(dy, dx);
            float rays = 0.5f + 0.5f * noise_fractal(angle * 6 + 20, d * 2, 3, 41);
            float edge = 0.55f + 0.35f * rays;
            float heat = noise_clamp01(1 - d / edge);
            float turb = noise_fractal(dx * 4 + 3, dy * 4 + 3, 4, 43);
            heat *= 0.7f + 0.6f * turb;
            float r = heat * 1.6f, g = heat * heat * 1.3f, b = heat * heat * heat * 0.9f;
            asset_put(image, x, y, r, g, b);
        }
    return image;
}

// ---------------------------------------------------------------------------
// Title
// ---------------------------------------------------------------------------

static void title_fail(const char* what) {
    std::fprintf(stderr, "quillon-assets: %s (%s)\n", what, TITLE_FACE);
    std::exit(1);
}

// Coverage of the word rasterised at `pixels` high, centred in width x
// height, one float per pixel.
static std::vector<float> title_coverage(const char* word, int width, int height, int pixels) {
    FT_Library library;
    FT_Face face;
    if (FT_Init_FreeType(&library)) title_fail("cannot start FreeType");
    if (FT_New_Face(library, TITLE_FACE, 0, &face)) title_fail("cannot open the title face");
    // The largest size at most `pixels` whose word fits in 90 % of the width.
    int advance = 0;
    for (;; --pixels) {
        FT_Set_Pixel_Sizes(face, 0, pixels);
        advance = 0;
        for (const char* c = word; *c; ++c) {
            if (FT_Load_Char(face, *c, FT_LOAD_RENDER)) title_fail("cannot render a title letter");
            advance += static_cast<int>(face->glyph->advance.x >> 6);
        }
        if (advance <= width * 9 / 10 || pixels <= 4) break;
    }
    std::vector<float> coverage(static_cast<size_t>(width) * height, 0);
    int pen = (width - advance) / 2;
    int baseline = height / 2 + pixels * 36 / 100;
    for (const char* c = word; *c; ++c) {
        FT_Load_Char(face, *c, FT_LOAD_RENDER);
        FT_GlyphSlot slot = face->glyph;
        for (unsigned row = 0; row < slot->bitmap.rows; ++row)
            for (unsigned col = 0; col < slot->bitmap.width; ++col) {
                int x = pen + slot->bitmap_left + static_cast<int>(col);
                int y = baseline - slot->bitmap_top + static_cast<int>(row);
                if (x < 0 || y < 0 || x >= width || y >= height) continue;
                coverage[static_cast<size_t>(y) * width + x] =
                    slot->bitmap.buffer[row * slot->bitmap.pitch + col] / 255.0f;
            }
        pen += static_cast<int>(slot->advance.x >> 6);
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return coverage;
}

rgb_image scene_title(int width, int height) {
    std::vector<float> ink = title_coverage("QUILLON", width, height, height * 45 / 100);
    rgb_image image(width, height, 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            float a = ink[static_cast<size_t>(y) * width + x];
            // A faint halo around the letters from the nearby coverage.
            float halo = 0;
            for (int k = -3; k <= 3; ++k) {
                int xx = x + k, yy = y + k;
                if (xx >= 0 && xx < width) halo += ink[static_cast<size_t>(y) * width + xx];
                if (yy >= 0 && yy < height) halo += ink[static_cast<size_t>(yy) * width + x];
            }
            halo = noise_clamp01(halo / 14) * 0.35f;
            float u = x / static_cast<float>(width), v = y / static_cast<float>(height);
            float shimmer = 0.8f + 0.2f * noise_fractal(u * 8, v * 4, 3, 61);
            float r = a * (1.0f - 0.6f * u) * shimmer + halo * 0.2f;
            float g = a * (0.65f + 0.25f * v) * shimmer + halo * 0.35f;
            float b = a * (0.25f + 0.75f * u) * shimmer + halo * 0.6f;
            // Pure black stays pure black: no particle is made there.
            if (a == 0 && halo < 0.05f) r = g = b = 0;
            asset_put(image, x, y, r, g, b);
        }
    return image;
}

// ---------------------------------------------------------------------------
// The lake
// ---------------------------------------------------------------------------

// Deep night water with bands of moonlit shimmer, stretched across.
static rgb_image make_mirror() {
    const int size = 256;
    rgb_image image(size, size, 3);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float u = x / 256.0f, v = y / 256.0f;
            float swell = noise_fractal(u * 3, v * 24, 4, 71);
            float glint = std::pow(noise_clamp01(swell * 1.4f - 0.45f), 3.0f);
            float depth = 0.2f + 0.3f * v;
            asset_put(image, x, y, 0.02f + glint * 0.5f, 0.05f * depth + glint * 0.55f,
                0.25f * depth + glint * 0.7f);
        }
    return image;
}

// An evening sky: deep blue at the top through violet to an orange glow at
// the horizon (the bottom row), with thin clouds lit from below. The scene
// shows its lower half.
static rgb_image make_evening_sky() {
    const int width = 512, height = 256;
    rgb_image image(width, height, 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            float u = x / static_cast<float>(width), v = y / static_cast<float>(height);
            float top[3] = {0.05f, 0.07f, 0.25f}, mid[3] = {0.35f, 0.15f, 0.4f},
                  low[3] = {1.0f, 0.55f, 0.2f};
            float c[3];
            for (int i = 0; i < 3; ++i)
                c[i] = v < 0.5f ? noise_mix(top[i], mid[i], v * 2) : noise_mix(mid[i], low[i], (v - 0.5f) * 2);
            float cloud = noise_fractal(u * 6, v * 18, 5, 83);
            float streak = noise_clamp01((cloud - 0.5f) * 3) * (0.3f + 0.7f * v);
            float lit[3] = {1.0f, 0.7f, 0.5f};
            for (int i = 0; i < 3; ++i) c[i] = noise_mix(c[i], lit[i] * (0.4f + 0.6f * v), streak * 0.6f);
            float star = noise_hash(x, y, 89);
            if (v < 0.35f && star > 0.996f) for (float& ch : c) ch += (1 - v * 2.5f) * 0.8f;
            asset_put(image, x, y, c[0], c[1], c[2]);
        }
    return image;
}

// A falling drop: a glow drawn out upward, brightest at its lower end.
static rgb_image make_drop() {
    const int size = 32;
    rgb_image image(size, size, 3);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float dx = (x + 0.5f - size / 2.0f) / (size / 2.0f);
            float dy = (y + 0.5f - size / 2.0f) / (size / 2.0f);
            float tail = dy < 0 ? dy * 0.35f : dy;
            float d2 = dx * dx * 4 + tail * tail;
            float glow = d2 >= 1 ? 0 : std::exp(-d2 * 4) * (1 - d2);
            asset_put(image, x, y, glow * 0.8f, glow * 0.9f, glow);
        }
    return image;
}

std::string scene_rain_path() {
    const int keys = 12;
    std::string text;
    for (int k = 0; k < keys; ++k) {
        float a = k * 0.9f;
        char line[160];
        std::snprintf(line, sizeof line, "{%.3f,%.3f,%.3f,0,0,0,0,0,0}\n", -220.0f + k * 40.0f,
                      14.0f + 6.0f * std::sin(a), 40.0f + 60.0f * std::cos(a * 0.7f));
        text += line;
    }
    return text;
}

static void write_text(const std::string& path, const std::string& text) {
    asset_write(path, std::vector<unsigned char>(text.begin(), text.end()));
}

void generate_scene_pictures(const std::string& data_dir) {
    const std::string sky = data_dir + "/skyboxes/";
    asset_write_jpeg(sky + "knots.jpg", make_sky({{0.0f, 0.02f, 0.08f}, {0.2f, 0.45f, 1.0f}, 0.01f, 2.2f, 101}));
    asset_write_jpeg(sky + "knots2.jpg", make_sky({{0.06f, 0.0f, 0.02f}, {1.0f, 0.35f, 0.1f}, 0.008f, 2.0f, 202}));
    asset_write_jpeg(sky + "flash.jpg", make_sky({{0.2f, 0.3f, 0.45f}, {0.95f, 0.95f, 1.0f}, 0.0f, 1.6f, 303}));
    asset_write_jpeg(sky + "flash2.jpg", make_sky({{0.1f, 0.0f, 0.2f}, {0.8f, 0.4f, 1.0f}, 0.004f, 2.6f, 404}));
    asset_write_jpeg(data_dir + "/textures/01logos/blueflare.jpg", scene_flare(64, 0.35f, 0.6f, 1.0f, 4));
    asset_write_jpeg(data_dir + "/textures/knots/explosion.jpg", make_explosion());
    asset_write_jpeg(data_dir + "/particletitle/flares/grayflare.jpg", scene_flare(32, 0.6f, 0.6f, 0.6f, 3));
    asset_write_jpeg(data_dir + "/particletitle/titles/quillon.jpg", scene_title(160, 80), 95);
    asset_write_jpeg(data_dir + "/thelake/mirror.jpg", make_mirror());
    asset_write_jpeg(data_dir + "/thelake/cielo.jpg", make_evening_sky());
    asset_write_jpeg(data_dir + "/thelake/drop.jpg", make_drop());
    write_text(data_dir + "/splines/lake_rain.txt", scene_rain_path());
    // The title's cameras: a slow approach with a turn while the letters
    // gather, then a gentle drift while the title grows.
    write_text(data_dir + "/splines/title_gather.txt",
               "{-60,-40,330,0,0,8,0,0,0}\n{-20,-15,240,0,0,3,0,0,0}\n{0,0,150,0,0,0,0,0,0}\n");
    write_text(data_dir + "/splines/title_hold.txt",
               "{0,0,150,0,0,0,0,0,0}\n{10,6,140,0,0,0,0,0,0}\n");
}
