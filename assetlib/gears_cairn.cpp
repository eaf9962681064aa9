// The gears and meditation scenes' models, pictures and camera flight.
#include "assetlib/gears_cairn.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "assetlib/generators.h"
#include "assetlib/noise.h"
#include "assetlib/show_assets.h"

static const float PI_F = 3.14159265f;

// ---------------------------------------------------------------------------
// Shared helpers
// ---------------------------------------------------------------------------

static float smoothstep(float lo, float hi, float v) {
    float t = noise_clamp01((v - lo) / (hi - lo));
    return t * t * (3 - 2 * t);
}

// The material every face of a single-object model is drawn with.
static mesh_model model_of(const char* material, mesh_vec3 diffuse, std::vector<mesh_object> objects) {
    mesh_model m;
    m.materials.push_back(mesh_material_plain(material, diffuse, 0.9f, 70));
    for (mesh_object& o : objects) {
        mesh_object_use_material(o, material);
        m.objects.push_back(o);
    }
    return m;
}

// ---------------------------------------------------------------------------
// Gears
// ---------------------------------------------------------------------------

// The four big wheels sit 0.2 from the centre on the faces of a cube, so a
// pitch radius of 0.2 makes neighbours touch on the cube's edges. The side
// wheels stand 0.12258 apart (centres (0.025, 0.12) and (0, 0) across the
// side), which is 12.5 modules of 0.0098; gear 2 at that module reaches the
// big wheel's plane at z = 0.1935 + 0.0098, inside its tooth band.
scene_gear scene_gear_shape(int which) {
    static const scene_gear gears[SCENE_C_GEARS] = {
        {{40, 0.01f, 0.02f, 0.15f}, 0.25f, 1},
        {{15, 0.0098f, 0.018f, 0.042f}, 0.85f, 1},
        {{10, 0.0098f, 0.018f, 0.01f}, 0.1f, 0},
    };
    return gears[std::clamp(which, 0, SCENE_C_GEARS - 1)];
}

mesh_model scene_gear_model(int which) {
    scene_gear g = scene_gear_shape(which);
    const char* names[SCENE_C_GEARS] = {"gear1", "gear2", "gear3"};
    mesh_object o = mesh_build_gear(g.shape, names[std::clamp(which, 0, SCENE_C_GEARS - 1)]);
    if (g.spokes) {
        float reach = g.shape.bore + 0.004f, half = g.shape.thickness * 0.3f;
        float width = g.shape.bore * 0.09f;
        mesh_append_box(o, {-reach, -half, -width}, {reach, half, width}, false);
        mesh_append_box(o, {-width, -half, -reach}, {width, half, reach}, false);
    }
    // Turning every point by the phase about Y moves tooth k from the angle
    // k * pitch to (k + phase) * pitch, measured from +X towards +Z.
    double turn = 2 * 3.14159265358979 * g.phase / g.shape.teeth;
    float c = static_cast<float>(std::cos(turn)), s = static_cast<float>(std::sin(turn));
    for (mesh_vec3& v : o.vertices) {
        float x = v.x, z = v.z;
        v.x = x * c - z * s;
        v.z = x * s + z * c;
    }
    return model_of("brass", {0.85f, 0.7f, 0.4f}, {o});
}

