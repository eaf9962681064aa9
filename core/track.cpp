// Track values and track files: the pure half of the track module (see
// track.h). The store and the binding of params live in track_store.cpp.
#include "core/track.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// ---------------------------------------------------------------------------
// Values
// ---------------------------------------------------------------------------

static const char* const INTERP_NAMES[TRACK_INTERPS] = {"step", "linear", "smooth", "ramp"};

double track_shape(int interp, double t) {
    switch (interp) {
    case TRACK_LINEAR: return t;
    case TRACK_SMOOTH: return t * t * (3 - 2 * t);
    case TRACK_RAMP: return t * t;
    default: return 0;
    }
}

float track_value(const track& t, double seconds) {
    const std::vector<track_key>& keys = t.keys;
    if (keys.empty()) return 0;
    double first = keys.front().time;
    if (t.repeat > 0 && seconds > first) seconds = first + std::fmod(seconds - first, t.repeat);
    auto after = std::upper_bound(keys.begin(), keys.end(), seconds,
                                  [](double x, const track_key& k) { return x < k.time; });
    if (after == keys.begin()) return keys.front().value;
    if (after == keys.end()) return keys.back().value;
    const track_key& a = after[-1];
    const track_key& b = after[0];
    double f = (seconds - a.time) / (b.time - a.time);
    return static_cast<float>(a.value + (static_cast<double>(b.value) - a.value) * track_shape(a.interp, f));
}

int track_interp_find(const char* word) {
    for (int i = 0; i < TRACK_INTERPS; ++i)
        if (std::strcmp(word, INTERP_NAMES[i]) == 0) return i;
    return -1;
}

const char* track_interp_name(int interp) {
    return interp >= 0 && interp < TRACK_INTERPS ? INTERP_NAMES[interp] : "step";
}

// ---------------------------------------------------------------------------
// Names and rows
// ---------------------------------------------------------------------------

int track_name_valid(const char* name) {
    size_t length = std::strlen(name);
    if (length == 0 || length > TRACK_NAME_MAX || name[0] == '.') return 0;
    for (const char* p = name; *p; ++p)
        if (!std::isalnum(static_cast<unsigned char>(*p)) && !std::strchr("_.-:", *p)) return 0;
    return 1;
}

std::string track_text_path(const std::string& name) { return "data/tracks/" + name + ".txt"; }

std::string track_binary_path(const std::string& name) {
    std::string path = "data/tracks/sync_";
    for (unsigned char c : name) {
        if (std::isalnum(c) || c == '.' || c == '_' || c == '/') {
            path += static_cast<char>(c);
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "-%02x", c);
            path += hex;
        }
    }
    return path + ".track";
}

// A row's beat is taken as a float, as a time written in beats is, so a key
// set on a row and the same key read back from its text file fall on the
// same moment to the bit.
double track_row_time(double row, const script_tempo& tempo, int rows_per_beat) {
    if (!(tempo.bpm > 0)) return row / rows_per_beat;  // no tempo: a beat a second
    float beats = static_cast<float>(row / rows_per_beat);
    return script_time_of_beat(beats, tempo);
}

double track_time_row(double seconds, const script_tempo& tempo, int rows_per_beat) {
    if (!(tempo.bpm > 0)) return seconds * rows_per_beat;
    return (seconds - tempo.beat_offset) * tempo.bpm / 60.0 * rows_per_beat;
}

// ---------------------------------------------------------------------------
// The text form
// ---------------------------------------------------------------------------

