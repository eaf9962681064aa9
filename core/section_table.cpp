// The section type table: the one door between the engine and the effects.
// Each row is a type's script name and its five callbacks, in the fixed order
// that a section's `type` indexes. A type whose module has not been written
// yet keeps empty slots.
#include "core/section.h"

#include <cstring>

#include "core/loading.h"
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
#include "scenes/flash.h"
#include "scenes/gears.h"
#include "scenes/knots.h"
#include "scenes/particletitle.h"
#include "scenes/thelake.h"
#include "scenes/flare.h"
#include "scenes/lines.h"
#include "scenes/logofinal.h"
#include "scenes/loop.h"
#include "scenes/meditation.h"
#include "scenes/paintex.h"
#include "scenes/paranoia.h"
#include "scenes/redsun.h"
#include "scenes/titulo.h"

section* section_list = nullptr;
section* current_section = nullptr;

void section_nop() {}

#define NOP section_nop
#define EMPTY_ROW(name) {name, NOP, NOP, NOP, NOP, NOP}

section_type section_types[SECTION_TYPE_COUNT] = {
    {"loading", NOP, loading_init, NOP, loading_render, NOP},
    {"lines", NOP, NOP, NOP, lines_render, NOP},
    {"flash", flash_load, flash_init, NOP, flash_render, NOP},
    {"logofinal", logofinal_load, NOP, NOP, logofinal_render, NOP},
    {"knots", knots_load, knots_init, NOP, knots_render, NOP},
    {"paranoia", paranoia_load, NOP, paranoia_start, paranoia_render, NOP},
    {"titulo", titulo_load, NOP, NOP, titulo_render, NOP},
    {"flare", flare_load, NOP, flare_start, flare_render, NOP},
    {"columna", columna_load, NOP, columna_start, columna_render, NOP},
    {"3Dbuilder", builder3d_load, NOP, builder3d_start, builder3d_render, NOP},
    {"loop", loop_load, NOP, NOP, loop_render, NOP},
    {"paintex", paintex_load, paintex_init, paintex_start, paintex_render, NOP},
    {"particletitle", particletitle_load, particletitle_init, NOP, particletitle_render, NOP},
    {"gears", gears_load, gears_init, NOP, gears_render, NOP},
    {"meditation", meditation_load, NOP, NOP, meditation_render, NOP},
    {"redsun", redsun_load, redsun_init, NOP, redsun_render, NOP},
    {"thelake", thelake_load, thelake_init, NOP, thelake_render, NOP},
    {"efxFader", fader_load, fader_init, NOP, fader_render, NOP},
    {"efxRadialBlur", radial_blur_load, radial_blur_init, NOP, radial_blur_render, NOP},
    {"efxRenderMesh", NOP, render_mesh_init, NOP, render_mesh_render, NOP},
    {"genWireframe", wireframe_load, wireframe_init, NOP, wireframe_render, NOP},
    {"gen3Dimage", NOP, image3d_init, NOP, image3d_render, NOP},
    {"genEnvironment", NOP, environment_init, NOP, environment_render, NOP},
    {"genPathway", NOP, pathway_init, NOP, pathway_render, NOP},
    {"genParticletex", NOP, particletex_init, NOP, particletex_render, NOP},
    {"genMacroBox", NOP, macro_box_init, NOP, macro_box_render, NOP},
    {"gen3DS", NOP, gen3ds_init, NOP, gen3ds_render, NOP},
    {"genCamera", NOP, camera_fx_init, NOP, camera_fx_render, NOP},
};

int section_type_find(const char* name) {
    for (int i = 0; i < SECTION_TYPE_COUNT; ++i)
        if (std::strcmp(section_types[i].name, name) == 0) return i;
    return -1;
}
