// genEnvironment: a model drawn with sphere-mapped texture coordinates from
// one environment image, in the view and state the earlier sections left.
#include "effects/environment.h"

#include <GL/gl.h>

#include "core/fatal.h"
#include "core/owned.h"
#include "core/section.h"
#include "effects/gen3ds.h"
#include "resources/model.h"
#include "resources/model_draw.h"
#include "resources/texture.h"

struct environment_instance {
    model* object;
    int texture;
};

void environment_init() {
    section* s = current_section;
    environment_instance* instance = new environment_instance();
    generation_own(instance, [](void* p) { delete static_cast<environment_instance*>(p); });
    instance->object = model_load(s->strings[0], s->strings[1]);
    if (!instance->object) fatal_error("genEnvironment: Error loading model '%s' (%s)", s->strings[1], model_last_error());
    instance->texture = texture_load(s->strings[2]);
    if (instance->texture == -1) fatal_error("genEnvironment: Error loading texture %s", s->strings[2]);
    texture_set_options(instance->texture, TEXTURE_LINEAR);
    texture_upload(instance->texture);
    s->instance_data = instance;
}

void environment_render() {
    const section* s = current_section;
    const environment_instance* instance = static_cast<const environment_instance*>(s->instance_data);
    glPushMatrix();
    if (section_has_object_spline(s)) section_apply_spline_transform(s, 0, s->local_time);
    texture_bind(instance->texture);
    model_draw_sphere_mapped(instance->object);
    glPopMatrix();
}

// ---------------------------------------------------------------------------
// What its sections carry
// ---------------------------------------------------------------------------

static const section_field environment_strings[] = {
    {"folder", "the model's folder (ending with a slash)", nullptr},
    {"model", "the model file", nullptr},
    {"environment", "the environment picture (.bmp, .jpg, .png or .tga)", nullptr},
};
static const section_field environment_splines[] = {
    {"placement", "scale xyz, degrees about X Y Z, position xyz per key; used only when it is the section's one spline", "none: drawn where the view puts the origin"},
};
const section_reads environment_reads = {
    "one model sphere-mapped with an environment picture, so it seems to reflect it",
    {{}, SECTION_FIELDS(environment_strings), SECTION_FIELDS(environment_splines), {}},
    {{}, {SECTION_OWN_MESSAGE, "Script: three strings are needed in genEnvironment section, line %d"}, {}, {}},
    nullptr, nullptr,
};
