// gen3DS: four models drawn with their materials, turning against each other.
#include "effects/gen3ds.h"

#include <GL/gl.h>

#include "core/fatal.h"
#include "core/owned.h"
#include "core/section.h"
#include "resources/model.h"
#include "resources/model_draw.h"

struct gen3ds_instance {
    model* models[GEN3DS_MODELS];
};

void gen3ds_init() {
    section* s = current_section;
    gen3ds_instance* instance = new gen3ds_instance();
    generation_own(instance, [](void* p) { delete static_cast<gen3ds_instance*>(p); });
    for (int i = 0; i < GEN3DS_MODELS; ++i) {
        const char* file = s->strings[1 + i];
        instance->models[i] = model_load(s->strings[0], file);
        if (!instance->models[i]) fatal_error("gen3DS: Error loading model '%s' (%s)", file, model_last_error());
        // Textured materials need their GL textures before the first draw.
        model_upload_textures();
    }
    s->instance_data = instance;
}

void gen3ds_render() {
    const section* s = current_section;
    const gen3ds_instance* instance = static_cast<const gen3ds_instance*>(s->instance_data);
    float t = s->local_time;
    glPushMatrix();
    if (section_has_object_spline(s)) section_apply_spline_transform(s, 0, t);
    glEnable(GL_LIGHTING);
    glBlendFunc(GL_ONE, GL_ONE);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_CULL_FACE);
    model_draw_materials(instance->models[0]);
    float angles[GEN3DS_SPINS];
    gen3ds_spin_angles(t, angles);
    for (int i = 0; i < GEN3DS_SPINS; ++i) {
        const float* axis = gen3ds_spins[i].axis;
        glRotatef(angles[i], axis[0], axis[1], axis[2]);
        model_draw_materials(instance->models[1 + i]);
    }
    glDisable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glPopMatrix();
}

// ---------------------------------------------------------------------------
// What its sections carry
// ---------------------------------------------------------------------------

static const section_field gen3ds_strings[] = {
    {"folder", "the models' folder (ending with a slash)", nullptr},
    {"model1", "the first model file", nullptr},
    {"model2", "the second, turning 10 degrees a second against the first", nullptr},
    {"model3", "the third, a further 20", nullptr},
    {"model4", "the fourth, a further 30", nullptr},
};
static const section_field gen3ds_splines[] = {
    {"placement", "scale xyz, degrees about X Y Z, position xyz per key; used only when it is the section's one spline", "none: drawn where the view puts the origin"},
};
const section_reads gen3ds_reads = {
    "four models in one place, lit with their own materials, spinning against each other",
    {{}, SECTION_FIELDS(gen3ds_strings), SECTION_FIELDS(gen3ds_splines), {}},
    {{}, {SECTION_EXACTLY, nullptr}, {}, {}},
    nullptr, nullptr,
};
