// Face normals and smoothed vertex normals of a model's objects.
//
// A vertex normal is the mean (not renormalised) of the unit normals of the
// faces that use the vertex, and its weight is 1 / their count. Degenerate
// triangles (no area, or coordinates too large to give a finite normal) get
// a zero normal and take no part in the means, so no NaN reaches the
// drawing; a vertex that no proper face uses keeps a zero normal and weight.
#include <cmath>

#include "resources/model.h"

static void face_normal(const model_vertex& a, const model_vertex& b, const model_vertex& c, float out[3]) {
    const float u[3] = {a.x - b.x, a.y - b.y, a.z - b.z};
    const float w[3] = {c.x - b.x, c.y - b.y, c.z - b.z};
    const float n[3] = {w[1] * u[2] - w[2] * u[1], w[2] * u[0] - w[0] * u[2], w[0] * u[1] - w[1] * u[0]};
    const float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    const bool proper = length > 0 && std::isfinite(length);
    for (int i = 0; i < 3; ++i) out[i] = proper ? n[i] / length : 0.0f;
}

static void object_compute_normals(model_object& o) {
    for (int i = 0; i < o.vertex_count; ++i) {
        model_vertex& v = o.vertices[i];
        v.nx = v.ny = v.nz = v.weight = 0;  // the weight counts faces first
    }
    for (int i = 0; i < o.face_count; ++i) {
        model_face& f = o.faces[i];
        f.nx = f.ny = f.nz = 0;
        if (f.a >= o.vertex_count || f.b >= o.vertex_count || f.c >= o.vertex_count) continue;
        float n[3];
        face_normal(o.vertices[f.a], o.vertices[f.b], o.vertices[f.c], n);
        f.nx = n[0];
        f.ny = n[1];
        f.nz = n[2];
        if (n[0] == 0 && n[1] == 0 && n[2] == 0) continue;
        for (unsigned short index : {f.a, f.b, f.c}) {
            model_vertex& v = o.vertices[index];
            v.nx += n[0];
            v.ny += n[1];
            v.nz += n[2];
            v.weight += 1;
        }
    }
    for (int i = 0; i < o.vertex_count; ++i) {
        model_vertex& v = o.vertices[i];
        if (v.weight == 0) continue;
        v.weight = 1 / v.weight;
        v.nx *= v.weight;
        v.ny *= v.weight;
        v.nz *= v.weight;
    }
}

void model_compute_normals(model* m) {
    if (!m) return;
    for (int i = 0; i < m->object_count; ++i) object_compute_normals(m->objects[i]);
}
