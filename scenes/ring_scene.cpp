// Shared pieces of the ring-and-sky scenes (knots, flash): phase selection, the skybox
// layers (which the other layered-sky scenes draw too), fixed-resource loading and the ring pool.
#include "scenes/ring_scene.h"

#include <GL/gl.h>

#include "core/fatal.h"
#include "platform/video.h"
#include "resources/texture.h"

int ring_scene_phase(float t, const float* syncs, int bounds, float* tp) {
    for (int i = 0; i < bounds; ++i)
        if (t < syncs[i]) {
            *tp = i == 0 ? t : t - syncs[i - 1];
            return i + 1;
        }
    *tp = bounds > 0 ? t - syncs[bounds - 1] : t;
    return bounds + 1;
}

void ring_scene_sky_layers(const skybox* box, const camera* cam, float angle, float scale, float x,
                      float y, float z) {
    glEnable(GL_TEXTURE_2D);
    for (int i = 0; i < 130; i += 26) {
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glScalef(scale, scale, 1);
        glRotatef(i + angle, x, y, z);
        skybox_draw(box, cam);
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
    }
    glMatrixMode(GL_MODELVIEW);
}

skybox* ring_scene_load_skybox(const char* type, const char* path) {
    skybox* box = skybox_create(path, 0, 0);
    if (!box) fatal_error("%s: Error loading skybox %s", type, path);
    skybox_upload(box);
    return box;
}

int ring_scene_load_texture(const char* type, const char* path, int options, int upload) {
    int index = texture_load(path);
    if (index < 0) fatal_error("%s: Error loading texture %s", type, path);
    texture_set_options(index, options);
    if (upload) texture_upload(index);
    return index;
}

particle_system* ring_scene_pool(const char* type, int count, float size, const char* sprite) {
    particle_system* ring = particles_create(count, size);
    particles_add_texture(ring, ring_scene_load_texture(type, sprite, TEXTURE_LINEAR | TEXTURE_MODULATE, 0));
    for (int k = 0; k < count; ++k) {
        particle* p = &ring->particles[k];
        p->alive = 1;
        particle_set_velocity(ring, k, 0, 0, 0);
        particle_set_acceleration(ring, k, 0, 0, 0);
        particle_set_colour(ring, k, 0.5f, 0.1f, 0.1f, 1.0f);
        p->texture_slot = 0;
    }
    particles_upload_textures(ring);
    return ring;
}

camera* ring_scene_camera_create(float px, float py, float pz, float tx, float ty, float tz) {
    camera* cam = camera_create(CAMERA_LOOK_AT_MODE);
    camera_set_position(cam, px, py, pz);
    camera_set_target(cam, tx, ty, tz);
    camera_set_perspective(cam, 100, aspect_ratio);
    camera_set_roll(cam, 0);
    return cam;
}
