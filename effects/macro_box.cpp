// genMacroBox: the ghost copies of the skybox around current_camera, then the
// camera's own projection and view again for the sections after it.
#include "effects/macro_box.h"

#include <GL/gl.h>

#include "core/fatal.h"
#include "core/section.h"
#include "resources/camera.h"
#include "resources/skybox.h"

static const char* const TYPE_NAME = "genMacroBox";

const float MACRO_BOX_ALPHA = 0.07f;
const float MACRO_BOX_AXIS[3] = {1, 2, 0};

void macro_box_angles(float t, float out[MACRO_BOX_COPIES]) {
    for (int i = 0; i < MACRO_BOX_COPIES; ++i) out[i] = static_cast<float>(26 * i) + t;
}

void macro_box_init() {
    section& s = *current_section;
    skybox* box = skybox_create(s.strings[0], SKYBOX_JPG, 0);
    if (!box) fatal_error("%s: Error loading skybox %s", TYPE_NAME, s.strings[0]);
    skybox_upload(box);
    s.instance_data = box;
}

// The copies are drawn around a camera some earlier section of the frame
// owns; without one there is nothing to draw around, which is a script fault.
void macro_box_render() {
    const section& s = *current_section;
    if (!current_camera)
        fatal_error("%s: section at line %d needs a genCamera section drawn before it", TYPE_NAME, s.line);
    const skybox* box = static_cast<const skybox*>(s.instance_data);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glColor4f(0, 0, 0, MACRO_BOX_ALPHA);
    float angles[MACRO_BOX_COPIES];
    macro_box_angles(s.local_time, angles);
    for (float angle : angles) {
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glRotatef(angle, MACRO_BOX_AXIS[0], MACRO_BOX_AXIS[1], MACRO_BOX_AXIS[2]);
        skybox_draw(box, current_camera);
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
    }
    camera_apply_projection(current_camera);
    camera_apply_view(current_camera);
    glDisable(GL_BLEND);
}

// ---------------------------------------------------------------------------
// What its sections carry
// ---------------------------------------------------------------------------

static const section_field macro_box_strings[] = {
    {"skybox", "the skybox picture, used for all six faces", nullptr},
};
const section_reads macro_box_reads = {
    "five faint turning copies of a skybox around the current camera, so the background seems to swirl",
    {{}, SECTION_FIELDS(macro_box_strings), {}, {}},
    {{}, {}, {}, {}},
    nullptr, nullptr,
};
