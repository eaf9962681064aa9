// The OpenGL error audit on Mesa: a provoked error is reported with the
// section type and script line, and the error queue is left clear.
#include "show/gl_audit.h"
#include "tests/effect_window.h"

namespace {

TEST_F(effect_window, audit_names_the_section_behind_an_error_and_clears_the_queue) {
    open();
    int camera_row = section_type_find("genCamera");
    EXPECT_EQ(gl_audit_check(GL_AUDIT_FATAL, "render", camera_row, 7), static_cast<unsigned>(GL_NO_ERROR));
    glEnable(0x1234);  // not a capability: invalid enum
    glPopMatrix();     // at the bottom of the stack: underflow, queued behind it
    EXPECT_EQ(fatal_message([&] { gl_audit_check(GL_AUDIT_FATAL, "render", camera_row, 7); }),
              "OpenGL error 0x0500 (invalid enum) after render of genCamera, script line 7");
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    glEnable(0x1234);
    EXPECT_EQ(gl_audit_check(GL_AUDIT_OFF, "load", camera_row, 0), static_cast<unsigned>(GL_NO_ERROR));
    EXPECT_EQ(gl_audit_check(GL_AUDIT_WARN, "load", camera_row, 0), static_cast<unsigned>(GL_INVALID_ENUM));
}

}  // namespace
