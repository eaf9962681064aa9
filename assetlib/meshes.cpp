// Procedural mesh builders: gear wheel, torus knot, fluted column, cube
// cluster, and the shared pieces (boxes, vertex grids, surfaces of revolution).
#include "assetlib/meshes.h"

#include <cmath>

static const double TWO_PI = 6.283185307179586;

// ---------------------------------------------------------------------------
// Small helpers
// ---------------------------------------------------------------------------

static mesh_vec3 vec(double x, double y, double z) {
    mesh_vec3 v;
    v.x = static_cast<float>(x);
    v.y = static_cast<float>(y);
    v.z = static_cast<float>(z);
    return v;
}

static int add_vertex(mesh_object& o, mesh_vec3 p) {
    o.vertices.push_back(p);
    return static_cast<int>(o.vertices.size()) - 1;
}

static int add_vertex(mesh_object& o, mesh_vec3 p, double u, double v) {
    mesh_uv uv;
    uv.u = static_cast<float>(u);
    uv.v = static_cast<float>(v);
    o.uvs.push_back(uv);
    return add_vertex(o, p);
}

static void add_triangle(mesh_object& o, int a, int b, int c) { o.triangles.push_back({a, b, c}); }

// Quad a b c d, counter-clockwise from outside.
static void add_quad(mesh_object& o, int a, int b, int c, int d) {
    add_triangle(o, a, b, c);
    add_triangle(o, a, c, d);
}

static mesh_object object_named(const char* name) {
    mesh_object o;
    o.name = name;
    return o;
}

// ---------------------------------------------------------------------------
// Box
// ---------------------------------------------------------------------------

void mesh_append_box(mesh_object& o, mesh_vec3 low, mesh_vec3 high, bool with_uvs) {
    const float lo[3] = {low.x, low.y, low.z}, hi[3] = {high.x, high.y, high.z};
    // Per face: the axis of its normal, the side, and two in-plane axes u, v
    // with u x v pointing outward, so corners (-u-v, +u-v, +u+v, -u+v) run
    // counter-clockwise seen from outside.
    struct face { int normal, side, u, v; } faces[6] = {
        {0, 1, 1, 2}, {0, 0, 2, 1}, {1, 1, 2, 0}, {1, 0, 0, 2}, {2, 1, 0, 1}, {2, 0, 1, 0},
    };
    for (const face& f : faces) {
        int first = static_cast<int>(o.vertices.size());
        const int corner_u[4] = {0, 1, 1, 0}, corner_v[4] = {0, 0, 1, 1};
        for (int k = 0; k < 4; ++k) {
            float p[3];
            p[f.normal] = f.side ? hi[f.normal] : lo[f.normal];
            p[f.u] = corner_u[k] ? hi[f.u] : lo[f.u];
            p[f.v] = corner_v[k] ? hi[f.v] : lo[f.v];
            if (with_uvs)
                add_vertex(o, vec(p[0], p[1], p[2]), corner_u[k], corner_v[k]);
            else
                add_vertex(o, vec(p[0], p[1], p[2]));
        }
        add_quad(o, first, first + 1, first + 2, first + 3);
    }
}

// ---------------------------------------------------------------------------
// Gear
// ---------------------------------------------------------------------------

float gear_pitch_radius(const gear_params& g) { return g.module * static_cast<float>(g.teeth) * 0.5f; }
float gear_tip_radius(const gear_params& g) { return gear_pitch_radius(g) + g.module; }
float gear_root_radius(const gear_params& g) { return gear_pitch_radius(g) - 1.25f * g.module; }

