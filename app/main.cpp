// The player's entry point: read the script, start up, play, shut down.
// An offline run (--capture, --bench) wraps the same steps.
#include <cstdio>
#include <unistd.h>

#include "app/analyse.h"
#include "app/audio_tracks.h"
#include "app/offline_run.h"
#include "app/check.h"
#include "app/cmdline.h"
#include "app/data_folder.h"
#include "app/describe.h"
#include "app/edit_mode.h"
#include "app/farm.h"
#include "app/join.h"
#include "app/new_show.h"
#include "core/fatal.h"
#include "core/script.h"
#include "show/engine.h"
#include "show/generation.h"

int main(int argc, char** argv) {
    cmdline options = cmdline_parse(argc, argv);
    // A command line that cannot be taken is a usage error: what is wrong,
    // then where the options are told, exit 2.
    if (options.error || options.value_error[0]) {
        if (options.error) std::fprintf(stderr, "quillon: %s %s%s\n", options.error, options.error_arg, options.hint.c_str());
        else std::fprintf(stderr, "quillon: %s\n", options.value_error);
        std::fputs("Try 'quillon --help' for the options.\n", stderr);
        return 2;
    }
    if (options.help) {
        std::fputs(cmdline_usage(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("quillon %s\n", QUILLON_VERSION);
        return 0;
    }
    if (options.new_dir) {
        int bpm = options.bpm ? options.bpm : NEW_SHOW_BPM;
        new_show_write(options.new_dir, bpm, options.length > 0 ? options.length : float(NEW_SHOW_SECONDS));
        std::printf("Wrote a starter show (%d BPM) to %s: play it with `quillon %s`\n", bpm, options.new_dir,
                    options.new_dir);
        return 0;
    }
    if (options.reference) {
        describe_reference(stdout);
        return 0;
    }
    if (options.describe) {
        if (!options.show_dir) describe_all(stdout);
        else if (!describe_type(stdout, options.show_dir)) {
            std::fprintf(stderr, "quillon: %s\n", describe_unknown_type(options.show_dir).c_str());
            return 2;
        }
        return 0;
    }
    if (options.list_types) {
        check_list_types();
        return 0;
    }
    audio_tracks_register();
    data_folder_apply(&options);
    if (options.analyse) return analyse_run(&options);
    if (options.join) return join_run(&options);
    if (options.farm) return farm_run(&options);
    offline_prepare(&options);
    if (options.edit) edit_prepare(&options);
    if (options.show_dir && chdir(options.show_dir) != 0)
        fatal_error("Show folder %s cannot be opened", options.show_dir);
    if (options.script) script_path = options.script;
    if (options.check) return check_show(&options);
    if (options.edit) return edit_run(&options);
    read_script();
    cmdline_apply(&options);
    offline_begin();
    start_up();
    offline_loaded();
    do main_loop();
    while (offline_next_pass());
    int status = offline_end();
    generation_end();  // what the show allocated, freed while the window is still there
    shut_down();
    return status;
}
