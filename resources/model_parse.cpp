// Model parser: walks the nested chunks of a model file held in memory.
//
// Every handler gets its parent's cursor and reads sub-chunks until the
// parent is used up. A handler that reads only a chunk's own data leaves its
// sub-chunks to the parent's loop, which meets them as siblings: that is how
// the face-material groups nested in the face list are reached. Unknown
// chunks are skipped whole. Each read is checked against the chunk that holds
// it, so a malformed file stops the walk with a reason instead of reading
// past its bytes.
#include "resources/model.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

enum {
    ID_MAIN = 0x4D4D,
    ID_EDITOR = 0x3D3D,
    ID_OBJECT = 0x4000,
    ID_TRIANGLES = 0x4100,
    ID_VERTICES = 0x4110,
    ID_FACES = 0x4120,
    ID_FACE_MATERIAL = 0x4130,
    ID_UVS = 0x4140,
    ID_OBJECT_COLOUR = 0x4165,
    ID_MATERIAL = 0xAFFF,
    ID_KEYFRAMER = 0xB000,
    ID_MATERIAL_NAME = 0xA000,
    ID_AMBIENT = 0xA010,
    ID_DIFFUSE = 0xA020,
    ID_SPECULAR = 0xA030,
    ID_SHININESS = 0xA040,
    ID_SHININESS_STRENGTH = 0xA041,
    ID_TRANSPARENCY = 0xA050,
    ID_TWO_SIDED = 0xA081,
    ID_TEXTURE_MAP = 0xA200,
    ID_MAP_NAME = 0xA300,
    ID_MAP_TILING = 0xA351,
    ID_MAP_U_SCALE = 0xA354,
    ID_MAP_V_SCALE = 0xA356,
    ID_MAP_U_OFFSET = 0xA358,
    ID_MAP_V_OFFSET = 0xA35A,
    ID_MAP_ROTATION = 0xA35C,
    ID_COLOUR_FLOAT = 0x0010,
    ID_COLOUR_BYTES = 0x0011,
    ID_COLOUR_BYTES_GAMMA = 0x0012,
    ID_COLOUR_FLOAT_GAMMA = 0x0013,
    ID_PERCENT_INT = 0x0030,
    ID_PERCENT_FLOAT = 0x0031,
};

const size_t HEADER_SIZE = 6;
// Chunks of one kind may nest in themselves (an editor chunk in an editor
// chunk); real files go three or four levels deep, and the limit keeps a
// crafted file from exhausting the stack.
const int DEPTH_MAX = 64;
const size_t NAME_SIZE = 64;

// A chunk being read: where it starts in the buffer, its whole length, and
// how many of its bytes (header included) have been consumed.
struct cursor {
    unsigned id = 0;
    size_t start = 0;
    size_t length = 0;
    size_t consumed = 0;
};

struct parser {
    const unsigned char* data;
    size_t size;
    model* m;
    std::vector<model_object> objects;
    bool failed;
    char reason[160];
    int depth;
};

bool fail(parser& p, const char* format, ...) __attribute__((format(printf, 2, 3)));
bool fail(parser& p, const char* format, ...) {
    if (p.failed) return false;  // the first reason is the one that matters
    p.failed = true;
    va_list args;
    va_start(args, format);
    vsnprintf(p.reason, sizeof p.reason, format, args);
    va_end(args);
    return false;
}

size_t remaining(const cursor& c) { return c.length - c.consumed; }

const unsigned char* take(parser& p, cursor& c, size_t bytes, const char* what) {
    if (p.failed) return nullptr;
    if (remaining(c) < bytes) {
        fail(p, "chunk 0x%04X ends inside its %s", c.id, what);
        return nullptr;
    }
    const unsigned char* at = p.data + c.start + c.consumed;
    c.consumed += bytes;
    return at;
}

