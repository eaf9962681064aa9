// The context's extension string, read for the textures, the window set-up
// and the scenes that have a faster path where the driver offers one.
#include "resources/gl_extensions.h"

#include <GL/gl.h>
#include <cstring>

int has_extension(const char* name) {
    const char* all = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    return all && std::strstr(all, name) ? 1 : 0;
}
