// The starter show: its script, written from the settings table and the
// section types' declarations, and its assets.
#include "app/new_show.h"

#include <algorithm>
#include <cmath>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <filesystem>
#include <sys/stat.h>

#include "core/fatal.h"
#include "core/section.h"
#include "core/settings.h"
#include "assetlib/fx3d_assets.h"
#include "assetlib/generators.h"
#include "assetlib/model_writer.h"
#include "assetlib/models.h"

namespace fs = std::filesystem;

// ---------------------------------------------------------------------------
// The script
// ---------------------------------------------------------------------------

static std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

// Appends script lines, each param, string, spline and sync preceded by the
// comment its type's declaration gives it. Every time is written in beats,
// so a new bpm re-times the whole show.
struct script_writer {
    std::string text;
    const section_reads* reads = nullptr;
    int counts[SECTION_LISTS] = {};

    // A moment as "bar:beat"; a fraction of a beat as "Nb".
    static std::string when(double beats) {
        long whole = std::lround(beats);
        if (std::fabs(beats - whole) > 1e-9) return number(beats) + "b";
        return std::to_string(whole / 4) + ":" + std::to_string(whole % 4);
    }

    void setting(const char* key, const std::string& value) {
        text += std::string("; ") + settings_find(key)->meaning + "\n" + key + " " + value + "\n";
    }
    void open(const char* type, double start, double end, int layer, const char* what) {
        reads = section_types[section_type_find(type)].reads;
        std::fill(counts, counts + SECTION_LISTS, 0);
        text += std::string("\n; ") + what + "\n[" + type + "]\nstart " + when(start) + "\nend " + when(end) +
                "\nlayer " + std::to_string(layer) + "\n";
    }
    void entry(int kind, const std::string& value) {
        static const char* const words[SECTION_LISTS] = {"param", "string", "spline", "sync"};
        const section_field& f = reads->lists[kind].fields[counts[kind]++];
        text += std::string("; ") + words[kind] + " " + std::to_string(counts[kind]) + " " + f.name + ": " +
                f.meaning + "\n" + words[kind] + " " + value + "\n";
    }
    void params(std::initializer_list<double> values) {
        for (double v : values) entry(SECTION_PARAMS, number(v));
    }
};

int new_show_beats(int bpm, float seconds) { return std::max(1, static_cast<int>(std::lround(seconds * bpm / 60.0))); }

static void write_head(script_writer& w, int bpm, int beats) {
    w.text = "; A starter show made by quillon --new: " + std::to_string(bpm) + " beats per minute, " +
             std::to_string(beats) + " beats (" + number(beats * 60.0 / bpm) + " s).\n"
             "; Play it with `quillon FOLDER`. Every setting and section type is described\n"
             "; by `quillon --describe` (and --describe TYPE); lines starting with ';' are\n"
             "; comments. Times are written bar:beat (four beats a bar, both counted\n"
             "; from 0, so 2:0 is beat 8) or in beats (16b), so changing bpm re-times\n"
             "; the whole show; a beat lasts " + number(60.0 / bpm) + " s.\n\n";
    w.setting("demoname", "Starter show");
    w.setting("bpm", std::to_string(bpm));
    w.setting("gl_fullscreen", "0");
    w.setting("gl_width", "800");
    w.setting("gl_height", "600");
    w.setting("gl_panoramic", "1");
    w.setting("gl_rttWidth", "512");
    w.setting("gl_rttHeight", "512");
    w.setting("gl_zbuffer", "16");
    w.setting("gl_info", "0");
    w.setting("snd_enable", "1");
    w.setting("snd_mp3file", "data/music/beat.mp3");
    w.setting("demostart", "0");
    w.setting("demoend", "0");
    w.setting("timing", "0");
    w.setting("fps", "0");
    w.setting("debug", "0");
}

const char* new_show_pulse_track() {
    return "; A pulse on every beat: 1 on the beat, falling to 0 by the half beat.\n"
           "; One key a line: TIME VALUE [step|linear|smooth|ramp], TIME as the script\n"
           "; writes times; `repeat N` plays the keys again every N beats.\n"
           "repeat 1\n"
           "0b   1 linear\n"
           "0.5b 0\n";
}

