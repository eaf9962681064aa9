// Fuzz target for the image path: bytes decoded by SDL_image as the texture
// table does (with the TGA hint, so every format the player reads is
// reachable) after the header checks, then converted into a record's
// buffer. A result must be a
// record of sane size whose every buffer byte is readable, or a message
// naming the file; never a read outside the surface or the buffer.
#include <cstdlib>

#include "fuzz/fuzz_support.h"
#include "resources/image_convert.h"
#include "resources/texture.h"
#include "resources/texture_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    fuzz_catch_fatal();
    // The kind only picks the pixel format; let the input's length vary it.
    static const int kinds[] = {IMAGE_BMP, IMAGE_JPEG, IMAGE_TGA, IMAGE_PNG};
    int kind = kinds[size % 4];
    texture t = {};
    try {
        texture_decode(&t, data, size, "TGA", kind, "fuzz.img");
    } catch (const fuzz_fatal& error) {
        fuzz_expect_named(error, "texture fuzz.img");
        free(t.pixels);
        return 0;
    }
    if (t.width <= 0 || t.height <= 0 || (t.components != 3 && t.components != 4) || !t.pixels) abort();
    size_t bytes = static_cast<size_t>(image_row_bytes(t.width, t.components)) * t.height;
    unsigned sum = 0;
    for (size_t i = 0; i < bytes; i += 61) sum += t.pixels[i];
    sum += t.pixels[bytes - 1];
    free(t.pixels);
    return sum == 0x7fffffff;  // keeps the reads; never true
}
