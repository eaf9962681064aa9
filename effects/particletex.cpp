// genParticletex: filling the pool from a picture, the eased glide to the
// grid, and the additive draw of the assembled picture.
#include "effects/particletex.h"

#include <GL/gl.h>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "core/fatal.h"
#include "core/owned.h"
#include "core/random.h"
#include "core/section.h"
#include "resources/texture.h"

static const char* const TYPE_NAME = "genParticletex";

// Below this channel sum a pixel counts as black and makes no particle.
static const float PARTICLETEX_DARK = 0.1f;
static const float BYTE_SCALE = 0.003921569f;  // 1 / 255

int particletex_scatter_range(float param) {
    if (!(param >= 1)) return 1;  // also catches NaN
    if (param > RAND_LIMIT + 1) return RAND_LIMIT + 1;
    return static_cast<int>(param);
}

static float draw_coordinate(int range) {
    int sign = rand_next() % 2;
    int magnitude = rand_next() % range;
    return static_cast<float>(sign ? -magnitude : magnitude);
}

void particletex_draw_offset(int range, float offset[3]) {
    offset[2] = draw_coordinate(range);
    offset[1] = draw_coordinate(range);
    offset[0] = draw_coordinate(range);
}

void particletex_pixel_colour(const texture* picture, int x, int y, float rgb[3]) {
    const unsigned char* p =
        picture->pixels + static_cast<size_t>(y) * texture_row_bytes(picture) +
        static_cast<size_t>(x) * picture->components;
    int bytes[3];
    if (picture->components < 3) {
        bytes[0] = bytes[1] = bytes[2] = p[0];
    } else {
        bool bgr = picture->pixel_format == GL_BGR_EXT || picture->pixel_format == GL_BGRA_EXT;
        bytes[0] = bgr ? p[2] : p[0];
        bytes[1] = p[1];
        bytes[2] = bgr ? p[0] : p[2];
    }
    for (int i = 0; i < 3; ++i) rgb[i] = bytes[i] * BYTE_SCALE;
}

void particletex_fill(particle_system* system, const texture* picture, int range, float alpha) {
    for (int y = 0; y < picture->height; ++y)
        for (int x = 0; x < picture->width; ++x) {
            int k = y * picture->width + x;
            particle* p = &system->particles[k];
            float offset[3], rgb[3];
            particletex_draw_offset(range, offset);
            particle_set_position(system, k, offset[0], offset[1], offset[2]);
            particletex_pixel_colour(picture, x, y, rgb);
            particle_set_colour(system, k, rgb[0], rgb[1], rgb[2], alpha);
            p->alive = rgb[0] + rgb[1] + rgb[2] >= PARTICLETEX_DARK;
            particle_set_velocity(system, k, offset[0], offset[1], offset[2]);
            particle_set_acceleration(system, k, 0, 0, 0);
            p->texture_slot = 0;
        }
}

float particletex_ease(float t, float d) {
    return static_cast<float>((std::cos(static_cast<double>(t) * M_PI / d) + 1) * 0.5);
}

void particletex_place(particletex_instance* instance, float t, float d, float alpha_start,
                       float alpha_end) {
    float e = particletex_ease(t, d);
    float alpha = alpha_start + (alpha_end - alpha_start) * t / d;
    particle_system* system = instance->particles;
    for (int k = 0; k < system->count; ++k) {
        particle* p = &system->particles[k];
        if (!p->alive) continue;
        int y = k / instance->width, x = k % instance->width;
        p->position[0] = e * p->velocity[0] + y * instance->row_spacing - instance->half_height;
        p->position[1] = e * p->velocity[1] + x * instance->column_spacing - instance->half_width;
        p->position[2] = e * p->velocity[2];
        p->colour[3] = alpha;
    }
}

// A texture the effect cannot do without: an unknown file kind is fatal.
static int load_required(const char* name, int options) {
    int index = texture_load(name);
    if (index < 0) fatal_error("Error loading texture %s", name);
    texture_set_options(index, options);
    return index;
}

