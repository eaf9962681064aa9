// Skyboxes: a textured cube 20 units on a side, drawn around the eye without
// writing depth, so it stays behind everything drawn after it. One image for
// all six faces, or six images named by a prefix and a face suffix.
#pragma once

#include <string>

#include "resources/camera.h"

enum { SKYBOX_FACES = 6, SKYBOX_CORNERS = 8 };

// Image kinds for per-face skyboxes: the extension appended to each face's
// name. PCX is named but no loader reads it, so such a skybox is not created.
enum { SKYBOX_PCX = 1, SKYBOX_TGA = 2, SKYBOX_JPG = 3 };

struct skybox_face {
    int corners[4];   // corner indices for slots 0..3
    float s[4];
    float t[4];
    int texture;      // texture index
};

struct skybox {
    float corners[SKYBOX_CORNERS][3];
    skybox_face faces[SKYBOX_FACES];   // rt, lf, bk, ft, up, dn
    int per_face;                      // 0: face 0's texture serves all faces
};

// Null when name is null, or when an image name has no known extension (an
// image that has one but cannot be read is fatal in the texture loader).
// Every texture is set to linear, clamped, replace.
skybox* skybox_create(const char* name, int image_kind, int per_face);
void skybox_upload(const skybox* box);
// Draws the cube centred on the camera's position in the current modelview;
// writes no depth and leaves texturing, depth test and colour to the caller.
void skybox_draw(const skybox* box, const camera* cam);

void skybox_set_corner(skybox* box, int index, float x, float y, float z);
void skybox_set_face(skybox* box, int face, const int corners[4], const float st[4][2]);
// Fills the fixed corners and faces.
void skybox_init_geometry(skybox* box);

// prefix + the face's two suffix letters + the kind's extension; empty for a
// kind without an extension.
std::string skybox_face_path(const char* prefix, int image_kind, int face);
