// Kochanek-Bartels splines: reading key files, spreading key times evenly
// over a duration, and evaluating the nine channels at a time with cubic
// Hermite segments (or straight ones, per key). Pure arithmetic apart from
// the file reading; errors go through fatal_error.
#include "resources/spline.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "core/fatal.h"
#include "core/file_read.h"

enum { SPLINE_LINE_MAX = 255 };

// ---------------------------------------------------------------------------
// Reading
// ---------------------------------------------------------------------------

int spline_parse_line(const char* line, float out[SPLINE_CHANNELS]) {
    // %f skips the blanks before each number, so camera log lines with a
    // blank after every comma read as they stand.
    int n = sscanf(line, " {%f,%f,%f,%f,%f,%f,%f,%f,%f", &out[0], &out[1], &out[2], &out[3],
                   &out[4], &out[5], &out[6], &out[7], &out[8]);
    return n == SPLINE_CHANNELS;
}

// A comment line: ';' or '//' after any blanks (the camera log writes one
// after every key).
static bool is_comment(const char* line) {
    line += strspn(line, " \t");
    return line[0] == ';' || (line[0] == '/' && line[1] == '/');
}

static bool is_blank(const char* line) {
    for (; *line; line++)
        if (*line != ' ' && *line != '\t' && *line != '\r' && *line != '\n' &&
            *line != '\v' && *line != '\f')
            return false;
    return true;
}

// Cuts the line ending off `line`; returns the remaining length.
static size_t strip_line_end(char* line) {
    size_t n = strlen(line);
    while (n > 0 && (line[n - 1] == '\n' || line[n - 1] == '\r')) line[--n] = '\0';
    return n;
}

struct file_closer {
    void operator()(FILE* f) const { fclose(f); }
};

static bool all_finite(const float values[SPLINE_CHANNELS]) {
    for (int c = 0; c < SPLINE_CHANNELS; c++)
        if (!std::isfinite(values[c])) return false;
    return true;
}

// Reads the keys of the opened file (closed on every path); `path` names it
// in the messages.
static spline spline_read(FILE* opened, const char* path) {
    std::unique_ptr<FILE, file_closer> file(opened);
    std::vector<spline_key> keys;
    // Room for a 255-character line, its "\r\n" and the terminator, so a
    // longer line is seen as one rather than read in pieces.
    char line[SPLINE_LINE_MAX + 3];
    int line_number = 0;
    while (fgets(line, sizeof line, file.get())) {
        line_number++;
        bool whole = strchr(line, '\n') || feof(file.get());
        if (!whole || strip_line_end(line) > SPLINE_LINE_MAX)
            fatal_error("Error loading spline %s: line %d is longer than %d characters", path,
                        line_number, SPLINE_LINE_MAX);
        if (is_blank(line) || is_comment(line)) continue;
        spline_key key = {};
        if (!spline_parse_line(line, key.values))
            fatal_error("Error loading spline %s: line %d does not hold nine numbers", path,
                        line_number);
        // "nan", "inf" and numbers beyond the float range would fly the
        // camera or the object off to nowhere for the whole section.
        if (!all_finite(key.values))
            fatal_error("Error loading spline %s: line %d holds a number that is not finite", path,
                        line_number);
        keys.push_back(key);
    }
    // A folder opens like a file and then fails to read.
    if (ferror(file.get())) fatal_error("Error loading spline %s: the file cannot be read", path);
    if (keys.empty()) fatal_error("Error loading spline %s: the file holds no keys", path);
    spline s = {nullptr, (int)keys.size(), 0.0f};
    s.keys = (spline_key*)malloc(keys.size() * sizeof(spline_key));
    if (!s.keys) fatal_error("Out of memory loading spline %s", path);
    memcpy(s.keys, keys.data(), keys.size() * sizeof(spline_key));
    return s;
}

spline spline_load(const char* path) {
    std::vector<unsigned char> bytes;
    if (file_read_all(path, &bytes))
        return spline_load_memory(reinterpret_cast<const char*>(bytes.data()), bytes.size(), path);
    // What cannot be read whole (a folder, say) is reported by the reader.
    FILE* file = fopen(path, "r");
    if (!file) fatal_error("Error loading spline %s", path);
    return spline_read(file, path);
}

