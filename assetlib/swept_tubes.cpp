// Swept-tube models, nebula skies and reflection pictures of the final logo
// and loop scenes.
#include "assetlib/swept_tubes.h"

#include <cmath>

#include "assetlib/generators.h"
#include "assetlib/noise.h"

static const double PI = 3.141592653589793;
static const double TWO_PI = 2 * PI;

// ---------------------------------------------------------------------------
// Vector helpers (double precision while building, float in the record)
// ---------------------------------------------------------------------------

struct dv {
    double x, y, z;
};

static dv d(mesh_vec3 v) { return {v.x, v.y, v.z}; }
static mesh_vec3 f(dv v) {
    mesh_vec3 r;
    r.x = static_cast<float>(v.x);
    r.y = static_cast<float>(v.y);
    r.z = static_cast<float>(v.z);
    return r;
}
static dv add(dv a, dv b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
static dv sub(dv a, dv b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
static dv mul(dv a, double s) { return {a.x * s, a.y * s, a.z * s}; }
static double dot(dv a, dv b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
static dv cross(dv a, dv b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
static dv unit(dv a) {
    double l = std::sqrt(dot(a, a));
    return l > 0 ? mul(a, 1 / l) : dv{0, 0, 0};
}

// ---------------------------------------------------------------------------
// Frames along a curve
// ---------------------------------------------------------------------------

static dv tangent_at(const std::vector<mesh_vec3>& p, bool closed, int i) {
    int n = static_cast<int>(p.size());
    int before = i - 1, after = i + 1;
    if (closed) {
        before = (before + n) % n;
        after %= n;
    } else {
        if (before < 0) before = 0;
        if (after >= n) after = n - 1;
    }
    return unit(sub(d(p[after]), d(p[before])));
}

// Any unit vector square to `t`: the axis least along it, made square.
static dv square_to(dv t) {
    dv axis = {1, 0, 0};
    if (std::fabs(t.y) < std::fabs(t.x) && std::fabs(t.y) <= std::fabs(t.z)) axis = {0, 1, 0};
    else if (std::fabs(t.z) < std::fabs(t.x)) axis = {0, 0, 1};
    return unit(sub(axis, mul(t, dot(axis, t))));
}

// The normal carried onto the plane square to `t`.
static dv carry(dv normal, dv t) {
    dv n = unit(sub(normal, mul(t, dot(normal, t))));
    return dot(n, n) > 0 ? n : square_to(t);
}

std::vector<sweep_frame> sweep_frames(const std::vector<mesh_vec3>& points, bool closed) {
    int n = static_cast<int>(points.size());
    std::vector<dv> t(n), nn(n);
    for (int i = 0; i < n; ++i) t[i] = tangent_at(points, closed, i);
    if (n > 0) nn[0] = square_to(t[0]);
    for (int i = 1; i < n; ++i) nn[i] = carry(nn[i - 1], t[i]);
    double left_over = 0;
    if (closed && n > 0) {
        dv wrapped = carry(nn[n - 1], t[0]);
        left_over = std::atan2(dot(cross(wrapped, nn[0]), t[0]), dot(wrapped, nn[0]));
    }
    std::vector<sweep_frame> frames(n);
    for (int i = 0; i < n; ++i) {
        dv b = cross(t[i], nn[i]);
        double a = left_over * i / n;
        dv normal = add(mul(nn[i], std::cos(a)), mul(b, std::sin(a)));
        frames[i].tangent = f(t[i]);
        frames[i].normal = f(normal);
        frames[i].binormal = f(cross(t[i], normal));
    }
    return frames;
}

// ---------------------------------------------------------------------------
// The tube
// ---------------------------------------------------------------------------

struct ring {
    dv centre, normal, binormal;
    double radius;
};

// The quarter-circle of rings that rounds an open end, from the end outward
// (`way` +1 along the tangent at the last point, -1 against it at the first).
static void cap_rings(std::vector<ring>& out, const ring& end, dv tangent, int way, int count) {
    for (int k = 1; k < count; ++k) {
        double a = PI / 2 * k / count;
        ring r = end;
        r.centre = add(end.centre, mul(tangent, way * end.radius * std::sin(a)));
        r.radius = end.radius * std::cos(a);
        out.push_back(r);
    }
}

static std::vector<ring> path_rings(const sweep_path& path, int caps, dv* start_tip, dv* end_tip) {
    std::vector<sweep_frame> frames = sweep_frames(path.points, path.closed);
    int n = static_cast<int>(path.points.size());
    std::vector<ring> middle(n);
    for (int i = 0; i < n; ++i)
        middle[i] = {d(path.points[i]), d(frames[i].normal), d(frames[i].binormal),
                     i < static_cast<int>(path.radii.size()) ? path.radii[i] : 0.0};
    if (path.closed) return middle;
    std::vector<ring> start, out;
    dv t0 = d(frames[0].tangent), t1 = d(frames[n - 1].tangent);
    cap_rings(start, middle[0], t0, -1, caps);
    out.assign(start.rbegin(), start.rend());
    out.insert(out.end(), middle.begin(), middle.end());
    cap_rings(out, middle[n - 1], t1, 1, caps);
    *start_tip = sub(middle[0].centre, mul(t0, middle[0].radius));
    *end_tip = add(middle[n - 1].centre, mul(t1, middle[n - 1].radius));
    return out;
}

// Triangle a b c, or a c b, whichever faces away from `inside`.
static void add_facing(mesh_object& o, int a, int b, int c, dv inside) {
    dv pa = d(o.vertices[a]), pb = d(o.vertices[b]), pc = d(o.vertices[c]);
    dv normal = cross(sub(pb, pa), sub(pc, pb));
    dv centre = mul(add(add(pa, pb), pc), 1.0 / 3);
    if (dot(normal, sub(centre, inside)) < 0) std::swap(b, c);
    o.triangles.push_back({a, b, c});
}

// A fan from the tip to the ring whose vertices start at `first`.
static void add_cap(mesh_object& o, dv tip, int first, int sides, dv inside) {
    o.vertices.push_back(f(tip));
    int apex = static_cast<int>(o.vertices.size()) - 1;
    for (int j = 0; j < sides; ++j) add_facing(o, apex, first + j, first + (j + 1) % sides, inside);
}

mesh_object mesh_build_sweep(const sweep_path& path, int sides, const char* name) {
    mesh_object o;
    o.name = name;
    int n = static_cast<int>(path.points.size());
    if (sides < 3 || n < (path.closed ? 3 : 2)) return o;
    const int caps = 4;
    dv start_tip{}, end_tip{};
    std::vector<ring> rings = path_rings(path, caps, &start_tip, &end_tip);
    int count = static_cast<int>(rings.size());
    for (const ring& r : rings)
        for (int j = 0; j < sides; ++j) {
            double a = TWO_PI * j / sides;
            dv around = add(mul(r.normal, std::cos(a)), mul(r.binormal, std::sin(a)));
            o.vertices.push_back(f(add(r.centre, mul(around, r.radius))));
        }
    int segments = path.closed ? count : count - 1;
    for (int i = 0; i < segments; ++i) {
        int next = (i + 1) % count;
        dv inside = mul(add(rings[i].centre, rings[next].centre), 0.5);
        for (int j = 0; j < sides; ++j) {
            int k = (j + 1) % sides;
            int a = i * sides + j, b = i * sides + k, c = next * sides + k, e = next * sides + j;
            add_facing(o, a, b, c, inside);
            add_facing(o, a, c, e, inside);
        }
    }
    if (!path.closed) {
        add_cap(o, start_tip, 0, sides, rings[0].centre);
        add_cap(o, end_tip, (count - 1) * sides, sides, rings[count - 1].centre);
    }
    return o;
}

// ---------------------------------------------------------------------------
// Curves
// ---------------------------------------------------------------------------

static mesh_vec3 point(double x, double y, double z) { return f({x, y, z}); }

sweep_path scene_loop_path(int points, float size, float lift, float tube) {
    sweep_path p;
    for (int i = 0; i < points; ++i) {
        double t = TWO_PI * i / points, s = std::sin(t), c = std::cos(t);
        double shrink = 1 + s * s;
        p.points.push_back(point(size * c / shrink, size * s * c / shrink, lift * s));
        // A little fuller at the two far bends, slimmer through the crossing.
        p.radii.push_back(static_cast<float>(tube * (0.85 + 0.15 * c * c)));
    }
    return p;
}

sweep_path scene_strand_path(const sweep_path& core, int turns, float distance, float phase,
                               float tube) {
    std::vector<sweep_frame> frames = sweep_frames(core.points, true);
    int n = static_cast<int>(core.points.size());
    sweep_path p;
    for (int i = 0; i < n; ++i) {
        double a = phase + TWO_PI * turns * i / n;
        double reach = distance + (i < static_cast<int>(core.radii.size()) ? core.radii[i] : 0.0f);
        dv around = add(mul(d(frames[i].normal), std::cos(a)), mul(d(frames[i].binormal), std::sin(a)));
        p.points.push_back(f(add(d(core.points[i]), mul(around, reach))));
        p.radii.push_back(tube);
    }
    return p;
}

sweep_path scene_letter_path(int points, float bow, float tube) {
    sweep_path p;
    p.closed = false;
    // Upper bow: counter-clockwise from 20 degrees over the top to the
    // bottom of its circle (the origin); lower bow: clockwise from the top
    // of its circle (the origin again) round to -160 degrees.
    const double from = 20 * PI / 180, middle = 1.5 * PI, to = -160 * PI / 180;
    int half = points / 2;
    for (int i = 0; i < half; ++i) {
        double a = from + (middle - from) * i / half;
        p.points.push_back(point(bow * std::cos(a), bow + bow * std::sin(a), 0));
    }
    for (int i = 0; i <= points - half - 1; ++i) {
        double a = PI / 2 + (to - PI / 2) * i / (points - half - 1);
        p.points.push_back(point(bow * std::cos(a), -bow + bow * std::sin(a), 0));
    }
    p.radii.assign(p.points.size(), tube);
    return p;
}

static double signed_root(double v) { return v < 0 ? -std::sqrt(-v) : std::sqrt(v); }

sweep_path scene_frame_path(int points, float size, float tube) {
    sweep_path p;
    for (int i = 0; i < points; ++i) {
        double a = TWO_PI * i / points;
        p.points.push_back(point(size * signed_root(std::cos(a)), size * signed_root(std::sin(a)), 0));
    }
    p.radii.assign(p.points.size(), tube);
    return p;
}

sweep_path scene_ring_path(int points, float radius, float tube) {
    sweep_path p;
    for (int i = 0; i < points; ++i) {
        double a = TWO_PI * i / points;
        p.points.push_back(point(radius * std::cos(a), radius * std::sin(a), 0));
    }
    p.radii.assign(p.points.size(), tube);
    return p;
}

// ---------------------------------------------------------------------------
// Models
// ---------------------------------------------------------------------------

// The scenes draw their models sphere-mapped and ignore materials, so the
// files carry geometry only.
sweep_path scene_loop_core() { return scene_loop_path(288, 42, 12, 6); }

mesh_model scene_loop_model() {
    mesh_model m;
    sweep_path core = scene_loop_core();
    m.objects.push_back(mesh_build_sweep(core, 16, "loop"));
    for (int k = 0; k < 2; ++k) {
        sweep_path strand = scene_strand_path(core, 27, SCENE_E_STRAND_GAP, static_cast<float>(PI * k), SCENE_E_STRAND_TUBE);
        m.objects.push_back(mesh_build_sweep(strand, 6, k ? "strand_b" : "strand_a"));
    }
    return m;
}

mesh_model scene_frame_model() {
    mesh_model m;
    m.objects.push_back(mesh_build_sweep(scene_frame_path(256, 320, 26), 16, "frame"));
    m.objects.push_back(mesh_build_sweep(scene_ring_path(192, 265, 7), 10, "inner_ring"));
    return m;
}

mesh_model scene_letter_model() {
    mesh_model m;
    m.objects.push_back(mesh_build_sweep(scene_letter_path(160, 80, 30), 18, "letter"));
    return m;
}

// ---------------------------------------------------------------------------
// Pictures
// ---------------------------------------------------------------------------

static void put(rgb_image& image, int x, int y, dv c) {
    unsigned char* p = image.at(x, y);
    p[0] = static_cast<unsigned char>(noise_clamp01(static_cast<float>(c.x)) * 255.0f + 0.5f);
    p[1] = static_cast<unsigned char>(noise_clamp01(static_cast<float>(c.y)) * 255.0f + 0.5f);
    p[2] = static_cast<unsigned char>(noise_clamp01(static_cast<float>(c.z)) * 255.0f + 0.5f);
}

static dv mix(dv a, dv b, double t) { return add(a, mul(sub(b, a), t)); }

static double smooth(double e0, double e1, double v) {
    double t = noise_clamp01(static_cast<float>((v - e0) / (e1 - e0)));
    return t * t * (3 - 2 * t);
}

// A star's brightness at pixel (x, y): one lattice cell in `cell` holds a
// star at a hashed place with a hashed strength; most cells stay dark.
static double star(int x, int y, int cell, int seed) {
    int cx = x / cell, cy = y / cell;
    if (noise_hash(cx, cy, seed) < 0.72f) return 0;
    double sx = cx * cell + noise_hash(cx, cy, seed + 1) * (cell - 1);
    double sy = cy * cell + noise_hash(cx, cy, seed + 2) * (cell - 1);
    double r2 = (x - sx) * (x - sx) + (y - sy) * (y - sy);
    double strength = 0.3 + 0.7 * std::pow(noise_hash(cx, cy, seed + 3), 3.0f);
    return strength * std::exp(-r2 / 1.1);
}

rgb_image scene_sky(int size, const sky_palette& palette) {
    rgb_image image(size, size, 3);
    dv deep = d(palette.deep), cloud = d(palette.cloud), glow = d(palette.glow);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            double u = (x + 0.5) / size, v = (y + 0.5) / size;
            // 1 in the middle, 0 at every edge.
            double edge = smooth(0, 0.3, std::fmin(std::fmin(u, 1 - u), std::fmin(v, 1 - v)));
            double warp = noise_fractal(static_cast<float>(u * 3), static_cast<float>(v * 3), 3, palette.seed + 7);
            double dust = noise_fractal(static_cast<float>(u * 4 + warp * 1.5), static_cast<float>(v * 4 - warp),
                                        5, palette.seed);
            double thick = smooth(0.35, 0.8, dust) * edge;
            double core = smooth(0.58, 0.9, dust) * edge;
            dv c = mix(mix(deep, cloud, thick), glow, core * 0.8);
            double s = star(x, y, 7, palette.seed + 11) * (1 - 0.6 * thick) +
                       star(x, y, 29, palette.seed + 19) * 1.5;
            put(image, x, y, add(c, {s, s, s * 1.05}));
        }
    return image;
}

rgb_image scene_reflection(int size, const reflection_palette& palette) {
    rgb_image image(size, size, 3);
    dv zenith = d(palette.zenith), horizon = d(palette.horizon), ground = d(palette.ground);
    dv light = d(palette.light);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            // (sx, sy) on the mirror ball, up = towards the last row.
            double sx = 2 * (x + 0.5) / size - 1, sy = 2 * (y + 0.5) / size - 1;
            double r2 = sx * sx + sy * sy;
            // The horizon bends round the ball's rim.
            double height = sy * (1 - 0.35 * r2);
            double sky = smooth(-0.02, 0.7, height), earth = smooth(0.02, -0.6, height);
            dv c = mix(horizon, zenith, sky);
            c = mix(c, ground, earth);
            double band = std::exp(-height * height / 0.004);
            c = add(c, mul(light, 0.35 * band));
            double clouds = noise_fractal(static_cast<float>(x * 6.0 / size),
                                          static_cast<float>(y * 3.0 / size), 4, palette.seed);
            c = mix(c, add(c, mul(light, 0.4)), smooth(0.55, 0.8, clouds) * sky);
            double lx = sx + 0.35, ly = sy - 0.45;
            c = add(c, mul(light, 0.9 * std::exp(-(lx * lx + ly * ly) / 0.02)));
            put(image, x, y, c);
        }
    return image;
}

rgb_image scene_sheen(int size, int seed) {
    rgb_image image(size, size, 3);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            double u = x * 5.0 / size, v = y * 5.0 / size;
            double n = noise_fractal(static_cast<float>(u), static_cast<float>(v * 0.4), 5, seed);
            double ridge = 1 - std::fabs(2 * n - 1);
            double streak = std::pow(ridge, 6.0);
            double hue = noise_value(static_cast<float>(u * 0.5), static_cast<float>(v * 0.5), seed + 3);
            dv c = {0.1 + 0.2 * hue, 0.18, 0.45 + 0.2 * (1 - hue)};
            c = add(c, mul(dv{0.55 + 0.4 * hue, 0.75, 1.0}, streak));
            put(image, x, y, c);
        }
    return image;
}

void generate_swept_tubes(const std::string& data_dir) {
    const std::string models = data_dir + "/models/", textures = data_dir + "/textures/";
    model_writer_save(models + "loop.3d", scene_loop_model());
    model_writer_save(models + "logo/marco.3d", scene_frame_model());
    model_writer_save(models + "logo/s.3d", scene_letter_model());
    // The final logo: a cold blue night behind a silver logo.
    asset_write_jpeg(textures + "11.jpg",
                     scene_sky(512, {{0.02f, 0.03f, 0.1f}, {0.3f, 0.4f, 0.95f}, {0.9f, 0.75f, 1.0f}, 41}));
    asset_write_jpeg(textures + "2.jpg",
                     scene_reflection(256, {{0.35f, 0.55f, 0.95f}, {0.95f, 0.97f, 1.0f},
                                              {0.12f, 0.1f, 0.14f}, {1.0f, 1.0f, 1.0f}, 43}));
    // The loop: a warm dusk behind gold.
    asset_write_jpeg(data_dir + "/skyboxes/4.jpg",
                     scene_sky(512, {{0.08f, 0.02f, 0.04f}, {0.95f, 0.3f, 0.15f}, {1.0f, 0.85f, 0.45f}, 47}));
    asset_write_jpeg(textures + "GoldReflection2.jpg",
                     scene_reflection(256, {{1.0f, 0.85f, 0.45f}, {1.0f, 0.97f, 0.8f},
                                              {0.35f, 0.18f, 0.05f}, {1.0f, 0.9f, 0.6f}, 53}));
    asset_write_jpeg(textures + "9.jpg", scene_sheen(256, 59));
}
