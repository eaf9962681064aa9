// The builder, column and paranoia scenes' models and pictures.
#include "assetlib/cubes_column_spikes.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

#include "assetlib/generators.h"
#include "assetlib/meshes.h"
#include "assetlib/noise.h"

namespace {

const float PI = 3.14159265f;

struct dir3 {
    double x, y, z;
};

dir3 normalised(dir3 a) {
    double l = std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
    return {a.x / l, a.y / l, a.z / l};
}

mesh_vec3 scaled(dir3 a, double s) {
    mesh_vec3 v;
    v.x = static_cast<float>(a.x * s);
    v.y = static_cast<float>(a.y * s);
    v.z = static_cast<float>(a.z * s);
    return v;
}

struct tri {
    int a, b, c;
};

// The unit icosahedron's 12 corners and 20 faces, counter-clockwise outside.
void icosahedron(std::vector<dir3>& points, std::vector<tri>& faces) {
    const double g = (1 + std::sqrt(5.0)) / 2;
    const double corners[12][3] = {{-1, g, 0}, {1, g, 0}, {-1, -g, 0}, {1, -g, 0}, {0, -1, g}, {0, 1, g},
                                   {0, -1, -g}, {0, 1, -g}, {g, 0, -1}, {g, 0, 1}, {-g, 0, -1}, {-g, 0, 1}};
    for (const double* c : corners) points.push_back(normalised({c[0], c[1], c[2]}));
    faces = {{0, 11, 5}, {0, 5, 1}, {0, 1, 7}, {0, 7, 10}, {0, 10, 11}, {1, 5, 9}, {5, 11, 4},
             {11, 10, 2}, {10, 7, 6}, {7, 1, 8}, {3, 9, 4}, {3, 4, 2}, {3, 2, 6}, {3, 6, 8},
             {3, 8, 9}, {4, 9, 5}, {2, 4, 11}, {6, 2, 10}, {8, 6, 7}, {9, 8, 1}};
}

// Splits every triangle in four, the new corners pushed onto the sphere.
void subdivide(std::vector<dir3>& points, std::vector<tri>& faces) {
    std::map<std::pair<int, int>, int> middles;
    auto middle = [&](int a, int b) {
        std::pair<int, int> key(std::min(a, b), std::max(a, b));
        auto found = middles.find(key);
        if (found != middles.end()) return found->second;
        dir3 p = normalised({(points[a].x + points[b].x) / 2, (points[a].y + points[b].y) / 2,
                             (points[a].z + points[b].z) / 2});
        points.push_back(p);
        int index = static_cast<int>(points.size()) - 1;
        middles[key] = index;
        return index;
    };
    std::vector<tri> out;
    for (const tri& f : faces) {
        int ab = middle(f.a, f.b), bc = middle(f.b, f.c), ca = middle(f.c, f.a);
        out.push_back({f.a, ab, ca});
        out.push_back({f.b, bc, ab});
        out.push_back({f.c, ca, bc});
        out.push_back({ab, bc, ca});
    }
    faces = out;
}

// A faint star: most lattice points dark, a few bright, softened by a
// little of their neighbours' light.
float stars(int x, int y, int seed, float density) {
    float h = noise_hash(x, y, seed);
    float threshold = 1 - density;
    return h > threshold ? std::pow((h - threshold) / density, 3.0f) : 0.0f;
}

// 1 in the middle of a sky picture, falling to 0 at its edges: every face of
// a one-picture skybox meets its neighbours in the same base colour.
float edge_fade(float u, float v) {
    float e = std::min(std::min(u, 1 - u), std::min(v, 1 - v));
    float k = noise_clamp01(e / 0.18f);
    return k * k * (3 - 2 * k);
}

}  // namespace

// ---------------------------------------------------------------------------
// Models
// ---------------------------------------------------------------------------