// Each tooth is a trapezoid: its flanks run from half-width 0.27 pitch at the
// root circle to 0.12 pitch at the tip circle. Straight flanks are not true
// rolling profiles, so the teeth are kept thinner than the gaps (about 0.37
// pitch at the pitch circle): wheels of down to 8 teeth then turn through each
// other without touching.
std::vector<mesh_uv> gear_outline(const gear_params& g) {
    const double pitch = TWO_PI / g.teeth;
    const double root = gear_root_radius(g), tip = gear_tip_radius(g);
    const double offsets[4] = {-0.27, -0.12, 0.12, 0.27};
    const double radii[4] = {root, tip, tip, root};
    std::vector<mesh_uv> outline;
    for (int k = 0; k < g.teeth; ++k)
        for (int i = 0; i < 4; ++i) {
            double angle = (k + offsets[i]) * pitch;
            mesh_uv p;
            p.u = static_cast<float>(radii[i] * std::cos(angle));
            p.v = static_cast<float>(radii[i] * std::sin(angle));
            outline.push_back(p);
        }
    return outline;
}

// Both flat faces are rings between the outline and the bore circle, split
// into one quad per outline segment with the bore point at the same angle.
// The outline wall has its own vertices per segment (hard edges at every
// corner); the bore wall is one smooth cylinder.
mesh_object mesh_build_gear(const gear_params& g, const char* name) {
    mesh_object o = object_named(name);
    const std::vector<mesh_uv> outline = gear_outline(g);
    const int n = static_cast<int>(outline.size());
    const float half = g.thickness * 0.5f;
    std::vector<mesh_vec3> bore(n);
    for (int i = 0; i < n; ++i) {
        double angle = std::atan2(outline[i].v, outline[i].u);
        bore[i] = vec(g.bore * std::cos(angle), 0, g.bore * std::sin(angle));
    }
    auto at = [](mesh_vec3 p, float y) { p.y = y; return p; };
    auto rim = [&](int i, float y) { return vec(outline[i].u, y, outline[i].v); };

    // Increasing angle runs clockwise seen from +Y, hence the order below.
    for (int side = 0; side < 2; ++side) {
        float y = side == 0 ? half : -half;
        int first = static_cast<int>(o.vertices.size());
        for (int i = 0; i < n; ++i) {
            add_vertex(o, rim(i, y));
            add_vertex(o, at(bore[i], y));
        }
        for (int i = 0; i < n; ++i) {
            int j = (i + 1) % n;
            int oi = first + 2 * i, hi = oi + 1, oj = first + 2 * j, hj = oj + 1;
            if (side == 0)
                add_quad(o, hi, hj, oj, oi);
            else
                add_quad(o, hi, oi, oj, hj);
        }
    }
    for (int i = 0; i < n; ++i) {
        int j = (i + 1) % n;
        int a = add_vertex(o, rim(i, half)), b = add_vertex(o, rim(j, half));
        int c = add_vertex(o, rim(j, -half)), d = add_vertex(o, rim(i, -half));
        add_quad(o, a, b, c, d);
    }
    int first = static_cast<int>(o.vertices.size());
    for (int i = 0; i < n; ++i) {
        add_vertex(o, at(bore[i], half));
        add_vertex(o, at(bore[i], -half));
    }
    for (int i = 0; i < n; ++i) {
        int j = (i + 1) % n;
        add_quad(o, first + 2 * j, first + 2 * i, first + 2 * i + 1, first + 2 * j + 1);
    }
    return o;
}

// ---------------------------------------------------------------------------
// Vertex grids (tube and surfaces of revolution)
// ---------------------------------------------------------------------------

// Triangles of a (rows + 1) x (columns + 1) vertex grid starting at `first`,
// row-major. Seen from outside, the row direction crossed with the column
// direction must point outward.
static void add_grid(mesh_object& o, int first, int rows, int columns) {
    const int stride = columns + 1;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            int a = first + r * stride + c;
            add_quad(o, a, a + stride, a + stride + 1, a + 1);
        }
}

// ---------------------------------------------------------------------------
// Torus knot
// ---------------------------------------------------------------------------

struct dvec {
    double x, y, z;
};

