// Texture table without a window: kinds by name, decoding files of every
// supported layout into records with the right pixel format and colours,
// the pixel conversions themselves, and the error paths.
#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "resources/image_convert.h"
#include "resources/texture.h"
#include "tests/image_writers.h"
#include "tests/test_support.h"

// ---------------------------------------------------------------------------
// Kind by name
// ---------------------------------------------------------------------------

TEST(TextureKind, SubstringsInOrder) {
    struct row { const char* name; int kind; } rows[] = {
        {"a.bmp", IMAGE_BMP}, {"a.BMP", IMAGE_BMP}, {"a.jpg", IMAGE_JPEG},
        {"a.JPG", IMAGE_JPEG}, {"a.tga", IMAGE_TGA}, {"data/fonts/font.TGA", IMAGE_TGA},
        {"a.Jpg", 0}, {"a.png", IMAGE_PNG}, {"a.gif", 0}, {"bmp", 0}, {"", 0},
        // ".bmp" is looked for before ".jpg", ".jpg" before ".tga".
        {"a.bmp.jpg", IMAGE_BMP}, {"a.tga.jpg", IMAGE_JPEG}, {"a.TGA.BMP", IMAGE_BMP},
        // Anywhere in the name, not only at its end.
        {"x.bmpfile", IMAGE_BMP}, {"dir.jpg/picture", IMAGE_JPEG},
    };
    for (const row& r : rows) EXPECT_EQ(texture_kind_from_name(r.name), r.kind) << r.name;
}

TEST(TextureKind, UnknownExtensionTakesNoSlot) {
    int before = texture_count;
    EXPECT_EQ(texture_load("data/picture.Jpg"), -1);
    EXPECT_EQ(texture_load("data/picture.gif"), -1);
    EXPECT_EQ(texture_count, before);
}

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

TEST(ImageConvert, RowBytesPadToFour) {
    struct row { int width, components, want; } rows[] = {
        {3, 3, 12}, {4, 3, 12}, {1, 3, 4}, {5, 4, 20}, {3, 1, 4}, {0, 3, 0},
    };
    for (const row& r : rows) EXPECT_EQ(image_row_bytes(r.width, r.components), r.want);
}

