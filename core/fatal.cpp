// The fatal error routine: the only way the system reports a fault it cannot
// go on from. The message is formatted safely (cut at 1023 characters) and
// prefixed with the section concerned, if any; then either a collecting check
// takes it and unwinds to its attempt, or everything is shut down so the
// message is visible even after full-screen play, the platform shows it, and
// the process ends with status 255.
#include "core/fatal.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "platform/platform.h"
#include "show/engine.h"

namespace {

fatal_hook current_hook = nullptr;
fatal_collector current_collector = nullptr;
int attempt_depth = 0;
const char* context_type = nullptr;
int context_line = 0;

// Thrown by fatal_error while collecting; caught only by fatal_attempt.
struct fatal_unwind {};

void format_into(char* out, size_t size, const char* format, va_list args) {
    if (size == 0) return;
    int written = vsnprintf(out, size, format, args);
    if (written < 0) out[0] = '\0';
}

}  // namespace

void fatal_set_hook(fatal_hook hook) { current_hook = hook; }

void fatal_format(char* out, size_t size, const char* format, ...) {
    va_list args;
    va_start(args, format);
    format_into(out, size, format, args);
    va_end(args);
}

void fatal_set_context(const char* type, int line) {
    context_type = type;
    context_line = line;
}

// Whether `message` already says "at line N" or ", line N" for this line.
static bool names_line(const char* message, int line) {
    for (const char* lead : {"at line ", ", line "}) {
        size_t length = std::strlen(lead);
        for (const char* p = std::strstr(message, lead); p; p = std::strstr(p + 1, lead)) {
            char* end = nullptr;
            if (std::strtol(p + length, &end, 10) == line && end != p + length) return true;
        }
    }
    return false;
}

void fatal_in_context(char* out, size_t size, const char* type, int line, const char* message) {
    if (names_line(message, line)) {
        fatal_format(out, size, "%s", message);
        return;
    }
    size_t type_length = std::strlen(type);
    if (std::strncmp(message, type, type_length) == 0 && std::strncmp(message + type_length, ": ", 2) == 0)
        message += type_length + 2;
    fatal_format(out, size, "%s at line %d: %s", type, line, message);
}

void fatal_collect(fatal_collector collector) { current_collector = collector; }

int fatal_collecting() { return current_collector != nullptr; }

int fatal_attempt(void (*step)(void* data), void* data) {
    ++attempt_depth;
    try {
        step(data);
    } catch (const fatal_unwind&) {
        --attempt_depth;
        return 0;
    } catch (...) {
        --attempt_depth;
        throw;
    }
    --attempt_depth;
    return 1;
}

void fatal_warning(const char* format, ...) {
    char message[FATAL_MESSAGE_MAX + 1];
    va_list args;
    va_start(args, format);
    format_into(message, sizeof message, format, args);
    va_end(args);
    std::fprintf(stderr, "Warning: %s\n", message);
    std::fflush(stderr);
}

void fatal_error(const char* format, ...) {
    char raw[FATAL_MESSAGE_MAX + 1];
    va_list args;
    va_start(args, format);
    format_into(raw, sizeof raw, format, args);
    va_end(args);
    char message[FATAL_MESSAGE_MAX + 1];
    if (context_type) fatal_in_context(message, sizeof message, context_type, context_line, raw);
    else fatal_format(message, sizeof message, "%s", raw);
    // Some loaders end their message with a line end; one line per fault.
    size_t length = std::strlen(message);
    while (length > 0 && message[length - 1] == '\n') message[--length] = '\0';
    if (current_collector && attempt_depth > 0) {
        current_collector(message);
        throw fatal_unwind{};
    }
    if (current_hook) current_hook(message);
    shut_down();
    platform_error_box("Error", message);
    platform_exit(255);
}
