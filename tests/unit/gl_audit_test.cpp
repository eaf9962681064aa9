// The audit's message texts where the read-back test does not reach: a
// section without a line, an error GL does not name.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include "show/gl_audit.h"

namespace {

TEST(gl_audit, messages_name_the_error_step_type_and_line) {
    char text[256];
    gl_audit_message(text, sizeof text, GL_OUT_OF_MEMORY, "load", "genMacroBox", 0);
    EXPECT_STREQ(text, "OpenGL error 0x0505 (out of memory) after load of genMacroBox");
    gl_audit_message(text, sizeof text, 0x9999, "init", "gears", 3);
    EXPECT_STREQ(text, "OpenGL error 0x9999 (unknown error) after init of gears, script line 3");
}

}  // namespace