// Brass reflections: the lower half (what upward faces see) a golden sky
// with soft clouds, the upper half a dark wooden room with grain, a bright
// horizon between them, two window highlights, and a brighter rim where
// reflections graze.
rgb_image scene_gear_reflection(int size) {
    rgb_image image(size, size, 3);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float u = (x + 0.5f) / size, v = (y + 0.5f) / size;
            float dx = 2 * u - 1, dy = 2 * v - 1;
            float rim = std::min(1.0f, std::sqrt(dx * dx + dy * dy));
            float r, g, b;
            if (v > 0.5f) {
                float up = (v - 0.5f) * 2;
                float cloud = smoothstep(0.45f, 0.8f, noise_fractal(u * 5, up * 3, 5, 401));
                r = noise_mix(0.75f, 0.45f, up) + 0.25f * cloud;
                g = noise_mix(0.5f, 0.28f, up) + 0.2f * cloud;
                b = noise_mix(0.18f, 0.12f, up) + 0.12f * cloud;
            } else {
                float down = (0.5f - v) * 2;
                float warp = noise_fractal(u * 3, v * 3, 4, 402) * 6;
                float grain = 0.5f + 0.5f * std::sin((u * 40 + warp) * PI_F);
                float l = 0.12f + 0.1f * grain * (1 - 0.5f * down);
                r = l * 1.6f;
                g = l * 0.95f;
                b = l * 0.45f;
            }
            float horizon = std::exp(-std::pow((v - 0.5f) / 0.025f, 2.0f));
            float window = std::exp(-((u - 0.32f) * (u - 0.32f) + (v - 0.7f) * (v - 0.7f)) / 0.004f) +
                           0.6f * std::exp(-((u - 0.7f) * (u - 0.7f) + (v - 0.62f) * (v - 0.62f)) / 0.002f);
            float glow = horizon * 0.6f + window + 0.25f * std::pow(rim, 4.0f);
            asset_put(image, x, y, r + glow, g + glow * 0.85f, b + glow * 0.55f);
        }
    return image;
}

std::string scene_gears_flight() {
    // Close around the wheels: from above one side train, down and in past
    // the other, a little over one turn.
    return orbit_flight_text({13, {0.6f, 0.42f}, {0.3f, -0.18f}, 1.1f, 0.9f, {0, 0, 0}});
}

// ---------------------------------------------------------------------------
// Meditation
// ---------------------------------------------------------------------------

struct stone {
    float centre[3];
    float radius[3];  // half extents along x, y, z
    float spin;       // radians about Y
    int seed;
};

// A lumpy ellipsoid: a pole vertex at each end and rings between, all
// shared, wound counter-clockwise seen from outside.
static mesh_object stone_mesh(const stone& s, const char* name) {
    const int rings = 18, segments = 36;
    mesh_object o;
    o.name = name;
    auto point = [&](float theta, float phi) {
        float d[3] = {std::sin(theta) * std::cos(phi), std::cos(theta), std::sin(theta) * std::sin(phi)};
        float lump = noise_fractal(d[0] * 1.7f + d[1] * 0.6f + 10, d[2] * 1.7f - d[1] * 0.9f + 10, 3, s.seed);
        float k = 1 + 0.12f * (lump - 0.5f);
        float x = d[0] * s.radius[0] * k, y = d[1] * s.radius[1] * k, z = d[2] * s.radius[2] * k;
        float c = std::cos(s.spin), sn = std::sin(s.spin);
        return mesh_vec3{s.centre[0] + x * c - z * sn, s.centre[1] + y, s.centre[2] + x * sn + z * c};
    };
    o.vertices.push_back(point(0, 0));
    for (int r = 1; r < rings; ++r)
        for (int c = 0; c < segments; ++c)
            o.vertices.push_back(point(PI_F * r / rings, 2 * PI_F * c / segments));
    o.vertices.push_back(point(PI_F, 0));
    const int bottom = static_cast<int>(o.vertices.size()) - 1;
    auto ring = [&](int r, int c) { return 1 + (r - 1) * segments + (c % segments); };
    // Increasing phi turns clockwise seen from +Y, so the fans and quads
    // list their corners against it.
    for (int c = 0; c < segments; ++c) {
        o.triangles.push_back({0, ring(1, c + 1), ring(1, c)});
        o.triangles.push_back({bottom, ring(rings - 1, c), ring(rings - 1, c + 1)});
    }
    for (int r = 1; r + 1 < rings; ++r)
        for (int c = 0; c < segments; ++c) {
            int a = ring(r, c), b = ring(r, c + 1), d = ring(r + 1, c), e = ring(r + 1, c + 1);
            o.triangles.push_back({a, b, e});
            o.triangles.push_back({a, e, d});
        }
    return o;
}

