// The one error path: format a message, shut everything down, tell the user
// and end the process with status 255 (-1).
//
// Two refinements serve the loading phase and the whole-show check:
// - a context (a section's type and script line) that every message raised
//   while it is set is prefixed with, so an asset error says which section
//   asked for the file;
// - a collector: while one is installed, a fault inside fatal_attempt() is
//   handed to it and unwinds to that attempt instead of ending the process,
//   so a check can go on and report every fault it finds.
#pragma once

#include <cstddef>

enum { FATAL_MESSAGE_MAX = 1023 };

[[noreturn]] void fatal_error(const char* format, ...)
    __attribute__((format(printf, 1, 2)));

// Prints "Warning: <message>" on standard error; the run goes on.
void fatal_warning(const char* format, ...) __attribute__((format(printf, 1, 2)));

// A hook called with the formatted message before shutdown. Tests and fuzz
// harnesses install one that unwinds back to them (it must not return to keep
// the process alive); a hook that returns lets the normal path continue.
typedef void (*fatal_hook)(const char* message);
void fatal_set_hook(fatal_hook hook);

// How the process ends after a fatal message that no hook or collector took:
// what is shut down first (the window and the sound, so the message is seen
// after full-screen play) and how the message is shown; it does not return.
// The show runtime registers its own (engine_install); without one the
// message goes to standard error and the process ends with status 255.
typedef void (*fatal_ending)(const char* message);
void fatal_set_ending(fatal_ending ending);

// Formats into `out` (at most `size` - 1 characters, always terminated).
void fatal_format(char* out, size_t size, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// The section concerned by the messages raised from now on: `type` (a
// section type name, kept by pointer) and its script `line`; null clears it.
// fatal_context_guard sets it for one scope and clears it on the way out,
// also when a fault unwinds through the scope.
void fatal_set_context(const char* type, int line);
struct fatal_context_guard {
    fatal_context_guard(const char* type, int line) { fatal_set_context(type, line); }
    ~fatal_context_guard() { fatal_set_context(nullptr, 0); }
};

// `message` as raised while the section `type` at `line` was concerned:
// "<type> at line <line>: <message>". A message that starts with "<type>: "
// loses that start (the prefix names the type); one that already names the
// line ("at line <line>", or ", line <line>" as script messages end) is
// left as it is.
void fatal_in_context(char* out, size_t size, const char* type, int line, const char* message);

// Installs the collector (null stops collecting). While collecting, a fault
// raised inside fatal_attempt() goes to the collector and unwinds to the
// attempt; a fault outside any attempt ends the process as usual.
typedef void (*fatal_collector)(const char* message);
void fatal_collect(fatal_collector collector);
int fatal_collecting();

// Runs step(data). Returns 1 when it finished, 0 when a fault was collected
// on the way (only possible while collecting).
int fatal_attempt(void (*step)(void* data), void* data);

// fatal_attempt over any callable.
template <class F>
int fatal_attempt_call(F step) {
    return fatal_attempt([](void* data) { (*static_cast<F*>(data))(); }, &step);
}
