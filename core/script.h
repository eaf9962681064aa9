// The script reader: fills the engine settings from the script's head and
// builds the section list from its section blocks.
//
// Every fault in the file ends the program through fatal_error with a
// message naming the line; the reader never returns an error.
#pragma once

#include <cstddef>

enum {
    SCRIPT_LINE_MAX = 255,  // bytes of one line, its line end included
    SCRIPT_WORD_MAX = 63,   // characters of a key, a value, a word or a name
    SCRIPT_SYNCS_MAX = 65536,  // largest count a `syncs` line may declare
};

// The script that read_script() reads; "data/script.txt" unless the command
// line names another one.
struct section;

extern const char* script_path;

// Reads script_path: see read_script_file().
void read_script();

// Sets every setting to its default, then reads the file at `path` to its
// end or to its "[EOF]" line, appending one record per section block to
// section_list. Stops with "Script not found" when there is no such file, and
// says why when it cannot be read (a folder, a loop of links). A UTF-8
// byte-order mark at its start is skipped.
void read_script_file(const char* path);

// Reads a script held in memory (`size` bytes of `text`, which need not be
// terminated) exactly as read_script_file() reads a file: for tools and
// fuzzing, which have no file to open.
void read_script_memory(const char* text, size_t size);

// Whether the `start` or `end` line of `s` was refused while the last script
// was read (a whole-show check reads on after it): its span says nothing then.
int script_span_refused(const section* s);

// A section type as a script names it: its name and the declaration of what
// its sections carry. A section's `type` is its index in the list.
struct section_reads;
struct script_type {
    const char* name;
    const section_reads* reads;
};

// The section types a script may name, kept by pointer. The show runtime
// hands its table over (section_table_install) before the first script is
// read; until then every section header names an unknown type.
void script_set_types(const script_type* types, int count);

// The declaration of type `type` of the list handed over.
const section_reads* script_type_reads(int type);

// Frees the section list with the arrays and texts the reader allocated for
// it, clears current_section and restores the setting defaults. The timeline
// lists must be emptied first (timeline_reset), since they link the same
// records. For tests and tools that read more than one script.
void script_reset();

enum script_split_result {
    SCRIPT_SPLIT_OK = 0,
    SCRIPT_SPLIT_KEY_TOO_LONG = 1,
    SCRIPT_SPLIT_VALUE_TOO_LONG = 2,
};

// Splits `line` into its key (the characters before the first space, tab or
// line end) and its value (after the blanks that follow the key, everything
// up to the first CR, LF or end of text). `key` and `value` must hold
// SCRIPT_WORD_MAX + 1 characters; when either part is longer, the result
// says which, and the outputs hold only what fitted.
script_split_result script_split_line(const char* line, char* key, char* value);
