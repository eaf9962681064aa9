// What the fuzz targets share: a fatal error unwinds back to the entry point
// as a fuzz_fatal exception instead of ending the process, so a rejected
// input is one more ordinary run of the harness.
#pragma once

#include <string>

struct fuzz_fatal {
    std::string message;
};

// Installs the unwinding hook; cheap, so each input may call it.
void fuzz_catch_fatal();

// Aborts (a finding) when a rejection's message lacks `text`: every message
// must name what was being read.
void fuzz_expect_named(const fuzz_fatal& error, const char* text);