mesh_object scene_spiked_ball(const spiked_ball_params& p, const char* name) {
    std::vector<dir3> points;
    std::vector<tri> faces;
    icosahedron(points, faces);
    for (int i = 0; i < p.subdivisions; ++i) subdivide(points, faces);
    // Lowest spike first: sort the base triangles by their centres' height.
    auto centre = [&](const tri& f) {
        return normalised({points[f.a].x + points[f.b].x + points[f.c].x, points[f.a].y + points[f.b].y + points[f.c].y,
                           points[f.a].z + points[f.b].z + points[f.c].z});
    };
    std::stable_sort(faces.begin(), faces.end(),
                     [&](const tri& l, const tri& r) { return centre(l).y < centre(r).y; });
    mesh_object o;
    o.name = name;
    for (const tri& f : faces) {
        dir3 c = centre(f);
        float n = noise_fractal(static_cast<float>(c.x * 2 + 3), static_cast<float>(c.y * 2 + c.z * 1.3 + 5), 3, 71);
        float length = p.spike_min + (p.spike_max - p.spike_min) * std::pow(noise_clamp01(n * 1.4f - 0.2f), 2.5f);
        int first = static_cast<int>(o.vertices.size());
        for (int corner : {f.a, f.b, f.c}) o.vertices.push_back(scaled(points[corner], p.radius));
        o.vertices.push_back(scaled(c, p.radius * (1 + length)));
        const int apex = first + 3;
        for (int side = 0; side < 3; ++side) {
            mesh_triangle t;
            t.a = first + side;
            t.b = first + (side + 1) % 3;
            t.c = apex;
            o.triangles.push_back(t);
        }
    }
    return o;
}

static mesh_material chrome_material(const char* name, mesh_vec3 diffuse) {
    return mesh_material_plain(name, diffuse, 0.9f, 70);
}

// Sized for the builder's camera, two units away with a 100 degree view:
// a ball of cubes about 1.1 units in radius, built slice by slice.
mesh_model scene_cubes_model() {
    cube_cluster_params c;
    c.radius = 4;
    c.spacing = 0.26f;
    cube_cluster cluster = mesh_build_cube_cluster(c, "cubez");
    mesh_model m;
    m.materials = {chrome_material("core", {1.0f, 0.6f, 0.2f}), chrome_material("shell", {0.6f, 0.8f, 1.0f})};
    mesh_face_group core, shell;
    core.material = "core";
    core.faces = cluster.inner_faces;
    shell.material = "shell";
    shell.faces = cluster.outer_faces;
    cluster.mesh.groups = {core, shell};
    m.objects.push_back(cluster.mesh);
    return m;
}

// 400 units tall, centred on the origin: the scene scales it by 0.2 and
// looks at it from 54 units.
mesh_model scene_column_model() {
    column_params c;
    c.height = 400;
    c.radius = 34;
    c.flutes = 20;
    c.sides = 80;
    c.shaft_rings = 12;
    mesh_object o = mesh_build_column(c, "columna");
    float low = o.vertices.front().y, high = low;
    for (const mesh_vec3& v : o.vertices) {
        low = std::min(low, v.y);
        high = std::max(high, v.y);
    }
    for (mesh_vec3& v : o.vertices) v.y -= (low + high) / 2;
    mesh_object_use_material(o, "stone");
    mesh_model m;
    m.materials = {chrome_material("stone", {0.9f, 0.88f, 0.84f})};
    m.objects.push_back(o);
    return m;
}

// About 1100 units across the spikes' feet: the scene scales it by 0.03.
mesh_model scene_paranoia_model() {
    spiked_ball_params p;
    p.radius = 1100;
    mesh_object o = scene_spiked_ball(p, "paranoia");
    mesh_object_use_material(o, "spikes");
    mesh_model m;
    m.materials = {chrome_material("spikes", {0.8f, 0.2f, 0.3f})};
    m.objects.push_back(o);
    return m;
}

// ---------------------------------------------------------------------------
// Pictures
// ---------------------------------------------------------------------------

