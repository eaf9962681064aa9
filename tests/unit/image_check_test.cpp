// The header checks made before an image is decoded: the faults each
// format's check finds.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "resources/image_check.h"
#include "tests/test_support.h"

namespace {

std::string bytes(std::initializer_list<int> values) {
    std::string b;
    for (int v : values) b += static_cast<char>(v);
    return b;
}

const char* check(const std::string& b, bool tga = false) {
    return image_check(reinterpret_cast<const unsigned char*>(b.data()), b.size(), tga);
}

std::string text(const char* fault) { return fault ? fault : "(passes)"; }

// A 2 x 2 BMP of `bits` per pixel with `height` as stored.
std::string bmp(int bits, int height, size_t pixel_bytes) {
    std::string b = bytes({'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0, 0});
    b += bytes({height & 0xFF, (height >> 8) & 0xFF, (height >> 16) & 0xFF, (height >> 24) & 0xFF, 1, 0, bits, 0});
    b += std::string(24, '\0');
    return b + std::string(pixel_bytes, '\x11');
}

std::string tga(int type, int width, int height, int bits, const std::string& data) {
    return bytes({0, 0, type, 0, 0, 0, 0, 0, 0, 0, 0, 0, width & 0xFF, width >> 8, height & 0xFF, height >> 8, bits,
                  0}) +
           data;
}

// SOI, a frame header of `width` x `height`, a scan of `scan` and, if
// `ended`, the end marker.
// A PNG signature and IHDR chunk (8-bit RGB) of the given sides.
std::string png_header(unsigned width, unsigned height) {
    std::string h("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
    for (unsigned side : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8) h += static_cast<char>((side >> shift) & 0xFF);
    return h + std::string("\x08\x02\0\0\0\0\0\0\0", 9);
}

std::string jpeg(int width, int height, const std::string& scan, bool ended) {
    std::string b = bytes({0xFF, 0xD8, 0xFF, 0xE0, 0, 4, 'J', 'F'});
    b += bytes({0xFF, 0xC0, 0, 11, 8, height >> 8, height & 0xFF, width >> 8, width & 0xFF, 1, 1, 0x11, 0});
    b += bytes({0xFF, 0xDA, 0, 8, 1, 1, 0, 0, 63, 0}) + scan;
    return ended ? b + bytes({0xFF, 0xD9}) : b;
}

TEST(ImageCheck, FaultsOfEachFormat) {
    struct row {
        const char* what;
        std::string data;
        bool tga;
        const char* fault;  // null: passes
    };
    const std::string rle_full = bytes({0x83, 1, 2, 3});  // 4 pixels of one colour
    const row rows[] = {
        {"24-bit BMP, rows padded to 8 bytes", bmp(24, 2, 16), false, nullptr},
        {"top-down BMP", bmp(24, -2, 16), false, nullptr},
        {"BMP a byte short", bmp(24, 2, 15), false, "the BMP data ends before its last row"},
        {"BMP header cut", bmp(24, 2, 0).substr(0, 30), false, "the image header is cut short"},
        {"BMP of 0 rows", bmp(24, 0, 0), false, "the image has no pixels"},
        {"BMP of 8193 rows", bmp(24, 8193, 0), false, "the image is larger than 8192 pixels on a side"},
        {"BMP of the lowest height", bmp(24, INT32_MIN, 0), false, "the image is larger than 8192 pixels on a side"},
        {"BMP of 5-bit pixels", bmp(5, 2, 16), false, "the BMP has an unknown pixel depth"},
        {"plain TGA, exact", tga(2, 2, 2, 24, std::string(12, 'x')), true, nullptr},
        {"plain TGA a byte short", tga(2, 2, 2, 24, std::string(11, 'x')), true,
         "the TGA data ends before its last pixel"},
        {"TGA read without the hint", tga(2, 2, 2, 24, ""), false, nullptr},
        {"TGA header cut", tga(2, 2, 2, 24, "").substr(0, 17), true, "the image header is cut short"},
        {"TGA of an unknown type: the decoder's to judge", tga(99, 2, 2, 24, ""), true, nullptr},
        {"run-length TGA, whole", tga(10, 2, 2, 24, rle_full), true, nullptr},
        {"run-length TGA, raw packet cut", tga(10, 2, 2, 24, bytes({0x03, 1, 2, 3, 4, 5})), true,
         "the TGA data ends before its last pixel"},
        {"run-length TGA, packets run out", tga(10, 4, 2, 24, rle_full), true,
         "the TGA data ends before its last pixel"},
        {"TGA of 16-bit pixels", tga(2, 1, 1, 16, "ab"), true, nullptr},
        {"TGA of 12-bit pixels", tga(2, 1, 1, 12, "ab"), true, "the TGA has an unknown pixel depth"},
        {"TGA of 0 columns", tga(2, 0, 1, 24, ""), true, "the image has no pixels"},
        {"JPEG, whole", jpeg(16, 16, std::string("\x12\xFF\x00\x34\xFF\xD3\x56", 7), true), false, nullptr},
        {"JPEG cut in its scan", jpeg(16, 16, std::string("\x12\xFF\x00\x34", 4), false), false,
         "the JPEG data ends before its end marker"},
        {"JPEG whose stuffed bytes look like an end", jpeg(16, 16, std::string("\xFF\x00\xD9", 3), false), false,
         "the JPEG data ends before its end marker"},
        {"JPEG of 9000 columns", jpeg(9000, 16, "", true), false, "the image is larger than 8192 pixels on a side"},
        {"JPEG of 0 rows", jpeg(16, 0, "", true), false, "the image has no pixels"},
        {"JPEG without a frame header", bytes({0xFF, 0xD8, 0xFF, 0xD9}), false, "the JPEG has no frame header"},
        {"JPEG segment running past the end", bytes({0xFF, 0xD8, 0xFF, 0xE0, 0x40, 0}), false,
         "the JPEG data ends before its end marker"},
        {"GIF, named as a kind not taken", "GIF89a....", false, "the file is a GIF picture; use JPEG, PNG, BMP or TGA"},
        {"PNG header", png_header(4, 3), false, nullptr},
        {"PNG of 0 rows", png_header(4, 0), false, "the image has no pixels"},
        {"PNG of 9000 columns", png_header(9000, 1), false, "the image is larger than 8192 pixels on a side"},
        {"PNG cut in its header", png_header(4, 3).substr(0, 20), false, "the image header is cut short"},
        {"unknown bytes: the decoder's to judge", "P6 1 1 255\n...", false, nullptr},
        {"nothing", "", false, nullptr},
    };
    for (const row& r : rows) EXPECT_EQ(text(check(r.data, r.tga)), text(r.fault)) << r.what;
}

}  // namespace
