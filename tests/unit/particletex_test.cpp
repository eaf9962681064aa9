// The picture-particle type reads each pixel's colour from the picture as
// it is stored: row padding, BGR and BGRA orders, grey pictures.
#include <gtest/gtest.h>

#include <vector>

#include "effects/particletex.h"
#include "resources/texture.h"

namespace {

// A picture record built by hand: `bytes` holds the rows without padding,
// copied into a padded buffer the way the loader stores them.
struct hand_picture {
    texture record = {};
    std::vector<unsigned char> buffer;
    hand_picture(int width, int height, int components, GLenum format,
                 const std::vector<unsigned char>& bytes) {
        record.width = width;
        record.height = height;
        record.components = components;
        record.pixel_format = format;
        int row = texture_row_bytes(&record);
        buffer.assign(static_cast<size_t>(row) * height, 0xEE);  // padding is junk
        for (int y = 0; y < height; ++y)
            for (int i = 0; i < width * components; ++i)
                buffer[y * row + i] = bytes[(y * width) * components + i];
        record.pixels = buffer.data();
    }
};

TEST(particletex, pixel_colour_follows_the_stored_layout) {
    // Pixel (2, 1) of a 3 x 2 picture is (200, 100, 50); rows of 3-byte
    // pixels are padded, so a reader that ignores padding gets it wrong.
    struct layout_case {
        const char* name;
        int components;
        GLenum format;
        std::vector<unsigned char> row1_pixel2;  // the stored bytes of (2, 1)
        float want[3];
    };
    const layout_case cases[] = {
        {"rgb", 3, GL_RGB, {200, 100, 50}, {200, 100, 50}},
        {"bgr", 3, GL_BGR_EXT, {50, 100, 200}, {200, 100, 50}},
        {"rgba", 4, GL_RGBA, {200, 100, 50, 7}, {200, 100, 50}},
        {"bgra", 4, GL_BGRA_EXT, {50, 100, 200, 7}, {200, 100, 50}},
        {"grey", 1, GL_RGB, {90}, {90, 90, 90}},
    };
    for (const layout_case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<unsigned char> bytes(3 * 2 * c.components, 1);
        for (int i = 0; i < c.components; ++i) bytes[(1 * 3 + 2) * c.components + i] = c.row1_pixel2[i];
        hand_picture p(3, 2, c.components, c.format, bytes);
        float rgb[3];
        particletex_pixel_colour(&p.record, 2, 1, rgb);
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(rgb[i], c.want[i] / 255.0f, 1e-6) << i;
        particletex_pixel_colour(&p.record, 0, 0, rgb);
        EXPECT_NEAR(rgb[0], 1 / 255.0f, 1e-6);
    }
}

}  // namespace
