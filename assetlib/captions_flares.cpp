// Pictures and paths for the painted caption, flare, red sun and title
// overlay scenes. Every picture is black where nothing glows, since the
// scenes add them over the frame.
#include "assetlib/captions_flares.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "scenes/paintex.h"
#include "assetlib/generators.h"
#include "assetlib/noise.h"

static const char* TEXT_FACE = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
static const int CAPTION_WIDTH = PAINTEX_QUAD_WIDTH, CAPTION_HEIGHT = PAINTEX_QUAD_HEIGHT;

static void fail(const char* what) {
    std::fprintf(stderr, "quillon-assets: %s (%s)\n", what, TEXT_FACE);
    std::exit(1);
}

// ---------------------------------------------------------------------------
// Text
// ---------------------------------------------------------------------------

// Width of the text's advances and its ink above and below the baseline at
// the face's current size.
static void measure(FT_Face face, const std::string& text, int* advance, int* above, int* below) {
    *advance = *above = *below = 0;
    for (unsigned char c : text) {
        if (FT_Load_Char(face, c, FT_LOAD_RENDER)) fail("cannot render a glyph");
        *advance += static_cast<int>(face->glyph->advance.x >> 6);
        int top = face->glyph->bitmap_top, rows = static_cast<int>(face->glyph->bitmap.rows);
        if (top > *above) *above = top;
        if (rows - top > *below) *below = rows - top;
    }
}

std::vector<float> scene_text_coverage(const std::string& text, int width, int height, float fill) {
    std::vector<float> cover(static_cast<size_t>(width) * height, 0.0f);
    FT_Library library;
    FT_Face face;
    if (FT_Init_FreeType(&library)) fail("cannot start FreeType");
    if (FT_New_Face(library, TEXT_FACE, 0, &face)) fail("cannot open the font face");
    // Size the face from a trial at 100 pixels, then set it so the ink fits.
    int advance, above, below;
    if (FT_Set_Pixel_Sizes(face, 0, 100)) fail("cannot size the font face");
    measure(face, text, &advance, &above, &below);
    float scale_w = advance > 0 ? fill * width / advance : 1.0f;
    float scale_h = above + below > 0 ? fill * height / (above + below) : 1.0f;
    int pixels = static_cast<int>(100 * (scale_w < scale_h ? scale_w : scale_h));
    if (pixels < 4) pixels = 4;
    if (FT_Set_Pixel_Sizes(face, 0, pixels)) fail("cannot size the font face");
    measure(face, text, &advance, &above, &below);
    int pen = (width - advance) / 2;
    int baseline = (height - above - below) / 2 + above;
    for (unsigned char c : text) {
        if (FT_Load_Char(face, c, FT_LOAD_RENDER)) fail("cannot render a glyph");
        const FT_Bitmap& bitmap = face->glyph->bitmap;
        for (unsigned row = 0; row < bitmap.rows; ++row)
            for (unsigned col = 0; col < bitmap.width; ++col) {
                int x = pen + face->glyph->bitmap_left + static_cast<int>(col);
                int y = baseline - face->glyph->bitmap_top + static_cast<int>(row);
                if (x < 0 || x >= width || y < 0 || y >= height) continue;
                float v = bitmap.buffer[row * bitmap.pitch + col] / 255.0f;
                float& dst = cover[static_cast<size_t>(y) * width + x];
                if (v > dst) dst = v;
            }
        pen += static_cast<int>(face->glyph->advance.x >> 6);
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return cover;
}

// Two box passes in each direction: a soft, roughly Gaussian glow.
static std::vector<float> blur(const std::vector<float>& in, int width, int height, int radius) {
    std::vector<float> a = in, b(in.size());
    for (int pass = 0; pass < 2; ++pass) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                float sum = 0;
                for (int k = -radius; k <= radius; ++k) {
                    int xx = x + k < 0 ? 0 : (x + k >= width ? width - 1 : x + k);
                    sum += a[static_cast<size_t>(y) * width + xx];
                }
                b[static_cast<size_t>(y) * width + x] = sum / (2 * radius + 1);
            }
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                float sum = 0;
                for (int k = -radius; k <= radius; ++k) {
                    int yy = y + k < 0 ? 0 : (y + k >= height ? height - 1 : y + k);
                    sum += b[static_cast<size_t>(yy) * width + x];
                }
                a[static_cast<size_t>(y) * width + x] = sum / (2 * radius + 1);
            }
    }
    return a;
}

