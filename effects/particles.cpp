// Particle pools: creation, setters, integration and billboard drawing.
#include "effects/particles.h"

#include <GL/gl.h>
#include <cstdlib>

#include "core/fatal.h"
#include "core/owned.h"
#include "resources/free_camera.h"
#include "resources/texture.h"

particle_system* particles_create(int count, float size) {
    if (count < 0) fatal_error("particles_create: negative particle count %d", count);
    particle_system* system = (particle_system*)calloc(1, sizeof(particle_system));
    particle* pool = (particle*)calloc(count ? (size_t)count : 1, sizeof(particle));
    if (!system || !pool) fatal_error("Out of memory creating %d particles", count);
    system->particles = pool;
    system->count = count;
    system->size = size;
    generation_own(system, [](void* p) { particles_free(static_cast<particle_system*>(p)); });
    return system;
}

void particles_free(particle_system* system) {
    if (!system) return;
    free(system->particles);
    free(system->textures);
    free(system);
}

void particles_add_texture(particle_system* system, int texture) {
    int* list = (int*)realloc(system->textures, (system->texture_count + 1) * sizeof(int));
    if (!list) fatal_error("Out of memory adding a particle texture");
    list[system->texture_count++] = texture;
    system->textures = list;
}

void particles_upload_textures(const particle_system* system) {
    for (int i = 0; i < system->texture_count; i++) texture_upload(system->textures[i]);
}

static particle* particle_at(particle_system* system, int index, const char* operation) {
    if (index < 0 || index >= system->count)
        fatal_error("%s: particle %d outside a pool of %d", operation, index, system->count);
    return &system->particles[index];
}

static void set3(float v[3], float x, float y, float z) {
    v[0] = x;
    v[1] = y;
    v[2] = z;
}

void particle_set_position(particle_system* system, int index, float x, float y, float z) {
    set3(particle_at(system, index, "particle_set_position")->position, x, y, z);
}

void particle_set_velocity(particle_system* system, int index, float x, float y, float z) {
    set3(particle_at(system, index, "particle_set_velocity")->velocity, x, y, z);
}

void particle_set_acceleration(particle_system* system, int index, float x, float y, float z) {
    set3(particle_at(system, index, "particle_set_acceleration")->acceleration, x, y, z);
}

void particle_set_colour(particle_system* system, int index, float r, float g, float b,
                         float a) {
    float* c = particle_at(system, index, "particle_set_colour")->colour;
    c[0] = r;
    c[1] = g;
    c[2] = b;
    c[3] = a;
}

// The fade divides by the life left, so alpha falls faster as the particle
// runs out; a life of exactly 0 gives -infinity (fully transparent), and the
// step that kills a particle raises its alpha (a negative life).
void particles_update(float dt, particle_system* system) {
    for (int i = 0; i < system->count; i++) {
        particle* p = &system->particles[i];
        if (!p->alive) continue;
        float step[3];
        vec3_scale(p->velocity, dt, step);
        vec3_add(p->position, step, p->position);
        vec3_scale(p->acceleration, dt, step);
        vec3_add(p->velocity, step, p->velocity);
        p->life -= dt;
        if (p->life < 0) p->alive = 0;
        p->colour[3] -= dt / p->life;
    }
}

void particles_billboard_axes(const float m[16], float size, float right[3], float up[3]) {
    const float r[3] = {m[0], m[4], m[8]};
    const float u[3] = {m[1], m[5], m[9]};
    vec3_scale(r, size, right);
    vec3_scale(u, size, up);
}

void particles_billboard_corners(const float p[3], const float right[3], const float up[3],
                                 float corners[4][3]) {
    for (int i = 0; i < 3; i++) {
        corners[0][i] = p[i] - right[i] + up[i];
        corners[1][i] = p[i] + right[i] + up[i];
        corners[2][i] = p[i] + right[i] - up[i];
        corners[3][i] = p[i] - right[i] - up[i];
    }
}

static int particle_texture(const particle_system* system, const particle* p) {
    if (p->texture_slot < 0 || p->texture_slot >= system->texture_count)
        fatal_error("particles_draw: texture slot %d outside a list of %d", p->texture_slot,
                    system->texture_count);
    return system->textures[p->texture_slot];
}

// The axes come from the modelview once per draw; each particle is its own
// quad, and the bind cache makes a shared texture cost one bind.
void particles_draw(const particle_system* system) {
    static const float texcoords[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    float m[16], right[3], up[3];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    particles_billboard_axes(m, system->size, right, up);
    glDepthMask(GL_FALSE);
    for (int i = 0; i < system->count; i++) {
        const particle* p = &system->particles[i];
        if (!p->alive) continue;
        texture_bind(particle_texture(system, p));
        glColor4fv(p->colour);
        float corners[4][3];
        particles_billboard_corners(p->position, right, up, corners);
        glBegin(GL_QUADS);
        for (int k = 0; k < 4; k++) {
            glTexCoord2fv(texcoords[k]);
            glVertex3fv(corners[k]);
        }
        glEnd();
    }
    glDepthMask(GL_TRUE);
}
