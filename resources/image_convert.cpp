// Pixel conversions for the texture table: palette and 16-bit images
// expanded to RGB or RGBA bytes, channel orders swapped, rows repacked to the
// 4-byte alignment GL reads. See image_convert.h.
#include "resources/image_convert.h"

#include <cstring>

// ---------------------------------------------------------------------------
// Single pixels
// ---------------------------------------------------------------------------

int image_row_bytes(int width, int components) {
    return (width * components + 3) & ~3;
}

int image_channel(uint32_t pixel, uint32_t mask, int absent) {
    if (mask == 0) return absent;
    int shift = __builtin_ctz(mask);
    uint32_t field = mask >> shift;
    uint32_t value = (pixel & mask) >> shift;
    int bits = 32 - __builtin_clz(field);
    if (bits >= 8) return (int)(value >> (bits - 8));
    // Stretch a short field so that its maximum maps to 255, not 248.
    uint32_t max = field;
    return (int)((value * 255 + max / 2) / max);
}

void image_order_masks(image_order order, int components, uint32_t masks[4]) {
    bool rgb = order == IMAGE_ORDER_RGB;
    masks[0] = rgb ? 0x0000ffu : 0xff0000u;
    masks[1] = 0x00ff00u;
    masks[2] = rgb ? 0xff0000u : 0x0000ffu;
    masks[3] = components == 4 ? 0xff000000u : 0u;
}

int image_layout_matches(const image_layout* in, image_order order, int components) {
    if (in->palette || in->has_key || in->bytes_per_pixel != components) return 0;
    uint32_t want[4];
    image_order_masks(order, components, want);
    for (int c = 0; c < 3; c++)
        if (in->masks[c] != want[c]) return 0;
    // A 4-byte pixel whose fourth byte is unused is copied as it stands.
    return components == 3 || in->masks[3] == want[3] || in->masks[3] == 0;
}

int image_expanded_components(const image_layout* in) {
    if (in->has_key) return 4;
    if (!in->palette && in->masks[3] != 0) return 4;
    return 3;
}

static uint32_t read_pixel(const uint8_t* p, int bytes) {
    uint32_t value = 0;
    for (int i = 0; i < bytes; i++) value |= (uint32_t)p[i] << (8 * i);
    return value;
}

// Red, green, blue and alpha of one source pixel value.
static void decode_pixel(const image_layout* in, uint32_t pixel, uint8_t rgba[4]) {
    if (in->palette) {
        if (pixel < (uint32_t)in->palette_size) {
            memcpy(rgba, in->palette + 3 * pixel, 3);
        } else {
            rgba[0] = rgba[1] = rgba[2] = 0;
        }
        rgba[3] = 255;
    } else {
        for (int c = 0; c < 4; c++)
            rgba[c] = (uint8_t)image_channel(pixel, in->masks[c], c == 3 ? 255 : 0);
    }
    if (in->has_key && pixel == in->key) rgba[3] = 0;
}

// ---------------------------------------------------------------------------
// Whole images
// ---------------------------------------------------------------------------

static void convert_row(const uint8_t* src, int width, const image_layout* in,
                        image_order order, int components, uint8_t* dst) {
    int bytes = in->bytes_per_pixel;
    for (int x = 0; x < width; x++) {
        uint8_t rgba[4];
        decode_pixel(in, read_pixel(src + x * bytes, bytes), rgba);
        uint8_t* out = dst + x * components;
        out[0] = order == IMAGE_ORDER_RGB ? rgba[0] : rgba[2];
        out[1] = rgba[1];
        out[2] = order == IMAGE_ORDER_RGB ? rgba[2] : rgba[0];
        if (components == 4) out[3] = rgba[3];
    }
}

void image_convert(const uint8_t* src, int src_pitch, int width, int height,
                   const image_layout* in, image_order order, int components, uint8_t* dst) {
    int row_bytes = image_row_bytes(width, components);
    bool copy = image_layout_matches(in, order, components);
    for (int y = 0; y < height; y++) {
        const uint8_t* from = src + (long)y * src_pitch;
        uint8_t* to = dst + (long)y * row_bytes;
        // Padding bytes are zeroed so the buffer's content is deterministic.
        memset(to + width * components, 0, row_bytes - width * components);
        if (copy) {
            memcpy(to, from, (size_t)width * components);
        } else {
            convert_row(from, width, in, order, components, to);
        }
    }
}
