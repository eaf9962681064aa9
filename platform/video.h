// Video mode and OpenGL context, the driver report, the default render state,
// the render target and its letterboxed presentation.
#pragma once

extern int rtt_texture;
extern float aspect_ratio;
extern int present_height;

// Set before start-up to draw into an offscreen framebuffer of gl_width x
// gl_height instead of a window (the offline runs: no display needed).
extern int video_offscreen;

// Opens the window, or the offscreen framebuffer when video_offscreen is set.
void video_start();
// The whole video start without a window, at width x height: context,
// driver report, default state, render target. Any mode can call it; a
// size the driver cannot draw is a fatal error.
void video_start_offscreen(int width, int height);
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

// Shrinks a render target larger than the output to fit it, keeping its
// aspect (each side at least 1). Returns 1 when it changed.
int video_fit_render_target(int* rtt_width, int* rtt_height, int width, int height);

// Letterbox arithmetic: the output band's height and lower edge for a window.
int video_present_height(int width, float aspect);
int video_present_y(int height, int band_height);
