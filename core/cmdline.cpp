// Command-line parsing for the player, kept apart from main so it can be
// tested as a pure function.
#include "core/cmdline.h"

#include <cstring>

#include "core/settings.h"

const char* cmdline_usage() {
    return "Usage: quillon [options] [SHOW_DIR]\n"
           "Plays the show in SHOW_DIR (default: the current folder) from its data/script.txt.\n"
           "\n"
           "Options:\n"
           "  --script FILE   read FILE instead of data/script.txt (paths inside it\n"
           "                  stay relative to the show folder)\n"
           "  --windowed      play in a window, whatever gl_fullscreen says\n"
           "  --fullscreen    play full screen, whatever gl_fullscreen says\n"
           "  --mute          play without sound (as if snd_enable were 0)\n"
           "  --help          show this text and exit\n"
           "  --version       show the version and exit\n";
}

static int takes_value(const char* option) { return std::strcmp(option, "--script") == 0; }

cmdline cmdline_parse(int argc, char** argv) {
    cmdline out = {};
    out.fullscreen = -1;
    for (int i = 1; i < argc && !out.error; ++i) {
        const char* arg = argv[i];
        if (takes_value(arg)) {
            if (i + 1 >= argc) {
                out.error = "missing value for";
                out.error_arg = arg;
                break;
            }
            out.script = argv[++i];
        } else if (std::strcmp(arg, "--windowed") == 0) {
            out.fullscreen = 0;
        } else if (std::strcmp(arg, "--fullscreen") == 0) {
            out.fullscreen = 1;
        } else if (std::strcmp(arg, "--mute") == 0) {
            out.mute = 1;
        } else if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            out.help = 1;
        } else if (std::strcmp(arg, "--version") == 0) {
            out.version = 1;
        } else if (arg[0] == '-' && arg[1] != '\0') {
            out.error = "unknown option";
            out.error_arg = arg;
        } else if (!out.show_dir) {
            out.show_dir = arg;
        } else {
            out.error = "more than one show folder:";
            out.error_arg = arg;
        }
    }
    return out;
}

void cmdline_apply(const cmdline* options) {
    if (options->fullscreen >= 0) gl_fullscreen = options->fullscreen;
    if (options->mute) snd_enable = 0;
}
