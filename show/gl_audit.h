// Checks for OpenGL errors after each section's render and after each
// loading step, and names the section type and its script line when one
// turned up. QUILLON_GL_ERRORS in the environment chooses what happens:
// "fatal" stops the run (the tests set it), "off" skips the check, anything
// else prints one warning per section and step on standard error.
#pragma once

enum { GL_AUDIT_OFF = 0, GL_AUDIT_WARN = 1, GL_AUDIT_FATAL = 2 };

// The mode named by `value` (the environment variable's text, or null).
int gl_audit_mode_from(const char* value);
// The message for GL error `code` after `step` ("render", "init", "load") of
// a section of type `type_name` at script line `line` (0: no line).
void gl_audit_message(char* out, int size, unsigned code, const char* step, const char* type_name,
                      int line);

// Reads glGetError until it is clear and reports the first code found after
// `step` of section type row `type` (line 0 for a type-wide step), as `mode`
// says. Returns the code (GL_NO_ERROR when clear).
unsigned gl_audit_check(int mode, const char* step, int type, int line);
// The same in the mode the environment chose.
void gl_audit(const char* step, int type, int line);
