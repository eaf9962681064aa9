// Skybox: fixed cube geometry, its textures, and drawing it around the eye.
#include "resources/skybox.h"

#include <GL/gl.h>
#include <cstdlib>

#include "core/owned.h"
#include "resources/texture.h"

static const char FACE_SUFFIXES[] = "rtlfbkftupdn";

// Linear without mipmaps, clamped, replace: the current colour does not
// tint the sky and the face edges do not wrap into each other.
static const int SKYBOX_TEXTURE_OPTIONS = TEXTURE_LINEAR | TEXTURE_CLAMP;

void skybox_set_corner(skybox* box, int index, float x, float y, float z) {
    box->corners[index][0] = x;
    box->corners[index][1] = y;
    box->corners[index][2] = z;
}

void skybox_set_face(skybox* box, int face, const int corners[4], const float st[4][2]) {
    skybox_face* f = &box->faces[face];
    for (int k = 0; k < 4; k++) {
        f->corners[k] = corners[k];
        f->s[k] = st[k][0];
        f->t[k] = st[k][1];
    }
}

void skybox_init_geometry(skybox* box) {
    static const float corners[SKYBOX_CORNERS][3] = {
        {10, -10, 10}, {10, -10, -10}, {-10, -10, -10}, {-10, -10, 10},
        {10, 10, 10},  {10, 10, -10},  {-10, 10, -10},  {-10, 10, 10}};
    static const int faces[SKYBOX_FACES][4] = {
        {2, 1, 0, 3}, {5, 6, 7, 4}, {6, 2, 3, 7}, {1, 5, 4, 0}, {0, 4, 7, 3}, {2, 6, 5, 1}};
    static const float st[4][2] = {{1, 1}, {0, 1}, {0, 0}, {1, 0}};
    for (int i = 0; i < SKYBOX_CORNERS; i++)
        skybox_set_corner(box, i, corners[i][0], corners[i][1], corners[i][2]);
    for (int f = 0; f < SKYBOX_FACES; f++) skybox_set_face(box, f, faces[f], st);
}

std::string skybox_face_path(const char* prefix, int image_kind, int face) {
    const char* extension = image_kind == SKYBOX_PCX   ? ".pcx"
                            : image_kind == SKYBOX_TGA ? ".tga"
                            : image_kind == SKYBOX_JPG ? ".jpg"
                                                       : nullptr;
    if (!extension) return std::string();
    return std::string(prefix) + FACE_SUFFIXES[face * 2] + FACE_SUFFIXES[face * 2 + 1] +
           extension;
}

// texture_load gives -1 for a name without a known extension.
static int load_face_texture(const std::string& path) {
    if (path.empty()) return -1;
    int index = texture_load(path.c_str());
    if (index >= 0) texture_set_options(index, SKYBOX_TEXTURE_OPTIONS);
    return index;
}

skybox* skybox_create(const char* name, int image_kind, int per_face) {
    if (!name) return nullptr;
    skybox* box = (skybox*)calloc(1, sizeof(skybox));
    if (!box) return nullptr;
    skybox_init_geometry(box);
    box->per_face = per_face;
    if (!per_face) {
        int index = load_face_texture(name);
        if (index < 0) {
            free(box);
            return nullptr;
        }
        for (int f = 0; f < SKYBOX_FACES; f++) box->faces[f].texture = index;
        generation_own(box, free);
        return box;
    }
    for (int f = 0; f < SKYBOX_FACES; f++) {
        int index = load_face_texture(skybox_face_path(name, image_kind, f));
        if (index < 0) {
            free(box);
            return nullptr;
        }
        box->faces[f].texture = index;
    }
    generation_own(box, free);
    return box;
}

#ifndef GL_CLAMP_TO_EDGE
#define GL_CLAMP_TO_EDGE 0x812F
#endif

// GL_CLAMP with linear filtering blends the border colour into the last half
// texel, which draws dark seams along every edge of the cube; the faces are
// clamped to their edge texels instead. texture_upload leaves the texture
// bound.
static void upload_face_texture(int index) {
    texture_upload(index);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

void skybox_upload(const skybox* box) {
    if (!box->per_face) {
        upload_face_texture(box->faces[0].texture);
        return;
    }
    for (int f = 0; f < SKYBOX_FACES; f++) upload_face_texture(box->faces[f].texture);
}

// The 270 degree turn about X takes (x, y, z) to (x, z, -y): up lands at +Y,
// lf ahead at -Z, rt behind at +Z, bk at -X and ft at +X.
void skybox_draw(const skybox* box, const camera* cam) {
    glDepthMask(GL_FALSE);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glTranslatef(cam->position[0], cam->position[1], cam->position[2]);
    glRotatef(270, 1, 0, 0);
    if (!box->per_face) texture_bind(box->faces[0].texture);
    for (int f = 0; f < SKYBOX_FACES; f++) {
        const skybox_face* face = &box->faces[f];
        if (box->per_face) texture_bind(face->texture);
        glBegin(GL_QUADS);
        for (int k = 0; k < 4; k++) {
            glTexCoord2f(face->s[k], face->t[k]);
            glVertex3fv(box->corners[face->corners[k]]);
        }
        glEnd();
    }
    glPopMatrix();
    glDepthMask(GL_TRUE);
}
