// Texture table without a window: decoding files of every supported layout
// into records with the right pixel format and colours, the pixel
// conversions themselves, and a full table.
#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>

#include "resources/image_convert.h"
#include "resources/texture.h"
#include "tests/image_writers.h"
#include "tests/test_support.h"

// ---------------------------------------------------------------------------
// Pixel conversions
// ---------------------------------------------------------------------------

TEST(ImageConvert, ChannelFieldsStretchToFullRange) {
    struct row { uint32_t pixel, mask; int absent, want; } rows[] = {
        {0x7c00, 0x7c00, 0, 255},      // full 5-bit field
        {0x4000, 0x7c00, 0, 132},      // 16 of 31
        {0x0000, 0x7c00, 0, 0},
        {0x8000, 0x8000, 0, 255},      // 1-bit alpha
        {0x12345678, 0x00ff0000, 0, 0x34},
        {0x12345678, 0, 255, 255},     // no field: the default
        {0x0fff, 0x0fc0, 0, 255},      // 6 bits
    };
    for (const row& r : rows)
        EXPECT_EQ(image_channel(r.pixel, r.mask, r.absent), r.want) << std::hex << r.mask;
}

TEST(ImageConvert, SixteenBitsToBgrWithPaddedRows) {
    // RGB565: red, white / green, black; the source rows are 6 bytes apart.
    image_layout in = {2, nullptr, 0, {0xf800, 0x07e0, 0x001f, 0}, 0, 0};
    EXPECT_EQ(image_expanded_components(&in), 3);
    const uint8_t src[] = {0x00, 0xf8, 0xff, 0xff, 0xaa, 0xaa, 0xe0, 0x07, 0x00, 0x00};
    uint8_t dst[16];
    memset(dst, 0xee, sizeof dst);
    image_convert(src, 6, 2, 2, &in, IMAGE_ORDER_BGR, 3, dst);
    const uint8_t want[16] = {0, 0, 255, 255, 255, 255, 0, 0, 0, 255, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(0, memcmp(dst, want, sizeof want));
}

// ---------------------------------------------------------------------------
// Loading files
// ---------------------------------------------------------------------------

struct file_case {
    const char* file;
    void (*write)(const std::string&, const picture&);
    int components;
    GLenum format;
    bool has_alpha;   // the file's alpha reaches the buffer
    bool grey;        // only the red value was written
    int tolerance;
};

TEST(TextureLoad, EveryLayoutGivesRightFormatAndColours) {
    const file_case cases[] = {
        {"p8.bmp", [](auto& p, auto& q) { write_bmp8(p, q); }, 3, GL_RGB, false, false, 0},
        {"rgb.BMP", [](auto& p, auto& q) { write_bmp24(p, q); }, 3, GL_BGR_EXT, false, false, 0},
        {"rgba.bmp", [](auto& p, auto& q) { write_bmp32(p, q); }, 4, GL_BGRA_EXT, true, false, 0},
        {"grey.tga", [](auto& p, auto& q) { write_tga(p, q, TGA_GREY, 8); }, 3, GL_RGB, false, true, 0},
        {"pal.tga", [](auto& p, auto& q) { write_tga(p, q, TGA_PALETTE, 8); }, 3, GL_RGB, false, false, 0},
        {"rgb16.tga", [](auto& p, auto& q) { write_tga(p, q, TGA_TRUE, 16); }, 3, GL_RGB, false, false, 8},
        {"rgb.tga", [](auto& p, auto& q) { write_tga(p, q, TGA_TRUE, 24); }, 3, GL_BGR_EXT, false, false, 0},
        {"bottom.TGA", [](auto& p, auto& q) { write_tga(p, q, TGA_TRUE, 24, false); }, 3, GL_BGR_EXT, false, false, 0},
        {"rgba.tga", [](auto& p, auto& q) { write_tga(p, q, TGA_TRUE, 32); }, 4, GL_RGBA, true, false, 0},
    };
    temp_dir dir;
    picture pic = test_picture();
    for (const file_case& c : cases) {
        SCOPED_TRACE(c.file);
        std::string path = dir.file(c.file);
        c.write(path, pic);
        int before = texture_count;
        int index = texture_load(path.c_str());
        ASSERT_EQ(index, before);
        const texture* t = texture_table[index];
        EXPECT_STREQ(t->name, path.c_str());
        EXPECT_EQ(t->width, 3);
        EXPECT_EQ(t->height, 2);
        EXPECT_EQ(t->components, c.components);
        EXPECT_EQ(t->pixel_format, c.format);
        for (int y = 0; y < 2; y++)
            for (int x = 0; x < 3; x++) {
                rgba want = pic.at(x, y);
                if (c.grey) want.g = want.b = want.r;
                if (!c.has_alpha) want.a = 255;
                rgba got = texture_pixel(t, x, y);
                EXPECT_NEAR(got.r, want.r, c.tolerance) << x << "," << y;
                EXPECT_NEAR(got.g, want.g, c.tolerance) << x << "," << y;
                EXPECT_NEAR(got.b, want.b, c.tolerance) << x << "," << y;
                EXPECT_EQ(got.a, want.a) << x << "," << y;
            }
    }
}

// CMYK JPEGs, inks stored plainly or inverted under the Adobe marker, come
// out as the RGB JPEG of the same picture does.
TEST(TextureLoad, CmykJpegsMatchTheRgbJpegOfTheSamePicture) {
    temp_dir dir;
    picture pic = quadrant_picture(32, 32);
    pic.pixels[0] = {128, 64, 32, 255};  // a colour with all three inks and black
    write_jpeg(dir.file("rgb.jpg"), pic);
    write_jpeg_cmyk(dir.file("plain.jpg"), pic, false);
    write_jpeg_cmyk(dir.file("adobe.jpg"), pic, true);
    const texture* rgb = texture_table[texture_load(dir.file("rgb.jpg").c_str())];
    for (const char* name : {"plain.jpg", "adobe.jpg"}) {
        SCOPED_TRACE(name);
        const texture* t = texture_table[texture_load(dir.file(name).c_str())];
        ASSERT_EQ(t->width, 32);
        ASSERT_EQ(t->height, 32);
        for (auto [x, y] : {std::pair<int, int>{8, 8}, {24, 8}, {8, 24}, {24, 24}, {31, 31}}) {
            rgba want = texture_pixel(rgb, x, y), got = texture_pixel(t, x, y);
            EXPECT_NEAR(got.r, want.r, 6) << x << "," << y;
            EXPECT_NEAR(got.g, want.g, 6) << x << "," << y;
            EXPECT_NEAR(got.b, want.b, 6) << x << "," << y;
        }
    }
}

// ---------------------------------------------------------------------------
// Errors
// ---------------------------------------------------------------------------

// Fills the table in a child process, so the other tests keep their slots.
static void fill_table_then(const std::string& path) {
    catch_fatal guard;
    while (texture_count < TEXTURE_MAX) texture_create_empty(1, 1, GL_RGB, 3);
    try {
        if (path.empty()) {
            texture_create_empty(8, 8, GL_RGB, 3);
        } else {
            texture_load(path.c_str());
        }
    } catch (const fatal_exception& e) {
        fprintf(stderr, "%s (count %d)\n", e.what(), texture_count);
        exit(3);
    }
    exit(0);
}

TEST(TextureErrors, TableFullIsFatal) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    temp_dir dir;
    std::string path = dir.file("one-too-many.bmp");
    write_bmp24(path, test_picture());
    EXPECT_EXIT(fill_table_then(path), testing::ExitedWithCode(3),
                "Texture table full \\(1024 textures\\) loading .*one-too-many\\.bmp "
                "\\(count 1024\\)");
    EXPECT_EXIT(fill_table_then(""), testing::ExitedWithCode(3),
                "Texture table full \\(1024 textures\\) creating an empty 8x8 texture");
}
