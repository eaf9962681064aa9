// Pixel conversions between a decoded image's own layout and the byte
// layouts the texture table hands to GL. Pure functions over byte buffers:
// no SDL, no GL, so they are tested without a window or a decoder.
#pragma once

#include <cstdint>

// Byte order of a 3- or 4-byte pixel in a texture buffer.
enum image_order {
    IMAGE_ORDER_RGB,   // red in the first byte (GL_RGB, GL_RGBA)
    IMAGE_ORDER_BGR,   // blue in the first byte (GL_BGR_EXT, GL_BGRA_EXT)
};

// How one pixel of a source image is stored: 1 to 4 bytes read as a
// little-endian number, then either an index into a palette or red, green,
// blue and alpha bit fields picked out by masks (a zero alpha mask means
// opaque). A colour key, when set, marks the pixel value that is transparent.
struct image_layout {
    int bytes_per_pixel;
    const uint8_t* palette;   // rgb triplets, or null for bit fields
    int palette_size;
    uint32_t masks[4];        // red, green, blue, alpha
    int has_key;
    uint32_t key;
};

// Bytes in one buffer row of `width` pixels of `components` bytes: rows are
// padded to a multiple of 4 bytes, matching GL's default unpack alignment.
int image_row_bytes(int width, int components);

// The 8-bit value of the bit field `mask` in `pixel`, stretched so that a
// full field gives 255 (a zero mask gives `absent`).
int image_channel(uint32_t pixel, uint32_t mask, int absent);

// The masks of a 3- or 4-byte pixel stored in `order` (alpha 0 for 3 bytes).
void image_order_masks(image_order order, int components, uint32_t masks[4]);

// Whether `in` is stored exactly as `components` bytes in `order`, so its
// rows can be copied unchanged (an unused fourth byte counts as alpha).
int image_layout_matches(const image_layout* in, image_order order, int components);

// Components a 1- or 2-byte image needs once expanded: 4 when some pixel can
// be transparent (an alpha field or a colour key), else 3.
int image_expanded_components(const image_layout* in);

// Converts `height` rows of `width` source pixels (`src_pitch` bytes apart)
// into `dst`, rows of image_row_bytes(width, components) bytes in `order`.
// Alpha comes from the alpha field or the colour key, else 255. Copies rows
// unchanged when the layouts already match.
void image_convert(const uint8_t* src, int src_pitch, int width, int height,
                   const image_layout* in, image_order order, int components, uint8_t* dst);
