// genPathway: the particle pool, the emission walk along the path, and the
// additive draw of the drifting trail.
#include "effects/pathway.h"

#include <GL/gl.h>
#include <climits>
#include <cstdlib>

#include "core/fatal.h"
#include "core/owned.h"
#include "core/random.h"
#include "core/section.h"
#include "effects/quads.h"
#include "resources/texture.h"

static const char* const TYPE_NAME = "genPathway";

int pathway_pool_size(float duration, float rate) {
    float count = duration * rate;
    if (!(count > 0)) return 0;
    if (count >= 2147483648.0f) return INT_MAX;  // particles_create reports it out of memory
    return static_cast<int>(count);
}

static float draw_drift() {
    int sign = rand_next() % 2;
    int magnitude = rand_next() % 100;
    return (sign ? -magnitude : magnitude) * 0.002f;
}

void pathway_fill(particle_system* system, float r, float g, float b) {
    for (int k = 0; k < system->count; ++k) {
        particle* p = &system->particles[k];
        particle_set_position(system, k, 0, 0, 0);
        particle_set_colour(system, k, r, g, b, 1.0f);
        p->alive = 0;
        p->life = PATHWAY_LIFE;
        particle_set_velocity(system, k, 0, 0, 0);
        float z = draw_drift();
        float y = draw_drift();
        float x = draw_drift();
        particle_set_acceleration(system, k, x, y, z);
        p->texture_slot = 0;
    }
}

static void path_point(const spline* path, float time, float out[3]) {
    float values[SPLINE_CHANNELS];
    spline_evaluate(path, time, values);
    for (int i = 0; i < 3; ++i) out[i] = values[i];
}

void pathway_emit(pathway_instance* instance, const spline* path, float rate, float t) {
    particle_system* system = instance->particles;
    path_point(path, 0, instance->emitter);
    instance->next_particle = 0;
    if (!(t >= 0)) return;
    const float step = 1 / rate;
    float u = 0;
    while (instance->next_particle < system->count) {
        path_point(path, u + step, instance->emitter);
        int k = instance->next_particle;
        if (!system->particles[k].alive) {
            system->particles[k].alive = 1;
            particle_set_position(system, k, instance->emitter[0], instance->emitter[1],
                                  instance->emitter[2]);
        }
        instance->next_particle += 1;
        u += step;
        if (u > t) break;
    }
}

// Without a path or a positive rate the walk has nothing to follow (and the
// pool size and the step 1 / rate would be meaningless), so both are
// checked here rather than met mid-show.
void pathway_init() {
    section& s = *current_section;
    const pathway_values& v = section_values<pathway_values>(s);
    if (!(v.rate > 0))
        fatal_error("%s: section at line %d needs a positive emission rate (param 1), has %g",
                    TYPE_NAME, s.line, v.rate);
    pathway_instance built = {};
    built.sprite = texture_load(s.strings[0]);
    if (built.sprite < 0) fatal_error("Error loading texture %s", s.strings[0]);
    // Uploaded once, with the pool's textures below.
    texture_set_options(built.sprite, TEXTURE_MODULATE);
    built.particles = particles_create(pathway_pool_size(s.end - s.start, v.rate), v.size);
    particles_add_texture(built.particles, built.sprite);
    pathway_fill(built.particles, v.red, v.green, v.blue);
    particles_upload_textures(built.particles);
    pathway_instance* instance = static_cast<pathway_instance*>(malloc(sizeof(pathway_instance)));
    if (!instance) fatal_error("%s: out of memory, section at line %d", TYPE_NAME, s.line);
    *instance = built;
    generation_own(instance, free);
    s.instance_data = instance;
}

void pathway_step(pathway_instance* instance, const spline* path, float rate, float t,
                  void (*settle)(particle_system*)) {
    pathway_emit(instance, path, rate, t);
    particles_update(t - instance->previous_time, instance->particles);
    if (settle) settle(instance->particles);
    instance->previous_time = t;
}

void pathway_pass(pathway_instance* instance, const spline* path, float rate, float t,
                  void (*settle)(particle_system*)) {
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    pathway_step(instance, path, rate, t, settle);
    glEnable(GL_TEXTURE_2D);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    particles_draw(instance->particles);
    glDisable(GL_BLEND);
    glPopMatrix();
}

void pathway_advance() {
    const section& s = *current_section;
    float rate = section_values<pathway_values>(s).rate;
    pathway_step(static_cast<pathway_instance*>(s.instance_data), &s.splines[0], rate, s.local_time, nullptr);
}

void pathway_render() {
    const section& s = *current_section;
    draw_debug_axes();
    float rate = section_values<pathway_values>(s).rate;
    pathway_pass(static_cast<pathway_instance*>(s.instance_data), &s.splines[0], rate, s.local_time, nullptr);
}
// ---------------------------------------------------------------------------
// What its sections carry
// ---------------------------------------------------------------------------

static const section_field pathway_params[] = {
    {"rate", "particles per second (above 0); the section holds duration x rate particles", nullptr, SECTION_AT_INIT, SECTION_VALUE(pathway_values, rate)},
    {"size", "sprite size (half its edge, world units)", nullptr, SECTION_AT_INIT, SECTION_VALUE(pathway_values, size)},
    {"red", "sprite colour: red (0..1)", nullptr, SECTION_AT_INIT, SECTION_VALUE(pathway_values, red)},
    {"green", "sprite colour: green", nullptr, SECTION_AT_INIT, SECTION_VALUE(pathway_values, green)},
    {"blue", "sprite colour: blue", nullptr, SECTION_AT_INIT, SECTION_VALUE(pathway_values, blue)},
};
static const section_field pathway_strings[] = {
    {"sprite", "the sprite (.bmp, .jpg, .png or .tga)", nullptr},
};
static const section_field pathway_splines[] = {
    {"path", "the path (its first three channels), and the seconds it runs over", nullptr},
};
const section_reads pathway_reads = {
    "a trail of glowing sprites dropped along a spline, each drifting slowly away from the path",
    {SECTION_FIELDS(pathway_params), SECTION_FIELDS(pathway_strings), SECTION_FIELDS(pathway_splines), {}},
    {{}, {}, {}, {}},
    nullptr, nullptr,
};
