// OpenGL error audit after each section step.
#include "show/gl_audit.h"

#include <GL/gl.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

#include "core/fatal.h"
#include "core/section.h"

int gl_audit_mode_from(const char* value) {
    if (!value) return GL_AUDIT_WARN;
    if (std::strcmp(value, "fatal") == 0) return GL_AUDIT_FATAL;
    if (std::strcmp(value, "off") == 0) return GL_AUDIT_OFF;
    return GL_AUDIT_WARN;
}

static const char* error_name(unsigned code) {
    switch (code) {
    case GL_INVALID_ENUM: return "invalid enum";
    case GL_INVALID_VALUE: return "invalid value";
    case GL_INVALID_OPERATION: return "invalid operation";
    case GL_STACK_OVERFLOW: return "stack overflow";
    case GL_STACK_UNDERFLOW: return "stack underflow";
    case GL_OUT_OF_MEMORY: return "out of memory";
    default: return "unknown error";
    }
}

void gl_audit_message(char* out, int size, unsigned code, const char* step, const char* type_name,
                      int line) {
    if (line > 0)
        std::snprintf(out, size, "OpenGL error 0x%04X (%s) after %s of %s, script line %d", code,
                      error_name(code), step, type_name, line);
    else
        std::snprintf(out, size, "OpenGL error 0x%04X (%s) after %s of %s", code, error_name(code), step,
                      type_name);
}

unsigned gl_audit_check(int mode, const char* step, int type, int line) {
    if (mode == GL_AUDIT_OFF) return GL_NO_ERROR;
    GLenum first = glGetError();
    if (first == GL_NO_ERROR) return GL_NO_ERROR;
    // Errors queue up; drain them so the next step starts clean.
    for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {
    }
    const char* type_name = type >= 0 && type < SECTION_TYPE_COUNT ? section_types[type].name : "the engine";
    char message[256];
    gl_audit_message(message, sizeof message, first, step, type_name, line);
    if (mode == GL_AUDIT_FATAL) fatal_error("%s", message);
    // One warning per section and step is enough to find the culprit.
    static std::set<std::string> warned;
    if (warned.insert(std::string(step) + "/" + type_name + "/" + std::to_string(line)).second)
        fatal_warning("%s", message);
    return first;
}

void gl_audit(const char* step, int type, int line) {
    static const int mode = gl_audit_mode_from(std::getenv("QUILLON_GL_ERRORS"));
    gl_audit_check(mode, step, type, line);
}
