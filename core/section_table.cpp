// The section type table: the one door between the engine and the effects.
// Each row is a type's script name and its five callbacks, in the fixed order
// that a section's `type` indexes. A type whose module has not been written
// yet keeps empty slots.
#include "core/section.h"

#include <cstring>

#include "core/loading.h"

section* section_list = nullptr;
section* current_section = nullptr;

void section_nop() {}

#define NOP section_nop
#define EMPTY_ROW(name) {name, NOP, NOP, NOP, NOP, NOP}

section_type section_types[SECTION_TYPE_COUNT] = {
    {"loading", NOP, loading_init, NOP, loading_render, NOP},
    EMPTY_ROW("lines"),
    EMPTY_ROW("flash"),
    EMPTY_ROW("logofinal"),
    EMPTY_ROW("knots"),
    EMPTY_ROW("paranoia"),
    EMPTY_ROW("titulo"),
    EMPTY_ROW("flare"),
    EMPTY_ROW("columna"),
    EMPTY_ROW("3Dbuilder"),
    EMPTY_ROW("loop"),
    EMPTY_ROW("paintex"),
    EMPTY_ROW("particletitle"),
    EMPTY_ROW("gears"),
    EMPTY_ROW("meditation"),
    EMPTY_ROW("redsun"),
    EMPTY_ROW("thelake"),
    EMPTY_ROW("efxFader"),
    EMPTY_ROW("efxRadialBlur"),
    EMPTY_ROW("efxRenderMesh"),
    EMPTY_ROW("genWireframe"),
    EMPTY_ROW("gen3Dimage"),
    EMPTY_ROW("genEnvironment"),
    EMPTY_ROW("genPathway"),
    EMPTY_ROW("genParticletex"),
    EMPTY_ROW("genMacroBox"),
    EMPTY_ROW("gen3DS"),
    EMPTY_ROW("genCamera"),
};

int section_type_find(const char* name) {
    for (int i = 0; i < SECTION_TYPE_COUNT; ++i)
        if (std::strcmp(section_types[i].name, name) == 0) return i;
    return -1;
}
