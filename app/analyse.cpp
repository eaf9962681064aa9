// The --analyse command: which music (an MP3 named on the command line, or
// the show's soundtrack), its analysis, the report, and with --write the
// show's script and onset track.
#include "app/analyse.h"

#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/cmdline.h"
#include "app/analyse_files.h"
#include "core/fatal.h"
#include "core/file_read.h"
#include "core/script.h"
#include "core/settings.h"
#include "platform/music_levels.h"
#include "platform/sound.h"

namespace {

const char ONSET_TRACK[] = "data/tracks/onsets.txt";
const int PER_LINE = 10;  // times per comment line

bool names_mp3(const char* path) {
    size_t n = std::strlen(path);
    struct stat st;
    return (n > 4 && strcasecmp(path + n - 4, ".mp3") == 0) || (stat(path, &st) == 0 && S_ISREG(st.st_mode));
}

std::vector<float> decode_or_fail(const std::string& path) {
    std::vector<unsigned char> bytes;
    if (!file_read_all(path.c_str(), &bytes)) fatal_error("%s cannot be read", path.c_str());
    if (bytes.empty()) fatal_error("%s is empty: there is no music to analyse", path.c_str());
    std::vector<float> mono;
    if (!music_decode_mono(bytes.data(), bytes.size(), &mono))
        fatal_error("%s: %s (not an MP3 the player can play)", sound_error_text(sound_error()), path.c_str());
    if (mono.empty()) fatal_error("%s holds no samples: there is no music to analyse", path.c_str());
    return mono;
}

void times_as_comments(std::string* out, const char* what, const std::vector<double>& times) {
    for (size_t i = 0; i < times.size(); i += PER_LINE) {
        *out += std::string("; ") + what;
        for (size_t k = i; k < times.size() && k < i + PER_LINE; ++k) *out += " " + analyse_number(times[k], 3);
        *out += "\n";
    }
}

}  // namespace

std::string analyse_number(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    std::string s = text;
    if (s.find('.') != std::string::npos) {
        s.erase(s.find_last_not_of('0') + 1);
        if (s.back() == '.') s.pop_back();
    }
    return s == "-0" ? "0" : s;
}

std::string analyse_report(const music_analysis& a, const std::string& name) {
    char line[256];
    std::snprintf(line, sizeof line, "; %s: %.1f s, %zu onsets\n", name.c_str(), a.seconds, a.onsets.size());
    std::string out = line;
    if (!a.steady) {
        std::snprintf(line, sizeof line, "; no steady tempo found (confidence %.2f)%s\n", a.confidence,
                      a.silent ? ": the music is silent" : "");
        out += line;
    } else {
        out += "bpm " + analyse_number(a.bpm, 2) + "\nbeat_offset " + analyse_number(a.beat_offset, 3) + "\n";
        std::snprintf(line, sizeof line, "; tempo %.3f BPM, confidence %.2f; first downbeat at %.3f s\n", a.bpm,
                      a.confidence, a.beat_offset);
        out += line;
        for (const tempo_alternative& alt : a.alternatives) {
            std::snprintf(line, sizeof line, "; %s the tempo, %s BPM, fits nearly as well (confidence %.2f)\n",
                          alt.bpm < a.bpm ? "half" : "double", analyse_number(alt.bpm, 2).c_str(), alt.confidence);
            out += line;
        }
        times_as_comments(&out, "beats", a.beats);
    }
    std::vector<double> onsets;
    for (const music_onset& o : a.onsets) onsets.push_back(o.time);
    times_as_comments(&out, "onsets", onsets);
    return out;
}

std::string analyse_onset_track(const music_analysis& a, const std::string& name) {
    std::string out = "; The onsets of " + name + " (quillon --analyse --write): each a key of its\n"
                      "; strength, the strongest 1, falling to 0 within a tenth of a second.\n";
    for (size_t i = 0; i < a.onsets.size(); ++i) {
        double t = a.onsets[i].time;
        double next = i + 1 < a.onsets.size() ? a.onsets[i + 1].time : t + 1;
        double fall = std::min(0.1, (next - t) / 2);
        out += analyse_number(t, 3) + " " + analyse_number(a.onsets[i].strength, 2) + " linear\n";
        out += analyse_number(t + fall, 3) + " 0\n";
    }
    return out;
}

int analyse_run(const cmdline* options) {
    std::string music, shown;
    if (options->show_dir && names_mp3(options->show_dir)) {
        if (options->write) fatal_error("--write needs a show folder, not the MP3 file %s", options->show_dir);
        music = shown = options->show_dir;
    } else {
        if (options->write && options->plays_engine_show)
            fatal_error("--write does not change the engine's default show: name a show folder of your own");
        if (options->show_dir && chdir(options->show_dir) != 0)
            fatal_error("Show folder %s cannot be opened", options->show_dir);
        if (options->script) script_path = options->script;
        read_script();
        if (!snd_mp3file) fatal_error("%s names no music (snd_mp3file)", script_path);
        music = snd_mp3file;
        shown = options->show_dir ? std::string(options->show_dir) + "/" + music : music;
    }
    std::vector<float> mono = decode_or_fail(music);
    music_analysis a = music_analyse(mono.data(), mono.size(), SOUND_RATE);
    std::fputs(analyse_report(a, shown).c_str(), stdout);
    std::fflush(stdout);
    if (!a.steady) {
        if (options->write) std::fprintf(stderr, "quillon: no steady tempo: %s left as it was\n", script_path);
        return 1;
    }
    if (options->write) analyse_write_show(a, script_path, music, ONSET_TRACK, options->force);
    return 0;
}
