// Pieces of a run: frame counts and the manifest beside each finished piece.
#include "app/piece.h"

extern "C" {
#include <libavutil/hash.h>
}


#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <sstream>

#include "app/capture.h"
#include "app/output_file.h"
#include "core/file_read.h"
#include "core/section.h"
#include "core/settings.h"
#include "show/loading.h"

namespace {

enum { HASH_CHUNK = 1 << 20 };

// Feeds `read` chunks into SHA-256 until it returns 0; the digest in hex.
template <class Reader>
std::string sha256(Reader read) {
    AVHashContext* context = nullptr;
    if (av_hash_alloc(&context, "SHA256") < 0) return "";
    av_hash_init(context);
    std::vector<uint8_t> chunk(HASH_CHUNK);
    for (size_t got; (got = read(chunk.data(), chunk.size())) > 0;) av_hash_update(context, chunk.data(), got);
    uint8_t hex[2 * 32 + 1] = {};
    av_hash_final_hex(context, hex, sizeof hex);
    av_hash_freep(&context);
    return reinterpret_cast<char*>(hex);
}

bool is_hex_digest(const std::string& text) {
    return text.size() == 64 && text.find_first_not_of("0123456789abcdef") == std::string::npos;
}

// One line of the manifest: its key and the rest after one space.
bool split_line(const std::string& line, std::string* key, std::string* rest) {
    size_t space = line.find(' ');
    if (space == std::string::npos || space == 0) return false;
    *key = line.substr(0, space);
    *rest = line.substr(space + 1);
    return true;
}

// Reads the value of one known key; false when it does not parse.
bool take_line(const std::string& key, const std::string& rest, piece_manifest* m, int* seen) {
    char tail = 0;
    if (key == "frames") {
        *seen |= 1;
        return std::sscanf(rest.c_str(), "%d %d %c", &m->first, &m->end, &tail) == 2 && m->first >= 0 &&
               m->first < m->end;
    }
    if (key == "run") {
        *seen |= 2;
        return std::sscanf(rest.c_str(), "%d frames at %d fps from %f %c", &m->run_frames, &m->fps, &m->start,
                           &tail) == 3 &&
               m->fps > 0 && m->run_frames > 0;
    }
    if (key == "size") {
        *seen |= 4;
        return std::sscanf(rest.c_str(), "%dx%d %c", &m->width, &m->height, &tail) == 2 && m->width > 0 &&
               m->height > 0;
    }
    if (key == "script") {
        *seen |= 32;
        m->script = rest;
        return !rest.empty();
    }
    if (key == "pictures") {
        *seen |= 8;
        m->pictures = rest;
        return !rest.empty();
    }
    if (key == "piece") {
        *seen |= 16;
        char digest[80] = {};
        bool ok = std::sscanf(rest.c_str(), "%lld %79s %c", &m->bytes, digest, &tail) == 2 && m->bytes > 0;
        m->checksum = digest;
        return ok && is_hex_digest(m->checksum);
    }
    if (key == "file") {
        std::string digest = rest.substr(0, std::min<size_t>(rest.size(), 64));
        if (rest.size() < 66 || rest[64] != ' ' || !is_hex_digest(digest)) return false;
        m->files.push_back({rest.substr(65), digest});
        return true;
    }
    return false;
}

}  // namespace

std::string piece_manifest_path(const std::string& piece) { return piece + ".manifest"; }

std::string piece_manifest_text(const piece_manifest& m) {
    char head[400 + 4096];
    std::snprintf(head, sizeof head,
                  "quillon piece\nframes %d %d\nrun %d frames at %d fps from %.9g\nsize %dx%d\npictures %s\n"
                  "piece %lld %s\nscript %s\n",
                  m.first, m.end, m.run_frames, m.fps, static_cast<double>(m.start), m.width, m.height,
                  m.pictures.c_str(), m.bytes, m.checksum.c_str(), m.script.c_str());
    std::string text = head;
    for (const auto& file : m.files) text += "file " + file.second + " " + file.first + "\n";
    return text;
}

bool piece_manifest_parse(const std::string& text, piece_manifest* out, std::string* error) {
    *out = piece_manifest();
    std::istringstream lines(text);
    std::string line, key, rest;
    int number = 0, seen = 0;
    while (std::getline(lines, line)) {
        number += 1;
        bool ok = number == 1 ? line == "quillon piece"
                              : split_line(line, &key, &rest) && take_line(key, rest, out, &seen);
        if (!ok) {
            *error = "line " + std::to_string(number) + " is not understood";
            return false;
        }
    }
    if (number == 0 || seen != 63 || out->files.empty()) {
        *error = "line " + std::to_string(number + 1) + ": the manifest ends too early";
        return false;
    }
    return true;
}

std::string piece_show_difference(const piece_manifest& a, const piece_manifest& b) {
    std::map<std::string, std::string> in_b(b.files.begin(), b.files.end());
    auto script_of = [](const piece_manifest& m) {
        for (const auto& file : m.files)
            if (file.first == m.script) return file.second;
        return std::string();
    };
    if (a.script != b.script || script_of(a) != script_of(b) || script_of(a).empty()) return "the script";
    for (const auto& file : a.files) {
        auto found = in_b.find(file.first);
        if (found != in_b.end() && found->second != file.second) return file.first;
    }
    return "";
}

std::string piece_changed_file(const std::vector<std::pair<std::string, std::string>>& files) {
    for (const auto& file : files) {
        long long bytes = 0;
        if (piece_hash_file(file.first, &bytes) != file.second) return file.first;
    }
    return "";
}

std::string piece_hash(const void* data, size_t size) {
    const uint8_t* at = static_cast<const uint8_t*>(data);
    return sha256([&](uint8_t* chunk, size_t room) {
        size_t n = std::min(room, size);
        std::memcpy(chunk, at, n);
        at += n;
        size -= n;
        return n;
    });
}

std::string piece_hash_file(const std::string& path, long long* bytes) {
    FILE* file = std::fopen(path.c_str(), "rb");
    *bytes = 0;
    if (!file) return "";
    std::string digest = sha256([&](uint8_t* chunk, size_t room) {
        size_t n = std::fread(chunk, 1, room, file);
        *bytes += static_cast<long long>(n);
        return n;
    });
    bool failed = std::ferror(file) != 0;
    std::fclose(file);
    return failed ? "" : digest;
}

int piece_run_frames(float start, float end, int fps) {
    if (fps <= 0 || !(end > start)) return 0;
    // The clock's own rule: the run's last frame is the first whose next
    // one would reach `end`.
    float frames = (end - start) * static_cast<float>(fps) - 0.001f;
    return frames > 2e9f ? 2000000000 : std::max(1, static_cast<int>(std::ceil(frames)));
}

int piece_show_frames(int fps) {
    float last_end = demostart;
    for (const section* s = section_list; s; s = s->next)
        if (loading_section_plays(s) && s->end > last_end) last_end = s->end;
    return piece_run_frames(demostart, capture_show_end(demoend, last_end), fps);
}

bool piece_write_file(const std::string& path, const std::string& text, std::string* error) {
    output_file out;
    if (!output_file_open(&out, path, error)) return false;
    if (output_file_write(&out, text.data(), text.size(), error) && output_file_commit(&out, nullptr, error))
        return true;
    output_file_abandon(&out);
    return false;
}
