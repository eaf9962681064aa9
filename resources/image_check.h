// A look at an image file's header before it is decoded. The decoder sizes
// its surface from the header before it reads a pixel, and some of its
// readers accept a file that ends early, filling the rest with whatever
// they find; so the player checks the formats it takes (BMP, JPEG, TGA, PNG)
// itself: a header that fits in the file, a size it can take, and enough
// data for every pixel (or the end marker, for JPEG). Pictures of a kind it
// does not take (GIF, TIFF, WebP, Photoshop) are named as such. Pure.
#pragma once

#include <cstddef>

enum {
    IMAGE_MAX_SIDE = 8192,  // widest or tallest picture the player takes
};

// Null when `size` bytes of `data` may go to the decoder, else why not (a
// fixed text such as "the TGA data ends before its last pixel"). `tga_hint`
// says whether the file is to be read as TGA, which has no signature; other
// bytes of no known kind are left to the decoder.
const char* image_check(const unsigned char* data, size_t size, bool tga_hint);
// Null when a picture of `width` × `height` pixels can be taken, else why
// not (no pixels, or a side beyond IMAGE_MAX_SIDE).
const char* image_check_sides(long long width, long long height);

// TGA image descriptor bits: rows stored top row first, and each row stored
// right to left.
enum { TGA_TOP_FIRST = 0x20, TGA_RIGHT_FIRST = 0x10, TGA_DESCRIPTOR = 17 };
