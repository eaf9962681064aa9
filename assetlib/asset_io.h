// Writing the generated assets: folders, raw files (rewritten only when their
// bytes change, so a rebuild leaves unchanged files untouched), JPEG and TGA
// images from an RGB(A) pixel buffer stored top row first.
#pragma once

#include <string>
#include <vector>

struct rgb_image {
    int width = 0;
    int height = 0;
    int channels = 3;                 // 3 = RGB, 4 = RGBA
    std::vector<unsigned char> pixels;  // rows top first, no padding

    rgb_image() = default;
    rgb_image(int w, int h, int c) : width(w), height(h), channels(c), pixels(size_t(w) * h * c) {}
    unsigned char* at(int x, int y) { return &pixels[(size_t(y) * width + x) * channels]; }
};

// The byte of a colour channel given in 0..1 (clamped, rounded).
unsigned char asset_byte(float v);
// Sets the red, green and blue of pixel (x, y) from channels in 0..1.
void asset_put(rgb_image& image, int x, int y, float r, float g, float b);

// Creates the parent folders of `path`.
void asset_make_parent(const std::string& path);

// Writes `bytes` to `path` unless the file already holds exactly them.
void asset_write(const std::string& path, const std::vector<unsigned char>& bytes);

std::vector<unsigned char> asset_encode_jpeg(const rgb_image& image, int quality);
std::vector<unsigned char> asset_encode_tga(const rgb_image& image);

void asset_write_jpeg(const std::string& path, const rgb_image& image, int quality = 90);
void asset_write_tga(const std::string& path, const rgb_image& image);
