// The section record and the static section type table.
//
// A section is one instance of a section type (effect or scene) on the
// timeline. Callbacks take no arguments: before init, start and render the
// engine points current_section at the section concerned.
#pragma once

#include <cstdint>

#include "core/section_reads.h"
#include "resources/spline.h"

enum {
    SECTION_NAME_MAX = 63,
    SECTION_MAX_PARAMS = 256,
    SECTION_MAX_STRINGS = 256,
    SECTION_MAX_SPLINES = 256,
    SECTION_TYPE_COUNT = 28,
};

struct section {
    int type;
    float start;
    float end;
    int layer;
    section* next;
    section* pending_next;
    section* pending_prev;
    section* active_next;
    section* active_prev;
    float local_time;
    int sync_count;
    float* syncs;
    int param_count;
    float params[SECTION_MAX_PARAMS];
    int string_count;
    char* strings[SECTION_MAX_STRINGS];
    float duration;
    int spline_count;
    char* spline_names[SECTION_MAX_SPLINES];
    spline splines[SECTION_MAX_SPLINES];
    float spline_durations[SECTION_MAX_SPLINES];
    void* instance_data;
    int tracked_count;
    struct track_param* tracked;  // params that follow a track (core/track)
    int line;  // script line of the section's header, for messages
    // The type's values record: its params by the names its declaration
    // binds (see section_values).
    alignas(8) unsigned char values[SECTION_MAX_PARAMS * sizeof(float)];
};

// The params of `s` as its type's values record `T`, a record of floats each
// bound to a param by the type's declaration.
template <class T>
const T& section_values(const section& s) {
    static_assert(sizeof(T) <= sizeof s.values, "a values record holds at most one float per param");
    return *reinterpret_cast<const T*>(s.values);
}

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
};

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

// Copies every param of `s` into its values record.
void section_values_fill(section* s);
// Copies param `index` of `s` into its values record, after it changed.
void section_value_store(section* s, int index);

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

// Every section of the script, in script order.
extern section* section_list;
extern section* current_section;