// The show's captions are fully painted two seconds into their sections.
static const float CAPTION_REVEAL_SECONDS = 2;

float scene_caption_fill(int index) {
    // Nine tenths of the visible span leaves room for the glow either side;
    // a caption the camera sees whole keeps its usual size.
    float fill = 0.9f * paintex_visible_share(static_cast<float>(index), CAPTION_REVEAL_SECONDS, 16.0f / 9);
    return fill < 0.8f ? fill : 0.8f;
}

rgb_image scene_caption(const std::string& word, int hue_seed, float fill) {
    const int w = CAPTION_WIDTH, h = CAPTION_HEIGHT;
    std::vector<float> cover = scene_text_coverage(word, w, h, fill);
    std::vector<float> glow = blur(cover, w, h, 7);
    rgb_image image(w, h, 3);
    float phase = hue_seed * 1.3f;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float u = static_cast<float>(x) / w, v = static_cast<float>(y) / h;
            size_t i = static_cast<size_t>(y) * w + x;
            // The letters shade from warm to cool across the caption and are
            // mottled by noise, so each spark column gets its own colour.
            float grain = 0.75f + 0.25f * noise_fractal(u * 24, v * 6, 3, 17 + hue_seed);
            float r = 0.6f + 0.4f * std::cos(6.2832f * (u * 0.8f + phase));
            float g = 0.6f + 0.4f * std::cos(6.2832f * (u * 0.8f + phase + 0.33f));
            float b = 0.6f + 0.4f * std::cos(6.2832f * (u * 0.8f + phase + 0.67f));
            float c = cover[i] * grain, halo = glow[i] * 0.9f;
            asset_put(image, x, y, c * r + halo * r * 0.6f, c * g + halo * g * 0.6f, c * b + halo * b * 0.6f);
        }
    return image;
}

// ---------------------------------------------------------------------------
// Flares
// ---------------------------------------------------------------------------

rgb_image scene_grey_flare(int size) {
    rgb_image image(size, size, 3);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float dx = (x + 0.5f) / size * 2 - 1, dy = (y + 0.5f) / size * 2 - 1;
            float d2 = dx * dx + dy * dy;
            float edge = d2 >= 1 ? 0 : (1 - d2) * (1 - d2);
            float glow = (std::exp(-d2 * 4.0f) * 0.8f + std::exp(-d2 * 40.0f) * 0.5f) * edge;
            asset_put(image, x, y, glow, glow, glow);
        }
    return image;
}

rgb_image scene_wide_flare(int width, int height) {
    rgb_image image(width, height, 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            // Square units: the quad that shows it is as wide as the picture.
            float dx = (x + 0.5f - width / 2.0f) / (height / 2.0f);
            float dy = (y + 0.5f - height / 2.0f) / (height / 2.0f);
            float r = std::sqrt(dx * dx + dy * dy), angle = std::atan2(dy, dx);
            // The light reaches black at all four edges, so the quad that
            // shows it has no visible border however the copies overlap.
            float wx = 1 - dx * dx / 4, wy = 1 - dy * dy;
            float window = wx > 0 && wy > 0 ? wx * wx * wy * wy : 0;
            float fade = (r >= 1.9f ? 0 : 1 - r / 1.9f) * window;
            float core = std::exp(-r * r * 30.0f);
            float glow = std::exp(-r * r * 3.0f) * 0.5f;
            float streak = std::exp(-dy * dy * 400.0f) * std::exp(-std::fabs(dx) * 1.2f);
            float rays = std::pow(std::fabs(std::cos(angle * 6.0f)), 40.0f) * std::exp(-r * 2.5f) * 0.5f;
            float ring = std::exp(-(r - 0.7f) * (r - 0.7f) * 300.0f) * 0.25f;
            float light = (core + glow + streak + rays + ring) * fade;
            asset_put(image, x, y, light * 0.9f + ring * 0.3f, light * 0.95f, light + streak * 0.2f);
        }
    return image;
}

