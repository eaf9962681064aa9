// efxRadialBlur: repeated copy-and-add of the frame, each pass zoomed about a
// moving centre. The key and window arithmetic are free functions; render
// only issues GL.
#include "effects/radial_blur.h"

#include <GL/gl.h>
#include <algorithm>
#include <cmath>

#include "core/section.h"
#include "effects/frame_copy.h"
#include "resources/texture.h"

// The feedback texture shared by every radial blur section.
static int feedback_texture = -1;

int radial_blur_params_needed(int sync_count) {
    return std::max(static_cast<int>(RADIAL_BLUR_MIN_PARAMS), 2 * sync_count + 5);
}

int radial_blur_pass_count(float passes) {
    if (!(passes > 0)) return 0;
    if (passes >= RADIAL_BLUR_MAX_PASSES) return RADIAL_BLUR_MAX_PASSES;
    return static_cast<int>(std::ceil(passes));
}

// Time of key j: 0, then the syncs, then the section's duration.
static float key_time(const float* syncs, int sync_count, float duration, int j) {
    if (j == 0) return 0;
    if (j <= sync_count) return syncs[j - 1];
    return duration;
}

radial_blur_key radial_blur_key_at(const radial_blur_values& v, const float* syncs, int sync_count,
                                   float duration, float t) {
    if (sync_count > 0 && t >= duration) return {1.0f, 0.05f};
    // The segment whose end key lies after t; for syncs in ascending order
    // that is the one holding t.
    int j = 0;
    while (j < sync_count && t >= key_time(syncs, sync_count, duration, j + 1)) ++j;
    float from = key_time(syncs, sync_count, duration, j);
    float to = key_time(syncs, sync_count, duration, j + 1);
    float u = to != from ? (t - from) / (to - from) : 0.0f;
    const radial_blur_key &a = v.keys[j], &b = v.keys[j + 1];
    return {a.alpha + (b.alpha - a.alpha) * u, a.step + (b.step - a.step) * u};
}

radial_blur_point radial_blur_centre(const radial_blur_values& v, float t, float duration) {
    float f = t / duration;
    const radial_blur_key &from = v.keys[2], &to = v.keys[3];
    return {from.alpha + (to.alpha - from.alpha) * f, from.step + (to.step - from.step) * f};
}

void radial_blur_window(float s, radial_blur_point centre, float texcoords[4][2]) {
    float x = 2 * s * centre.x, y = 2 * s * centre.y, far = 1 - s;
    const float corners[4][2] = {{x, far}, {x, y}, {far, y}, {far, far}};
    for (int i = 0; i < 4; ++i) {
        texcoords[i][0] = corners[i][0];
        texcoords[i][1] = corners[i][1];
    }
}

void radial_blur_load() { feedback_texture = frame_copy_create(TEXTURE_LINEAR); }

static void draw_zoom_quad(float s, radial_blur_point centre) {
    static const float vertices[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
    float texcoords[4][2];
    radial_blur_window(s, centre, texcoords);
    glBegin(GL_QUADS);
    for (int i = 0; i < 4; ++i) {
        glTexCoord2fv(texcoords[i]);
        glVertex2fv(vertices[i]);
    }
    glEnd();
}

// A pass without zoom adds the frame to itself, pixel for pixel: the same
// products as copying it and adding the copy at `alpha`, with the frame
// itself as the blend's factor instead of a copy read through a texture.
static void add_frame_to_itself(float alpha) {
    glBlendFunc(GL_DST_COLOR, GL_ONE);
    glDisable(GL_TEXTURE_2D);
    glColor4f(alpha, alpha, alpha, alpha);
    glRecti(0, 0, 1, 1);
    glEnable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, alpha);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
}

void radial_blur_render() {
    const section& sec = *current_section;
    float t = sec.local_time;
    const radial_blur_values& v = section_values<radial_blur_values>(sec);
    radial_blur_key key = radial_blur_key_at(v, sec.syncs, sec.sync_count, sec.duration, t);
    radial_blur_point centre = radial_blur_centre(v, t, sec.duration);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, 1, 1, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    texture_bind(feedback_texture);
    glColor4f(1, 1, 1, key.alpha);
    int passes = radial_blur_pass_count(v.passes);
    for (int i = 0; i < passes; ++i) {
        float s = static_cast<float>(i) * key.step;
        if (s == 0 && frame_copy_is_whole(feedback_texture)) {
            add_frame_to_itself(key.alpha);
            continue;
        }
        frame_copy_take(feedback_texture);
        draw_zoom_quad(s, centre);
    }
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
}

// ---------------------------------------------------------------------------
// What its sections carry
// ---------------------------------------------------------------------------

static const section_field radial_blur_params[] = {
    {"passes", "number of passes (passes 0, 1, ... while below this)", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(radial_blur_values, passes)},
    {"alpha0", "key 0: alpha at the section's start", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(radial_blur_values, keys[0].alpha)},
    {"step0", "key 0: zoom step at the start", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(radial_blur_values, keys[0].step)},
    {"alpha1", "key 1: alpha at the first sync (without syncs: at the section's end)", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(radial_blur_values, keys[1].alpha)},
    {"step1", "key 1: zoom step", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(radial_blur_values, keys[1].step)},
    {"centre_x0", "zoom centre x at the start (0.5 0.5 is the middle)", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(radial_blur_values, keys[2].alpha)},
    {"centre_y0", "zoom centre y at the start", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(radial_blur_values, keys[2].step)},
    {"centre_x1", "zoom centre x at the end", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(radial_blur_values, keys[3].alpha)},
    {"centre_y1", "zoom centre y at the end", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(radial_blur_values, keys[3].step)},
};
const section_reads radial_blur_reads = {
    "the frame added back over itself, zoomed a little more on each pass, so bright parts leave radial streaks",
    {SECTION_FIELDS(radial_blur_params), {}, {}, {}},
    {{}, {}, {}, {}},
    radial_blur_params_needed, 
    "Syncs are optional: with n syncs the section needs 2n + 5 params (at least 9); key j + 1 (alpha, step) sits at sync j, seconds from the start, and the keys' params continue after param 5, so params 6..9 serve as keys 2 and 3 as well. From the section's end on, a section with syncs uses alpha 1.0 and step 0.05.",
};
