// Test helpers: small pictures written as BMP (through SDL), TGA (byte by
// byte), JPEG (through the asset generator) and PNG (through libpng) files, and a reader for one pixel of a
// texture record, so the texture tests load files they made themselves.
#pragma once

#include <GL/gl.h>
#include <algorithm>
#include <SDL/SDL.h>
#include <cstdint>
#include <cstdio>
#include <jpeglib.h>
#include <png.h>
#include <stdexcept>
#include <string>
#include <vector>

#include "resources/texture.h"
#include "assetlib/asset_io.h"

struct rgba {
    uint8_t r, g, b, a;
    bool operator==(const rgba& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
};

// A picture, top row first.
struct picture {
    int width, height;
    std::vector<rgba> pixels;
    rgba at(int x, int y) const { return pixels[y * width + x]; }
};

// Distinct colours (and alphas) in every pixel, an odd width so rows need
// padding.
inline picture test_picture() {
    return {3, 2, {{255, 0, 0, 255}, {0, 255, 0, 128}, {0, 0, 255, 0},
                   {255, 255, 255, 255}, {10, 20, 30, 64}, {200, 100, 50, 200}}};
}

// A picture of four one-colour quadrants (red, green / blue, white).
inline picture quadrant_picture(int width, int height) {
    picture p{width, height, {}};
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            bool right = x >= width / 2, bottom = y >= height / 2;
            rgba c = !bottom ? (right ? rgba{0, 255, 0, 255} : rgba{255, 0, 0, 255})
                             : (right ? rgba{255, 255, 255, 255} : rgba{0, 0, 255, 255});
            p.pixels.push_back(c);
        }
    return p;
}

inline void write_bytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) throw std::runtime_error("cannot write " + path);
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

inline void put16(std::vector<uint8_t>& v, unsigned x) {
    v.push_back(x & 0xff);
    v.push_back((x >> 8) & 0xff);
}
inline void put32(std::vector<uint8_t>& v, unsigned x) {
    put16(v, x & 0xffff);
    put16(v, x >> 16);
}

// 24-bit BMP through SDL_SaveBMP.
inline void write_bmp24(const std::string& path, const picture& p) {
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, p.width, p.height, 24,
                                          0xff0000, 0x00ff00, 0x0000ff, 0);
    for (int y = 0; y < p.height; y++)
        for (int x = 0; x < p.width; x++) {
            uint8_t* px = (uint8_t*)s->pixels + y * s->pitch + x * 3;
            rgba c = p.at(x, y);
            px[0] = c.b;
            px[1] = c.g;
            px[2] = c.r;
        }
    SDL_SaveBMP(s, path.c_str());
    SDL_FreeSurface(s);
}

// 8-bit palette BMP through SDL_SaveBMP: one palette entry per pixel.
inline void write_bmp8(const std::string& path, const picture& p) {
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, p.width, p.height, 8, 0, 0, 0, 0);
    std::vector<SDL_Color> colours;
    for (const rgba& c : p.pixels) colours.push_back({c.r, c.g, c.b, 0});
    SDL_SetColors(s, colours.data(), 0, (int)colours.size());
    for (int y = 0; y < p.height; y++)
        for (int x = 0; x < p.width; x++)
            ((uint8_t*)s->pixels)[y * s->pitch + x] = (uint8_t)(y * p.width + x);
    SDL_SaveBMP(s, path.c_str());
    SDL_FreeSurface(s);
}

// 32-bit BMP (SDL 1.2 only saves 8 and 24 bits): bottom row first, BGRA;
// top row first (a negative height) when `top_down`.
inline void write_bmp32(const std::string& path, const picture& p, bool top_down = false) {
    std::vector<uint8_t> v = {'B', 'M'};
    unsigned data = (unsigned)p.pixels.size() * 4;
    put32(v, 54 + data);
    put32(v, 0);
    put32(v, 54);
    put32(v, 40);
    put32(v, p.width);
    put32(v, top_down ? (unsigned)-p.height : p.height);
    put16(v, 1);
    put16(v, 32);
    for (int i = 0; i < 6; i++) put32(v, i == 1 ? data : 0);
    for (int row = 0; row < p.height; row++)
        for (int x = 0; x < p.width; x++) {
            rgba c = p.at(x, top_down ? row : p.height - 1 - row);
            v.insert(v.end(), {c.b, c.g, c.r, c.a});
        }
    write_bytes(path, v);
}

enum tga_kind { TGA_PALETTE = 1, TGA_TRUE = 2, TGA_GREY = 3 };

