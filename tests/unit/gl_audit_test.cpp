// The audit's mode switch and its message texts.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include "show/gl_audit.h"

namespace {

TEST(gl_audit, environment_text_chooses_the_mode) {
    EXPECT_EQ(gl_audit_mode_from(nullptr), GL_AUDIT_WARN);
    EXPECT_EQ(gl_audit_mode_from("fatal"), GL_AUDIT_FATAL);
    EXPECT_EQ(gl_audit_mode_from("off"), GL_AUDIT_OFF);
    EXPECT_EQ(gl_audit_mode_from("FATAL"), GL_AUDIT_WARN);
    EXPECT_EQ(gl_audit_mode_from(""), GL_AUDIT_WARN);
}

TEST(gl_audit, messages_name_the_error_step_type_and_line) {
    char text[256];
    gl_audit_message(text, sizeof text, GL_STACK_OVERFLOW, "render", "knots", 120);
    EXPECT_STREQ(text, "OpenGL error 0x0503 (stack overflow) after render of knots, script line 120");
    gl_audit_message(text, sizeof text, GL_OUT_OF_MEMORY, "load", "genMacroBox", 0);
    EXPECT_STREQ(text, "OpenGL error 0x0505 (out of memory) after load of genMacroBox");
    gl_audit_message(text, sizeof text, 0x9999, "init", "gears", 3);
    EXPECT_STREQ(text, "OpenGL error 0x9999 (unknown error) after init of gears, script line 3");
}

}  // namespace
