// What the engine needs from the operating system beyond SDL: how a fatal
// message reaches the user, how the process ends, and how GL extension entry
// points and the window-system extension list are found. One implementation
// per platform (platform_linux.cpp here).
#pragma once

// Shows a fatal message to the user (on Linux: "Error: <message>" on stderr).
void platform_error_box(const char* title, const char* message);

// Ends the process with the given status, without returning.
[[noreturn]] void platform_exit(int status);

// Address of a GL or window-system entry point, or null.
void* platform_proc_address(const char* name);

// The window system's own extension list for the current context, or null
// when there is none to report.
const char* platform_window_extensions();

// Why no window can be opened here, or null when one can be tried (on Linux:
// no X display named and no other video driver chosen).
const char* platform_window_unavailable();