// Uncompressed TGA of `bits` per pixel (8 for palette and grey; 16, 24 or 32
// for true colour), rows top first when `top_first`, else bottom first, and
// each row right to left when `right_first`. Grey pixels take the red value;
// palette pixels index one entry per pixel.
inline void write_tga(const std::string& path, const picture& p, tga_kind kind, int bits,
                      bool top_first = true, bool right_first = false) {
    std::vector<uint8_t> v(18, 0);
    v[1] = kind == TGA_PALETTE;
    v[2] = (uint8_t)kind;
    if (kind == TGA_PALETTE) {
        v[5] = (uint8_t)p.pixels.size();
        v[7] = 24;
    }
    v[12] = (uint8_t)(p.width & 0xFF);
    v[13] = (uint8_t)(p.width >> 8);
    v[14] = (uint8_t)(p.height & 0xFF);
    v[15] = (uint8_t)(p.height >> 8);
    v[16] = (uint8_t)bits;
    v[17] = (uint8_t)((top_first ? 0x20 : 0) | (right_first ? 0x10 : 0) | (bits == 32 ? 8 : 0));
    if (kind == TGA_PALETTE)
        for (const rgba& c : p.pixels) v.insert(v.end(), {c.b, c.g, c.r});
    for (int row = 0; row < p.height; row++) {
        int y = top_first ? row : p.height - 1 - row;
        for (int column = 0; column < p.width; column++) {
            int x = right_first ? p.width - 1 - column : column;
            rgba c = p.at(x, y);
            if (kind == TGA_PALETTE) v.push_back((uint8_t)(y * p.width + x));
            else if (kind == TGA_GREY) v.push_back(c.r);
            else if (bits == 16) put16(v, ((c.r >> 3) << 10) | ((c.g >> 3) << 5) | (c.b >> 3));
            else if (bits == 24) v.insert(v.end(), {c.b, c.g, c.r});
            else v.insert(v.end(), {c.b, c.g, c.r, c.a});
        }
    }
    write_bytes(path, v);
}

// Quality 100, through the asset generator's encoder.
inline void write_jpeg(const std::string& path, const picture& p) {
    rgb_image image(p.width, p.height, 3);
    for (int y = 0; y < p.height; y++)
        for (int x = 0; x < p.width; x++) {
            rgba c = p.at(x, y);
            unsigned char* q = image.at(x, y);
            q[0] = c.r, q[1] = c.g, q[2] = c.b;
        }
    asset_write_jpeg(path, image, 100);
}

// Quality 100 in CMYK inks, as print tools write JPEGs: the inks stored
// inverted under the Adobe marker when `adobe`, plainly without it.
inline void write_jpeg_cmyk(const std::string& path, const picture& p, bool adobe) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) throw std::runtime_error("cannot write " + path);
    jpeg_stdio_dest(&cinfo, f);
    cinfo.image_width = static_cast<JDIMENSION>(p.width);
    cinfo.image_height = static_cast<JDIMENSION>(p.height);
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 100, TRUE);
    cinfo.write_Adobe_marker = adobe;
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<unsigned char> row(static_cast<size_t>(p.width) * 4);
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            rgba c = p.at(x, y);
            int most = std::max({c.r, c.g, c.b}), k = 255 - most;
            int ink[4] = {most ? (most - c.r) * 255 / most : 0, most ? (most - c.g) * 255 / most : 0,
                          most ? (most - c.b) * 255 / most : 0, k};
            for (int i = 0; i < 4; ++i) row[static_cast<size_t>(x) * 4 + i] = static_cast<unsigned char>(adobe ? 255 - ink[i] : ink[i]);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    fclose(f);
}

// 8-bit RGB, or RGBA when `alpha`, top row first.
inline void write_png(const std::string& path, const picture& p, bool alpha) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) throw std::runtime_error("cannot write " + path);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, f);
    png_set_IHDR(png, info, p.width, p.height, 8, alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<uint8_t> row;
    for (int y = 0; y < p.height; y++) {
        row.clear();
        for (int x = 0; x < p.width; x++) {
            rgba c = p.at(x, y);
            row.insert(row.end(), {c.r, c.g, c.b});
            if (alpha) row.push_back(c.a);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    fclose(f);
}

// The colour of pixel (x, y) of a record's buffer, read the way GL reads it
// for the record's pixel format (alpha 255 for three-byte formats).
inline rgba texture_pixel(const texture* t, int x, int y) {
    const uint8_t* p = t->pixels + y * texture_row_bytes(t) + x * t->components;
    bool bgr = t->pixel_format == GL_BGR_EXT || t->pixel_format == GL_BGRA_EXT;
    bool alpha = t->pixel_format == GL_RGBA || t->pixel_format == GL_BGRA_EXT;
    return {bgr ? p[2] : p[0], p[1], bgr ? p[0] : p[2], alpha ? p[3] : (uint8_t)255};
}
