// Model files on disk: read the whole file, parse it, load the materials'
// texture maps from the model's directory, compute the normals. Keeps the
// most recently loaded model for model_upload_textures.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/file_read.h"
#include "core/owned.h"
#include "resources/model.h"
#include "resources/texture.h"

static model* current_model = nullptr;
static std::string last_error;

static bool read_whole_file(const std::string& path, std::vector<unsigned char>* bytes) {
    if (file_read_all(path.c_str(), bytes)) return true;
    last_error = path + ": " + std::strerror(errno);
    return false;
}

// Maps are loaded oldest material first, the order the file gives them; the
// list itself is newest first.
static void load_maps(model* m, const char* directory) {
    model_material* mat = m->materials;
    while (mat && mat->next) mat = mat->next;
    for (; mat; mat = mat->previous)
        if (mat->map_name[0] && texture_kind_from_name(mat->map_name))  // other maps leave it untextured
            mat->texture = texture_load((std::string(directory) + mat->map_name).c_str());
}

model* model_load(const char* directory, const char* file) {
    const std::string path = std::string(directory) + file;
    std::vector<unsigned char> bytes;
    if (!read_whole_file(path, &bytes)) return nullptr;
    std::string reason;
    model* m = model_parse(bytes.data(), bytes.size(), &reason);
    if (!m) {
        last_error = path + ": " + reason;
        return nullptr;
    }
    generation_own(m, [](void* p) { model_free(static_cast<model*>(p)); });
    load_maps(m, directory);
    model_compute_normals(m);
    current_model = m;
    last_error.clear();
    return m;
}

const char* model_last_error() { return last_error.c_str(); }

model* model_current() { return current_model; }
