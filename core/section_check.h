// The check every section type's init runs first: does the section carry the
// params, strings, splines and syncs the type is about to read? A section that
// lacks one ends the run with a message naming its type, its script line and
// what is missing, instead of the type reading past the end of its lists.
#pragma once

struct section;

// Stops with "<type>: section at line N needs P params, has Q" (or strings,
// splines, syncs; checked in that order) when `s` has fewer than asked for.
void section_require(const section& s, const char* type, int params, int strings, int splines,
                     int syncs);
// Stops with "<message>, line N" unless `has` is exactly `needed`: for the
// counts a type reports in words of its own.
void section_require_exactly(const section& s, int has, int needed, const char* message);
