// genWireframe: the model drawn as lines in a pulsing colour, turning with
// the demo clock in front of the type's fixed camera.
#include "effects/wireframe.h"

#include <GL/gl.h>
#include <cmath>

#include "core/clock.h"
#include "core/fatal.h"
#include "core/random.h"
#include "core/section.h"
#include "platform/video.h"
#include "resources/camera.h"
#include "resources/model.h"
#include "resources/model_draw.h"

static camera* wireframe_camera = nullptr;
static model* wireframe_model = nullptr;

void wireframe_load() {
    wireframe_camera = camera_create(CAMERA_LOOK_AT_MODE);
    camera_set_perspective(wireframe_camera, 60.0f, aspect_ratio);
    camera_set_roll(wireframe_camera, 0.0f);
    wireframe_camera->far_clip = 100.0f;
    wireframe_camera->near_clip = 0.01f;
    camera_set_position(wireframe_camera, 0, 0, 0);
    camera_set_angles(wireframe_camera, 0, 0, 0);
    camera_set_target(wireframe_camera, 0, 0, 100);
}

void wireframe_init() {
    section* s = current_section;
    wireframe_model = model_load(s->strings[0], s->strings[1]);
    if (!wireframe_model) fatal_error("Error loading model '%s' (%s)", s->strings[1], model_last_error());
}

void wireframe_render() {
    const wireframe_values& v = section_values<wireframe_values>(*current_section);
    float T = demo_time;
    camera_apply_projection(wireframe_camera);
    camera_apply_view(wireframe_camera);
    wireframe_colour c = wireframe_colour_at(v, T, rand_next() % 100);
    glColor4f(c.r, c.g, c.b, c.a);
    glDisable(GL_BLEND);
    glPushMatrix();
    glDisable(GL_TEXTURE_2D);
    int cull = wireframe_culls(v);
    if (cull) {
        glCullFace(GL_BACK);
        glEnable(GL_CULL_FACE);
    }
    glLineWidth(v.width);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glRotatef(wireframe_turn_angle(T), 0, 1, 0);
    model_draw_sphere_mapped(wireframe_model);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glLineWidth(1.0f);
    if (cull) glDisable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
    glPopMatrix();
}

// ---------------------------------------------------------------------------
// What its sections carry
// ---------------------------------------------------------------------------

static const section_field wireframe_params[] = {
    {"width", "line width, pixels", "0", SECTION_EVERY_FRAME, SECTION_VALUE(wireframe_values, width)},
    {"red", "red base", "0", SECTION_EVERY_FRAME, SECTION_VALUE(wireframe_values, red.base)},
    {"red_amplitude", "red amplitude", "0", SECTION_EVERY_FRAME, SECTION_VALUE(wireframe_values, red.amplitude)},
    {"red_rate", "red rate, radians per second", "0", SECTION_EVERY_FRAME, SECTION_VALUE(wireframe_values, red.rate)},
    {"green", "green base", "0", SECTION_EVERY_FRAME, SECTION_VALUE(wireframe_values, green.base)},
    {"green_amplitude", "green amplitude", "0", SECTION_EVERY_FRAME, SECTION_VALUE(wireframe_values, green.amplitude)},
    {"green_rate", "green rate", "0", SECTION_EVERY_FRAME, SECTION_VALUE(wireframe_values, green.rate)},
    {"blue", "blue base", "0", SECTION_EVERY_FRAME, SECTION_VALUE(wireframe_values, blue.base)},
    {"blue_amplitude", "blue amplitude", "0", SECTION_EVERY_FRAME, SECTION_VALUE(wireframe_values, blue.amplitude)},
    {"blue_rate", "blue rate", "0", SECTION_EVERY_FRAME, SECTION_VALUE(wireframe_values, blue.rate)},
    {"alpha", "alpha base", "0", SECTION_EVERY_FRAME, SECTION_VALUE(wireframe_values, alpha)},
    {"alpha_flicker", "alpha flicker amplitude", "0", SECTION_EVERY_FRAME, SECTION_VALUE(wireframe_values, alpha_flicker)},
    {"cull", "1 culls the back faces; other values draw them all", "0", SECTION_EVERY_FRAME, SECTION_VALUE(wireframe_values, cull)},
};
static const section_field wireframe_strings[] = {
    {"folder", "the model's folder (ending with a slash)", nullptr},
    {"model", "the model file", nullptr},
};
const section_reads wireframe_reads = {
    "one model's triangle edges in pulsing colours, turning about the viewer who stands at its middle",
    {SECTION_FIELDS(wireframe_params), SECTION_FIELDS(wireframe_strings), {}, {}},
    {{}, {}, {}, {}},
    nullptr, nullptr,
};