unsigned u16_at(const unsigned char* b) { return b[0] | (unsigned)b[1] << 8; }
uint32_t u32_at(const unsigned char* b) {
    return b[0] | (uint32_t)b[1] << 8 | (uint32_t)b[2] << 16 | (uint32_t)b[3] << 24;
}
float float_at(const unsigned char* b) {
    uint32_t bits = u32_at(b);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

bool read_u16(parser& p, cursor& c, const char* what, unsigned* out) {
    const unsigned char* b = take(p, c, 2, what);
    if (b) *out = u16_at(b);
    return b != nullptr;
}

bool read_float(parser& p, cursor& c, const char* what, float* out) {
    const unsigned char* b = take(p, c, 4, what);
    if (b) *out = float_at(b);
    return b != nullptr;
}

// Copies a NUL-terminated string into a 64-byte field, cutting it to 63
// characters; the cursor moves over the whole string and its terminator.
bool read_string(parser& p, cursor& c, char* out) {
    if (p.failed) return false;
    const unsigned char* at = p.data + c.start + c.consumed;
    const void* end = std::memchr(at, 0, remaining(c));
    if (!end) return fail(p, "chunk 0x%04X holds a name without a terminator", c.id);
    size_t length = (size_t)((const unsigned char*)end - at);
    size_t kept = length < NAME_SIZE - 1 ? length : NAME_SIZE - 1;
    std::memcpy(out, at, kept);
    out[kept] = 0;
    c.consumed += length + 1;
    return true;
}

// The header of the next sub-chunk of `parent`, checked to lie inside it.
bool read_header(parser& p, const cursor& parent, cursor* child) {
    if (remaining(parent) < HEADER_SIZE)
        return fail(p, "chunk 0x%04X ends inside a sub-chunk header", parent.id);
    const unsigned char* b = p.data + parent.start + parent.consumed;
    child->id = u16_at(b);
    child->start = parent.start + parent.consumed;
    child->length = u32_at(b + 2);
    child->consumed = HEADER_SIZE;
    if (child->length < HEADER_SIZE)
        return fail(p, "chunk 0x%04X is shorter than its header (%zu bytes)", child->id, child->length);
    if (child->length > remaining(parent)) {
        if (parent.id == 0)  // the whole buffer
            return fail(p, "chunk 0x%04X runs past the end of the data (%zu bytes, %zu left)", child->id,
                        child->length, remaining(parent));
        return fail(p, "chunk 0x%04X runs past its parent 0x%04X", child->id, parent.id);
    }
    return true;
}

void skip_rest(cursor& c) { c.consumed = c.length; }

typedef void (*chunk_handler)(parser& p, cursor& chunk, void* target);

// Reads the sub-chunks of `parent` until it is used up, handing each to
// `handle` (which may consume less than the sub-chunk: the rest is then read
// as further siblings).
void walk(parser& p, cursor& parent, chunk_handler handle, void* target) {
    if (++p.depth > DEPTH_MAX) {
        fail(p, "chunk 0x%04X nests chunks more than %d deep", parent.id, DEPTH_MAX);
    }
    while (!p.failed && parent.consumed < parent.length) {
        cursor child;
        if (!read_header(p, parent, &child)) break;
        handle(p, child, target);
        parent.consumed += child.consumed;
    }
    --p.depth;
}

// ---------------------------------------------------------------------------
// Colours and percentages
// ---------------------------------------------------------------------------

void colour_handler(parser& p, cursor& c, void* target) {
    float* rgb = (float*)target;
    if (c.id == ID_COLOUR_FLOAT || c.id == ID_COLOUR_FLOAT_GAMMA) {
        for (int i = 0; i < 3; ++i) read_float(p, c, "colour", &rgb[i]);
    } else if (c.id == ID_COLOUR_BYTES || c.id == ID_COLOUR_BYTES_GAMMA) {
        const unsigned char* b = take(p, c, 3, "colour");
        if (b)
            for (int i = 0; i < 3; ++i) rgb[i] = b[i] / 255.0f;
    } else {
        skip_rest(c);
    }
}

// A colour chunk: starts black, each colour sub-chunk overwrites it.
void read_colour(parser& p, cursor& c, float* out) {
    float rgb[3] = {0, 0, 0};
    walk(p, c, colour_handler, rgb);
    for (int i = 0; i < 3; ++i) out[i] = rgb[i];
}

void percentage_handler(parser& p, cursor& c, void* target) {
    float* value = (float*)target;
    unsigned whole;
    if (c.id == ID_PERCENT_INT) {
        if (read_u16(p, c, "percentage", &whole)) *value = whole / 100.0f;
    } else if (c.id == ID_PERCENT_FLOAT) {
        read_float(p, c, "percentage", value);
    } else {
        skip_rest(c);
    }
}

void read_percentage(parser& p, cursor& c, float* out) {
    float value = 0;
    walk(p, c, percentage_handler, &value);
    *out = value;
}

// ---------------------------------------------------------------------------
// Materials
// ---------------------------------------------------------------------------

void material_handler(parser& p, cursor& c, void* target) {
    model_material* mat = (model_material*)target;
    unsigned tiling;
    switch (c.id) {
    case ID_MATERIAL_NAME: read_string(p, c, mat->name); break;
    case ID_AMBIENT: read_colour(p, c, mat->ambient); break;
    case ID_DIFFUSE: read_colour(p, c, mat->diffuse); break;
    case ID_SPECULAR: read_colour(p, c, mat->specular); break;
    case ID_SHININESS: read_percentage(p, c, &mat->shininess); break;
    case ID_SHININESS_STRENGTH: read_percentage(p, c, &mat->shininess_strength); break;
    case ID_TRANSPARENCY: read_percentage(p, c, &mat->transparency); break;
    case ID_TWO_SIDED: mat->two_sided = 1; break;
    case ID_TEXTURE_MAP: walk(p, c, material_handler, mat); break;
    case ID_MAP_NAME: read_string(p, c, mat->map_name); break;
    case ID_MAP_TILING:
        if (read_u16(p, c, "map tiling", &tiling)) mat->map_tiling = (unsigned short)tiling;
        break;
    case ID_MAP_U_SCALE: read_float(p, c, "map scale", &mat->map_u_scale); break;
    case ID_MAP_V_SCALE: read_float(p, c, "map scale", &mat->map_v_scale); break;
    case ID_MAP_U_OFFSET: read_float(p, c, "map offset", &mat->map_u_offset); break;
    case ID_MAP_V_OFFSET: read_float(p, c, "map offset", &mat->map_v_offset); break;
    case ID_MAP_ROTATION: read_float(p, c, "map rotation", &mat->map_rotation); break;
    default: skip_rest(c); break;
    }
}

model_material* material_new() {
    model_material* mat = (model_material*)calloc(1, sizeof(model_material));
    mat->texture = -1;
    for (int i = 0; i < 3; ++i) mat->diffuse[i] = 1;
    mat->shininess = 1;
    mat->map_u_scale = 1;
    mat->map_v_scale = 1;
    return mat;
}

// The material is linked in before it is read, so that a failed walk leaves
// nothing to free by hand.
void read_material(parser& p, cursor& c) {
    model_material* mat = material_new();
    mat->next = p.m->materials;
    if (mat->next) mat->next->previous = mat;
    p.m->materials = mat;
    walk(p, c, material_handler, mat);
}

model_material* material_find(const model* m, const char* name) {
    for (model_material* mat = m->materials; mat; mat = mat->next)
        if (std::strcmp(mat->name, name) == 0) return mat;
    return nullptr;
}

// ---------------------------------------------------------------------------
// Meshes
// ---------------------------------------------------------------------------

void read_vertices(parser& p, cursor& c, model_object& o) {
    unsigned n;
    if (!read_u16(p, c, "vertex count", &n)) return;
    const unsigned char* b = take(p, c, (size_t)n * 12, "vertex list");
    if (!b) return;
    free(o.vertices);
    o.vertices = (model_vertex*)calloc(n ? n : 1, sizeof(model_vertex));
    o.vertex_count = (int)n;
    for (unsigned i = 0; i < n; ++i, b += 12) {
        // Z-up in the file, Y-up in the world.
        o.vertices[i].x = float_at(b);
        o.vertices[i].y = float_at(b + 8);
        o.vertices[i].z = -float_at(b + 4);
    }
}

void read_faces(parser& p, cursor& c, model_object& o) {
    unsigned n;
    if (!read_u16(p, c, "face count", &n)) return;
    const unsigned char* b = take(p, c, (size_t)n * 8, "face list");
    if (!b) return;
    free(o.faces);
    o.faces = (model_face*)calloc(n ? n : 1, sizeof(model_face));
    o.face_count = (int)n;
    for (unsigned i = 0; i < n; ++i, b += 8) {
        o.faces[i].a = (unsigned short)u16_at(b);
        o.faces[i].b = (unsigned short)u16_at(b + 2);
        o.faces[i].c = (unsigned short)u16_at(b + 4);
        o.faces[i].flags = (unsigned short)u16_at(b + 6);
    }
}

void read_face_group(parser& p, cursor& c, model_object& o) {
    char name[NAME_SIZE];
    unsigned n;
    if (!read_string(p, c, name) || !read_u16(p, c, "face group count", &n)) return;
    const unsigned char* b = take(p, c, (size_t)n * 2, "face group");
    if (!b) return;
    model_material* mat = material_find(p.m, name);
    for (unsigned i = 0; i < n; ++i) {
        unsigned face = u16_at(b + 2 * i);
        if ((int)face >= o.face_count) {
            fail(p, "object '%s': face group '%s' names face %u of %d", o.name, name, face, o.face_count);
            return;
        }
        o.faces[face].material = mat;
    }
}

void read_uvs(parser& p, cursor& c, model_object& o) {
    unsigned n;
    if (!read_u16(p, c, "texture coordinate count", &n)) return;
    const unsigned char* b = take(p, c, (size_t)n * 8, "texture coordinates");
    if (!b) return;
    free(o.uvs);
    o.uvs = (float(*)[2])calloc(n ? n : 1, sizeof(float[2]));
    o.uv_count = (int)n;
    for (unsigned i = 0; i < n; ++i) {
        o.uvs[i][0] = float_at(b + 8 * i);
        o.uvs[i][1] = float_at(b + 8 * i + 4);
    }
}

void mesh_handler(parser& p, cursor& c, void* target) {
    size_t index = (size_t)target;
    model_object& o = p.objects[index];
    const unsigned char* b;
    switch (c.id) {
    case ID_TRIANGLES: walk(p, c, mesh_handler, target); break;
    case ID_VERTICES: read_vertices(p, c, o); break;
    case ID_FACES: read_faces(p, c, o); break;
    case ID_FACE_MATERIAL: read_face_group(p, c, o); break;
    case ID_UVS: read_uvs(p, c, o); break;
    case ID_OBJECT_COLOUR:
        if ((b = take(p, c, 1, "colour"))) o.colour = b[0];
        break;
    default: skip_rest(c); break;
    }
}

// Faces are checked once the object is complete, since the file may list
// them before the vertices they use.
void check_faces(parser& p, const model_object& o) {
    for (int i = 0; i < o.face_count && !p.failed; ++i) {
        const model_face& f = o.faces[i];
        int highest = f.a > f.b ? f.a : f.b;
        if (f.c > highest) highest = f.c;
        if (highest >= o.vertex_count)
            fail(p, "object '%s': face %d uses vertex %d of %d", o.name, i, highest, o.vertex_count);
    }
}

void read_object(parser& p, cursor& c) {
    p.objects.push_back(model_object());
    size_t index = p.objects.size() - 1;
    if (!read_string(p, c, p.objects[index].name)) return;
    walk(p, c, mesh_handler, (void*)index);
    check_faces(p, p.objects[index]);
}

// ---------------------------------------------------------------------------
// Editor, keyframer
// ---------------------------------------------------------------------------

void skip_handler(parser&, cursor& c, void*) { skip_rest(c); }

void editor_handler(parser& p, cursor& c, void*) {
    switch (c.id) {
    case ID_EDITOR: walk(p, c, editor_handler, nullptr); break;
    case ID_OBJECT: read_object(p, c); break;
    case ID_MATERIAL: read_material(p, c); break;
    case ID_KEYFRAMER: walk(p, c, skip_handler, nullptr); break;
    default: skip_rest(c); break;
    }
}

void index_faces(model_object& o) {
    o.indices = (unsigned short*)malloc((o.face_count ? (size_t)o.face_count : 1) * 3 * sizeof(unsigned short));
    for (int i = 0; i < o.face_count; ++i) {
        o.indices[3 * i] = o.faces[i].a;
        o.indices[3 * i + 1] = o.faces[i].b;
        o.indices[3 * i + 2] = o.faces[i].c;
    }
}

void objects_free(std::vector<model_object>& objects) {
    for (model_object& o : objects) {
        free(o.faces);
        free(o.vertices);
        free(o.uvs);
    }
    objects.clear();
}

}  // namespace

