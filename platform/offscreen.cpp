// Offscreen GL through EGL: no X server, no window. The surfaceless platform
// needs no device node, so Mesa's software renderer works on any machine.
// The frame is a pbuffer rather than a framebuffer object: the driver lays
// it out like a window's buffer (rows from the top), so triangles are
// rasterised, and edges and depth ties resolved, exactly as in a window.
#include "platform/offscreen.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <cstdio>

namespace {

EGLDisplay display = EGL_NO_DISPLAY;
EGLContext context = EGL_NO_CONTEXT;
EGLSurface surface = EGL_NO_SURFACE;

int fail(char* why, size_t size, const char* what) {
    std::snprintf(why, size, "%s (EGL error 0x%x)", what, static_cast<unsigned>(eglGetError()));
    offscreen_close();
    return 0;
}

// 8-bit RGB without alpha, like a 24-bit desktop, and the deepest depth
// buffer on offer: windows under a software X server get 32 bits, and equal
// frames need equal precision.
EGLConfig choose_config() {
    const EGLint wanted[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                             EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_DEPTH_SIZE, 16,
                             EGL_NONE};
    EGLConfig configs[64];
    EGLint count = 0;
    if (!eglChooseConfig(display, wanted, configs, 64, &count)) return nullptr;
    EGLConfig best = nullptr;
    EGLint best_depth = 0;
    for (EGLint i = 0; i < count; ++i) {
        EGLint red = 0, alpha = 0, depth = 0, samples = 0;
        eglGetConfigAttrib(display, configs[i], EGL_RED_SIZE, &red);
        eglGetConfigAttrib(display, configs[i], EGL_ALPHA_SIZE, &alpha);
        eglGetConfigAttrib(display, configs[i], EGL_DEPTH_SIZE, &depth);
        eglGetConfigAttrib(display, configs[i], EGL_SAMPLES, &samples);
        if (red == 8 && alpha == 0 && samples == 0 && depth > best_depth) {
            best = configs[i];
            best_depth = depth;
        }
    }
    return best;
}

}  // namespace

int offscreen_open(int width, int height, char* why, size_t why_size) {
    offscreen_close();
    auto get_display =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!get_display) return fail(why, why_size, "EGL cannot open a platform display");
    display = get_display(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr))
        return fail(why, why_size, "no surfaceless EGL display");
    if (!eglBindAPI(EGL_OPENGL_API)) return fail(why, why_size, "EGL offers no desktop OpenGL");
    EGLConfig config = choose_config();
    if (!config) return fail(why, why_size, "EGL offers no 8-bit RGB pbuffer with a depth buffer");
    // The configs' advertised pbuffer limit is often smaller than what the
    // driver draws; GL's viewport limit below is the one that counts.
    const EGLint size[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    surface = eglCreatePbufferSurface(display, config, size);
    if (surface == EGL_NO_SURFACE) return fail(why, why_size, "EGL cannot create the frame");
    const EGLint attributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT,
                                 EGL_NONE};
    context = eglCreateContext(display, config, EGL_NO_CONTEXT, attributes);
    if (context == EGL_NO_CONTEXT) return fail(why, why_size, "EGL cannot create a compatibility-profile GL context");
    if (!eglMakeCurrent(display, surface, surface, context)) return fail(why, why_size, "EGL cannot draw into the frame");
    GLint largest[2] = {0, 0};
    EGLint made_width = 0, made_height = 0;
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, largest);
    eglQuerySurface(display, surface, EGL_WIDTH, &made_width);
    eglQuerySurface(display, surface, EGL_HEIGHT, &made_height);
    if (width > largest[0] || height > largest[1] || made_width != width || made_height != height) {
        std::snprintf(why, why_size, "larger than the GL driver's largest frame, %dx%d", largest[0], largest[1]);
        offscreen_close();
        return 0;
    }
    return 1;
}

void offscreen_release() {
    if (display == EGL_NO_DISPLAY) return;
    eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (context != EGL_NO_CONTEXT) eglDestroyContext(display, context);
    if (surface != EGL_NO_SURFACE) eglDestroySurface(display, surface);
    context = EGL_NO_CONTEXT;
    surface = EGL_NO_SURFACE;
}

void offscreen_close() {
    offscreen_release();
    if (display != EGL_NO_DISPLAY) eglTerminate(display);
    display = EGL_NO_DISPLAY;
}

int offscreen_active() { return context != EGL_NO_CONTEXT; }

void* offscreen_proc_address(const char* name) {
    if (!offscreen_active()) return nullptr;
    return reinterpret_cast<void*>(eglGetProcAddress(name));
}

const char* offscreen_extensions() {
    if (!offscreen_active()) return nullptr;
    return eglQueryString(display, EGL_EXTENSIONS);
}
