// The shared section check: compares a section's counts with what its type
// reads and reports the first shortfall through fatal_error.
#include "core/section_check.h"

#include "core/fatal.h"
#include "core/section.h"

static void require_count(const section& s, const char* type, const char* what, int needed, int has) {
    if (has < needed)
        fatal_error("%s: section at line %d needs %d %s, has %d", type, s.line, needed, what, has);
}

void section_require(const section& s, const char* type, int params, int strings, int splines,
                     int syncs) {
    require_count(s, type, "params", params, s.param_count);
    require_count(s, type, "strings", strings, s.string_count);
    require_count(s, type, "splines", splines, s.spline_count);
    require_count(s, type, "syncs", syncs, s.sync_count);
}

void section_require_exactly(const section& s, int has, int needed, const char* message) {
    if (has != needed) fatal_error("%s, line %d", message, s.line);
}
