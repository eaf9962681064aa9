// The shared section check, driven by the types' declarations.
#include "core/section_reads.h"

#include <cstdio>
#include <cstring>

#include "core/script.h"
#include "core/section.h"

const char* section_list_name(int kind) {
    static const char* const names[SECTION_LISTS] = {"params", "strings", "splines", "syncs"};
    return names[kind];
}

int section_required(const section_field_list& list) {
    int required = 0;
    while (required < list.count && !list.fields[required].fallback) ++required;
    return required;
}

int section_param_every_frame(const section_reads& reads, int index) {
    const section_field_list& params = reads.lists[SECTION_PARAMS];
    if (index < 0 || params.count == 0) return 0;
    if (index >= params.count && !reads.params_needed) return 0;
    return params.fields[index < params.count ? index : params.count - 1].when == SECTION_EVERY_FRAME;
}

int section_param_value(const section_reads& reads, int index) {
    const section_field_list& params = reads.lists[SECTION_PARAMS];
    if (index < 0 || params.count == 0) return -1;
    if (index < params.count) return params.fields[index].value;
    int last = params.fields[params.count - 1].value;
    if (!reads.params_needed || last < 0) return -1;
    return last + (index - params.count + 1) * static_cast<int>(sizeof(float));
}

void section_value_store(section* s, int index) {
    int at = section_param_value(*script_type_reads(s->type), index);
    if (at >= 0 && static_cast<size_t>(at) + sizeof(float) <= sizeof s->values)
        std::memcpy(s->values + at, &s->params[index], sizeof(float));
}

void section_values_fill(section* s) {
    std::memset(s->values, 0, sizeof s->values);
    for (int i = 0; i < SECTION_MAX_PARAMS; ++i) section_value_store(s, i);
}

static int list_count(const section& s, int kind) {
    const int counts[SECTION_LISTS] = {s.param_count, s.string_count, s.spline_count, s.sync_count};
    return counts[kind];
}

static int needed(const section& s, const section_reads& reads, int kind) {
    if (kind == SECTION_PARAMS && reads.params_needed) return reads.params_needed(s.sync_count);
    return section_required(reads.lists[kind]);
}

// The passes of the check, in order.
enum { OWN_COUNTS, SHORTFALLS, SURPLUSES, PASSES };

int section_reads_fault(const section& s, const char* type, const section_reads& reads, char* message,
                        size_t size) {
    for (int pass = 0; pass < PASSES; ++pass) {
        for (int kind = 0; kind < SECTION_LISTS; ++kind) {
            const section_count_rule& rule = reads.rules[kind];
            int has = list_count(s, kind);
            int declared = reads.lists[kind].count;
            int need = pass == SURPLUSES ? declared : needed(s, reads, kind);
            int own = rule.mode == SECTION_OWN_MESSAGE;
            int fault = pass == OWN_COUNTS   ? own && has != declared
                        : pass == SHORTFALLS ? !own && has < need
                                             : rule.mode == SECTION_EXACTLY && has > declared;
            if (!fault) continue;
            if (own)
                std::snprintf(message, size, rule.message, s.line);
            else
                std::snprintf(message, size, "%s: section at line %d needs %d %s, has %d", type, s.line, need,
                              section_list_name(kind), has);
            return 1;
        }
    }
    return 0;
}
