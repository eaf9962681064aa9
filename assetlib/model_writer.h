// The generator's in-memory mesh record and the writer that turns it into the
// chunked binary model file the player loads.
//
// Meshes are built Y-up, like the player's world; the file is Z-up, so the
// writer stores a point (x, y, z) as (x, -z, y), which the loader turns back
// into (x, y, z). The axis change is a rotation, so triangle winding (counter-
// clockwise seen from outside) is kept. Counts in the file are 16 bits wide:
// the writer stops with a fatal error on anything it cannot store exactly.
#pragma once

#include <string>
#include <vector>

struct mesh_vec3 {
    float x = 0, y = 0, z = 0;
};

struct mesh_uv {
    float u = 0, v = 0;
};

struct mesh_triangle {
    int a = 0, b = 0, c = 0;  // vertex indices, counter-clockwise from outside
};

// The faces (indices into the object's triangles) drawn with one material.
struct mesh_face_group {
    std::string material;
    std::vector<int> faces;
};

struct mesh_object {
    std::string name;
    std::vector<mesh_vec3> vertices;
    std::vector<mesh_triangle> triangles;
    std::vector<mesh_uv> uvs;  // empty, or one per vertex
    std::vector<mesh_face_group> groups;
};

struct mesh_material {
    std::string name;
    mesh_vec3 ambient;                  // colours as r, g, b in 0..1
    mesh_vec3 diffuse{1, 1, 1};
    mesh_vec3 specular;
    int shininess = 0;                  // percentage, 0..100
    std::string map;                    // texture file name, empty = none
};

struct mesh_model {
    std::vector<mesh_material> materials;
    std::vector<mesh_object> objects;
};

// Chunk ids of the model file.
enum {
    CHUNK_MAIN = 0x4D4D,
    CHUNK_EDITOR = 0x3D3D,
    CHUNK_OBJECT = 0x4000,
    CHUNK_TRIANGLES = 0x4100,
    CHUNK_VERTICES = 0x4110,
    CHUNK_FACES = 0x4120,
    CHUNK_FACE_MATERIAL = 0x4130,
    CHUNK_UVS = 0x4140,
    CHUNK_MATERIAL = 0xAFFF,
    CHUNK_MATERIAL_NAME = 0xA000,
    CHUNK_AMBIENT = 0xA010,
    CHUNK_DIFFUSE = 0xA020,
    CHUNK_SPECULAR = 0xA030,
    CHUNK_SHININESS = 0xA040,
    CHUNK_TEXTURE_MAP = 0xA200,
    CHUNK_MAP_NAME = 0xA300,
    CHUNK_COLOUR_FLOAT = 0x0010,
    CHUNK_PERCENT_INT = 0x0030,
};

enum { MODEL_COUNT_MAX = 65535, MODEL_NAME_MAX = 63 };

// The whole file as bytes. Fatal error (naming `file_name` and the object or
// material) for counts above MODEL_COUNT_MAX, names longer than
// MODEL_NAME_MAX, vertex or face indices out of range, a UV list that does not
// match the vertex list, or a face group naming an unknown material.
std::vector<unsigned char> model_writer_encode(const mesh_model& model, const std::string& file_name);

// A material lit by `diffuse`, its ambient a fifth of it, with a grey
// specular highlight; `map` empty for none.
mesh_material mesh_material_plain(const char* name, mesh_vec3 diffuse, float specular, int shininess,
                                  const char* map = "");
// Draws every face of the object with the material.
void mesh_object_use_material(mesh_object& o, const char* material);

// Encodes the model and writes it to `path` when its bytes changed.
void model_writer_save(const std::string& path, const mesh_model& model);
