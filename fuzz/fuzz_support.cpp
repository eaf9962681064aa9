#include "fuzz/fuzz_support.h"

#include <cstdio>
#include <cstdlib>

#include "core/fatal.h"

static void throw_fatal(const char* message) { throw fuzz_fatal{message}; }

void fuzz_catch_fatal() { fatal_set_hook(throw_fatal); }

void fuzz_expect_named(const fuzz_fatal& error, const char* text) {
    if (error.message.find(text) != std::string::npos) return;
    std::fprintf(stderr, "fatal message without \"%s\": %s\n", text, error.message.c_str());
    std::abort();
}
