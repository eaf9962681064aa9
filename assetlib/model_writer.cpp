// Model file writer: validates a mesh record and serialises it as nested
// little-endian chunks (main > editor > materials, objects > triangle mesh >
// vertices, faces with their material groups, texture coordinates).
#include "assetlib/model_writer.h"

#include <cstdint>
#include <cstring>

#include "core/fatal.h"
#include "assetlib/asset_io.h"

// ---------------------------------------------------------------------------
// Byte output with nested chunks
// ---------------------------------------------------------------------------

struct chunk_output {
    std::vector<unsigned char> bytes;
    std::vector<size_t> open;  // offsets of the headers of unfinished chunks
};

static void put_u16(chunk_output& out, unsigned value) {
    out.bytes.push_back(static_cast<unsigned char>(value & 0xff));
    out.bytes.push_back(static_cast<unsigned char>((value >> 8) & 0xff));
}

static void put_u32_at(chunk_output& out, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) out.bytes[at + i] = static_cast<unsigned char>((value >> (8 * i)) & 0xff);
}

static void put_float(chunk_output& out, float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    size_t at = out.bytes.size();
    out.bytes.resize(at + 4);
    put_u32_at(out, at, bits);
}

static void put_string(chunk_output& out, const std::string& text) {
    out.bytes.insert(out.bytes.end(), text.begin(), text.end());
    out.bytes.push_back(0);
}

static void chunk_begin(chunk_output& out, unsigned id) {
    out.open.push_back(out.bytes.size());
    put_u16(out, id);
    out.bytes.resize(out.bytes.size() + 4);  // length, filled by chunk_end
}

static void chunk_end(chunk_output& out) {
    size_t start = out.open.back();
    out.open.pop_back();
    put_u32_at(out, start + 2, static_cast<uint32_t>(out.bytes.size() - start));
}

// ---------------------------------------------------------------------------
// Validation
// ---------------------------------------------------------------------------

static void check_name(const std::string& file, const char* what, const std::string& name) {
    if (name.size() > MODEL_NAME_MAX)
        fatal_error("%s: %s name '%s' is longer than %d characters", file.c_str(), what, name.c_str(),
                    MODEL_NAME_MAX);
}

static void check_count(const std::string& file, const std::string& object, const char* what, size_t count) {
    if (count > MODEL_COUNT_MAX)
        fatal_error("%s: object '%s' has %zu %s, more than %d", file.c_str(), object.c_str(), count, what,
                    MODEL_COUNT_MAX);
}

static bool has_material(const mesh_model& model, const std::string& name) {
    for (const mesh_material& m : model.materials)
        if (m.name == name) return true;
    return false;
}

static void check_object(const mesh_model& model, const mesh_object& o, const std::string& file) {
    check_name(file, "object", o.name);
    check_count(file, o.name, "vertices", o.vertices.size());
    check_count(file, o.name, "faces", o.triangles.size());
    if (!o.uvs.empty() && o.uvs.size() != o.vertices.size())
        fatal_error("%s: object '%s' has %zu texture coordinates for %zu vertices", file.c_str(), o.name.c_str(),
                    o.uvs.size(), o.vertices.size());
    const int n = static_cast<int>(o.vertices.size());
    for (const mesh_triangle& t : o.triangles)
        if (t.a < 0 || t.a >= n || t.b < 0 || t.b >= n || t.c < 0 || t.c >= n)
            fatal_error("%s: object '%s' has a face (%d, %d, %d) outside its %d vertices", file.c_str(),
                        o.name.c_str(), t.a, t.b, t.c, n);
    for (const mesh_face_group& g : o.groups) {
        if (!has_material(model, g.material))
            fatal_error("%s: object '%s' uses unknown material '%s'", file.c_str(), o.name.c_str(),
                        g.material.c_str());
        check_count(file, o.name, "faces in one material group", g.faces.size());
        for (int f : g.faces)
            if (f < 0 || f >= static_cast<int>(o.triangles.size()))
                fatal_error("%s: object '%s' material group '%s' names face %d of %zu", file.c_str(),
                            o.name.c_str(), g.material.c_str(), f, o.triangles.size());
    }
}

// ---------------------------------------------------------------------------
// Chunks
// ---------------------------------------------------------------------------

static void write_colour(chunk_output& out, unsigned id, const mesh_vec3& c) {
    chunk_begin(out, id);
    chunk_begin(out, CHUNK_COLOUR_FLOAT);
    put_float(out, c.x);
    put_float(out, c.y);
    put_float(out, c.z);
    chunk_end(out);
    chunk_end(out);
}

