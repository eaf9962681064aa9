// The section type table: the one door between the show runtime and the
// effects and scenes. Each row is a type's script name, its five callbacks
// and the declaration of what its sections carry, in the fixed order that a
// section's `type` indexes.
#include "show/section_table.h"

#include <cstring>

#include "core/fatal.h"
#include "core/random.h"
#include "core/script.h"
#include "effects/camera_fx.h"
#include "effects/environment.h"
#include "effects/fader.h"
#include "effects/gen3ds.h"
#include "effects/image3d.h"
#include "effects/macro_box.h"
#include "effects/particletex.h"
#include "effects/pathway.h"
#include "effects/radial_blur.h"
#include "effects/render_mesh.h"
#include "effects/wireframe.h"
#include "scenes/3Dbuilder.h"
#include "scenes/columna.h"
#include "scenes/flare.h"
#include "scenes/flash.h"
#include "scenes/gears.h"
#include "scenes/knots.h"
#include "scenes/lines.h"
#include "scenes/logofinal.h"
#include "scenes/loop.h"
#include "scenes/meditation.h"
#include "scenes/paintex.h"
#include "scenes/paranoia.h"
#include "scenes/particletitle.h"
#include "scenes/redsun.h"
#include "scenes/thelake.h"
#include "scenes/titulo.h"
#include "show/loading.h"

void section_nop() {}

static uint32_t float_bits(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

void section_rand_seed(const section* s, uint32_t moment) {
    uint32_t key = rand_mix(static_cast<uint32_t>(s->type), float_bits(s->start));
    key = rand_mix(key, float_bits(s->end));
    key = rand_mix(key, static_cast<uint32_t>(s->layer));
    rand_seed(rand_mix(key, moment));
}

void section_type_rand_seed(int type) { rand_seed(rand_mix(0x6c6f6164u, static_cast<uint32_t>(type))); }

#define NOP section_nop

section_type section_types[SECTION_TYPE_COUNT] = {
    {"loading", NOP, loading_init, NOP, loading_render, NOP, &loading_reads, nullptr, nullptr, nullptr},
    {"lines", NOP, NOP, NOP, lines_render, NOP, &lines_reads, nullptr, nullptr, nullptr},
    {"flash", flash_load, NOP, NOP, flash_render, NOP, &flash_reads, nullptr, nullptr, nullptr},
    {"logofinal", logofinal_load, NOP, NOP, logofinal_render, NOP, &logofinal_reads, nullptr, nullptr, nullptr},
    {"knots", knots_load, NOP, NOP, knots_render, NOP, &knots_reads, nullptr, nullptr, nullptr},
    {"paranoia", paranoia_load, NOP, paranoia_start, paranoia_render, NOP, &paranoia_reads, nullptr, nullptr, nullptr},
    {"titulo", titulo_load, NOP, NOP, titulo_render, NOP, &titulo_reads, nullptr, nullptr, nullptr},
    {"flare", flare_load, NOP, flare_start, flare_render, NOP, &flare_reads, nullptr, nullptr, nullptr},
    {"columna", columna_load, NOP, columna_start, columna_render, NOP, &columna_reads, columna_advance, columna_history, columna_history_textures},
    {"3Dbuilder", builder3d_load, NOP, builder3d_start, builder3d_render, NOP, &builder3d_reads, nullptr, nullptr, nullptr},
    {"loop", loop_load, NOP, NOP, loop_render, NOP, &loop_reads, nullptr, nullptr, nullptr},
    {"paintex", paintex_load, paintex_init, paintex_start, paintex_render, NOP, &paintex_reads, nullptr, nullptr, nullptr},
    {"particletitle", particletitle_load, particletitle_init, NOP, particletitle_render, NOP, &particletitle_reads, nullptr, nullptr, nullptr},
    {"gears", gears_load, NOP, NOP, gears_render, NOP, &gears_reads, nullptr, nullptr, nullptr},
    {"meditation", meditation_load, NOP, NOP, meditation_render, NOP, &meditation_reads, nullptr, nullptr, nullptr},
    {"redsun", redsun_load, NOP, NOP, redsun_render, NOP, &redsun_reads, nullptr, nullptr, nullptr},
    {"thelake", thelake_load, thelake_init, NOP, thelake_render, NOP, &thelake_reads, thelake_advance, nullptr, nullptr},
    {"efxFader", fader_load, NOP, NOP, fader_render, NOP, &fader_reads, nullptr, nullptr, nullptr},
    {"efxRadialBlur", radial_blur_load, NOP, NOP, radial_blur_render, NOP, &radial_blur_reads, nullptr, nullptr, nullptr},
    {"efxRenderMesh", NOP, render_mesh_init, NOP, render_mesh_render, NOP, &render_mesh_reads, nullptr, render_mesh_history, render_mesh_history_textures},
    {"genWireframe", wireframe_load, wireframe_init, NOP, wireframe_render, NOP, &wireframe_reads, nullptr, nullptr, nullptr},
    {"gen3Dimage", NOP, image3d_init, NOP, image3d_render, NOP, &image3d_reads, nullptr, nullptr, nullptr},
    {"genEnvironment", NOP, environment_init, NOP, environment_render, NOP, &environment_reads, nullptr, nullptr, nullptr},
    {"genPathway", NOP, pathway_init, NOP, pathway_render, NOP, &pathway_reads, pathway_advance, nullptr, nullptr},
    {"genParticletex", NOP, particletex_init, NOP, particletex_render, NOP, &particletex_reads, nullptr, nullptr, nullptr},
    {"genMacroBox", NOP, macro_box_init, NOP, macro_box_render, NOP, &macro_box_reads, nullptr, nullptr, nullptr},
    {"gen3DS", NOP, gen3ds_init, NOP, gen3ds_render, NOP, &gen3ds_reads, nullptr, nullptr, nullptr},
    {"genCamera", NOP, camera_fx_init, NOP, camera_fx_render, NOP, &camera_fx_reads, nullptr, nullptr, nullptr},
};

void section_init(section* s) {
    const section_type& type = section_types[s->type];
    char message[256];
    if (section_reads_fault(*s, type.name, *type.reads, message, sizeof message)) fatal_error("%s", message);
    section_values_fill(s);
    type.init();
}

int section_type_find(const char* name) {
    for (int i = 0; i < SECTION_TYPE_COUNT; ++i)
        if (std::strcmp(section_types[i].name, name) == 0) return i;
    return -1;
}

void section_table_install() {
    static script_type named[SECTION_TYPE_COUNT];
    for (int i = 0; i < SECTION_TYPE_COUNT; ++i) named[i] = {section_types[i].name, section_types[i].reads};
    script_set_types(named, SECTION_TYPE_COUNT);
}