rgb_image scene_sun_flare(int size) {
    rgb_image image(size, size, 3);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float dx = (x + 0.5f) / size * 2 - 1, dy = (y + 0.5f) / size * 2 - 1;
            float r = std::sqrt(dx * dx + dy * dy), angle = std::atan2(dy, dx);
            float fade = r >= 1 ? 0 : (1 - r) * (1 - r);
            float disc = r < 0.25f ? 1.0f : std::exp(-(r - 0.25f) * 18.0f);
            float corona = std::exp(-r * 3.5f) * (0.7f + 0.3f * noise_fractal(angle * 3 + 10, r * 6, 4, 23));
            float rays = std::pow(std::fabs(std::cos(angle * 8.0f + r * 2.0f)), 16.0f) * std::exp(-r * 4.0f);
            float light = (disc + corona + rays * 0.6f) * fade;
            asset_put(image, x, y, light * 1.3f, light * (0.12f + 0.55f * disc * disc), light * 0.1f * disc * disc);
        }
    return image;
}

rgb_image scene_title_picture(int width, int height) {
    std::vector<float> cover = scene_text_coverage("QUILLON", width, height, 0.6f);
    std::vector<float> glow = blur(cover, width, height, 6);
    rgb_image image(width, height, 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            float u = static_cast<float>(x) / width, v = static_cast<float>(y) / height;
            size_t i = static_cast<size_t>(y) * width + x;
            // A faint band of haze and stars behind the letters, dark at the
            // top and bottom so the added picture stays mostly untouched.
            float band = std::exp(-(v - 0.5f) * (v - 0.5f) * 30.0f);
            float haze = noise_fractal(u * 8, v * 4, 5, 31) * band * 0.25f;
            float star = noise_hash(x, y, 37) > 0.998f ? 0.6f * band : 0.0f;
            float c = cover[i], g = glow[i];
            float shine = 0.8f + 0.2f * std::sin(u * 9.0f);
            asset_put(image, x, y, c * shine + g * 0.9f + haze * 0.6f + star,
                c * shine * 0.85f + g * 0.5f + haze * 0.3f + star, c * 0.7f + g * 0.3f + haze + star);
        }
    return image;
}

// Position, then pitch, yaw and twist, then the target, as the camera log
// writes them.
std::string scene_redsun_orbit(int keys) {
    std::string text;
    for (int k = 0; k < keys; ++k) {
        float a = 0.35f + k * 0.5f;
        float radius = 3.2f - 0.08f * k;
        char line[200];
        std::snprintf(line, sizeof line, "{%.4f, %.4f, %.4f, 0, 0, %.4f, 0, 0, 0}\n",
                      radius * std::sin(a), 0.6f * std::sin(a * 0.7f), radius * std::cos(a),
                      k * 2.0f);
        text += line;
    }
    return text;
}

void generate_captions_flares(const std::string& data_dir) {
    const char* const captions[][2] = {
        {"engine", "ENGINE"},       {"music", "MUSIC"}, {"graphics", "GRAPHICS"},
        {"modelling", "MODELLING"}, {"logo", "Quillon"}, {"title02", "QUILLON"},
    };
    for (int i = 0; i < PAINTEX_CAPTIONS; ++i)
        asset_write_tga(data_dir + "/textures/" + captions[i][0] + ".tga",
                        scene_caption(captions[i][1], i, scene_caption_fill(i)));
    asset_write_jpeg(data_dir + "/textures/grayflare.jpg", scene_grey_flare(64), 92);
    asset_write_jpeg(data_dir + "/textures/flare.jpg", scene_wide_flare(512, 256), 92);
    asset_write_jpeg(data_dir + "/redsun/textures/electronicflare.jpg", scene_sun_flare(256), 92);
    asset_write_jpeg(data_dir + "/particletitle/titles/sunmere.jpg", scene_title_picture(640, 360), 92);
    std::string orbit = scene_redsun_orbit(12);
    asset_write(data_dir + "/splines/redsun_orbit.txt", std::vector<unsigned char>(orbit.begin(), orbit.end()));
}
