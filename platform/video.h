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
// Draws rtt_texture letterboxed into the window again, as frame_present
// does after its copy (to show the last frame again without drawing it).
void frame_show();
// glFinish, then swap.
void frame_swap();
// While set, frame_swap does nothing.
extern int frame_swap_skipped;

// Called with each presented frame just before the swap (capture), or null.
typedef void (*frame_sink_fn)();
extern frame_sink_fn frame_sink;

int has_extension(const char* name);

// Writes the driver report to `path` (the show writes "opengl.log").
void video_write_report(const char* path);

// The default render state, as at start-up.
void video_default_state();

// Keeps the whole render state (every attribute, the client state, the
// three matrices) as it is now, and later puts it back, so a show opened
// again in the same window finds the state a fresh start would give it.
// Save once; restore as often as needed.
void video_state_save();
void video_state_restore();

// Letterbox arithmetic: the output band's height and lower edge for a window.
int video_present_height(int width, float aspect);
int video_present_y(int height, int band_height);