static void write_percentage(chunk_output& out, unsigned id, int percent) {
    chunk_begin(out, id);
    chunk_begin(out, CHUNK_PERCENT_INT);
    put_u16(out, static_cast<unsigned>(percent));
    chunk_end(out);
    chunk_end(out);
}

static void write_material(chunk_output& out, const mesh_material& m) {
    chunk_begin(out, CHUNK_MATERIAL);
    chunk_begin(out, CHUNK_MATERIAL_NAME);
    put_string(out, m.name);
    chunk_end(out);
    write_colour(out, CHUNK_AMBIENT, m.ambient);
    write_colour(out, CHUNK_DIFFUSE, m.diffuse);
    write_colour(out, CHUNK_SPECULAR, m.specular);
    write_percentage(out, CHUNK_SHININESS, m.shininess);
    if (!m.map.empty()) {
        chunk_begin(out, CHUNK_TEXTURE_MAP);
        write_percentage(out, CHUNK_PERCENT_INT, 100);  // map strength
        chunk_begin(out, CHUNK_MAP_NAME);
        put_string(out, m.map);
        chunk_end(out);
        chunk_end(out);
    }
    chunk_end(out);
}

static void write_faces(chunk_output& out, const mesh_object& o) {
    chunk_begin(out, CHUNK_FACES);
    put_u16(out, static_cast<unsigned>(o.triangles.size()));
    for (const mesh_triangle& t : o.triangles) {
        put_u16(out, static_cast<unsigned>(t.a));
        put_u16(out, static_cast<unsigned>(t.b));
        put_u16(out, static_cast<unsigned>(t.c));
        put_u16(out, 7);  // all three edges visible
    }
    for (const mesh_face_group& g : o.groups) {
        chunk_begin(out, CHUNK_FACE_MATERIAL);
        put_string(out, g.material);
        put_u16(out, static_cast<unsigned>(g.faces.size()));
        for (int f : g.faces) put_u16(out, static_cast<unsigned>(f));
        chunk_end(out);
    }
    chunk_end(out);
}

static void write_object(chunk_output& out, const mesh_object& o) {
    chunk_begin(out, CHUNK_OBJECT);
    put_string(out, o.name);
    chunk_begin(out, CHUNK_TRIANGLES);
    chunk_begin(out, CHUNK_VERTICES);
    put_u16(out, static_cast<unsigned>(o.vertices.size()));
    for (const mesh_vec3& v : o.vertices) {
        // Y-up (x, y, z) is stored Z-up as (x, -z, y).
        put_float(out, v.x);
        put_float(out, -v.z);
        put_float(out, v.y);
    }
    chunk_end(out);
    write_faces(out, o);
    if (!o.uvs.empty()) {
        chunk_begin(out, CHUNK_UVS);
        put_u16(out, static_cast<unsigned>(o.uvs.size()));
        for (const mesh_uv& uv : o.uvs) {
            put_float(out, uv.u);
            put_float(out, uv.v);
        }
        chunk_end(out);
    }
    chunk_end(out);
    chunk_end(out);
}

std::vector<unsigned char> model_writer_encode(const mesh_model& model, const std::string& file_name) {
    for (const mesh_material& m : model.materials) {
        check_name(file_name, "material", m.name);
        check_name(file_name, "map", m.map);
        if (m.shininess < 0 || m.shininess > 100)
            fatal_error("%s: material '%s' has shininess %d%%, outside 0..100", file_name.c_str(), m.name.c_str(),
                        m.shininess);
    }
    for (const mesh_object& o : model.objects) check_object(model, o, file_name);

    chunk_output out;
    chunk_begin(out, CHUNK_MAIN);
    chunk_begin(out, CHUNK_EDITOR);
    for (const mesh_material& m : model.materials) write_material(out, m);
    for (const mesh_object& o : model.objects) write_object(out, o);
    chunk_end(out);
    chunk_end(out);
    return out.bytes;
}

mesh_material mesh_material_plain(const char* name, mesh_vec3 diffuse, float specular, int shininess,
                                  const char* map) {
    mesh_material m;
    m.name = name;
    m.ambient = {diffuse.x * 0.2f, diffuse.y * 0.2f, diffuse.z * 0.2f};
    m.diffuse = diffuse;
    m.specular = {specular, specular, specular};
    m.shininess = shininess;
    m.map = map;
    return m;
}

void mesh_object_use_material(mesh_object& o, const char* material) {
    mesh_face_group g;
    g.material = material;
    for (size_t f = 0; f < o.triangles.size(); ++f) g.faces.push_back(static_cast<int>(f));
    o.groups.push_back(g);
}

void model_writer_save(const std::string& path, const mesh_model& model) {
    asset_write(path, model_writer_encode(model, path));
}
