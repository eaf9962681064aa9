// File output for the asset generator.
#include "assetlib/asset_io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <jpeglib.h>

#include "core/fatal.h"

unsigned char asset_byte(float v) {
    float clamped = v < 0 ? 0 : (v > 1 ? 1 : v);
    return static_cast<unsigned char>(clamped * 255.0f + 0.5f);
}

void asset_put(rgb_image& image, int x, int y, float r, float g, float b) {
    unsigned char* p = image.at(x, y);
    p[0] = asset_byte(r);
    p[1] = asset_byte(g);
    p[2] = asset_byte(b);
}

void asset_make_parent(const std::string& path) {
    std::filesystem::path parent = std::filesystem::path(path).parent_path();
    std::error_code error;
    if (!parent.empty() && !std::filesystem::create_directories(parent, error) && error)
        fatal_error("%s cannot be made: %s", parent.c_str(), error.message().c_str());
}

void asset_write(const std::string& path, const std::vector<unsigned char>& bytes) {
    {
        std::ifstream in(path, std::ios::binary);
        if (in) {
            std::vector<unsigned char> old((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            if (old == bytes) return;
        }
    }
    asset_make_parent(path);
    errno = 0;
    FILE* out = std::fopen(path.c_str(), "wb");
    bool written = out && std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size() && std::fflush(out) == 0;
    int error = errno ? errno : EIO;
    if (out && std::fclose(out) != 0 && written) {
        written = false;
        error = errno;
    }
    if (!written) fatal_error("%s cannot be written: %s", path.c_str(), std::strerror(error));
}

std::vector<unsigned char> asset_encode_jpeg(const rgb_image& image, int quality) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(image.width);
    cinfo.image_height = static_cast<JDIMENSION>(image.height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<unsigned char> row(size_t(image.width) * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        const unsigned char* src = &image.pixels[size_t(cinfo.next_scanline) * image.width * image.channels];
        for (int x = 0; x < image.width; ++x)
            for (int c = 0; c < 3; ++c) row[size_t(x) * 3 + c] = src[size_t(x) * image.channels + c];
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::vector<unsigned char> bytes(buffer, buffer + size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return bytes;
}

// Uncompressed true-colour TGA, stored top row first (descriptor bit 5), so
// the decoder hands the rows back in the order they were written.
std::vector<unsigned char> asset_encode_tga(const rgb_image& image) {
    std::vector<unsigned char> bytes(18, 0);
    bytes[2] = 2;
    bytes[12] = static_cast<unsigned char>(image.width & 0xff);
    bytes[13] = static_cast<unsigned char>(image.width >> 8);
    bytes[14] = static_cast<unsigned char>(image.height & 0xff);
    bytes[15] = static_cast<unsigned char>(image.height >> 8);
    bytes[16] = static_cast<unsigned char>(image.channels * 8);
    bytes[17] = static_cast<unsigned char>(0x20 | (image.channels == 4 ? 8 : 0));
    for (size_t i = 0; i < image.pixels.size(); i += image.channels) {
        bytes.push_back(image.pixels[i + 2]);
        bytes.push_back(image.pixels[i + 1]);
        bytes.push_back(image.pixels[i]);
        if (image.channels == 4) bytes.push_back(image.pixels[i + 3]);
    }
    return bytes;
}

void asset_write_jpeg(const std::string& path, const rgb_image& image, int quality) {
    asset_write(path, asset_encode_jpeg(image, quality));
}

void asset_write_tga(const std::string& path, const rgb_image& image) {
    asset_write(path, asset_encode_tga(image));
}
