// Video mode and OpenGL context, the driver report, the default render
// state, and the render target: every section draws into the lower-left
// gl_rttWidth x gl_rttHeight pixels of the back buffer, which is then copied
// into rtt_texture and drawn stretched into a letterboxed band of the window.
#include "platform/video.h"

#include <SDL/SDL.h>
#include <GL/gl.h>
#include <GL/glu.h>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "core/fatal.h"
#include "core/settings.h"
#include "platform/offscreen.h"
#include "platform/platform.h"
#include "resources/texture.h"

int rtt_texture = -1;
float aspect_ratio = 16.0f / 9.0f;
int present_height = 0;
frame_sink_fn frame_sink = nullptr;
int video_offscreen = 0;

// Extension entry points, looked up when gl_extensions is set. Nothing in the
// system calls them; they are kept for effects that may want them.
static const char* const multitexture_names[] = {
    "glMultiTexCoord2fARB", "glMultiTexCoord2fvARB", "glActiveTextureARB",
    "glClientActiveTextureARB"};
void* multitexture_entry[4];

int video_present_height(int width, float aspect) {
    return static_cast<int>(static_cast<float>(width) / aspect);
}

int video_present_y(int height, int band_height) {
    return static_cast<int>(static_cast<float>(height - band_height) * 0.5f);
}

int has_extension(const char* name) {
    const char* all = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    return all && std::strstr(all, name) ? 1 : 0;
}

static const char* gl_text(GLenum which) {
    const char* text = reinterpret_cast<const char*>(glGetString(which));
    return text ? text : "";
}

void video_write_report(const char* path) {
    FILE* out = std::fopen(path, "w");
    if (!out) return;
    std::fprintf(out, "\n// OpenGL driver information\n");
    std::fprintf(out, "// ---------------------------\n\n");
    std::fprintf(out, "vendor :\n%s\n\n", gl_text(GL_VENDOR));
    std::fprintf(out, "renderer :\n%s\n\n", gl_text(GL_RENDERER));
    std::fprintf(out, "version : \n%s\n\n", gl_text(GL_VERSION));
    std::fprintf(out, "standard extensions : \n");
    std::fprintf(out, "%s\n\n", gl_text(GL_EXTENSIONS));
    std::fprintf(out, "ARB extensions : \n");
    const char* window_ext = platform_window_extensions();
    if (window_ext) std::fprintf(out, "%s\n", window_ext);
    std::fclose(out);
}

static void look_up_extensions() {
    if (has_extension("GL_ARB_multitexture"))
        for (int i = 0; i < 4; ++i) multitexture_entry[i] = platform_proc_address(multitexture_names[i]);
}

void video_default_state() {
    glViewport(0, 0, gl_width, gl_height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 0, 0);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glShadeModel(GL_FLAT);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glDisable(GL_CULL_FACE);
}

static GLfloat saved_matrices[3][16];
static const GLenum matrix_modes[3] = {GL_PROJECTION, GL_MODELVIEW, GL_TEXTURE};
static const GLenum matrix_names[3] = {GL_PROJECTION_MATRIX, GL_MODELVIEW_MATRIX, GL_TEXTURE_MATRIX};

// The attribute stacks keep one entry for the saved state from here on.
void video_state_save() {
    for (int i = 0; i < 3; ++i) glGetFloatv(matrix_names[i], saved_matrices[i]);
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
}

void video_state_restore() {
    glPopClientAttrib();
    glPopAttrib();
    GLint mode = GL_MODELVIEW;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    for (int i = 0; i < 3; ++i) {
        glMatrixMode(matrix_modes[i]);
        glLoadMatrixf(saved_matrices[i]);
    }
    glMatrixMode(static_cast<GLenum>(mode));
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
}

int video_fit_render_target(int* rtt_width, int* rtt_height, int width, int height) {
    int64_t w = *rtt_width, h = *rtt_height;
    if (w <= width && h <= height) return 0;
    // Whichever side is the tighter fit sets the scale; the other follows.
    if (w * height >= h * width) {
        h = h * width / w;
        w = width;
    } else {
        w = w * height / h;
        h = height;
    }
    *rtt_width = static_cast<int>(w > 0 ? w : 1);
    *rtt_height = static_cast<int>(h > 0 ? h : 1);
    return 1;
}