TEST(ImageConvert, PaletteWithKeyExpandsToRgba) {
    const uint8_t palette[] = {10, 20, 30, 40, 50, 60};
    image_layout in = {1, palette, 2, {0, 0, 0, 0}, 1, 1};
    EXPECT_EQ(image_expanded_components(&in), 4);
    // Two rows of three indices, 8 bytes apart; index 7 is past the palette.
    const uint8_t src[] = {0, 1, 7, 99, 99, 99, 99, 99, 1, 0, 0};
    uint8_t dst[24];
    memset(dst, 0xee, sizeof dst);
    image_convert(src, 8, 3, 2, &in, IMAGE_ORDER_RGB, 4, dst);
    const uint8_t want[24] = {10, 20, 30, 255, 40, 50, 60, 0, 0, 0, 0, 255,
                              40, 50, 60, 0, 10, 20, 30, 255, 10, 20, 30, 255};
    EXPECT_EQ(0, memcmp(dst, want, sizeof want));
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

TEST(ImageConvert, MatchingLayoutsCopyAndOthersSwap) {
    // A BGRA source (blue in the lowest byte) with an alpha field.
    image_layout bgra = {4, nullptr, 0, {0xff0000, 0xff00, 0xff, 0xff000000u}, 0, 0};
    EXPECT_TRUE(image_layout_matches(&bgra, IMAGE_ORDER_BGR, 4));
    EXPECT_FALSE(image_layout_matches(&bgra, IMAGE_ORDER_RGB, 4));
    const uint8_t src[] = {1, 2, 3, 4};
    uint8_t dst[4];
    image_convert(src, 4, 1, 1, &bgra, IMAGE_ORDER_RGB, 4, dst);
    const uint8_t swapped[] = {3, 2, 1, 4};
    EXPECT_EQ(0, memcmp(dst, swapped, 4));
    // Without an alpha field the fourth byte is carried over as it stands.
    image_layout bgrx = bgra;
    bgrx.masks[3] = 0;
    image_convert(src, 4, 1, 1, &bgrx, IMAGE_ORDER_BGR, 4, dst);
    EXPECT_EQ(0, memcmp(dst, src, 4));
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

static void bmp8(const std::string& p, const picture& pic) { write_bmp8(p, pic); }
static void bmp24(const std::string& p, const picture& pic) { write_bmp24(p, pic); }
static void bmp32(const std::string& p, const picture& pic) { write_bmp32(p, pic); }
static void tga_grey(const std::string& p, const picture& pic) { write_tga(p, pic, TGA_GREY, 8); }
static void tga_pal(const std::string& p, const picture& pic) { write_tga(p, pic, TGA_PALETTE, 8); }
static void tga16(const std::string& p, const picture& pic) { write_tga(p, pic, TGA_TRUE, 16); }
static void tga24(const std::string& p, const picture& pic) { write_tga(p, pic, TGA_TRUE, 24); }
static void tga24_bottom(const std::string& p, const picture& pic) {
    write_tga(p, pic, TGA_TRUE, 24, false);
}
static void tga32(const std::string& p, const picture& pic) { write_tga(p, pic, TGA_TRUE, 32); }

TEST(TextureLoad, EveryLayoutGivesRightFormatAndColours) {
    const file_case cases[] = {
        {"p8.bmp", bmp8, 3, GL_RGB, false, false, 0},
        {"rgb.BMP", bmp24, 3, GL_BGR_EXT, false, false, 0},
        {"rgba.bmp", bmp32, 4, GL_BGRA_EXT, true, false, 0},
        {"grey.tga", tga_grey, 3, GL_RGB, false, true, 0},
        {"pal.tga", tga_pal, 3, GL_RGB, false, false, 0},
        {"rgb16.tga", tga16, 3, GL_RGB, false, false, 8},
        {"rgb.tga", tga24, 3, GL_BGR_EXT, false, false, 0},
        {"bottom.TGA", tga24_bottom, 3, GL_BGR_EXT, false, false, 0},
        {"rgba.tga", tga32, 4, GL_RGBA, true, false, 0},
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

TEST(TextureLoad, JpegIsRgb) {
    temp_dir dir;
    picture pic = quadrant_picture(16, 16);
    std::string path = dir.file("q.JPG");
    write_jpeg(path, pic);
    const texture* t = texture_table[texture_load(path.c_str())];
    EXPECT_EQ(t->components, 3);
    EXPECT_EQ(t->pixel_format, (GLenum)GL_RGB);
    EXPECT_EQ(t->width, 16);
    // Quadrant centres, away from the lossy edges.
    const int spots[][2] = {{4, 4}, {12, 4}, {4, 12}, {12, 12}};
    for (const auto& s : spots) {
        rgba want = pic.at(s[0], s[1]), got = texture_pixel(t, s[0], s[1]);
        EXPECT_NEAR(got.r, want.r, 8);
        EXPECT_NEAR(got.g, want.g, 8);
        EXPECT_NEAR(got.b, want.b, 8);
    }
}

TEST(TextureLoad, NewRecordsHaveOptionsZeroAndOptionBitsApply) {
    int index = texture_create_empty(4, 4, GL_RGB, 3);
    const texture* t = texture_table[index];
    EXPECT_EQ(t->filter, (GLenum)GL_LINEAR_MIPMAP_NEAREST);
    EXPECT_EQ(t->wrap, (GLenum)GL_REPEAT);
    EXPECT_EQ(t->env_mode, (GLenum)GL_REPLACE);
    for (int options = 0; options < 8; options++) {
        texture_set_options(index, options);
        EXPECT_EQ(t->filter, options & 1 ? GL_LINEAR : GL_LINEAR_MIPMAP_NEAREST) << options;
        EXPECT_EQ(t->wrap, options & 2 ? (GLenum)GL_CLAMP : (GLenum)GL_REPEAT) << options;
        EXPECT_EQ(t->env_mode, options & 4 ? (GLenum)GL_MODULATE : (GLenum)GL_REPLACE) << options;
    }
}

TEST(TextureLoad, EmptyTextureIsZeroFilled) {
    const texture* t = texture_table[texture_create_empty(5, 3, GL_RGB, 3)];
    EXPECT_EQ(t->name, nullptr);
    EXPECT_EQ(t->width, 5);
    EXPECT_EQ(t->height, 3);
    EXPECT_EQ(t->pixel_format, (GLenum)GL_RGB);
    // Every byte of the padded rows GL will read.
    int bytes = texture_row_bytes(t) * t->height;
    EXPECT_EQ(bytes, 16 * 3);
    for (int i = 0; i < bytes; i++) ASSERT_EQ(t->pixels[i], 0) << i;
}

// ---------------------------------------------------------------------------
// Errors
// ---------------------------------------------------------------------------

TEST(TextureErrors, MessagesNameTheFile) {
    catch_fatal guard;
    temp_dir dir;
    std::string missing = dir.file("missing.tga");
    try {
        texture_load(missing.c_str());
        FAIL() << "no fatal error";
    } catch (const fatal_exception& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Error loading texture " + missing + ": " + SDL_GetError());
    }
    std::string junk = dir.write("junk.bmp", "not a picture at all");
    EXPECT_THROW(texture_load(junk.c_str()), fatal_exception);
    // A true-colour TGA header that declares no columns, with pixel bytes after it.
    std::string header("\0\0\x02\0\0\0\0\0\0\0\0\0\0\0\x04\0\x18\x20", 18);
    std::string empty = dir.write("empty.tga", header + std::string(48, '\x7f'));
    EXPECT_THROW(texture_load(empty.c_str()), fatal_exception);

    std::string good = dir.file("good.bmp");
    write_bmp24(good, test_picture());
    try {
        texture_load_as(good.c_str(), 7);
        FAIL() << "no fatal error";
    } catch (const fatal_exception& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Error loading texture " + good + ": No format specified in code");
    }
    try {
        texture_bind(-1);
        FAIL() << "no fatal error";
    } catch (const fatal_exception& e) {
        EXPECT_NE(std::string(e.what()).find("index -1"), std::string::npos) << e.what();
    }
    EXPECT_THROW(texture_set_options(texture_count, 0), fatal_exception);
}

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
