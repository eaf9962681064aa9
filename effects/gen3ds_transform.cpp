// The object transform a spline gives (shared by gen3DS and genEnvironment)
// and the spin angles of gen3DS: arithmetic kept apart from the few GL calls
// that apply it.
#include "effects/gen3ds.h"

#include <GL/gl.h>
#include <cmath>
#include <cstring>

#include "core/section.h"

// ---------------------------------------------------------------------------
// Object transform

object_transform object_transform_from_values(const float values[SPLINE_CHANNELS]) {
    object_transform t;
    for (int i = 0; i < 3; ++i) {
        t.scale[i] = values[i];
        t.angles[i] = values[3 + i];
        t.position[i] = values[6 + i];
    }
    return t;
}

static void matrix_identity(float m[16]) {
    for (int i = 0; i < 16; ++i) m[i] = (i % 5 == 0) ? 1.0f : 0.0f;
}

// out = a * b, column-major.
static void matrix_multiply(const float a[16], const float b[16], float out[16]) {
    float r[16];
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) {
            float sum = 0;
            for (int k = 0; k < 4; ++k) sum += a[k * 4 + row] * b[col * 4 + k];
            r[col * 4 + row] = sum;
        }
    std::memcpy(out, r, sizeof r);
}

// The rotation a GL rotate call builds about a coordinate axis.
static void matrix_axis_rotation(int axis, float degrees, float m[16]) {
    matrix_identity(m);
    float radians = degrees * static_cast<float>(M_PI) / 180.0f;
    float c = std::cos(radians), s = std::sin(radians);
    int i = (axis + 1) % 3, j = (axis + 2) % 3;
    m[i * 4 + i] = c;
    m[j * 4 + j] = c;
    m[i * 4 + j] = s;   // column i, row j
    m[j * 4 + i] = -s;  // column j, row i
}

void object_transform_matrix(const object_transform& t, float out[16]) {
    float m[16], step[16];
    matrix_identity(m);
    for (int i = 0; i < 3; ++i) m[i * 5] = t.scale[i];
    for (int axis = 0; axis < 3; ++axis) {
        matrix_axis_rotation(axis, t.angles[axis], step);
        matrix_multiply(m, step, m);
    }
    matrix_identity(step);
    for (int i = 0; i < 3; ++i) step[12 + i] = t.position[i];
    matrix_multiply(m, step, out);
}

void object_transform_apply(const object_transform& t) {
    glScalef(t.scale[0], t.scale[1], t.scale[2]);
    glRotatef(t.angles[0], 1, 0, 0);
    glRotatef(t.angles[1], 0, 1, 0);
    glRotatef(t.angles[2], 0, 0, 1);
    glTranslatef(t.position[0], t.position[1], t.position[2]);
}

int section_has_object_spline(const section* s) { return s->spline_count == 1; }

void section_apply_spline_transform(const section* s, int k, float t) {
    float values[SPLINE_CHANNELS];
    spline_evaluate(&s->splines[k], t, values);
    object_transform_apply(object_transform_from_values(values));
}

// ---------------------------------------------------------------------------
// Spins

const gen3ds_spin gen3ds_spins[GEN3DS_SPINS] = {
    {10.0f, {-0.5f, 0.25f, 0.3f}},
    {20.0f, {0.7f, -5.0f, -0.8f}},
    {30.0f, {0.2f, 0.4f, 0.9f}},
};

void gen3ds_spin_angles(float t, float out[GEN3DS_SPINS]) {
    for (int i = 0; i < GEN3DS_SPINS; ++i) out[i] = gen3ds_spins[i].rate * t;
}

