// --write: the tempo set in the script's head (only the values change, or
// two lines are added), the onsets as a track file, each file replaced
// safely with the old one kept beside it.
#include "app/analyse_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/analyse.h"
#include "app/output_file.h"
#include "core/fatal.h"
#include "core/file_read.h"

namespace {

// A line of the script: where it starts, where its text ends (before the
// line ending) and where the next line starts.
struct line_span {
    size_t start, end, next;
};

std::vector<line_span> split_lines(const std::string& text) {
    std::vector<line_span> lines;
    for (size_t at = 0; at < text.size();) {
        size_t nl = text.find('\n', at);
        size_t next = nl == std::string::npos ? text.size() : nl + 1;
        size_t end = nl == std::string::npos ? text.size() : nl;
        if (end > at && text[end - 1] == '\r') --end;
        lines.push_back({at, end, next});
        at = next;
    }
    return lines;
}

// A setting of the head found in the script: its line and where its value is.
struct head_setting {
    int line = -1;  // index into the lines; -1: not set
    size_t value_start = 0, value_end = 0;
    double value = 0;
};

struct script_head {
    head_setting bpm, beat_offset;
    int last_setting = -1;  // the head's last setting line
    int first_section = -1;
};

script_head read_head(const std::string& text, const std::vector<line_span>& lines) {
    script_head head;
    for (size_t i = 0; i < lines.size(); ++i) {
        size_t a = text.find_first_not_of(" \t", lines[i].start);
        if (a == std::string::npos || a >= lines[i].end) continue;
        if (text[a] == ';' || text.compare(a, 2, "//") == 0) continue;
        if (text[a] == '[') {
            head.first_section = int(i);
            break;
        }
        head.last_setting = int(i);
        size_t word_end = text.find_first_of(" \t", a);
        if (word_end == std::string::npos || word_end > lines[i].end) word_end = lines[i].end;
        std::string word = text.substr(a, word_end - a);
        head_setting* found = word == "bpm" ? &head.bpm : word == "beat_offset" ? &head.beat_offset : nullptr;
        if (!found) continue;
        size_t v = text.find_first_not_of(" \t", word_end);
        if (v == std::string::npos || v > lines[i].end) v = lines[i].end;
        size_t v_end = text.find_first_of(" \t;", v);
        if (v_end == std::string::npos || v_end > lines[i].end) v_end = lines[i].end;
        *found = {int(i), v, v_end, std::strtod(text.substr(v, v_end - v).c_str(), nullptr)};
    }
    return head;
}

// One file written whole under a temporary name and renamed over `path`,
// with the permissions of the file it replaces.
bool write_and_rename(const std::string& path, const std::string& bytes, mode_t mode, std::string* error) {
    output_file out;
    std::string why;
    bool ok = output_file_open(&out, path, &why);
    if (ok && fchmod(out.fd, mode) != 0) why = std::string("cannot be written: ") + std::strerror(errno);
    if (ok && (!why.empty() || !output_file_write(&out, bytes.data(), bytes.size(), &why))) {
        output_file_abandon(&out);
        ok = false;
    }
    ok = ok && output_file_commit(&out, nullptr, &why);
    if (!ok) *error = path + " " + why;
    return ok;
}

}  // namespace

