// The generated models of data/models/: a steel gear wheel, a torus knot and
// a column with procedural metal and marble maps, and a two-tone cube cluster.
#include <cmath>

#include "assetlib/asset_io.h"
#include "assetlib/generators.h"
#include "assetlib/meshes.h"
#include "assetlib/model_writer.h"
#include "assetlib/models.h"
#include "assetlib/noise.h"

static const int MAP_SIZE = 256;

static mesh_material material(const char* name, mesh_vec3 diffuse, int shininess, const char* map) {
    return mesh_material_plain(name, diffuse, 0.8f, shininess, map);
}

static mesh_model single(mesh_material m, mesh_object o) {
    mesh_object_use_material(o, m.name.c_str());
    mesh_model model;
    model.materials.push_back(m);
    model.objects.push_back(o);
    return model;
}

mesh_model models_gear() {
    gear_params g;
    return single(material("steel", {0.6f, 0.62f, 0.66f}, 60, ""), mesh_build_gear(g, "gear"));
}

mesh_model models_torus_knot() {
    torus_knot_params k;
    return single(material("knot_metal", {1, 1, 1}, 80, "metal.jpg"), mesh_build_torus_knot(k, "knot"));
}

mesh_model models_column() {
    column_params c;
    return single(material("marble", {1, 1, 1}, 30, "marble.jpg"), mesh_build_column(c, "column"));
}

mesh_model models_cubes() {
    cube_cluster_params c;
    cube_cluster cluster = mesh_build_cube_cluster(c, "cubes");
    mesh_model model;
    model.materials.push_back(material("cube_core", {0.9f, 0.45f, 0.1f}, 40, ""));
    model.materials.push_back(material("cube_shell", {0.2f, 0.4f, 0.9f}, 40, ""));
    mesh_face_group core, shell;
    core.material = "cube_core";
    core.faces = cluster.inner_faces;
    shell.material = "cube_shell";
    shell.faces = cluster.outer_faces;
    cluster.mesh.groups = {core, shell};
    model.objects.push_back(cluster.mesh);
    return model;
}

// ---------------------------------------------------------------------------
// Maps
// ---------------------------------------------------------------------------

static unsigned char byte_of(float v) { return static_cast<unsigned char>(noise_clamp01(v) * 255.0f + 0.5f); }

// Brushed metal: streaks along u (stretched noise) over a cool grey.
rgb_image models_metal_map() {
    rgb_image image(MAP_SIZE, MAP_SIZE, 3);
    for (int y = 0; y < MAP_SIZE; ++y)
        for (int x = 0; x < MAP_SIZE; ++x) {
            float u = static_cast<float>(x) / MAP_SIZE, v = static_cast<float>(y) / MAP_SIZE;
            float streak = noise_fractal(u * 2, v * 64, 4, 21);
            float grain = noise_hash(x, y, 22) * 0.08f;
            float l = 0.45f + 0.4f * streak + grain;
            unsigned char* p = image.at(x, y);
            p[0] = byte_of(l * 0.95f);
            p[1] = byte_of(l * 0.97f);
            p[2] = byte_of(l * 1.05f);
        }
    return image;
}

// White marble: sine veins bent by fractal noise.
rgb_image models_marble_map() {
    rgb_image image(MAP_SIZE, MAP_SIZE, 3);
    for (int y = 0; y < MAP_SIZE; ++y)
        for (int x = 0; x < MAP_SIZE; ++x) {
            float u = static_cast<float>(x) / MAP_SIZE, v = static_cast<float>(y) / MAP_SIZE;
            float turbulence = noise_fractal(u * 6, v * 6, 5, 31);
            float vein = std::fabs(std::sin((u * 3 + v * 5 + turbulence * 4) * 3.14159265f));
            float dark = std::pow(1.0f - vein, 6.0f);
            float l = 0.92f - 0.55f * dark - 0.08f * turbulence;
            unsigned char* p = image.at(x, y);
            p[0] = byte_of(l);
            p[1] = byte_of(l * 0.97f);
            p[2] = byte_of(l * 0.93f);
        }
    return image;
}

void generate_models(const std::string& data_dir) {
    const std::string dir = data_dir + "/models/";
    model_writer_save(dir + "gear.3ds", models_gear());
    model_writer_save(dir + "torusknot.3ds", models_torus_knot());
    model_writer_save(dir + "column.3ds", models_column());
    model_writer_save(dir + "cubes.3ds", models_cubes());
    asset_write_jpeg(dir + "metal.jpg", models_metal_map());
    asset_write_jpeg(dir + "marble.jpg", models_marble_map());
}
