// Linux platform layer: fatal messages go to standard error, extension entry
// points are found through SDL (EGL offscreen), the window-system extension
// list is GLX's (EGL's offscreen).
#include "platform/platform.h"

#include <SDL/SDL.h>
#include <GL/glx.h>
#include <cstdio>
#include <cstdlib>

#include "platform/offscreen.h"

void platform_error_box(const char* title, const char* message) {
    std::fprintf(stderr, "%s: %s\n", title, message);
    std::fflush(stderr);
}

void platform_exit(int status) {
    std::fflush(stdout);
    std::_Exit(status);
}

void* platform_proc_address(const char* name) {
    if (offscreen_active()) return offscreen_proc_address(name);
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return nullptr;
    return SDL_GL_GetProcAddress(name);
}

const char* platform_window_extensions() {
    if (offscreen_active()) return offscreen_extensions();
    Display* display = glXGetCurrentDisplay();
    if (!display) return nullptr;
    return glXQueryExtensionsString(display, DefaultScreen(display));
}

const char* platform_window_unavailable() {
    if (std::getenv("DISPLAY") || std::getenv("SDL_VIDEODRIVER")) return nullptr;
    return "no display (DISPLAY is not set); --capture, --video and --bench draw without one";
}
