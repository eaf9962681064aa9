// Header checks of BMP, JPEG, TGA and PNG files: see image_check.h.
#include "resources/image_check.h"

#include <cstdint>
#include <cstring>

namespace {

const char* const CUT_HEADER = "the image header is cut short";
const char* const NO_PIXELS = "the image has no pixels";
const char* const TOO_LARGE = "the image is larger than 8192 pixels on a side";

uint32_t le16(const unsigned char* p) { return p[0] | (p[1] << 8); }
uint32_t le32(const unsigned char* p) { return le16(p) | (le16(p + 2) << 16); }
uint32_t be16(const unsigned char* p) { return (p[0] << 8) | p[1]; }
uint32_t be32(const unsigned char* p) { return (be16(p) << 16) | be16(p + 2); }

bool starts_with(const unsigned char* d, size_t size, const char* magic, size_t length) {
    return size >= length && std::memcmp(d, magic, length) == 0;
}

// The header: signature, then the IHDR chunk (length 13) with the sides.
const char* check_png(const unsigned char* d, size_t size) {
    if (size < 33 || std::memcmp(d + 12, "IHDR", 4) != 0) return CUT_HEADER;
    return image_check_sides(be32(d + 16), be32(d + 20));
}

// The name of a picture format the player does not take, from the file's
// signature, or null.
const char* unsupported_kind(const unsigned char* d, size_t size) {
    if (starts_with(d, size, "GIF8", 4)) return "the file is a GIF picture; use JPEG, PNG, BMP or TGA";
    if (starts_with(d, size, "II*\0", 4) || starts_with(d, size, "MM\0*", 4))
        return "the file is a TIFF picture; use JPEG, PNG, BMP or TGA";
    if (starts_with(d, size, "RIFF", 4) && size >= 12 && std::memcmp(d + 8, "WEBP", 4) == 0)
        return "the file is a WebP picture; use JPEG, PNG, BMP or TGA";
    if (starts_with(d, size, "8BPS", 4)) return "the file is a Photoshop picture; use JPEG, PNG, BMP or TGA";
    return nullptr;
}

const char* check_bmp(const unsigned char* d, size_t size) {
    if (size < 18) return CUT_HEADER;
    uint32_t info = le32(d + 14);
    if (info < 12 || 14 + static_cast<uint64_t>(info) > size) return CUT_HEADER;
    int64_t width, height;
    uint32_t bits, compression = 0;
    if (info == 12) {  // the old core header: 16-bit sides
        width = le16(d + 18);
        height = le16(d + 20);
        bits = le16(d + 24);
    } else {
        if (info < 40) return CUT_HEADER;
        width = static_cast<int32_t>(le32(d + 18));
        height = static_cast<int32_t>(le32(d + 22));
        if (height < 0) height = -height;  // stored top row first
        bits = le16(d + 28);
        compression = le32(d + 30);
    }
    if (const char* fault = image_check_sides(width, height)) return fault;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return "the BMP has an unknown pixel depth";
    // Plain and bit-field rows have a fixed size; run-length ones do not.
    if (compression == 0 || compression == 3) {
        uint64_t row = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
        if (le32(d + 10) + row * static_cast<uint64_t>(height) > size) return "the BMP data ends before its last row";
    }
    return nullptr;
}

bool is_sof(unsigned marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

const char* check_jpeg(const unsigned char* d, size_t size) {
    size_t p = 2;
    bool sized = false;
    for (;;) {
        while (p < size && d[p] != 0xFF) ++p;  // junk between segments: the decoder's to judge
        while (p < size && d[p] == 0xFF) ++p;
        if (p >= size) return "the JPEG data ends before its end marker";
        unsigned marker = d[p++];
        if (marker == 0xD9) return sized ? nullptr : "the JPEG has no frame header";
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) continue;  // no length
        if (p + 2 > size) return "the JPEG data ends before its end marker";
        size_t length = be16(d + p);
        if (length < 2 || p + length > size) return "the JPEG data ends before its end marker";
        if (is_sof(marker)) {
            if (length < 7) return CUT_HEADER;
            if (const char* fault = image_check_sides(be16(d + p + 5), be16(d + p + 3))) return fault;
            sized = true;
        }
        p += length;
        if (marker == 0xDA) {
            // Entropy-coded data: a 0xFF there is always followed by 0 or a
            // restart marker, so the next other marker ends the scan.
            for (;; ++p) {
                if (p + 1 >= size) return "the JPEG data ends before its end marker";
                if (d[p] == 0xFF && d[p + 1] != 0 && !(d[p + 1] >= 0xD0 && d[p + 1] <= 0xD7)) break;
            }
        }
    }
}

const char* check_tga(const unsigned char* d, size_t size) {
    if (size < 18) return CUT_HEADER;
    unsigned type = d[2];
    bool rle = type >= 9;
    if (type != 1 && type != 2 && type != 3 && type != 9 && type != 10 && type != 11) return nullptr;
    if (const char* fault = image_check_sides(le16(d + 12), le16(d + 14))) return fault;
    unsigned bits = d[16];
    if (bits != 8 && bits != 15 && bits != 16 && bits != 24 && bits != 32) return "the TGA has an unknown pixel depth";
    uint64_t pixel = (bits + 7) / 8;
    uint64_t palette = d[1] ? static_cast<uint64_t>(le16(d + 5)) * ((d[7] + 7) / 8) : 0;
    uint64_t p = 18 + static_cast<uint64_t>(d[0]) + palette;
    uint64_t pixels = static_cast<uint64_t>(le16(d + 12)) * le16(d + 14);
    if (!rle) return p + pixels * pixel > size ? "the TGA data ends before its last pixel" : nullptr;
    for (uint64_t done = 0; done < pixels;) {
        if (p >= size) return "the TGA data ends before its last pixel";
        unsigned packet = d[p++];
        uint64_t count = (packet & 0x7F) + 1;
        p += (packet & 0x80) ? pixel : count * pixel;
        done += count;
    }
    return p > size ? "the TGA data ends before its last pixel" : nullptr;
}

}  // namespace

const char* image_check_sides(long long width, long long height) {
    if (width <= 0 || height <= 0) return NO_PIXELS;
    if (width > IMAGE_MAX_SIDE || height > IMAGE_MAX_SIDE) return TOO_LARGE;
    return nullptr;
}

const char* image_check(const unsigned char* data, size_t size, bool tga_hint) {
    if (size >= 2 && data[0] == 'B' && data[1] == 'M') return check_bmp(data, size);
    if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) return check_jpeg(data, size);
    if (starts_with(data, size, "\x89PNG\r\n\x1a\n", 8)) return check_png(data, size);
    if (const char* kind = unsupported_kind(data, size)) return kind;
    if (tga_hint) return check_tga(data, size);
    return nullptr;
}
