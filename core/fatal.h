// The one error path: format a message, shut everything down, tell the user
// and end the process with status 255 (-1).
#pragma once

#include <cstddef>

enum { FATAL_MESSAGE_MAX = 1023 };

[[noreturn]] void fatal_error(const char* format, ...)
    __attribute__((format(printf, 1, 2)));

// A hook called with the formatted message before shutdown. Tests and fuzz
// harnesses install one that unwinds back to them (it must not return to keep
// the process alive); a hook that returns lets the normal path continue.
typedef void (*fatal_hook)(const char* message);
void fatal_set_hook(fatal_hook hook);

// Formats into `out` (at most `size` - 1 characters, always terminated).
void fatal_format(char* out, size_t size, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