head_edit analyse_set_tempo(const std::string& script, const std::string& script_name, double bpm, double beat_offset,
                            bool force) {
    std::vector<line_span> lines = split_lines(script);
    script_head head = read_head(script, lines);
    std::string eol = !lines.empty() && lines[0].next > lines[0].end + 1 ? "\r\n" : "\n";
    std::string bpm_text = analyse_number(bpm, 2), offset_text = analyse_number(beat_offset, 3);
    bool same_bpm = std::abs(head.bpm.value - bpm) <= 0.002 * bpm;
    bool same_offset = std::abs(head.beat_offset.value - beat_offset) <= 0.005;
    head_edit out;
    struct check {
        const head_setting* setting;
        bool same;
        std::string found;
    };
    const check checks[] = {{&head.bpm, same_bpm, "bpm " + bpm_text},
                            {&head.beat_offset, same_offset, "beat_offset " + offset_text}};
    for (const check& c : checks) {
        if (c.setting->line < 0 || c.same || force) continue;
        size_t start = lines[size_t(c.setting->line)].start;
        out.error = script_name + " already sets " + script.substr(start, c.setting->value_end - start) + " (line " +
                    std::to_string(c.setting->line + 1) + ") where the music has " + c.found +
                    ": --force replaces it";
        return out;
    }
    // Edits from the end of the text backwards, so earlier offsets hold.
    struct edit {
        size_t at, length;
        std::string with;
    };
    std::vector<edit> edits;
    if (head.bpm.line >= 0 && !same_bpm)
        edits.push_back({head.bpm.value_start, head.bpm.value_end - head.bpm.value_start, bpm_text});
    if (head.beat_offset.line >= 0 && !same_offset)
        edits.push_back({head.beat_offset.value_start, head.beat_offset.value_end - head.beat_offset.value_start, offset_text});
    std::string bpm_line = "bpm " + bpm_text + eol, offset_line = "beat_offset " + offset_text + eol;
    if (head.bpm.line < 0 && head.beat_offset.line >= 0)
        edits.push_back({lines[size_t(head.beat_offset.line)].start, 0, bpm_line});
    else if (head.bpm.line >= 0 && head.beat_offset.line < 0)
        edits.push_back({lines[size_t(head.bpm.line)].next, 0, offset_line});
    else if (head.bpm.line < 0) {
        size_t at = head.last_setting >= 0 ? lines[size_t(head.last_setting)].next
                    : head.first_section >= 0 ? lines[size_t(head.first_section)].start
                                              : script.size();
        bool needs_eol = at == script.size() && !script.empty() && script.back() != '\n';
        edits.push_back({at, 0, (needs_eol ? eol : "") + bpm_line + offset_line});
    }
    std::sort(edits.begin(), edits.end(), [](const edit& a, const edit& b) { return a.at > b.at; });
    out.text = script;
    for (const edit& e : edits) out.text.replace(e.at, e.length, e.with);
    return out;
}

bool analyse_replace_file(const std::string& path, const std::string& bytes, bool backup, std::string* error) {
    struct stat st;
    bool exists = stat(path.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) {
        *error = path + " is not a regular file";
        return false;
    }
    mode_t mask = umask(0);
    umask(mask);
    mode_t mode = exists ? st.st_mode & 07777 : 0666 & ~mask;
    if (backup && exists) {
        std::vector<unsigned char> old;
        if (!file_read_disk(path.c_str(), &old)) {
            *error = path + " cannot be read";
            return false;
        }
        if (!write_and_rename(path + "~", std::string(old.begin(), old.end()), mode, error)) return false;
    }
    return write_and_rename(path, bytes, mode, error);
}

void analyse_write_show(const music_analysis& a, const std::string& script, const std::string& music,
                        const std::string& track, bool force) {
    std::vector<unsigned char> bytes;
    if (!file_read_disk(script.c_str(), &bytes)) fatal_error("%s cannot be read", script.c_str());
    std::string old(bytes.begin(), bytes.end());
    head_edit head = analyse_set_tempo(old, script, a.bpm, a.beat_offset, force);
    if (!head.error.empty()) fatal_error("%s; nothing was written", head.error.c_str());
    std::string error;
    std::string folder = track.substr(0, track.find_last_of('/'));
    if (track.find('/') != std::string::npos) mkdir(folder.c_str(), 0777);
    std::vector<unsigned char> old_track;
    bool track_there = file_read_disk(track.c_str(), &old_track);
    std::string onsets = analyse_onset_track(a, music);
    if (!(track_there && std::string(old_track.begin(), old_track.end()) == onsets) &&
        !analyse_replace_file(track, onsets, true, &error))
        fatal_error("%s; %s was left as it was", error.c_str(), script.c_str());
    std::printf("; wrote %zu onsets to %s%s\n", a.onsets.size(), track.c_str(),
                track_there ? (" (the old one kept as " + track + "~)").c_str() : "");
    if (head.text == old) {
        std::printf("; %s already sets this tempo: left as it was\n", script.c_str());
        return;
    }
    if (!analyse_replace_file(script, head.text, true, &error)) fatal_error("%s", error.c_str());
    std::printf("; wrote the tempo into %s (the old one kept as %s~)\n", script.c_str(), script.c_str());
}
