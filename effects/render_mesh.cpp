// efxRenderMesh: the frame copied into a texture each frame and drawn back
// through a warp grid, plus the previous frame's copy. The grid deformations
// are pure functions; render only issues GL.
#include "effects/render_mesh.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "core/fatal.h"
#include "core/owned.h"
#include "core/section.h"
#include "core/settings.h"
#include "core/track.h"
#include "effects/frame_copy.h"
#include "resources/texture.h"

static const double pi = 3.141592653589793;

int render_mesh_mode(float param) {
    if (!(param > -1.0f && param < static_cast<float>(RENDER_MESH_MODES))) return -1;
    return static_cast<int>(param);
}

// (u, v) rotated about (0.5, 0.5) by the cosine and sine pair (c, s).
static void rotate_about_middle(double* u, double* v, double c, double s) {
    double du = *u - 0.5, dv = *v - 0.5;
    *u = c * du - s * dv + 0.5;
    *v = c * dv + s * du + 0.5;
}

// One grid point (i, j) of mode `mode`, starting from (i / 20, j / 20).
static void warp_point(int mode, double t, int i, int j, double* u, double* v) {
    const double n = RENDER_MESH_POINTS, h = n / 2;
    const int m = RENDER_MESH_POINTS / 2;
    const double tenth_pi = static_cast<double>(0.31415927f);
    switch (mode) {
    case 0: *u += 0.01; *v += 0.01; break;
    case 1: *u += (i - h) * 0.001; *v += (j - h) * 0.001; break;
    case 2:
        *u *= std::cos(pi * (i + j - n) / 50);
        *v *= std::cos(pi * (i - j) / 100);
        break;
    case 3:
        *u += (i - h) * 0.003;
        *v += (j - h) * 0.003;
        rotate_about_middle(u, v, std::cos(pi * (i - m) / 32 + pi / 32), std::sin(pi * (j - m) / 32 + pi / 32));
        break;
    case 4: {
        double a = pi * std::sqrt((i - h) * (i - h) + (j - h) * (j - h)) / 64;
        rotate_about_middle(u, v, std::cos(a), std::sin(a));
        break;
    }
    case 5:
        *u += 0.02 * std::sin(i * j * n * t / pi);
        *v += 0.02 * std::tan(0.01 * t * i * j);
        break;
    case 6:
        *u += 0.02 * std::sin(tenth_pi * i * std::sin(pi * t));
        *v += 0.02 * std::cos(tenth_pi * j * std::cos(pi * t));
        break;
    default: break;
    }
}

void render_mesh_warp(int mode, double t, render_mesh_grid grid) {
    for (int i = 0; i < RENDER_MESH_POINTS; ++i) {
        for (int j = 0; j < RENDER_MESH_POINTS; ++j) {
            double u = i / static_cast<double>(RENDER_MESH_CELLS);
            double v = j / static_cast<double>(RENDER_MESH_CELLS);
            warp_point(mode, t, i, j, &u, &v);
            grid[i][j][0] = u;
            grid[i][j][1] = v;
        }
    }
}

float render_mesh_alpha(const render_mesh_values& v, float t, float duration) {
    return v.alpha0 + (v.alpha1 - v.alpha0) * t / duration;
}

void render_mesh_init() {
    section& s = *current_section;
    render_mesh_instance* mesh = static_cast<render_mesh_instance*>(std::calloc(1, sizeof(render_mesh_instance)));
    if (!mesh) fatal_error("efxRenderMesh: out of memory for the section at line %d", s.line);
    mesh->feedback_texture = frame_copy_create(TEXTURE_LINEAR | TEXTURE_CLAMP | TEXTURE_MODULATE);
    mesh->warp_mode = render_mesh_mode(section_values<render_mesh_values>(s).mode);
    mesh->has_previous = 0;
    generation_own(mesh, free);
    s.instance_data = mesh;
}

static void draw_grid(const render_mesh_grid grid) {
    const double cells = RENDER_MESH_CELLS;
    static const int corners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    glBegin(GL_QUADS);
    for (int x = 0; x < RENDER_MESH_CELLS; ++x) {
        for (int y = 0; y < RENDER_MESH_CELLS; ++y) {
            for (const int* c : corners) {
                glTexCoord2dv(grid[x + c[0]][y + c[1]]);
                glVertex2d((x + c[0]) / cells, (y + c[1]) / cells);
            }
        }
    }
    glEnd();
}

// The previous frame's copy over the whole frame, in (1, 1, 1, alpha).
static void add_previous(int texture, float alpha) {
    static const float corners[4][2] = {{0, 1}, {0, 0}, {1, 0}, {1, 1}};
    texture_bind(texture);
    glColor4f(1, 1, 1, alpha);
    glBegin(GL_QUADS);
    for (const float* c : corners) {
        glTexCoord2fv(c);
        glVertex2fv(c);
    }
    glEnd();
}

void render_mesh_render() {
    const section& s = *current_section;
    render_mesh_instance* mesh = static_cast<render_mesh_instance*>(s.instance_data);
    const render_mesh_values& v = section_values<render_mesh_values>(s);
    float t = s.local_time;
    render_mesh_warp(mesh->warp_mode, t, mesh->grid);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0, 1, 0, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    if (mesh->has_previous) add_previous(mesh->feedback_texture, render_mesh_alpha(v, t, s.duration));
    mesh->has_previous = 1;
    frame_copy_take(mesh->feedback_texture);
    if (v.add == 0) glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    draw_grid(mesh->grid);
    if (v.add != 0) frame_copy_take(mesh->feedback_texture);
    glDisable(GL_BLEND);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
}

int render_mesh_history(const section* s) {
    for (int i = 0; i < s->tracked_count; ++i)
        if (s->tracked[i].param >= 1 && s->tracked[i].param <= 3) return INT_MAX;
    const render_mesh_values& v = section_values<render_mesh_values>(*s);
    double alpha = std::clamp(std::max(v.alpha0, v.alpha1), 0.0f, 1.0f);
    double gain = v.add != 0 ? alpha * (1 + alpha) : alpha;
    return frame_copy_fade_frames(gain, static_cast<double>(gl_rttWidth) * gl_rttHeight);
}

int render_mesh_history_textures(const section* s, int* textures) {
    textures[0] = static_cast<const render_mesh_instance*>(s->instance_data)->feedback_texture;
    return 1;
}

// ---------------------------------------------------------------------------
// What its sections carry
// ---------------------------------------------------------------------------

static const section_field render_mesh_params[] = {
    {"mode", "warp: 0 drift, 1 zoom, 2 cosine bend, 3 zoom and swirl, 4 twirl, 5 and 6 moving ripples; other values feed back undeformed", nullptr, SECTION_AT_INIT, SECTION_VALUE(render_mesh_values, mode)},
    {"alpha0", "alpha at the section's start", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(render_mesh_values, alpha0)},
    {"alpha1", "alpha at the section's end", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(render_mesh_values, alpha1)},
    {"add", "0: only the warped copy is shown; other values: it is added over the picture", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(render_mesh_values, add)},
};
const section_reads render_mesh_reads = {
    "the frame fed back through a deformed 20 x 20 grid, so the picture drifts, zooms, swirls or ripples",
    {SECTION_FIELDS(render_mesh_params), {}, {}, {}},
    {{}, {}, {}, {}},
    nullptr, nullptr,
};