// Everything is loaded and filled before the instance block is taken, so a
// section that stops with an error leaves nothing half built behind.
void particletex_init() {
    section& s = *current_section;
    const particletex_values& v = section_values<particletex_values>(s);
    particletex_instance built = {};
    built.image = load_required(s.strings[0], TEXTURE_LINEAR);
    texture_upload(built.image);
    const texture* picture = texture_table[built.image];
    long long pixels = static_cast<long long>(picture->width) * picture->height;
    if (pixels > INT_MAX)
        fatal_error("%s: picture %s is too large, section at line %d", TYPE_NAME, s.strings[0], s.line);
    built.width = picture->width;
    built.height = picture->height;
    built.half_width = picture->width * v.spacing * 0.5f;
    built.half_height = picture->height * v.spacing * 0.5f;
    built.row_spacing = v.spacing;
    built.column_spacing = v.spacing;
    int sprite = load_required(s.strings[1], TEXTURE_MODULATE);
    built.particles = particles_create(static_cast<int>(pixels), v.size);
    particles_add_texture(built.particles, sprite);
    particletex_fill(built.particles, picture, particletex_scatter_range(v.scatter), v.alpha0);
    particles_upload_textures(built.particles);
    particletex_instance* instance =
        static_cast<particletex_instance*>(malloc(sizeof(particletex_instance)));
    if (!instance) fatal_error("%s: out of memory, section at line %d", TYPE_NAME, s.line);
    *instance = built;
    generation_own(instance, free);
    s.instance_data = instance;
}

void particletex_render() {
    const section& s = *current_section;
    particletex_instance* instance = static_cast<particletex_instance*>(s.instance_data);
    const particletex_values& v = section_values<particletex_values>(s);
    particletex_place(instance, s.local_time, s.end - s.start, v.alpha0, v.alpha1);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glTranslatef(v.x, v.y, v.z);
    glRotatef(-90, 0, 0, 1);
    particles_draw(instance->particles);
    glPopMatrix();
    glDisable(GL_BLEND);
}

// ---------------------------------------------------------------------------
// What its sections carry
// ---------------------------------------------------------------------------

static const section_field particletex_params[] = {
    {"spacing", "grid spacing, world units per pixel", nullptr, SECTION_AT_INIT, SECTION_VALUE(particletex_values, spacing)},
    {"size", "sprite size (half its edge, world units)", nullptr, SECTION_AT_INIT, SECTION_VALUE(particletex_values, size)},
    {"scatter", "scatter range R: start offsets are whole numbers within -(R - 1) .. R - 1 (1 assembles at once)", nullptr, SECTION_AT_INIT, SECTION_VALUE(particletex_values, scatter)},
    {"x", "centre of the picture: x", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(particletex_values, x)},
    {"y", "centre: y", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(particletex_values, y)},
    {"z", "centre: z", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(particletex_values, z)},
    {"alpha0", "sprite alpha at the section's start", nullptr, SECTION_AT_INIT, SECTION_VALUE(particletex_values, alpha0)},
    {"alpha1", "sprite alpha at the section's end", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(particletex_values, alpha1)},
};
static const section_field particletex_strings[] = {
    {"picture", "the picture (.bmp, .jpg, .png or .tga); pixels near black make no sprite", nullptr},
    {"sprite", "the sprite drawn for every particle", nullptr},
};
const section_reads particletex_reads = {
    "a picture assembled from one glowing sprite per pixel, each gliding in from a scattered start",
    {SECTION_FIELDS(particletex_params), SECTION_FIELDS(particletex_strings), {}, {}},
    {{},
     {SECTION_OWN_MESSAGE, "genParticletex: Script: Two strings are needed in genParticletex section, line %d"},
     {},
     {}},
    nullptr, nullptr,
};