static dvec dsub(dvec a, dvec b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
static dvec dcross(dvec a, dvec b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
static dvec dnorm(dvec a) {
    double l = std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
    return {a.x / l, a.y / l, a.z / l};
}

static dvec knot_point(const torus_knot_params& k, double t) {
    double r = k.radius * (2.0 + std::cos(k.q * t)) / 3.0;
    return {r * std::cos(k.p * t), k.radius * std::sin(k.q * t) / 3.0, r * std::sin(k.p * t)};
}

// Rows run along the curve, columns around the tube. The frame (tangent,
// curvature direction, binormal) is periodic, so the tube closes on itself;
// the last row and column repeat the first ones' positions for the UV seam.
mesh_object mesh_build_torus_knot(const torus_knot_params& k, const char* name) {
    mesh_object o = object_named(name);
    const double h = 1e-4;
    const int first = static_cast<int>(o.vertices.size());
    for (int i = 0; i <= k.segments; ++i) {
        int ii = i % k.segments;
        double t = TWO_PI * ii / k.segments;
        dvec c = knot_point(k, t), before = knot_point(k, t - h), after = knot_point(k, t + h);
        dvec tangent = dnorm(dsub(after, before));
        dvec bend = dsub(dsub(after, c), dsub(c, before));
        dvec binormal = dnorm(dcross(tangent, bend));
        dvec normal = dcross(binormal, tangent);
        for (int j = 0; j <= k.sides; ++j) {
            if (i == k.segments || j == k.sides) {
                int from = first + ii * (k.sides + 1) + j % k.sides;
                add_vertex(o, o.vertices[from], k.u_repeat * i / k.segments,
                           static_cast<double>(j) / k.sides);
                continue;
            }
            double a = TWO_PI * j / k.sides;
            double ca = std::cos(a) * k.tube, sa = std::sin(a) * k.tube;
            add_vertex(o, vec(c.x + ca * normal.x + sa * binormal.x, c.y + ca * normal.y + sa * binormal.y,
                              c.z + ca * normal.z + sa * binormal.z),
                       k.u_repeat * i / k.segments, static_cast<double>(j) / k.sides);
        }
    }
    // With this frame, around the tube crossed with along the curve points
    // outward, so each quad is walked around the tube first.
    const int stride = k.sides + 1;
    for (int i = 0; i < k.segments; ++i)
        for (int j = 0; j < k.sides; ++j) {
            int a = first + i * stride + j;
            add_quad(o, a, a + 1, a + stride + 1, a + stride);
        }
    return o;
}

// ---------------------------------------------------------------------------
// Column
// ---------------------------------------------------------------------------

struct profile_point {
    double r, y;
    bool fluted;
};

static mesh_vec3 lathe_point(const column_params& c, const profile_point& p, int j) {
    double angle = TWO_PI * (j % c.sides) / c.sides;
    double r = p.r;
    if (p.fluted) r *= 1.0 - c.flute_depth * (0.5 - 0.5 * std::cos(c.flutes * angle));
    return vec(r * std::cos(angle), p.y, r * std::sin(angle));
}

// One smooth strip of the surface of revolution: rings for each profile point
// (walked so that the solid lies to the left, bottom to top), sharing
// vertices; separate strips meet at a hard edge.
static void add_lathe_strip(mesh_object& o, const column_params& c, const std::vector<profile_point>& strip) {
    const int first = static_cast<int>(o.vertices.size());
    for (const profile_point& p : strip)
        for (int j = 0; j <= c.sides; ++j)
            add_vertex(o, lathe_point(c, p, j), static_cast<double>(j) / c.sides, p.y / c.height);
    add_grid(o, first, static_cast<int>(strip.size()) - 1, c.sides);
}

// A flat disc closing the lathe at profile point p, facing up or down.
static void add_lathe_cap(mesh_object& o, const column_params& c, const profile_point& p, bool up) {
    int centre = add_vertex(o, vec(0, p.y, 0), 0.5, 0.5);
    int first = static_cast<int>(o.vertices.size());
    for (int j = 0; j < c.sides; ++j) {
        mesh_vec3 q = lathe_point(c, p, j);
        add_vertex(o, q, 0.5 + q.x / (2 * p.r), 0.5 + q.z / (2 * p.r));
    }
    for (int j = 0; j < c.sides; ++j) {
        int a = first + j, b = first + (j + 1) % c.sides;
        if (up)
            add_triangle(o, centre, b, a);
        else
            add_triangle(o, centre, a, b);
    }
}

static std::vector<std::vector<profile_point>> column_profile(const column_params& c) {
    const double R = c.radius, H = c.height;
    const double plinth = 0.08 * H, abacus = 0.05 * H;
    const double torus = 0.06 * R * 4, top = H - abacus;
    const double capital = 0.07 * H, neck = top - capital;
    std::vector<std::vector<profile_point>> strips;
    std::vector<profile_point> moulding;
    for (int k = 0; k <= 8; ++k) {  // half round, outward then back in
        double b = -TWO_PI / 4 + TWO_PI / 2 * k / 8;
        moulding.push_back({R * 1.08 + torus * 0.5 * std::cos(b), plinth + torus * 0.5 * (1 + std::sin(b)), false});
    }
    strips.push_back(moulding);
    const double foot = plinth + torus;
    strips.push_back({moulding.back(), {R, foot, true}});
    std::vector<profile_point> shaft;
    for (int k = 0; k < c.shaft_rings; ++k) {
        double t = static_cast<double>(k) / (c.shaft_rings - 1);
        shaft.push_back({R * (1.0 - 0.12 * t * t), foot + (neck - foot) * t, true});
    }
    strips.push_back(shaft);
    strips.push_back({shaft.back(), {R * 0.92, neck, false}});
    std::vector<profile_point> echinus;
    for (int k = 0; k <= 6; ++k) {  // flares out like a bowl
        double t = static_cast<double>(k) / 6;
        echinus.push_back({R * (0.92 + 0.45 * std::sin(t * TWO_PI / 4)), neck + capital * t, false});
    }
    strips.push_back(echinus);
    return strips;
}

mesh_object mesh_build_column(const column_params& c, const char* name) {
    mesh_object o = object_named(name);
    const double R = c.radius, H = c.height;
    const double plinth = 0.08 * H, abacus = 0.05 * H;
    const float p = static_cast<float>(R * 1.35), a = static_cast<float>(R * 1.5);
    mesh_append_box(o, vec(-p, 0, -p), vec(p, plinth, p), true);
    std::vector<std::vector<profile_point>> strips = column_profile(c);
    add_lathe_cap(o, c, strips.front().front(), false);
    for (const std::vector<profile_point>& strip : strips) add_lathe_strip(o, c, strip);
    add_lathe_cap(o, c, strips.back().back(), true);
    mesh_append_box(o, vec(-a, H - abacus, -a), vec(a, H, a), true);
    for (mesh_vec3& v : o.vertices) v.y -= static_cast<float>(H * 0.5);  // centred, to turn about its middle
    return o;
}

// ---------------------------------------------------------------------------
// Cube cluster
// ---------------------------------------------------------------------------

// Grid steps are `spacing` apart and a cube's half size is at most 0.4 of a
// step, so neighbours keep a gap of at least a fifth of a step.
cube_cluster mesh_build_cube_cluster(const cube_cluster_params& c, const char* name) {
    cube_cluster out;
    out.mesh = object_named(name);
    const int n = c.radius, limit = n * n + 1, core = (n - 1) * (n - 1);
    for (int i = -n; i <= n; ++i)
        for (int j = -n; j <= n; ++j)
            for (int k = -n; k <= n; ++k) {
                int d = i * i + j * j + k * k;
                if (d > limit) continue;
                int shade = ((i + 7) * 7 + (j + 7) * 13 + (k + 7) * 5) % 4;
                double half = c.spacing * (0.22 + 0.06 * shade);
                double x = i * c.spacing, y = j * c.spacing, z = k * c.spacing;
                int first_face = static_cast<int>(out.mesh.triangles.size());
                mesh_append_box(out.mesh, vec(x - half, y - half, z - half), vec(x + half, y + half, z + half),
                                false);
                std::vector<int>& group = d <= core ? out.inner_faces : out.outer_faces;
                for (int f = first_face; f < first_face + 12; ++f) group.push_back(f);
            }
    return out;
}
