// Finding the engine's data folder beside the binary, and falling back on it.
#include "app/data_folder.h"

#include <cstdio>
#include <unistd.h>

#include "app/cmdline.h"
#include "core/fatal.h"
#include "core/settings.h"
#include "platform/font.h"

static const char SCRIPT[] = "data/script.txt";

static int is_folder(const std::string& path) { return access((path + "/.").c_str(), F_OK) == 0; }

// The folder above the one holding `path`, both without their last slash:
// "/usr/bin/quillon" -> "/usr/bin" -> "/usr".
static std::string parent(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "" : path.substr(0, slash);
}

std::string data_folder_for(const std::string& exe) {
    std::string dir = parent(exe);
    const std::string installed = (dir == "." ? std::string("..") : parent(dir)) + "/share/quillon";
    if (is_folder(installed)) return installed;
    if (is_folder(dir + "/share/quillon")) return dir + "/share/quillon";
    return installed;
}

std::string data_folder_find() {
    char exe[4096];
    ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n <= 0) return "";
    exe[n] = '\0';
    std::string folder = data_folder_for(exe);
    char resolved[4096];
    return realpath(folder.c_str(), resolved) ? resolved : folder;
}

void data_folder_apply(cmdline* options) {
    static std::string folder;
    folder = data_folder_find();
    if (folder.empty()) return;
    font_engine_folder = folder.c_str();
    if (options->show_dir || options->script || access(SCRIPT, F_OK) == 0) return;
    if (access((folder + "/" + SCRIPT).c_str(), R_OK) != 0)
        fatal_error("No %s here, and the engine's data folder %s with the default show is missing or damaged", SCRIPT,
                    folder.c_str());
    std::fprintf(stderr, "quillon: no %s here: playing the default show from %s\n", SCRIPT, folder.c_str());
    options->show_dir = folder.c_str();
    options->plays_engine_show = 1;
}
