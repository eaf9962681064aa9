// Video mode and OpenGL context, the driver report, the default render state,
// the render target and its letterboxed presentation.
#pragma once

extern int rtt_texture;
extern float aspect_ratio;
extern int present_height;

void video_start();
void video_stop();

// Viewport of the render target; colour and depth cleared.
void frame_begin();
// Copies the render target into rtt_texture and draws it letterboxed.
void frame_present();
// glFinish, then swap.
void frame_swap();

// Called with each presented frame just before the swap (capture), or null.
typedef void (*frame_sink_fn)();
extern frame_sink_fn frame_sink;

int has_extension(const char* name);

// Writes the driver report to `path` (the show writes "opengl.log").
void video_write_report(const char* path);

// The default render state, as at start-up.
void video_default_state();

// Letterbox arithmetic: the output band's height and lower edge for a window.
int video_present_height(int width, float aspect);
int video_present_y(int height, int band_height);