static void create_render_target() {
    if (gl_rttWidth <= 0 || gl_rttHeight <= 0)
        fatal_error("Render target %dx%d is empty (gl_rttWidth and gl_rttHeight must be 1 or more)", gl_rttWidth,
                    gl_rttHeight);
    int asked_width = gl_rttWidth, asked_height = gl_rttHeight;
    if (video_fit_render_target(&gl_rttWidth, &gl_rttHeight, gl_width, gl_height))
        std::fprintf(stderr, "Note: render target %dx%d reduced to %dx%d to fit the %dx%d output\n", asked_width,
                     asked_height, gl_rttWidth, gl_rttHeight, gl_width, gl_height);
    int components = gl_bpp / 8;
    if (components < 3) components = 3;
    rtt_texture = texture_create_empty(gl_rttWidth, gl_rttHeight, GL_RGB, components);
    texture_set_options(rtt_texture, TEXTURE_LINEAR);
    texture_upload(rtt_texture);
    // The whole target is stretched over the letterbox: with repeating
    // edges, linear filtering would blend each border with the opposite one.
    texture_bind(rtt_texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    aspect_ratio = gl_panoramic ? 16.0f / 9.0f : 4.0f / 3.0f;
    present_height = video_present_height(gl_width, aspect_ratio);
}

static void open_window(const SDL_VideoInfo* info) {
    SDL_Surface* screen;
    if (gl_fullscreen) {
        screen = SDL_SetVideoMode(gl_width, gl_height, gl_bpp, SDL_FULLSCREEN | SDL_OPENGL | SDL_HWSURFACE);
    } else {
        gl_bpp = info->vfmt->BitsPerPixel;
        screen = SDL_SetVideoMode(gl_width, gl_height, gl_bpp, SDL_OPENGL | SDL_HWSURFACE);
        if (screen) SDL_WM_SetCaption(demoname ? demoname : "", nullptr);
    }
    if (!screen) fatal_error("Set video mode failed: %s", SDL_GetError());
}

// What every start does once a context is current.
static void finish_start() {
    texture_reset_cache();
    if (gl_info) video_write_report("opengl.log");
    video_default_state();
    if (gl_extensions) look_up_extensions();
    create_render_target();
}

void video_start_offscreen(int width, int height) {
    char why[256];
    gl_width = width;
    gl_height = height;
    // The frame is 8-bit RGB, as on a 24-bit desktop, whose windows report 32
    // bits per pixel.
    gl_bpp = 32;
    if (!offscreen_open(width, height, why, sizeof why))
        fatal_error("Offscreen rendering at %dx%d failed: %s", width, height, why);
    finish_start();
}

void video_start() {
    if (video_offscreen) {
        video_start_offscreen(gl_width, gl_height);
        return;
    }
    if (const char* why = platform_window_unavailable()) fatal_error("Video initialization failed: %s", why);
    if (SDL_Init(SDL_INIT_VIDEO) < 0) fatal_error("Video initialization failed: %s", SDL_GetError());
    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    if (!info) fatal_error("Get video info failed: %s", SDL_GetError());
    SDL_ShowCursor(SDL_DISABLE);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, gl_zbuffer);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    open_window(info);
    finish_start();
    SDL_WarpMouse(320, 240);
}

void video_stop() {
    offscreen_release();
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void frame_begin() {
    glViewport(0, 0, gl_rttWidth, gl_rttHeight);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void frame_present() {
    texture_bind(rtt_texture);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, gl_rttWidth, gl_rttHeight);
    frame_show();
}

void frame_show() {
    texture_bind(rtt_texture);
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, 1, 0, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glViewport(0, video_present_y(gl_height, present_height), gl_width, present_height);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 1); glVertex2f(0, 1);
    glTexCoord2f(0, 0); glVertex2f(0, 0);
    glTexCoord2f(1, 0); glVertex2f(1, 0);
    glTexCoord2f(1, 1); glVertex2f(1, 1);
    glEnd();
}

int frame_swap_skipped = 0;

void frame_swap() {
    if (frame_swap_skipped) return;
    glFinish();
    if (!offscreen_active()) SDL_GL_SwapBuffers();
}
