// Reading script times: seconds, beats and bars:beats, turned into seconds
// with the head's tempo. Pure functions over text; see script_time.h.
#include "core/script_time.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <cstring>

const char* const SCRIPT_TIME_NO_TEMPO = "a time in beats needs a bpm setting before it";

namespace {

bool is_digit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }
bool is_end(char c) { return c == '\0' || std::isspace(static_cast<unsigned char>(c)); }

const char* skip_space(const char* p) {
    while (*p && std::isspace(static_cast<unsigned char>(*p))) ++p;
    return p;
}

script_time failure(const char* why) { return {SCRIPT_TIME_ERROR, 0, 1, why}; }

// The time of `beats` after beat 0 (a point) or `beats` long (a length).
script_time from_beats(double beats, const script_tempo& tempo, script_time_kind kind) {
    if (!(tempo.bpm > 0)) return failure(SCRIPT_TIME_NO_TEMPO);
    double seconds = kind == SCRIPT_TIME_POINT ? script_time_of_beat(beats, tempo) : beats * 60.0 / tempo.bpm;
    if (!std::isfinite(seconds) || seconds > SCRIPT_TIME_MAX || beats < 0 || seconds < 0)
        return failure("a time in beats must lie from 0 to 100000 seconds");
    return {SCRIPT_TIME_OK, seconds, 1, nullptr};
}

}  // namespace

int script_scan_float(const char* text, float* out, const char** end) {
    const char* start = skip_space(text);
    const char* p = start;
    if (*p == '+' || *p == '-') ++p;
    int digits = 0;
    while (is_digit(*p)) ++p, ++digits;
    if (*p == '.') {
        ++p;
        while (is_digit(*p)) ++p, ++digits;
    }
    if (digits == 0) return 0;
    if (*p == 'e' || *p == 'E') {
        const char* q = p + 1;
        if (*q == '+' || *q == '-') ++q;
        if (is_digit(*q)) {
            while (is_digit(*q)) ++q;
            p = q;
        }
    }
    char number[256];
    size_t length = static_cast<size_t>(p - start);
    if (length >= sizeof number) length = sizeof number - 1;
    std::memcpy(number, start, length);
    number[length] = '\0';
    *out = std::strtof(number, nullptr);
    if (end) *end = p;
    return 1;
}

double script_time_of_beat(double beats, const script_tempo& tempo) {
    return beats * 60.0 / tempo.bpm + tempo.beat_offset;
}

void script_time_bar_beat(float seconds, const script_tempo& tempo, char* out, int size) {
    if (size <= 0) return;
    out[0] = '\0';
    if (tempo.bpm <= 0) return;
    double beats = (static_cast<double>(seconds) - tempo.beat_offset) * tempo.bpm / 60.0;
    // A hair over the beat, so a moment read from "8:2" prints as 8:2.00.
    beats += 1e-6;
    if (beats < 0) return;
    long long bar = static_cast<long long>(beats / SCRIPT_BEATS_PER_BAR);
    double beat = beats - static_cast<double>(bar) * SCRIPT_BEATS_PER_BAR;
    std::snprintf(out, static_cast<size_t>(size), "%lld:%.2f", bar, beat);
}

const char* script_time_read(const char* text, const script_tempo& tempo, float* out, int* in_beats) {
    script_time t = script_time_parse(text, tempo, SCRIPT_TIME_POINT);
    if (t.status == SCRIPT_TIME_ERROR) return t.error;
    if (t.status != SCRIPT_TIME_OK) return "a time is seconds (12.5), beats (16b) or bar:beat (8:2)";
    *out = static_cast<float>(t.seconds);
    if (in_beats) *in_beats = t.in_beats;
    return nullptr;
}

int script_text_blank(const char* text) { return *skip_space(text) == '\0'; }

script_time script_time_parse(const char* text, const script_tempo& tempo, script_time_kind kind) {
    float number = 0;
    const char* p = nullptr;
    if (!script_scan_float(text, &number, &p)) return {SCRIPT_TIME_NONE, 0, 0, nullptr};
    if (*p == 'b' && is_end(p[1])) return from_beats(number, tempo, kind);
    const char* unit = skip_space(p);
    if (unit != p && *unit == 'b' && is_end(unit[1]))
        return failure("no space may stand between a number and its unit b (16b, not 16 b)");
    if (*p == ':') {
        // Bars and beats: a whole bar, then the beat within it.
        float beat = 0;
        const char* q = nullptr;
        bool whole_bar = true;
        for (const char* c = skip_space(text); c < p; ++c)
            if (!is_digit(*c)) whole_bar = false;
        if (!whole_bar || !is_digit(p[1]) || !script_scan_float(p + 1, &beat, &q) || !is_end(*q) ||
            beat < 0 || beat >= SCRIPT_BEATS_PER_BAR)
            return failure("a time in bars is BAR:BEAT, a whole bar from 0 and a beat from 0 to below 4");
        return from_beats(static_cast<double>(number) * SCRIPT_BEATS_PER_BAR + beat, tempo, kind);
    }
    if (!std::isfinite(number) || number > SCRIPT_TIME_MAX)
        return failure("a time must be at most 100000 seconds");
    return {script_text_blank(p) ? SCRIPT_TIME_OK : SCRIPT_TIME_JUNK, number, 0, nullptr};
}
