// What a section type reads from its section record.
//
// Every type declares, beside its callbacks, the params, strings, splines and
// syncs it reads: a name, a meaning and, for the ones it can do without, what
// it uses instead. The section type table points at each declaration; the
// count check the table runs before a type's init, `quillon --describe` and
// the script reference are all made from it, so none of them can drift from
// the others.
//
// Each param row also binds the param to a member of the type's own values
// record (SECTION_VALUE): the script stays positional, the type reads its
// params by name from section_values<record>(s). The table fills the record
// before init and a track refreshes its param's member before each frame.
#pragma once

#include <cstddef>

struct section;

enum section_list_kind { SECTION_PARAMS, SECTION_STRINGS, SECTION_SPLINES, SECTION_SYNCS, SECTION_LISTS };

// When a type reads a param: once, as its section is set up (init or
// start), or again before every frame it draws. Only a param read every
// frame can follow a track.
enum section_when { SECTION_AT_INIT = 0, SECTION_EVERY_FRAME = 1 };

struct section_field {
    const char* name;      // a short name for the reader of the script
    const char* meaning;
    const char* fallback;  // what the type does without it; null: required
    int when = SECTION_AT_INIT;  // params only
    int value = -1;  // params only: byte offset of its member in the values record; -1: none
};

// The offset a param row binds: SECTION_VALUE(fader_values, from[0]).
#define SECTION_VALUE(record, member) static_cast<int>(offsetof(record, member))

struct section_field_list {
    const section_field* fields;
    int count;
};

#define SECTION_FIELDS(array) {array, static_cast<int>(sizeof array / sizeof array[0])}

// How a section whose list holds a count other than declared is met. The
// shared message is "<type>: section at line N needs C <list>, has H".
enum section_count_mode {
    SECTION_AT_LEAST = 0,  // fewer than the required: the shared message; more are ignored
    SECTION_EXACTLY,       // more than declared too: the shared message
    SECTION_OWN_MESSAGE,   // any count but the declared one: the list's own message, checked first
};

struct section_count_rule {
    int mode;
    const char* message;  // printf format; given the section's line
};

struct section_reads {
    const char* summary;  // one line: what the type draws
    section_field_list lists[SECTION_LISTS];
    section_count_rule rules[SECTION_LISTS];
    // Params needed when that depends on the section (null: the declared
    // required ones).
    int (*params_needed)(int sync_count);
    const char* notes;  // more to say about the lists, or null
};

// The word for a list in messages and descriptions: "params", "strings"...
const char* section_list_name(int kind);

// Fields of a list without a fallback (those come first).
int section_required(const section_field_list& list);

// Whether the type reads param `index` (from 0) every frame. Params past
// the declared ones, which a type whose param count grows with its syncs
// reads, are read as the last declared one is.
int section_param_every_frame(const section_reads& reads, int index);

// Byte offset in the values record where param `index` is kept, or -1 when
// the type binds none there. Params past the declared ones follow the last
// declared one's member, one float each.
int section_param_value(const section_reads& reads, int index);

// Checks `s` against the declaration of its type. Writes the first fault's
// message into `message` and returns 1, or returns 0 when the section is
// well formed. The lists with a message of their own are checked first,
// then every list for a shortfall, then for a surplus; each time in the
// order params, strings, splines, syncs.
int section_reads_fault(const section& s, const char* type, const section_reads& reads, char* message,
                        size_t size);