mesh_model scene_meditation_model() {
    // Built Y-up, from the widest stone at the bottom to the smallest, each
    // resting a little into the one below.
    const float radii[5][3] = {{0.62f, 0.2f, 0.5f}, {0.5f, 0.18f, 0.42f}, {0.4f, 0.16f, 0.34f},
                               {0.3f, 0.14f, 0.27f}, {0.21f, 0.13f, 0.19f}};
    const float shift[5][2] = {{0, 0}, {0.04f, -0.03f}, {-0.05f, 0.02f}, {0.03f, 0.04f}, {-0.02f, -0.01f}};
    std::vector<mesh_object> objects;
    float y = 0, heights[5];
    for (int i = 0; i < 5; ++i) {
        if (i) y += radii[i - 1][1] + radii[i][1] - 0.04f;
        heights[i] = y;
    }
    float middle = (heights[0] - radii[0][1] + heights[4] + radii[4][1]) / 2;
    const char* names[5] = {"stone1", "stone2", "stone3", "stone4", "stone5"};
    for (int i = 0; i < 5; ++i) {
        stone s = {{shift[i][0], heights[i] - middle, shift[i][1]},
                   {radii[i][0], radii[i][1], radii[i][2]},
                   0.7f * static_cast<float>(i),
                   500 + i};
        mesh_object o = stone_mesh(s, names[i]);
        // The scene turns the model 180 degrees about Z, then 90 about X,
        // which takes (x, y, z) to (-x, -z, -y); storing (-X, -Z, -Y) for a
        // point (X, Y, Z) of the upright cairn undoes that. The map is a
        // rotation, so the winding stays outward.
        for (mesh_vec3& v : o.vertices) v = {-v.x, -v.z, -v.y};
        objects.push_back(o);
    }
    return model_of("stone", {0.8f, 0.8f, 0.85f}, objects);
}

// A dusk sky: deep blue high up to a violet-rose glow at the face's middle,
// under drifting clouds lit warm. Every face of the sky shows this one
// picture, so it is folded to be the same along all four edges (mirrored
// about both centre lines and the diagonal): faces then meet without seams.
rgb_image scene_cloud_sky(int size) {
    rgb_image image(size, size, 3);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float fu = std::min(x + 0.5f, size - x - 0.5f) / size;
            float fv = std::min(y + 0.5f, size - y - 0.5f) / size;
            float u = std::min(fu, fv) * 2, v = std::max(fu, fv) * 2;  // 0 at an edge, 1 mid-face
            float warp = noise_fractal(u * 2, v * 2, 3, 611);
            float cloud = noise_fractal(u * 4 + warp * 1.5f, v * 4 - warp, 6, 612);
            float cover = smoothstep(0.42f, 0.72f, cloud);
            float light = noise_fractal(u * 8, v * 8, 3, 613);
            float h = u * v;
            float sr = noise_mix(0.1f, 0.55f, h), sg = noise_mix(0.16f, 0.32f, h), sb = noise_mix(0.45f, 0.6f, h);
            float cr = 0.85f + 0.15f * light, cg = 0.75f + 0.15f * light, cb = 0.8f + 0.1f * h;
            float stars = noise_hash(x, y, 614) > 0.9975f ? (1 - cover) * (1 - h) : 0;
            asset_put(image, x, y, noise_mix(sr, cr, cover) + stars, noise_mix(sg, cg, cover) + stars,
                noise_mix(sb, cb, cover) + stars);
        }
    return image;
}

