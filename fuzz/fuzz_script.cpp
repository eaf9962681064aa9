// Fuzz target for the script reader: any bytes must give settings and a
// section list or a "Script: ..., line N" message ("Track FILE: ..., line N"
// for a track file it binds), never a read outside a line buffer, a leak or
// a crash; the list it builds stays within the format's limits, and
// script_reset returns everything between inputs.
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/script.h"
#include "fuzz/fuzz_support.h"
#include "show/section_table.h"

static void check_sections() {
    for (const section* s = section_list; s; s = s->next) {
        bool ok = s->type >= 0 && s->type < SECTION_TYPE_COUNT && s->line > 0 &&
                  s->param_count >= 0 && s->param_count <= SECTION_MAX_PARAMS &&
                  s->string_count >= 0 && s->string_count <= SECTION_MAX_STRINGS &&
                  s->spline_count >= 0 && s->spline_count <= SECTION_MAX_SPLINES &&
                  s->sync_count >= 0 && s->sync_count <= SCRIPT_SYNCS_MAX &&
                  (s->sync_count == 0 || s->syncs);
        if (!ok) abort();
        for (int i = 0; i < s->string_count; ++i)
            if (strlen(s->strings[i]) > SCRIPT_WORD_MAX) abort();
        for (int i = 0; i < s->spline_count; ++i)
            if (strlen(s->spline_names[i]) > SCRIPT_WORD_MAX) abort();
    }
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    section_table_install();
    fuzz_catch_fatal();
    try {
        read_script_memory(reinterpret_cast<const char*>(data), size);
        check_sections();
    } catch (const fuzz_fatal& error) {
        // A track the script binds reports its own file and line.
        if (error.message.compare(0, 8, "Script: ") != 0 && error.message.compare(0, 6, "Track ") != 0) abort();
        fuzz_expect_named(error, ", line ");
    }
    script_reset();
    return 0;
}
