// What the script can say, written out from the engine's own tables: the
// head settings and, for every section type, the params, strings, splines
// and syncs it reads. `quillon --describe [TYPE]` prints it as text,
// `quillon --reference` as the Markdown page docs/reference.md.
#pragma once

#include <cstdio>
#include <string>

// "exactly 3", "at least 9", "1 to 13", "up to 1" or "none": how many of a
// list's entries a section of the type gives.
std::string describe_count(int section_type, int kind);

// One type as text. Returns 0 when no type has that name (nothing written).
int describe_type(FILE* out, const char* name);

// What to say of a type name that is none, with the nearest name as a hint.
std::string describe_unknown_type(const char* name);
// The head settings, then every type, as text.
void describe_all(FILE* out);

// The whole reference as Markdown.
void describe_reference(FILE* out);