// An electric flare on black: a white-hot core, a blue glow, a long
// horizontal streak and a shorter vertical one, faint uneven rays, all
// fading to exactly black before the edge.
rgb_image scene_electric_flare(int size) {
    rgb_image image(size, size, 3);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float dx = (x + 0.5f) / size * 2 - 1, dy = (y + 0.5f) / size * 2 - 1;
            float d = std::sqrt(dx * dx + dy * dy);
            float edge = smoothstep(1.0f, 0.8f, d);
            float core = std::exp(-d * d * 60);
            float glow = 0.55f * std::exp(-d * 5);
            float streak = 0.7f * std::exp(-std::fabs(dy) * 120) * std::exp(-std::fabs(dx) * 2.5f) +
                           0.35f * std::exp(-std::fabs(dx) * 150) * std::exp(-std::fabs(dy) * 4);
            float angle = std::atan2(dy, dx);
            float rays = 0.3f * std::pow(noise_value(angle * 5 + 40, 0.5f, 615), 4.0f) * std::exp(-d * 2.5f);
            float white = (core + streak * 0.6f) * edge;
            float blue = (glow + rays + streak * 0.4f) * edge;
            asset_put(image, x, y, white + blue * 0.35f, white + blue * 0.65f, white + blue);
        }
    return image;
}

// A Julia set, smoothly coloured: filaments cycling from teal through
// violet to gold, the inside a deep blue.
rgb_image scene_fractal_reflection(int size) {
    rgb_image image(size, size, 3);
    const int limit = 96;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            double zr = ((x + 0.5) / size * 2 - 1) * 1.2, zi = ((y + 0.5) / size * 2 - 1) * 1.2;
            int n = 0;
            while (n < limit && zr * zr + zi * zi < 64) {
                double t = zr * zr - zi * zi - 0.8;
                zi = 2 * zr * zi + 0.156;
                zr = t;
                ++n;
            }
            if (n == limit) {
                asset_put(image, x, y, 0.2f, 0.45f, 0.6f);
                continue;
            }
            double smooth = n + 1 - std::log2(std::log2(zr * zr + zi * zi) / 2);
            float t = static_cast<float>(smooth / 24.0);
            float l = 0.35f + 0.65f * static_cast<float>(std::min(1.0, smooth / 30.0));
            asset_put(image, x, y, l * (0.5f + 0.5f * std::cos(6.2831853f * (t + 0.55f))),
                l * (0.5f + 0.5f * std::cos(6.2831853f * (t + 0.35f))),
                l * (0.5f + 0.5f * std::cos(6.2831853f * (t + 0.15f))));
        }
    return image;
}

// A thin pale-gold ring at three quarters of the radius with a soft halo,
// black inside and out.
rgb_image scene_circle(int size) {
    rgb_image image(size, size, 3);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float dx = (x + 0.5f) / size * 2 - 1, dy = (y + 0.5f) / size * 2 - 1;
            float d = std::sqrt(dx * dx + dy * dy);
            float ring = std::exp(-std::pow((d - 0.75f) / 0.035f, 2.0f));
            float halo = 0.25f * std::exp(-std::pow((d - 0.75f) / 0.14f, 2.0f));
            float l = (ring + halo) * smoothstep(1.0f, 0.93f, d);
            asset_put(image, x, y, l, l * 0.9f, l * 0.7f);
        }
    return image;
}

void generate_gears_cairn(const std::string& data_dir) {
    const std::string gears = data_dir + "/gears/";
    const char* files[SCENE_C_GEARS] = {"gear1.3d", "gear2.3d", "gear3.3d"};
    for (int i = 0; i < SCENE_C_GEARS; ++i)
        model_writer_save(gears + "models/" + files[i], scene_gear_model(i));
    asset_write_jpeg(gears + "textures/guitar.jpg", scene_gear_reflection(256), 92);
    std::string flight = scene_gears_flight();
    asset_write(data_dir + "/splines/gears_flight.txt", std::vector<unsigned char>(flight.begin(), flight.end()));

    const std::string meditation = data_dir + "/meditation/";
    model_writer_save(meditation + "models/meditation.3d", scene_meditation_model());
    asset_write_jpeg(meditation + "textures/cloudskybox.jpg", scene_cloud_sky(512), 90);
    asset_write_jpeg(meditation + "textures/electronicflareblack.jpg", scene_electric_flare(256), 92);
    asset_write_jpeg(meditation + "textures/fractalreflections2.jpg", scene_fractal_reflection(256), 92);
    asset_write_jpeg(meditation + "textures/circle.jpg", scene_circle(256), 92);
}
