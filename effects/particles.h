// Particle systems: a fixed pool of particles with position, velocity,
// acceleration, remaining life, colour and a texture slot; one integration
// step per frame; drawing as camera-facing textured billboards.
//
// Nothing here sets blending, depth testing, texturing or matrices beyond
// the depth writes the billboards turn off and on: the caller chooses them.
#pragma once

struct particle {
    int alive;               // 0: skipped by update and draw
    float position[3];
    float velocity[3];       // units per second (or a caller's own offset)
    float acceleration[3];   // units per second squared
    float life;              // seconds left
    float colour[4];
    int texture_slot;        // index into the system's textures
};

struct particle_system {
    particle* particles;     // `count` records, zero-filled at creation
    int count;
    int* textures;           // texture indices
    int texture_count;
    float size;              // half the edge of every billboard
};

// A pool of `count` dead particles and no textures; kept for the program's
// life. A negative count or no memory is fatal.
particle_system* particles_create(int count, float size);
// Releases a system (tests and tools; the show keeps its systems).
void particles_free(particle_system* system);
// Appends a texture index to the system's sprite list.
void particles_add_texture(particle_system* system, int texture);
void particles_upload_textures(const particle_system* system);

// The setters (and the draw, for texture slots) stop with a fatal error on
// an index outside the pool instead of writing past it.
void particle_set_position(particle_system* system, int index, float x, float y, float z);
void particle_set_velocity(particle_system* system, int index, float x, float y, float z);
void particle_set_acceleration(particle_system* system, int index, float x, float y, float z);
void particle_set_colour(particle_system* system, int index, float r, float g, float b, float a);

// For each alive particle: position += velocity * dt, velocity +=
// acceleration * dt, life -= dt (below 0 kills it), alpha -= dt / life with
// the new life (also for the one just killed; not clamped).
void particles_update(float dt, particle_system* system);

// Billboard axes from a column-major modelview matrix: right = size * (m0,
// m4, m8), up = size * (m1, m5, m9).
void particles_billboard_axes(const float m[16], float size, float right[3], float up[3]);
// The four corners of a billboard at p, in drawing order: p - R + U,
// p + R + U, p + R - U, p - R - U (texture coordinates (0,0), (1,0), (1,1),
// (0,1)).
void particles_billboard_corners(const float p[3], const float right[3], const float up[3],
                                 float corners[4][3]);

// Draws every alive particle as a billboard facing the viewer of the current
// modelview, without writing depth; depth writes are on afterwards.
void particles_draw(const particle_system* system);
