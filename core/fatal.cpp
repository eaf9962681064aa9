// The fatal error routine: the only way the system reports a fault it cannot
// go on from. The message is formatted safely (cut at 1023 characters),
// everything is shut down so the message is visible even after full-screen
// play, the platform shows it, and the process ends with status 255.
#include "core/fatal.h"

#include <cstdarg>
#include <cstdio>

#include "core/engine.h"
#include "platform/platform.h"

static fatal_hook current_hook = nullptr;

void fatal_set_hook(fatal_hook hook) { current_hook = hook; }

static void format_into(char* out, size_t size, const char* format, va_list args) {
    if (size == 0) return;
    int written = vsnprintf(out, size, format, args);
    if (written < 0) out[0] = '\0';
}

void fatal_format(char* out, size_t size, const char* format, ...) {
    va_list args;
    va_start(args, format);
    format_into(out, size, format, args);
    va_end(args);
}

void fatal_error(const char* format, ...) {
    char message[FATAL_MESSAGE_MAX + 1];
    va_list args;
    va_start(args, format);
    format_into(message, sizeof message, format, args);
    va_end(args);
    if (current_hook) current_hook(message);
    shut_down();
    platform_error_box("Error", message);
    platform_exit(255);
}
