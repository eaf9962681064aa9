// Models read from chunked mesh files: objects (vertices, triangles, texture
// coordinates) and materials (colours, first texture map), with face and
// smoothed vertex normals.
//
// The file is Z-up; the loader stores a file point (x, y, z) as (x, z, -y) so
// models live in the Y-up world. The parser trusts nothing in the file: every
// chunk length, count, string and index is checked against the bytes that
// hold it, and a malformed file yields no model and a one-line reason.
//
// Drawing is in resources/model_draw.h; this header needs no GL.
#pragma once

#include <cstddef>
#include <string>

struct model_material {
    model_material* previous;
    model_material* next;
    char name[64];
    char map_name[64];            // first texture map's file name, "" for none
    int texture;                  // texture index of the map, -1 = untextured
    float ambient[3], diffuse[3], specular[3];
    float shininess;              // a fraction, as stored in the file
    float shininess_strength, transparency;
    unsigned char two_sided;
    unsigned short map_tiling;
    float map_u_scale, map_v_scale, map_u_offset, map_v_offset, map_rotation;
};

struct model_vertex {
    float x, y, z;
    float nx, ny, nz;  // mean of the normals of the faces that use the vertex
    float weight;      // 1 / number of those faces, 0 when none
};

struct model_face {
    unsigned short a, b, c;  // vertex indices, counter-clockwise from the front
    unsigned short flags;
    float nx, ny, nz;        // unit face normal, zero for a degenerate triangle
    model_material* material;  // a material of the same model, or none
};

struct model_object {
    char name[64];
    int face_count, vertex_count, uv_count;
    model_face* faces;
    model_vertex* vertices;
    float (*uvs)[2];  // indexed by vertex index
    unsigned char colour;
    // a, b, c of every face in order: the faces as one index list, so that
    // drawing takes them straight from the vertex records.
    unsigned short* indices;
};

struct model {
    model_material* materials;  // newest first, linked both ways
    int object_count;
    model_object* objects;      // in file order
};

// Parses a model from memory. No file access, no textures: map names are
// kept in map_name, texture stays -1. On a malformed buffer returns nullptr
// and, if error is non-null, writes a one-line reason.
model* model_parse(const unsigned char* data, size_t size, std::string* error);

// Reads directory + file, parses it, loads each material's map with
// texture_load(directory + map_name) in file order (an unknown extension
// keeps -1) and computes the normals. The directory must end with a path
// separator. Returns nullptr when the file cannot be opened or is not a valid
// model; model_last_error() then says why. The result becomes the current
// model, the one model_upload_textures works on.
model* model_load(const char* directory, const char* file);
const char* model_last_error();
model* model_current();

// Frees the objects and their arrays, the materials and the record.
void model_free(model* m);

// Fills face normals, vertex normals and weights of every object.
void model_compute_normals(model* m);