namespace {

struct text_reader {
    const char* path;
    int line;
    std::string* error;
};

int fail(const text_reader& r, const char* what) {
    char message[512];
    std::snprintf(message, sizeof message, "Track %s: %s, line %d", r.path, what, r.line);
    *r.error = message;
    return 0;
}

// Splits a line into at most four words; returns how many there are (5: too
// many).
int split_words(const std::string& line, std::string words[4]) {
    int count = 0;
    size_t at = 0;
    while (true) {
        at = line.find_first_not_of(" \t\r", at);
        if (at == std::string::npos) return count;
        size_t end = line.find_first_of(" \t\r", at);
        if (count == 4) return 5;
        words[count++] = line.substr(at, end == std::string::npos ? std::string::npos : end - at);
        at = end;
        if (at == std::string::npos) return count;
    }
}

// A value: a decimal number, finite.
int parse_value(const text_reader& r, const std::string& word, float* out) {
    char* end = nullptr;
    double value = std::strtod(word.c_str(), &end);
    if (end == word.c_str() || *end) return fail(r, ("malformed key: '" + word + "' is not a value").c_str());
    if (!std::isfinite(value) || std::fabs(value) > 3.4e38)
        return fail(r, ("the value '" + word + "' is not a finite number").c_str());
    *out = static_cast<float>(value);
    return 1;
}

int parse_repeat(const text_reader& r, const std::string& word, const script_tempo& tempo, track* out) {
    if (!out->keys.empty()) return fail(r, "repeat must come before the first key");
    std::string beats = word;
    if (!beats.empty() && beats.back() == 'b') beats.pop_back();
    char* end = nullptr;
    float n = std::strtof(beats.c_str(), &end);
    if (beats.empty() || *end || !std::isfinite(n)) return fail(r, "repeat takes a number of beats");
    if (!(n > 0)) return fail(r, "a repeat must be above 0 beats");
    if (!(tempo.bpm > 0)) return fail(r, "a repeat in beats needs a bpm setting in the script");
    out->repeat_beats = n;
    out->repeat = n * 60.0 / tempo.bpm;
    return 1;
}

int parse_key(const text_reader& r, const std::string words[4], int count, const script_tempo& tempo,
              track* out) {
    if (count < 2 || count > 3) return fail(r, "malformed key: a key is TIME VALUE [step|linear|smooth|ramp]");
    script_time t = script_time_parse(words[0].c_str(), tempo, SCRIPT_TIME_POINT);
    if (t.status == SCRIPT_TIME_ERROR) return fail(r, t.error);
    if (t.status != SCRIPT_TIME_OK) return fail(r, ("malformed key: '" + words[0] + "' is not a time").c_str());
    track_key key = {t.seconds, 0, TRACK_STEP};
    if (!parse_value(r, words[1], &key.value)) return 0;
    if (count == 3 && (key.interp = track_interp_find(words[2].c_str())) < 0)
        return fail(r, ("unknown interpolation '" + words[2] + "' (step, linear, smooth or ramp)").c_str());
    if (!out->keys.empty() && !(key.time > out->keys.back().time)) return fail(r, "key out of time order");
    if (out->repeat > 0 && !out->keys.empty() && key.time > out->keys.front().time + out->repeat)
        return fail(r, "key beyond the repeat (the first key plus the repeat)");
    if (out->keys.size() >= TRACK_KEYS_MAX) return fail(r, "too many keys");
    out->keys.push_back(key);
    return 1;
}

}  // namespace

int track_parse_text(const std::vector<unsigned char>& bytes, const char* path, const script_tempo& tempo,
                     track* out, std::string* error) {
    out->keys.clear();
    out->repeat = 0;
    out->repeat_beats = 0;
    text_reader r = {path, 0, error};
    std::string text(bytes.begin(), bytes.end());
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        std::string line = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
        at = end == std::string::npos ? text.size() : end + 1;
        ++r.line;
        if (line.find('\0') != std::string::npos) return fail(r, "a NUL byte in the line");
        std::string words[4];
        int count = split_words(line, words);
        if (count == 0 || words[0][0] == ';' || words[0].compare(0, 2, "//") == 0) continue;
        if (words[0] == "repeat") {
            if (count != 2) return fail(r, "repeat takes one number of beats");
            if (!parse_repeat(r, words[1], tempo, out)) return 0;
        } else if (!parse_key(r, words, count, tempo, out)) {
            return 0;
        }
    }
    return 1;
}

