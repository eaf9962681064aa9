// A GL context without a window, for rendering offline on a machine with or
// without a display: EGL's surfaceless platform, a compatibility-profile
// desktop GL context, and a pbuffer of the output size that stands in for
// the window (8-bit RGB without alpha, like a 24-bit desktop, and the
// deepest depth buffer the driver offers).
#pragma once

#include <cstddef>

// Opens the context with a width x height frame current for drawing and
// reading. Returns 0 with the reason in `why` when it cannot (no EGL device,
// no desktop GL, a size past the driver's limit).
int offscreen_open(int width, int height, char* why, size_t why_size);
void offscreen_close();
// Destroys the context and its frame but leaves the display initialised, so
// the driver stays loaded until the process ends (the next opening closes it
// first): unloading a driver as the program ends gains nothing, and hides
// what it allocated from a leak check, which then reports it as lost.
void offscreen_release();
int offscreen_active();

// The context's entry points and EGL's extension list (null when closed).
void* offscreen_proc_address(const char* name);
const char* offscreen_extensions();
