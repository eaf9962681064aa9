// Model drawing: sphere-mapped triangles with the smoothed vertex normals, or
// per-material batches, textured (UVs) or lit (material colours, one face
// normal per face).
#include "resources/model_draw.h"

#include <GL/gl.h>

#include "resources/texture.h"

static bool texture_valid(int index) { return index >= 0 && index < texture_count && texture_table[index]; }

void model_upload_textures() {
    const model* m = model_current();
    if (!m) return;
    for (const model_material* mat = m->materials; mat; mat = mat->next)
        if (texture_valid(mat->texture)) texture_upload(mat->texture);
}

// The first `limit` faces of the object with normals at their vertices,
// straight from the vertex records through the object's index list: each
// vertex is transformed once however many faces share it.
static void draw_smooth_faces(const model_object& o, int limit) {
    if (limit <= 0) return;
    glVertexPointer(3, GL_FLOAT, sizeof(model_vertex), &o.vertices[0].x);
    glNormalPointer(GL_FLOAT, sizeof(model_vertex), &o.vertices[0].nx);
    glDrawElements(GL_TRIANGLES, 3 * limit, GL_UNSIGNED_SHORT, o.indices);
}

// Faces drawn of an object of `count` faces; NaN and negative fractions draw
// none, fractions of 1 or more draw all.
static int partial_count(int count, float fraction) {
    if (!(fraction > 0)) return 0;
    const float k = (float)count * fraction;
    return k >= (float)count ? count : (int)k;
}

static void draw_sphere_mapped(const model* m, float fraction) {
    if (!m) return;
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    const model_vertex* last = nullptr;
    for (int i = 0; i < m->object_count; ++i) {
        const model_object& o = m->objects[i];
        int limit = partial_count(o.face_count, fraction);
        draw_smooth_faces(o, limit);
        if (limit > 0) last = &o.vertices[o.indices[3 * limit - 1]];
    }
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    // Arrays leave the current normal as it was; it becomes the last one
    // drawn, as if each vertex had been sent on its own.
    if (last) glNormal3f(last->nx, last->ny, last->nz);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
}

void model_draw_sphere_mapped(const model* m) { draw_sphere_mapped(m, 1); }

void model_draw_partial(const model* m, float fraction) { draw_sphere_mapped(m, fraction); }

// ---------------------------------------------------------------------------
// Materials
// ---------------------------------------------------------------------------

struct material_state {
    bool textured;  // starts yes whatever GL's state: GL changes only on a switch
    const model_material* current;
    bool current_textured;
};

static void set_lit_colours(const model_material* mat) {
    const GLfloat ambient[4] = {mat->ambient[0], mat->ambient[1], mat->ambient[2], 1};
    const GLfloat diffuse[4] = {mat->diffuse[0], mat->diffuse[1], mat->diffuse[2], 1};
    const GLfloat specular[4] = {mat->specular[0], mat->specular[1], mat->specular[2], 1};
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, mat->shininess);
}

// Switches texturing or lighting for `mat`. A texture that was never
// uploaded is uploaded here, on its first use.
static void switch_material(material_state& s, const model_material* mat, bool textured) {
    if (textured) {
        if (!s.textured) {
            glDisable(GL_LIGHTING);
            glEnable(GL_TEXTURE_2D);
            s.textured = true;
        }
        if (texture_table[mat->texture]->gl_name == 0) texture_upload(mat->texture);
        texture_bind(mat->texture);
    } else {
        if (s.textured) {
            glDisable(GL_TEXTURE_2D);
            glEnable(GL_LIGHTING);
            glEnable(GL_LIGHT0);
            s.textured = false;
        }
        set_lit_colours(mat);
    }
    s.current = mat;
    s.current_textured = textured;
}

// Whether the face calls for a switch: its material differs from the
// current one (faces without a material keep the state the previous face
// left). A textured material needs a coordinate pair for every vertex: on an
// object without them it is drawn lit.
static bool needs_switch(const material_state& s, const model_face& f, bool has_uvs, bool* textured) {
    const model_material* mat = f.material;
    if (!mat) return false;
    *textured = has_uvs && texture_valid(mat->texture);
    return mat != s.current || *textured != s.current_textured;
}

// Faces [first, end) in the current state: textured ones straight from the
// vertex records (the coordinates when the object has them), lit ones with
// their face normal.
static void draw_run(const material_state& s, const model_object& o, bool has_uvs, int first, int end) {
    if (s.textured) {
        glEnableClientState(GL_VERTEX_ARRAY);
        glVertexPointer(3, GL_FLOAT, sizeof(model_vertex), &o.vertices[0].x);
        if (has_uvs) {
            glEnableClientState(GL_TEXTURE_COORD_ARRAY);
            glTexCoordPointer(2, GL_FLOAT, 0, o.uvs);
        }
        glDrawElements(GL_TRIANGLES, 3 * (end - first), GL_UNSIGNED_SHORT, o.indices + 3 * first);
        glDisableClientState(GL_VERTEX_ARRAY);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        // The current coordinate becomes the last one drawn, as if each
        // vertex had been sent on its own.
        if (has_uvs) glTexCoord2fv(o.uvs[o.indices[3 * end - 1]]);
        return;
    }
    glBegin(GL_TRIANGLES);
    for (int i = first; i < end; ++i) {
        const model_face& f = o.faces[i];
        glNormal3f(f.nx, f.ny, f.nz);
        for (unsigned short index : {f.a, f.b, f.c})
            glVertex3f(o.vertices[index].x, o.vertices[index].y, o.vertices[index].z);
    }
    glEnd();
}

static void draw_material_faces(material_state& s, const model_object& o) {
    const bool has_uvs = o.uvs && o.uv_count >= o.vertex_count;
    int first = 0;
    while (first < o.face_count) {
        bool textured = false;
        if (needs_switch(s, o.faces[first], has_uvs, &textured)) switch_material(s, o.faces[first].material, textured);
        int end = first + 1;
        while (end < o.face_count && !needs_switch(s, o.faces[end], has_uvs, &textured)) ++end;
        draw_run(s, o, has_uvs, first, end);
        first = end;
    }
}

void model_draw_materials(const model* m) {
    if (!m) return;
    material_state s{true, nullptr, true};
    for (int i = 0; i < m->object_count; ++i) draw_material_faces(s, m->objects[i]);
    if (!s.textured) {
        glDisable(GL_LIGHTING);
        glEnable(GL_TEXTURE_2D);
    }
}
