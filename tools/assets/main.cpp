// quillon-assets DATA_DIR: writes every generated file the default show needs.
#include <cstdio>
#include <string>

#include "assetlib/generators.h"

struct generator {
    const char* name;
    void (*run)(const std::string& data_dir);
};

// One row per part of the show's assets.
static const generator generators[] = {
    {"loading screen", generate_loading_images},
    {"soundtrack", generate_soundtrack},
    {"debug font", generate_font_image},
    {"model effect examples", generate_fx3d_assets},
    {"models", generate_models},
    {"particle and picture examples", generate_fx_pictures},
    {"default show flights", generate_show_assets},
    {"knots, flash, particle title and lake scenes", generate_scene_pictures},
    {"captions, flares and title", generate_captions_flares},
    {"final logo and loop scenes", generate_swept_tubes},
    {"model builder, column and paranoia scenes", generate_cubes_column_spikes},
    {"gears and meditation scenes", generate_gears_cairn},
};

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Usage: quillon-assets DATA_DIR\n");
        return 2;
    }
    std::string data_dir = argv[1];
    for (const generator& g : generators) g.run(data_dir);
    return 0;
}