// ---------------------------------------------------------------------------
// The binary form
// ---------------------------------------------------------------------------

static uint32_t read_le32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

int track_parse_binary(const std::vector<unsigned char>& bytes, const char* path, const script_tempo& tempo,
                       int rows_per_beat, track* out, std::string* error) {
    out->keys.clear();
    out->repeat = 0;
    out->repeat_beats = 0;
    auto fault = [&](const char* what, long long key) {
        char message[512];
        std::snprintf(message, sizeof message, "Track %s: %s, key %lld", path, what, key);
        *error = message;
        return 0;
    };
    if (bytes.size() < 4) {
        *error = "Track " + std::string(path) + ": the file is shorter than the 4 bytes of its key count";
        return 0;
    }
    uint32_t count = read_le32(bytes.data());
    if (count > TRACK_KEYS_MAX || bytes.size() != 4 + 9ull * count) {
        char what[128];
        std::snprintf(what, sizeof what, "the file holds %zu bytes; %u keys take %llu", bytes.size(), count,
                      4 + 9ull * count);
        return fault(what, 0);
    }
    if (count > 0 && !(tempo.bpm > 0)) return fault("rows need a bpm setting in the script", 1);
    for (uint32_t i = 0; i < count; ++i) {
        const unsigned char* p = bytes.data() + 4 + 9 * i;
        int32_t row = static_cast<int32_t>(read_le32(p));
        uint32_t bits = read_le32(p + 4);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        if (row < 0) return fault("a row before row 0", i + 1);
        if (!std::isfinite(value)) return fault("a value that is not a finite number", i + 1);
        if (p[8] >= TRACK_INTERPS) return fault("an unknown interpolation type", i + 1);
        track_key key = {track_row_time(row, tempo, rows_per_beat), value, p[8]};
        if (!out->keys.empty() && !(key.time > out->keys.back().time)) return fault("key out of row order", i + 1);
        out->keys.push_back(key);
    }
    return 1;
}

// ---------------------------------------------------------------------------
// Writing the text form
// ---------------------------------------------------------------------------

// The time as the script would write it, in the first form that reads back
// to the same moment: beats, bars and beats, seconds.
static std::string time_text(double seconds, const script_tempo& tempo) {
    char text[64];
    if (tempo.bpm > 0) {
        double beats = (seconds - tempo.beat_offset) * tempo.bpm / 60.0;
        std::snprintf(text, sizeof text, "%.9gb", static_cast<double>(static_cast<float>(beats)));
        script_time back = script_time_parse(text, tempo, SCRIPT_TIME_POINT);
        if (back.status == SCRIPT_TIME_OK && back.seconds == seconds) return text;
        double bar = std::floor(beats / SCRIPT_BEATS_PER_BAR);
        std::snprintf(text, sizeof text, "%.0f:%.9g", bar,
                      static_cast<double>(static_cast<float>(beats - bar * SCRIPT_BEATS_PER_BAR)));
        back = script_time_parse(text, tempo, SCRIPT_TIME_POINT);
        if (back.status == SCRIPT_TIME_OK && back.seconds == seconds) return text;
    }
    std::snprintf(text, sizeof text, "%.9g", seconds);
    return text;
}

std::string track_format_text(const track& t, const script_tempo& tempo) {
    std::string text = "; track " + t.name + ": TIME VALUE [step|linear|smooth|ramp]\n";
    char line[160];
    if (t.repeat > 0) {
        std::snprintf(line, sizeof line, "repeat %.9g\n", static_cast<double>(t.repeat_beats));
        text += line;
    }
    for (const track_key& k : t.keys) {
        std::snprintf(line, sizeof line, "%s %.9g", time_text(k.time, tempo).c_str(), static_cast<double>(k.value));
        text += line;
        if (k.interp != TRACK_STEP) text += std::string(" ") + track_interp_name(k.interp);
        text += "\n";
    }
    return text;
}