spline spline_load_memory(const char* text, size_t size, const char* name) {
    FILE* file = file_open_memory(text, size);
    if (!file) fatal_error("Out of memory loading spline %s", name);
    return spline_read(file, name);
}

void spline_free(spline* s) {
    free(s->keys);
    s->keys = nullptr;
    s->count = 0;
}

void spline_spread_times(spline* s, float duration) {
    s->end_time = duration;
    if (s->count == 1) {
        s->keys[0].time = 0.0f;
        return;
    }
    float step = duration / (float)(s->count - 1);
    for (int k = 0; k < s->count; k++) s->keys[k].time = (float)k * step;
}

// ---------------------------------------------------------------------------
// Evaluation
// ---------------------------------------------------------------------------

void hermite_basis(float s, float* h1, float* h2, float* h3, float* h4) {
    float s2 = s * s;
    float s3 = s2 * s;
    *h2 = 3.0f * s2 - 2.0f * s3;
    *h1 = 1.0f - *h2;
    *h4 = s3 - s2;
    *h3 = *h4 - s2 + s;
}

// The segment i (keys i and i+1) holding t, for time[0] < t < time[last]:
// the smallest i with t <= time[i+1], so a key's own time falls at the end
// of the segment that leads to it.
static int find_segment(const spline* s, float t) {
    int lo = 0, hi = s->count - 2;
    while (lo < hi) {
        int mid = (lo + hi) / 2;
        if (t <= s->keys[mid + 1].time) {
            hi = mid;
        } else {
            lo = mid + 1;
        }
    }
    return lo;
}

static void copy_key(const spline_key* key, float out[SPLINE_CHANNELS]) {
    memcpy(out, key->values, sizeof key->values);
}

void spline_evaluate(const spline* s, float t, float out[SPLINE_CHANNELS]) {
    if (s->count <= 0) {
        memset(out, 0, sizeof(float) * SPLINE_CHANNELS);
        return;
    }
    const spline_key* k = s->keys;
    int last = s->count - 1;
    // Also catches a lone key, a NaN time and a spline of zero duration.
    if (last == 0 || !(t > k[0].time)) return copy_key(&k[0], out);
    if (t >= k[last].time) return copy_key(&k[last], out);

    int i = find_segment(s, t);
    const spline_key& p0 = k[i];
    const spline_key& p1 = k[i + 1];
    float dt = p1.time - p0.time;
    float sv = (t - p0.time) / dt;
    if (p1.linear) {
        for (int c = 0; c < SPLINE_CHANNELS; c++)
            out[c] = p0.values[c] + sv * (p1.values[c] - p0.values[c]);
        return;
    }
    float a = (1 - p0.tension) * (1 + p0.continuity) * (1 + p0.bias);
    float b = (1 - p0.tension) * (1 - p0.continuity) * (1 - p0.bias);
    float c = (1 - p1.tension) * (1 + p1.continuity) * (1 - p1.bias);
    float d = (1 - p1.tension) * (1 - p1.continuity) * (1 + p1.bias);
    float h1, h2, h3, h4;
    hermite_basis(sv, &h1, &h2, &h3, &h4);
    for (int ch = 0; ch < SPLINE_CHANNELS; ch++) {
        float delta = p1.values[ch] - p0.values[ch];
        float outgoing = i == 0
            ? (a + b) * delta * 0.5f
            : ((p0.values[ch] - k[i - 1].values[ch]) * a + delta * b) * dt /
                  (p1.time - k[i - 1].time);
        float incoming = i + 1 == last
            ? (c + d) * delta * 0.5f
            : ((k[i + 2].values[ch] - p1.values[ch]) * c + delta * d) * dt /
                  (k[i + 2].time - p0.time);
        out[ch] = h1 * p0.values[ch] + h2 * p1.values[ch] + h3 * outgoing + h4 * incoming;
    }
}
