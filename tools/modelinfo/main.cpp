// quillon-modelinfo FILE...: prints what the player would load from each
// model file (objects with their counts and bounds, materials with their
// maps), or why the file is not a valid model. Exits 1 when any file failed.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "resources/model.h"
#include "tools/modelinfo/usage.h"

static bool read_bytes(const char* path, std::vector<unsigned char>* bytes, std::string* error) {
    FILE* f = fopen(path, "rb");
    if (!f) {
        *error = std::strerror(errno);
        return false;
    }
    unsigned char block[65536];
    size_t got;
    while ((got = fread(block, 1, sizeof block, f)) > 0) bytes->insert(bytes->end(), block, block + got);
    bool ok = !ferror(f);
    fclose(f);
    if (!ok) *error = "read error";
    return ok;
}

static void print_object(const model_object& o) {
    float low[3] = {0, 0, 0}, high[3] = {0, 0, 0};
    for (int i = 0; i < o.vertex_count; ++i) {
        const float p[3] = {o.vertices[i].x, o.vertices[i].y, o.vertices[i].z};
        for (int k = 0; k < 3; ++k) {
            if (i == 0 || p[k] < low[k]) low[k] = p[k];
            if (i == 0 || p[k] > high[k]) high[k] = p[k];
        }
    }
    // Adding 0 turns -0 (a file's 0 after the axis change) into 0.
    printf("object %s vertices %d faces %d uvs %d bounds %.4f %.4f %.4f %.4f %.4f %.4f\n", o.name, o.vertex_count,
           o.face_count, o.uv_count, low[0] + 0.0f, low[1] + 0.0f, low[2] + 0.0f, high[0] + 0.0f, high[1] + 0.0f,
           high[2] + 0.0f);
}

static bool file_exists(const std::string& path) {
    FILE* f = fopen(path.c_str(), "rb");
    if (f) fclose(f);
    return f != nullptr;
}

// Materials in file order; maps are looked for beside the model, as the
// player loads them from the model's directory.
static void print_materials(const model* m, const std::string& directory) {
    const model_material* mat = m->materials;
    while (mat && mat->next) mat = mat->next;
    for (; mat; mat = mat->previous) {
        if (!mat->map_name[0]) {
            printf("material %s map -\n", mat->name);
            continue;
        }
        printf("material %s map %s%s\n", mat->name, mat->map_name,
               file_exists(directory + mat->map_name) ? "" : " (missing)");
    }
}

static bool describe(const char* path) {
    std::vector<unsigned char> bytes;
    std::string error;
    model* m = nullptr;
    if (read_bytes(path, &bytes, &error)) m = model_parse(bytes.data(), bytes.size(), &error);
    if (!m) {
        fprintf(stderr, "Error: %s: %s\n", path, error.c_str());
        return false;
    }
    const std::string name = path;
    const size_t slash = name.rfind('/');
    const std::string directory = slash == std::string::npos ? "" : name.substr(0, slash + 1);
    printf("model %s\n", path);
    long vertices = 0, faces = 0;
    for (int i = 0; i < m->object_count; ++i) {
        print_object(m->objects[i]);
        vertices += m->objects[i].vertex_count;
        faces += m->objects[i].face_count;
    }
    print_materials(m, directory);
    printf("total objects %d vertices %ld faces %ld\n", m->object_count, vertices, faces);
    model_free(m);
    return true;
}

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "quillon-modelinfo: no model file given\n%s", MODELINFO_USAGE);
        return 2;
    }
    if (strcmp(argv[1], "--help") == 0) {
        fputs(MODELINFO_USAGE, stdout);
        return 0;
    }
    int status = 0;
    for (int i = 1; i < argc; ++i) {
        if (!describe(argv[i])) status = 1;
        fflush(stdout);
    }
    return status;
}
