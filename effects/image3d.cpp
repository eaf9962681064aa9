// gen3Dimage: the picture's quad, drawn additively at its place without
// depth testing.
#include "effects/image3d.h"

#include <GL/gl.h>
#include <cstdlib>

#include "core/fatal.h"
#include "core/owned.h"
#include "core/section.h"
#include "resources/texture.h"

static const char* const TYPE_NAME = "gen3Dimage";

float image3d_alpha(const image3d_values& v, float t, float duration) {
    return v.alpha0 + (v.alpha1 - v.alpha0) * t / duration;
}

void image3d_init() {
    section& s = *current_section;
    image3d_instance built = {};
    built.image = texture_load(s.strings[0]);
    if (built.image < 0) fatal_error("gen3Dimage: Error loading texture %s", s.strings[0]);
    texture_set_options(built.image, TEXTURE_LINEAR);
    texture_upload(built.image);
    const texture* picture = texture_table[built.image];
    quad_init(&built.quad, built.image, static_cast<float>(picture->width),
              static_cast<float>(picture->height));
    image3d_instance* instance = static_cast<image3d_instance*>(malloc(sizeof(image3d_instance)));
    if (!instance) fatal_error("%s: out of memory, section at line %d", TYPE_NAME, s.line);
    *instance = built;
    generation_own(instance, free);
    s.instance_data = instance;
}

// Under the replace environment the quad shows the picture's own colours;
// the current colour's alpha is the strength it is added with when the
// picture has no alpha of its own.
void image3d_render() {
    const section& s = *current_section;
    const image3d_instance* instance = static_cast<const image3d_instance*>(s.instance_data);
    const image3d_values& v = section_values<image3d_values>(s);
    glColor4f(0, 0, 0, image3d_alpha(v, s.local_time, s.duration));
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glTranslatef(v.x, v.y, v.z);
    glScalef(v.scale_x, v.scale_y, 1);
    quad_draw(&instance->quad);
    glPopMatrix();
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}

// ---------------------------------------------------------------------------
// What its sections carry
// ---------------------------------------------------------------------------

static const section_field image3d_params[] = {
    {"scale_x", "scale in x (0.01 makes a 256-pixel side 2.56 units)", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(image3d_values, scale_x)},
    {"scale_y", "scale in y", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(image3d_values, scale_y)},
    {"x", "position x", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(image3d_values, x)},
    {"y", "position y", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(image3d_values, y)},
    {"z", "position z", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(image3d_values, z)},
    {"alpha0", "alpha at the section's start", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(image3d_values, alpha0)},
    {"alpha1", "alpha at the section's end", nullptr, SECTION_EVERY_FRAME, SECTION_VALUE(image3d_values, alpha1)},
};
static const section_field image3d_strings[] = {
    {"picture", "the picture (.bmp, .jpg, .png or .tga)", nullptr},
};
const section_reads image3d_reads = {
    "one picture as a flat quad in the 3-D view, added over the frame, its alpha moving over the section",
    {SECTION_FIELDS(image3d_params), SECTION_FIELDS(image3d_strings), {}, {}},
    {{}, {}, {}, {}},
    nullptr, nullptr,
};
