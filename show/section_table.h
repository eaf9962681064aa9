// The section type table: each type's script name, its five callbacks and
// the declaration of what its sections carry, in the fixed order that a
// section's `type` indexes.
#pragma once

#include <cstdint>

#include "core/section.h"

enum { SECTION_TYPE_COUNT = 28 };

typedef void (*section_callback)();

struct section_type {
    char name[SECTION_NAME_MAX + 1];
    section_callback load;
    section_callback init;
    section_callback start;
    section_callback render;
    section_callback stop;
    const section_reads* reads;  // what its sections carry, declared by its module
    // Carries a section's motion on by one frame without drawing (null:
    // none to carry). A run opened in the middle of such a section calls it
    // once for each frame the section rendered before, with local_time and
    // the random numbers as that frame had them.
    section_callback advance;
    // How many frames before it a frame of section `s` still shows, to the
    // bit (null: none). Its pictures are fed back faded and rounded to eight
    // bits each time, so this is where the oldest has stopped changing any
    // bit of the frame; INT_MAX for one that never fades. A run opened in
    // the middle of such a section draws that many frames before it too
    // (see timeline_rewind).
    int (*history)(const section* s);
    // Where that history lives (null: nowhere a snapshot can keep it): the
    // texture slots that carry the section's picture on to the next frame,
    // written into `textures`; returns how many. Their top levels after a
    // frame are all a later frame needs of the earlier ones (see
    // feedback_snapshot); whatever else the section keeps from frame to
    // frame is as the run has it once it has rendered one frame.
    int (*history_textures)(const section* s, int* textures);
};
// The most texture slots a type's history lives in.
enum { SECTION_HISTORY_TEXTURES = 2 };

// The 28 rows, in their fixed order; a section's `type` is its row index.
extern section_type section_types[SECTION_TYPE_COUNT];

// The callback that does nothing, for empty slots.
void section_nop();

// Row index of the type named exactly `name`, or -1.
int section_type_find(const char* name);

// Sets up `s` (the current section) as the loading phase does: checks it
// against its type's declaration, stopping the run with the fault's message,
// fills its values record, then runs its type's init.
void section_init(section* s);

// What the engine seeds the random numbers from before a section's callback
// (see random.h): its init, its start, or its render in a given frame.
enum section_moment : uint32_t {
    SECTION_MOMENT_INIT = 0xfffffff0u,
    SECTION_MOMENT_START = 0xfffffff1u,
};
// Seeds the random numbers for `s` at `moment` (one of the above, or the
// grid index of the frame being rendered). The section is known by its
// type, times and layer, so the seed survives edits elsewhere in the script.
void section_rand_seed(const section* s, uint32_t moment);
// Seeds them for the load of type `type`.
void section_type_rand_seed(int type);

// Hands the type names and declarations to the script reader, which knows
// no table of its own. Called once before the first script is read.
void section_table_install();