// A chrome studio: a blue sky with two soft lights in the lower half, a
// bright horizon bending round the disc, warm mottled ground above it.
rgb_image scene_chrome_front(int size) {
    rgb_image image(size, size, 3);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float u = (x + 0.5f) / size * 2 - 1, v = (y + 0.5f) / size * 2 - 1;
            float r2 = std::min(u * u + v * v, 1.0f);
            float h = v - 0.12f * (1 - r2);  // > 0: sky (lower half of the picture)
            float grain = noise_fractal(u * 5 + 9, v * 5 + 2, 4, 41);
            float cr, cg, cb;
            if (h > 0) {
                float k = std::pow(noise_clamp01(h), 0.6f);
                cr = noise_mix(0.85f, 0.05f, k);
                cg = noise_mix(0.9f, 0.2f, k);
                cb = noise_mix(1.0f, 0.55f, k);
                float lights = std::exp(-((u - 0.45f) * (u - 0.45f) + (v - 0.55f) * (v - 0.55f)) * 30) +
                               0.6f * std::exp(-((u + 0.5f) * (u + 0.5f) + (v - 0.35f) * (v - 0.35f)) * 45);
                cr += lights;
                cg += lights;
                cb += lights * 0.9f;
            } else {
                float k = noise_clamp01(-h * 1.6f);
                float m = 0.7f + 0.3f * grain;
                cr = noise_mix(0.8f, 0.25f, k) * m;
                cg = noise_mix(0.55f, 0.12f, k) * m;
                cb = noise_mix(0.35f, 0.06f, k) * m;
            }
            float horizon = std::exp(-h * h * 600) * 0.8f;
            asset_put(image, x, y, cr + horizon, cg + horizon, cb + horizon * 0.9f);
        }
    return image;
}

// Dark blue-violet haze brightening towards the middle.
rgb_image scene_loading_back(int size) {
    rgb_image image(size, size, 3);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float u = static_cast<float>(x) / size, v = static_cast<float>(y) / size;
            float d2 = (u - 0.5f) * (u - 0.5f) + (v - 0.5f) * (v - 0.5f);
            float haze = noise_fractal(u * 4, v * 4, 5, 43);
            float glow = std::exp(-d2 * 5) * (0.35f + 0.4f * haze);
            asset_put(image, x, y, 0.03f + glow * 0.35f, 0.03f + glow * 0.3f, 0.08f + glow * 0.7f);
        }
    return image;
}

// A nebula of teal and magenta veils over a star field, fading to a common
// deep blue at the edges.
rgb_image scene_column_sky(int size) {
    rgb_image image(size, size, 3);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float u = static_cast<float>(x) / size, v = static_cast<float>(y) / size;
            float fade = edge_fade(u, v);
            float cloud = noise_fractal(u * 3 + 1, v * 3 + 7, 6, 51);
            float veil = noise_fractal(u * 6 + 4, v * 2 + 3, 5, 52);
            float dense = std::pow(noise_clamp01(cloud * 1.5f - 0.35f), 2.0f) * fade;
            float pink = std::pow(noise_clamp01(veil * 1.6f - 0.6f), 2.0f) * fade;
            float star = stars(x, y, 53, 0.004f) * (1 - dense * 0.7f) * fade;
            // Bright: the scene adds it at a twentieth per layer.
            asset_put(image, x, y, 0.08f + dense * 0.3f + pink * 1.2f + star, 0.1f + dense * 1.1f + pink * 0.3f + star,
                0.3f + dense * 1.2f + pink * 0.9f + star);
        }
    return image;
}

// The Julia set of c = -0.8 + 0.156i, smoothly coloured from deep blue
// through teal to gold at its filaments.
rgb_image scene_julia_reflection(int size) {
    rgb_image image(size, size, 3);
    const int limit = 160;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            double zr = ((x + 0.5) / size * 2 - 1) * 1.6, zi = ((y + 0.5) / size * 2 - 1) * 1.6;
            int n = 0;
            while (n < limit && zr * zr + zi * zi < 256) {
                double t = zr * zr - zi * zi - 0.8;
                zi = 2 * zr * zi + 0.156;
                zr = t;
                ++n;
            }
            float k = 0;
            if (n < limit) {
                double smooth = n + 1 - std::log2(std::log2(zr * zr + zi * zi) / 2);
                k = static_cast<float>(std::sqrt(std::max(smooth, 0.0) / limit));
            }
            float a = noise_clamp01(k * 2.2f);
            asset_put(image, x, y, 0.05f + 1.1f * a * a * a, 0.1f + 0.9f * a * a, 0.3f + 0.7f * a - 0.6f * a * a * a);
        }
    return image;
}

