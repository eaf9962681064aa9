// genEnvironment: a model drawn with sphere-mapped texture coordinates from
// one environment image, in the view and state the earlier sections left.
#include "effects/environment.h"

#include <GL/gl.h>

#include "core/fatal.h"
#include "core/generation.h"
#include "core/section.h"
#include "core/section_check.h"
#include "effects/gen3ds.h"
#include "resources/model.h"
#include "resources/model_draw.h"
#include "resources/texture.h"

struct environment_instance {
    model* object;
    int texture;
};

// Exactly three strings, checked before any file is opened.
void environment_init() {
    section* s = current_section;
    section_require_exactly(*s, s->string_count, 3, "Script: three strings are needed in genEnvironment section");
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
