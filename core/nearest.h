// The nearest of a list of names to a misspelt one, for the "did you mean"
// hint of every message about a name that is not known.
#pragma once

#include <string>

enum { NEAREST_MAX_EDITS = 2 };

// Edits (insertions, deletions, substitutions of one character) that turn
// `a` into `b`; counts above `limit` come back as limit + 1.
int nearest_distance(const char* a, const char* b, int limit);

// The first of the `count` names that is fewest edits from `name`, when that
// is at most NEAREST_MAX_EDITS, not 0, and less than half the length of
// `name`; else null.
const char* nearest_name(const char* name, const char* const* names, int count);

// " (did you mean 'NAME'?)" for the nearest of the names, or "" when none is
// near enough: the tail of a message about an unknown name.
std::string nearest_hint(const char* name, const char* const* names, int count);