// An iris staring out of the middle: dark pupil, red and violet fibres
// radiating through a gold ring, a white highlight; dark outside.
rgb_image scene_paranoia_map(int size) {
    rgb_image image(size, size, 3);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float u = (x + 0.5f) / size * 2 - 1, v = (y + 0.5f) / size * 2 - 1;
            float r = std::sqrt(u * u + v * v), angle = std::atan2(v, u);
            float fibres = noise_fractal(angle * 8 / PI + 20, r * 3, 4, 61);
            float iris = noise_clamp01((0.85f - r) * 12) * noise_clamp01((r - 0.22f) * 25);
            float ring = std::exp(-(r - 0.35f) * (r - 0.35f) * 200);
            float vein = std::pow(noise_clamp01(noise_fractal(u * 7, v * 7, 4, 62) * 2 - 0.9f), 1.5f);
            float spot = std::exp(-((u + 0.28f) * (u + 0.28f) + (v + 0.3f) * (v + 0.3f)) * 120);
            float white = r > 0.8f ? 1 - iris : 0.0f;  // the bloodshot white round the iris
            float cr = iris * (0.5f + 0.5f * fibres) + ring * 0.9f + white * (0.25f + 0.6f * vein);
            float cg = iris * 0.15f * fibres + ring * 0.6f;
            float cb = iris * (0.25f + 0.45f * (1 - fibres)) + ring * 0.1f + white * 0.12f;
            asset_put(image, x, y, cr + spot, cg + spot, cb + spot);
        }
    return image;
}

// Crimson and violet smoke over stars, fading to near-black at the edges.
rgb_image scene_paranoia_sky(int size) {
    rgb_image image(size, size, 3);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float u = static_cast<float>(x) / size, v = static_cast<float>(y) / size;
            float fade = edge_fade(u, v);
            float smoke = noise_fractal(u * 4 + 2, v * 4 + 9, 6, 81);
            float wisp = std::fabs(noise_fractal(u * 8 + 5, v * 8 + 1, 4, 82) * 2 - 1);
            float dense = std::pow(noise_clamp01(smoke * 1.6f - 0.45f), 1.8f) * fade;
            float thread = std::pow(1 - wisp, 8.0f) * fade * 0.6f;
            float star = stars(x, y, 83, 0.005f) * (1 - dense) * fade;
            asset_put(image, x, y, 0.04f + dense * 0.9f + thread * 0.8f + star, 0.01f + dense * 0.1f + star * 0.8f,
                0.04f + dense * 0.35f + thread * 0.9f + star);
        }
    return image;
}

void generate_cubes_column_spikes(const std::string& data_dir) {
    model_writer_save(data_dir + "/cubitos/models/cubez.3ds", scene_cubes_model());
    model_writer_save(data_dir + "/models/columna.3d", scene_column_model());
    model_writer_save(data_dir + "/models/paranoia.3d", scene_paranoia_model());
    asset_write_jpeg(data_dir + "/loader/textures/loadingfront.jpg", scene_chrome_front(256));
    asset_write_jpeg(data_dir + "/loader/textures/loadingback.jpg", scene_loading_back(512));
    asset_write_jpeg(data_dir + "/textures/8470702.jpg", scene_column_sky(512));
    asset_write_jpeg(data_dir + "/textures/FractalReflections2.jpg", scene_julia_reflection(256));
    asset_write_jpeg(data_dir + "/textures/paranoia.jpg", scene_paranoia_map(256));
    asset_write_jpeg(data_dir + "/textures/paranoia_sky.jpg", scene_paranoia_sky(512));
}