std::string new_show_script(int bpm, float seconds) {
    const int L = new_show_beats(bpm, seconds), bar = 4;
    auto at = [&](int beat) { return std::min(beat, L); };
    auto span = [](int beats) { return std::to_string(beats) + "b"; };
    script_writer w;
    write_head(w, bpm, L);
    w.open("loading", 0, 0.01, 0, "The progress screen while the show loads.");
    w.entry(SECTION_STRINGS, "data/loading/back.jpg");
    w.entry(SECTION_STRINGS, "data/loading/front.jpg");
    w.params({1, 0.6, 0.2, 1});
    w.open("genCamera", 0, L, 0, "The camera, flying once around the middle over the whole show.");
    w.params({60, 0.1, 100});
    w.entry(SECTION_SPLINES, "data/splines/flight.txt " + span(L));
    w.open("genMacroBox", 0, L, 1, "A swirling sky around the camera.");
    w.entry(SECTION_STRINGS, "data/textures/sky.jpg");
    w.open("genParticletex", 0, at(2 * bar), 2, "The emblem gathers from sparks over the first two bars.");
    w.entry(SECTION_STRINGS, "data/textures/emblem.tga");
    w.entry(SECTION_STRINGS, "data/textures/spark.tga");
    w.params({0.06, 0.05, 6, 0, 0, 0, 0, 1});
    if (2 * bar < L) {
        w.open("genEnvironment", 2 * bar, L, 2, "From the third bar on, a mirror-like knot turns in the middle.");
        w.entry(SECTION_STRINGS, "data/models/");
        w.entry(SECTION_STRINGS, "torusknot.3ds");
        w.entry(SECTION_STRINGS, "data/textures/environment.jpg");
        w.entry(SECTION_SPLINES, "data/splines/spin.txt " + span(L - 2 * bar));
        w.open("efxRadialBlur", 2 * bar, at(4 * bar), 8, "Streaks out of the middle for two bars as the knot arrives.");
        w.params({4, 0.3, 0.01, 0.1, 0.03, 0.5, 0.5, 0.5, 0.5});
    }
    if (4 * bar < L) {
        w.open("gen3Dimage", 4 * bar, at(8 * bar), 3, "A banner above the knot fades in from the fifth bar.");
        w.entry(SECTION_STRINGS, "data/textures/banner.tga");
        w.params({0.01, 0.01, 0, 2.2, 0, 0, 1});
    }
    w.open("efxFader", 0, at(bar), 9, "The picture fades in from black over the first bar.");
    w.params({0, 0, 0, 1, 0, 0, 0, 0});
    if (3 * bar < L - bar) {
        w.open("efxFader", 2 * bar, L - bar, 9,
               "A white flash on every beat from the third bar on: the alpha follows the track\n"
               "; data/tracks/pulse.txt (1 on the beat, 0 by the half beat) times 0.3.");
        w.params({1, 1, 1});
        w.entry(SECTION_PARAMS, "@pulse 0.3");
        w.params({1, 1, 1});
        w.entry(SECTION_PARAMS, "@pulse 0.3");
    }
    if (L > bar) {
        w.open("efxFader", L - bar, L, 9, "And out to black over the last bar.");
        w.params({0, 0, 0, 0, 0, 0, 0, 1});
    }
    w.text += "\n[EOF]\n";
    return w.text;
}

// ---------------------------------------------------------------------------
// The folder
// ---------------------------------------------------------------------------

static void write_text(const std::string& path, const std::string& text) {
    asset_write(path, std::vector<unsigned char>(text.begin(), text.end()));
}

static void write_assets(const std::string& data, int bpm, float seconds) {
    write_text(data + "/script.txt", new_show_script(bpm, seconds));
    write_text(data + "/tracks/pulse.txt", new_show_pulse_track());
    generate_loading_images(data);
    seconds = new_show_beats(bpm, seconds) * 60.0f / bpm;  // the show's length, on a whole beat
    asset_write(data + "/music/beat.mp3", soundtrack_beat_mp3(bpm, seconds));
    fx3d_write_keys(data + "/splines/flight.txt", fx3d_flight_keys(17, 6.0f, 1.5f, 1.0f));
    const float origin[3] = {0, 0, 0};
    float bars = seconds * bpm / 240.0f;
    fx3d_write_keys(data + "/splines/spin.txt", fx3d_turning_keys(33, 1.6f, std::max(1.0f, bars / 4), origin));
    model_writer_save(data + "/models/torusknot.3ds", models_torus_knot());
    asset_write_jpeg(data + "/models/metal.jpg", models_metal_map());
    asset_write_jpeg(data + "/textures/environment.jpg", fx3d_environment_image(256), 92);
    asset_write_jpeg(data + "/textures/sky.jpg", fx3d_sky_image(256), 90);
    asset_write_tga(data + "/textures/emblem.tga", fx_emblem_image());
    asset_write_tga(data + "/textures/spark.tga", fx_spark_image());
    asset_write_tga(data + "/textures/banner.tga", fx_banner_image());
}

// 1 when `dir` does not exist or is an empty folder.
static int may_become_show(const char* dir) {
    struct stat st;
    if (stat(dir, &st) != 0) return errno == ENOENT;
    if (!S_ISDIR(st.st_mode)) return 0;
    DIR* d = opendir(dir);
    if (!d) return 0;
    int entries = 0;
    while (dirent* e = readdir(d))
        if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) ++entries;
    closedir(d);
    return entries == 0;
}

// The unfinished folder of a --new that fails: removed before the program
// ends, whatever failed.
static std::string scratch;

static void remove_scratch(const char*) {
    std::error_code ignored;
    fs::remove_all(scratch, ignored);
    std::fprintf(stderr, "quillon: --new: nothing was written (the unfinished folder was removed)\n");
}

// The folder's permissions: an existing empty folder's own, else what the
// umask leaves of rwxrwxrwx.
static mode_t folder_mode(const char* dir) {
    struct stat st;
    if (stat(dir, &st) == 0) return st.st_mode & 07777;
    mode_t mask = umask(0);
    umask(mask);
    return 0777 & ~mask;
}

void new_show_write(const char* dir, int bpm, float seconds) {
    if (!may_become_show(dir)) fatal_error("%s already exists and is not an empty folder: nothing was written", dir);
    fs::path target = fs::absolute(dir).lexically_normal();
    if (target.filename().empty()) target = target.parent_path();
    std::string pattern = (target.parent_path() / ("." + target.filename().string() + ".new-XXXXXX")).string();
    if (!mkdtemp(pattern.data()))
        fatal_error("%s cannot be written: %s", target.parent_path().c_str(), std::strerror(errno));
    scratch = pattern;
    fatal_set_hook(remove_scratch);
    if (chmod(pattern.c_str(), folder_mode(dir)) != 0)
        fatal_error("%s cannot be written: %s", pattern.c_str(), std::strerror(errno));
    write_assets(pattern + "/data", bpm, seconds);
    if (rename(pattern.c_str(), target.c_str()) != 0) fatal_error("%s cannot be made: %s", dir, std::strerror(errno));
    fatal_set_hook(nullptr);
}