model* model_parse(const unsigned char* data, size_t size, std::string* error) {
    parser p{};
    p.data = data;
    p.size = size;
    p.m = (model*)calloc(1, sizeof(model));

    cursor whole{0, 0, size, 0};
    cursor main_chunk;
    if (size < HEADER_SIZE) {
        fail(p, "%zu bytes are too few for a model", size);
    } else if (u16_at(data) != ID_MAIN) {
        fail(p, "not a model: the first chunk is 0x%04X, not 0x%04X", u16_at(data), (unsigned)ID_MAIN);
    } else if (read_header(p, whole, &main_chunk)) {
        walk(p, main_chunk, editor_handler, nullptr);
    }

    if (p.failed) {
        if (error) *error = p.reason;
        objects_free(p.objects);
        model_free(p.m);
        return nullptr;
    }
    model* m = p.m;
    for (model_object& o : p.objects) index_faces(o);
    m->object_count = (int)p.objects.size();
    if (m->object_count) {
        m->objects = (model_object*)malloc(p.objects.size() * sizeof(model_object));
        std::memcpy(m->objects, p.objects.data(), p.objects.size() * sizeof(model_object));
    }
    return m;
}

void model_free(model* m) {
    if (!m) return;
    for (int i = 0; i < m->object_count; ++i) {
        free(m->objects[i].faces);
        free(m->objects[i].vertices);
        free(m->objects[i].uvs);
        free(m->objects[i].indices);
    }
    free(m->objects);
    model_material* mat = m->materials;
    while (mat) {
        model_material* next = mat->next;
        free(mat);
        mat = next;
    }
    free(m);
}
