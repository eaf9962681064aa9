// Manual pages (section 1) made from a program's usage text, so the page
// and --help never tell two stories; the player's page adds the head
// settings and the section types from the engine's tables.
#pragma once

#include <cstdio>

// Writes the page of `name` from `usage`: its first line ("Usage: NAME
// ARGS") becomes the synopsis, the lines up to the first blank one the
// description, a line "Heading:" (no other colon in it) a section, "  --option ARG   text" lines
// (with deeper-indented continuations) tagged paragraphs. `extra` (roff,
// may be null) follows the converted text.
void manual_write(FILE* out, const char* name, const char* summary, const char* usage, const char* extra);

// The player's page.
void manual_write_quillon(FILE* out);
