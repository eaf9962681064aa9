// The section record: one instance of a section type (effect or scene) on
// the timeline, as the script describes it and the show runtime runs it.
// The types' callbacks take no arguments: before init, start and render the
// runtime points current_section at the section concerned.
#pragma once

#include "core/section_reads.h"

enum {
    SECTION_NAME_MAX = 63,
    SECTION_MAX_PARAMS = 256,
    SECTION_MAX_STRINGS = 256,
    SECTION_MAX_SPLINES = 256,
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
    struct spline* splines;  // spline_count of them, read by the loading phase
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

// Copies every param of `s` into its values record.
void section_values_fill(section* s);
// Copies param `index` of `s` into its values record, after it changed.
void section_value_store(section* s, int index);

// Every section of the script, in script order.
extern section* section_list;
extern section* current_section;
