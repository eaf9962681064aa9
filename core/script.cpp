// The script reader.
//
// Reads the script line by line: lines before the first "[type]" header set
// engine settings, later lines fill the section opened by the last header.
// The format has fixed limits (255-byte lines, 63-character words, 256
// params, strings and splines per section); anything beyond them, like every
// other fault, ends the program with a message naming the line.
//
// Times may be written in seconds, beats or bars (core/script_time), and a
// section's syncs as a grid (`syncs every 1b`). Values that parse as no number
// keep their old meaning (0, or the field unchanged) and get a warning.
//
// While core/fatal collects faults (the whole-show check), each line is read
// on its own: a fault is reported and the next line read, so one pass lists
// every fault of the script.
//
// Depends on: core/settings (the key table), core/section (the record, the
// type table, the section list), core/fatal (the error path), core/nearest
// (did-you-mean hints).
#include "core/script.h"


#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "core/fatal.h"
#include "core/file_read.h"
#include "core/nearest.h"
#include "core/script_time.h"
#include "core/section.h"
#include "core/settings.h"
#include "core/track.h"

const char* script_path = "data/script.txt";

// ---------------------------------------------------------------------------
// Reader state
// ---------------------------------------------------------------------------

namespace {

// Sections whose `start` or `end` line was refused, since the last reading.
std::vector<const section*> refused_spans;

// The section types a script may name (see script_set_types).
const script_type* known_types = nullptr;
int known_type_count = 0;

// Index of the type named exactly `name`, or -1.
int find_type(const char* name) {
    for (int i = 0; i < known_type_count; ++i)
        if (strcmp(known_types[i].name, name) == 0) return i;
    return -1;
}

// What the reader carries from one line to the next.
struct script_reader {
    FILE* file;
    int line;              // 1-based physical line being handled
    section* current;      // section opened by the last header, or null
    section* tail;         // last record of section_list
    int expected_syncs;    // count declared by the last `syncs` line
    int found_syncs;       // `sync` lines seen since then
    double sync_step;      // step of the section's `syncs every` line; 0: none
    int sync_step_line;    // that line
    int beats_read;        // a time in beats has been converted
    int told_no_tempo;     // a time in beats without a bpm has been reported: once is enough
    char start_text[SCRIPT_WORD_MAX + 1];  // the section's start as written, for messages
    int sync_track;        // store index of the section's `syncs @NAME` track; -1: none
    int sync_track_line;   // that line
    section* orphan;       // a section of an unknown type: read, then dropped
    int setting_line[SETTING_COUNT];  // where each head setting was set; 0: not yet
};

// Closes the file, then ends the program with the formatted message. The
// file is closed first because a test hook may unwind instead of exiting.
[[noreturn]] __attribute__((format(printf, 2, 3)))
void script_fail(script_reader& r, const char* format, ...) {
    char message[FATAL_MESSAGE_MAX + 1];
    va_list args;
    va_start(args, format);
    vsnprintf(message, sizeof message, format, args);
    va_end(args);
    // While collecting, the reader goes on with the next line.
    if (r.file && !fatal_collecting()) {
        fclose(r.file);
        r.file = nullptr;
    }
    fatal_error("%s", message);
}

char* script_copy(script_reader& r, const char* text) {
    char* copy = strdup(text);
    if (!copy) script_fail(r, "Script: out of memory, line %d", r.line);
    return copy;
}

// ---------------------------------------------------------------------------
// Lexical helpers
// ---------------------------------------------------------------------------

bool is_blank(char c) { return c == ' ' || c == '\t'; }

// The characters that end a word: blanks, line ends, and the other white
// space a word scan stops at.
bool is_word_end(char c) {
    return c == '\0' || isspace(static_cast<unsigned char>(c));
}

const char* skip_space(const char* p) {
    while (*p && isspace(static_cast<unsigned char>(*p))) ++p;
    return p;
}

// Copies the first word of `text` (leading white space skipped) into `out`,
// which holds `cap` + 1 characters. Returns the word's length (0 when there
// is none) or -1 when it is longer than `cap`; `*rest` points after it.
int copy_word(const char* text, char* out, int cap, const char** rest) {
    const char* p = skip_space(text);
    int n = 0;
    while (!is_word_end(p[n])) {
        if (n == cap) return -1;
        out[n] = p[n];
        ++n;
    }
    out[n] = '\0';
    if (rest) *rest = p + n;
    return n;
}

// A decimal integer: white space, optional sign, digits. Values beyond the
// 32-bit range are clamped. Returns 0 (and leaves *out alone) when nothing
// parses; `*end`, when asked for, is set after the digits.
int scan_int(const char* text, int* out, const char** end = nullptr) {
    char* after = nullptr;
    long value = strtol(text, &after, 10);
    if (after == text) return 0;
    if (value > INT_MAX) value = INT_MAX;
    if (value < INT_MIN) value = INT_MIN;
    *out = static_cast<int>(value);
    if (end) *end = after;
    return 1;
}

// The warning for a value that is not (only) a number; `taken` is what the
// reader stores for it.
void warn_not_number(const script_reader& r, const char* value, double taken) {
    fatal_warning("Script: '%s' is not a number, read as %g, line %d", value, taken, r.line);
}

// A number for a field that keeps its value when nothing parses.
void read_float(const script_reader& r, const char* value, float* out) {
    const char* end = nullptr;
    if (!script_scan_float(value, out, &end) || !script_text_blank(end)) warn_not_number(r, value, *out);
}

void read_int(const script_reader& r, const char* value, int* out) {
    const char* end = nullptr;
    if (!scan_int(value, out, &end) || !script_text_blank(end)) warn_not_number(r, value, *out);
}

// A time (seconds, beats or bars) into `*out`, which keeps its value when
// nothing parses. A negative time is refused, naming `what`; `start` and
// `end` pass null and check their own span. False, with *out unchanged,
// when the time cannot be read: a missing bpm is one fault, reported at the
// first time in beats only.
bool read_time(script_reader& r, const char* value, script_time_kind kind, float* out, const char* what) {
    script_time t = script_time_parse(value, {bpm, beat_offset}, kind);
    if (t.status == SCRIPT_TIME_ERROR) {
        bool no_tempo = t.error == SCRIPT_TIME_NO_TEMPO;
        if (no_tempo && r.told_no_tempo) return false;
        r.told_no_tempo |= no_tempo;
        script_fail(r, "Script: %s, line %d", t.error, r.line);
    }
    if (what && t.status != SCRIPT_TIME_NONE && t.seconds < 0)
        script_fail(r, "Script: %s cannot be negative, line %d", what, r.line);
    if (t.status != SCRIPT_TIME_NONE) *out = static_cast<float>(t.seconds);
    if (t.status != SCRIPT_TIME_OK) warn_not_number(r, value, *out);
    if (t.in_beats) r.beats_read = 1;
    return true;
}

// Reads one line, its LF included, into `line` (SCRIPT_LINE_MAX + 1 bytes).
// Returns 1 for a line, 0 at the end of the file, -1 when the line is longer
// than the limit. NUL bytes are stored as read; they end the line's text.
int read_line(FILE* file, char* line) {
    int n = 0;
    int c;
    while ((c = getc(file)) != EOF) {
        if (n == SCRIPT_LINE_MAX) {
            // The rest of the line is dropped, so a collecting reader goes on
            // with the next one.
            while (c != '\n' && c != EOF) c = getc(file);
            return -1;
        }
        line[n++] = static_cast<char>(c);
        if (c == '\n') break;
    }
    line[n] = '\0';
    return n > 0 ? 1 : 0;
}

void split_or_fail(script_reader& r, const char* line, char* key, char* value) {
    switch (script_split_line(line, key, value)) {
    case SCRIPT_SPLIT_KEY_TOO_LONG:
        script_fail(r, "Script: key too long, line %d", r.line);
    case SCRIPT_SPLIT_VALUE_TOO_LONG:
        script_fail(r, "Script: value too long, line %d", r.line);
    case SCRIPT_SPLIT_OK:
        break;
    }
}

// ---------------------------------------------------------------------------
// Section keywords
// ---------------------------------------------------------------------------

// The section stays on the refused list unless its line is read whole.
void keyword_start(script_reader& r, const char* value) {
    snprintf(r.start_text, sizeof r.start_text, "%s", value);
    refused_spans.push_back(r.current);
    if (!read_time(r, value, SCRIPT_TIME_POINT, &r.current->start, nullptr)) return;
    if (r.current->start < 0) script_fail(r, "Script: invalid section start, line %d", r.line);
    refused_spans.pop_back();
}

// A time as the script wrote it, with its seconds when the text does not
// say them plainly ("4:0 (8 s)"); a start never written is 0.
std::string time_as_read(const char* text, float seconds) {
    char plain[32];
    snprintf(plain, sizeof plain, "%g", seconds);
    const char* word = skip_space(text);
    if (!*word) return plain;
    std::string shown(word, strcspn(word, " \t\r\n"));
    return shown == plain ? shown : shown + " (" + plain + " s)";
}

void keyword_end(script_reader& r, const char* value) {
    section* s = r.current;
    bool start_refused = script_span_refused(s);  // that fault was told; the span follows from it
    refused_spans.push_back(s);
    if (!read_time(r, value, SCRIPT_TIME_POINT, &s->end, nullptr)) return;
    s->duration = s->end - s->start;
    if (s->duration <= 0 && !start_refused)
        script_fail(r, "Script: the section's end %s must come after its start %s, line %d",
                    time_as_read(value, s->end).c_str(), time_as_read(r.start_text, s->start).c_str(), r.line);
    refused_spans.pop_back();
}

void keyword_layer(script_reader& r, const char* value) {
    read_int(r, value, &r.current->layer);
}

// Replaces the section's sync array by `count` zeroed times.
void new_syncs(script_reader& r, int count) {
    section* s = r.current;
    free(s->syncs);
    s->syncs = nullptr;
    s->sync_count = count;
    if (count > 0) {
        s->syncs = static_cast<float*>(calloc(static_cast<size_t>(count), sizeof(float)));
        if (!s->syncs) script_fail(r, "Script: out of memory, line %d", r.line);
    }
}

void fail_mixed_syncs(script_reader& r) {
    script_fail(r, "Script: syncs every cannot be mixed with syncs N or sync lines, line %d", r.line);
}

void fail_mixed_track_syncs(script_reader& r) {
    script_fail(r, "Script: syncs @TRACK cannot be mixed with other syncs or sync lines, line %d", r.line);
}

script_tempo reader_tempo() { return {bpm, beat_offset}; }

// The track `name`, resolved; a fault in the track's own file is reported
// as that file's (once: a track that failed is not reported again, so a
// check lists each broken file once), anything else as this line's.
bool find_track(script_reader& r, const char* name, track_ref* ref) {
    std::string error;
    if (track_resolve(name, reader_tempo(), rows_per_beat, ref, &error)) return true;
    if (error.empty()) return false;
    if (error.compare(0, 6, "Track ") == 0) script_fail(r, "%s", error.c_str());
    script_fail(r, "Script: %s, line %d", error.c_str(), r.line);
}

// `syncs @NAME`: the track's key times become the syncs when the section
// closes, from its final start and end.
void keyword_syncs_track(script_reader& r, const char* name) {
    if (r.sync_step > 0 || r.sync_track >= 0 || r.expected_syncs > 0 || r.found_syncs > 0) fail_mixed_track_syncs(r);
    char word[SCRIPT_WORD_MAX + 1];
    const char* rest = name;
    if (copy_word(name, word, SCRIPT_WORD_MAX, &rest) <= 0 || !script_text_blank(rest))
        script_fail(r, "Script: syncs @TRACK takes one track name, line %d", r.line);
    track_ref ref;
    if (!find_track(r, word, &ref)) return;
    if (ref.index < 0)
        script_fail(r, "Script: track '%s' is computed and has no keys to take syncs from, line %d", word, r.line);
    r.sync_track = ref.index;
    r.sync_track_line = r.line;
}

// `syncs every STEP`: the list is made when the section closes, from its
// final start and end.
void keyword_syncs_every(script_reader& r, const char* value) {
    if (r.sync_track >= 0) fail_mixed_track_syncs(r);
    if (r.sync_step > 0 || r.expected_syncs > 0 || r.found_syncs > 0) fail_mixed_syncs(r);
    script_time step = script_time_parse(value, {bpm, beat_offset}, SCRIPT_TIME_LENGTH);
    if (step.status == SCRIPT_TIME_ERROR) script_fail(r, "Script: %s, line %d", step.error, r.line);
    if (step.status != SCRIPT_TIME_OK || !(step.seconds > 0))
        script_fail(r, "Script: syncs every needs a step above 0, line %d", r.line);
    if (step.in_beats) r.beats_read = 1;
    r.sync_step = step.seconds;
    r.sync_step_line = r.line;
}

// A count that does not parse keeps the previous count; the array is always
// replaced, and the sync lines found so far are forgotten.
void keyword_syncs(script_reader& r, const char* value) {
    const char* rest = value;
    char word[SCRIPT_WORD_MAX + 1];
    if (copy_word(value, word, SCRIPT_WORD_MAX, &rest) > 0 && strcmp(word, "every") == 0) {
        keyword_syncs_every(r, rest);
        return;
    }
    if (*skip_space(value) == '@') {
        keyword_syncs_track(r, skip_space(value) + 1);
        return;
    }
    if (r.sync_track >= 0) fail_mixed_track_syncs(r);
    if (r.sync_step > 0) fail_mixed_syncs(r);
    int count = r.current->sync_count;
    read_int(r, value, &count);
    if (count < 0) script_fail(r, "Script: negative sync count, line %d", r.line);
    if (count > SCRIPT_SYNCS_MAX)
        script_fail(r, "Script: more than %d syncs in a section, line %d", SCRIPT_SYNCS_MAX, r.line);
    new_syncs(r, count);
    r.expected_syncs = count;
    r.found_syncs = 0;
}

// Extra sync lines are counted (the next header reports them) but not stored;
// a value that does not parse is stored as 0. Sync times count from the
// section's start.
void keyword_sync(script_reader& r, const char* value) {
    if (r.sync_track >= 0) fail_mixed_track_syncs(r);
    if (r.sync_step > 0) fail_mixed_syncs(r);
    float time = 0.0f;
    read_time(r, value, SCRIPT_TIME_LENGTH, &time, "a sync time");
    if (r.found_syncs < r.expected_syncs) r.current->syncs[r.found_syncs] = time;
    ++r.found_syncs;
}

// `param @NAME [SCALE [OFFSET]]`: the next param follows the track NAME,
// provided the type reads it every frame.
void bind_track(script_reader& r, const char* text, int index) {
    section* s = r.current;
    char name[SCRIPT_WORD_MAX + 1];
    const char* rest = text;
    if (copy_word(text, name, SCRIPT_WORD_MAX, &rest) <= 0)
        script_fail(r, "Script: param @ needs a track name, line %d", r.line);
    track_param bound = {index, {-1, nullptr, 0}, 1.0f, 0.0f};
    float* factors[2] = {&bound.scale, &bound.offset};
    for (float* factor : factors) {
        if (script_text_blank(rest)) break;
        if (!script_scan_float(rest, factor, &rest) || !(*rest == '\0' || isspace(static_cast<unsigned char>(*rest))))
            script_fail(r, "Script: param @%s takes a scale and an offset (numbers) after the name, line %d", name,
                        r.line);
    }
    if (!script_text_blank(rest))
        script_fail(r, "Script: param @%s takes at most a scale and an offset, line %d", name, r.line);
    if (s->type >= 0 && !section_param_every_frame(*known_types[s->type].reads, index)) {
        const section_field_list& params = known_types[s->type].reads->lists[SECTION_PARAMS];
        const char* field = index < params.count ? params.fields[index].name : "not read";
        script_fail(r, "Script: %s reads param %d (%s) only as the section is set up, so it cannot follow track "
                       "'%s'; section at line %d, line %d",
                    known_types[s->type].name, index + 1, field, name, s->line, r.line);
    }
    if (!find_track(r, name, &bound.ref)) return;
    void* grown = realloc(s->tracked, sizeof(track_param) * static_cast<size_t>(s->tracked_count + 1));
    if (!grown) script_fail(r, "Script: out of memory, line %d", r.line);
    s->tracked = static_cast<track_param*>(grown);
    s->tracked[s->tracked_count++] = bound;
}

// A value that does not parse is stored as 0, so later params keep their
// positions.
void keyword_param(script_reader& r, const char* value) {
    section* s = r.current;
    if (s->param_count >= SECTION_MAX_PARAMS)
        script_fail(r, "Script: more than %d params in a section, line %d", SECTION_MAX_PARAMS, r.line);
    // The slot is taken first, so a faulty binding keeps later params in place.
    int index = s->param_count++;
    s->params[index] = 0.0f;
    if (*skip_space(value) == '@') bind_track(r, skip_space(value) + 1, index);
    else read_float(r, value, &s->params[index]);
    // What the type reads by name is kept in step from the start, for the
    // timeline's look at a section before it is set up.
    if (s->type >= 0) section_value_store(s, index);
}

// A file name, then optionally its time; without a time the spline spans the
// section's duration as known at this line.
void keyword_spline(script_reader& r, const char* value) {
    section* s = r.current;
    if (s->spline_count >= SECTION_MAX_SPLINES)
        script_fail(r, "Script: more than %d splines in a section, line %d", SECTION_MAX_SPLINES, r.line);
    char word[SCRIPT_WORD_MAX + 1];
    const char* rest = value;
    int length = copy_word(value, word, SCRIPT_WORD_MAX, &rest);
    if (length < 0) script_fail(r, "Script: word too long, line %d", r.line);
    float time = s->duration;
    if (length > 0 && !script_text_blank(rest)) read_time(r, skip_space(rest), SCRIPT_TIME_LENGTH, &time, "a spline's time");
    s->spline_names[s->spline_count] = script_copy(r, word);
    s->spline_durations[s->spline_count] = time;
    ++s->spline_count;
}

void keyword_string(script_reader& r, const char* value) {
    section* s = r.current;
    if (s->string_count >= SECTION_MAX_STRINGS)
        script_fail(r, "Script: more than %d strings in a section, line %d", SECTION_MAX_STRINGS, r.line);
    char word[SCRIPT_WORD_MAX + 1];
    if (copy_word(value, word, SCRIPT_WORD_MAX, nullptr) < 0)
        script_fail(r, "Script: word too long, line %d", r.line);
    s->strings[s->string_count++] = script_copy(r, word);
}

struct section_keyword {
    const char* name;
    void (*apply)(script_reader& r, const char* value);
};

const section_keyword section_keywords[] = {
    {"start", keyword_start},   {"end", keyword_end},       {"layer", keyword_layer},
    {"syncs", keyword_syncs},   {"sync", keyword_sync},     {"param", keyword_param},
    {"spline", keyword_spline}, {"string", keyword_string},
};

// ---------------------------------------------------------------------------
// Line kinds
// ---------------------------------------------------------------------------

// " (did you mean 'NAME'?)" when one of the names is close to `name`, else "".

// The sync times of `syncs every`: one per step after the section's start,
// before its end, as if written out as sync lines.
void make_sync_grid(script_reader& r) {
    section* s = r.current;
    int count = 0;
    while (static_cast<float>((count + 1) * r.sync_step) < s->duration) {
        if (++count > SCRIPT_SYNCS_MAX)
            script_fail(r, "Script: syncs every makes more than %d syncs, line %d", SCRIPT_SYNCS_MAX,
                        r.sync_step_line);
    }
    new_syncs(r, count);
    for (int k = 0; k < count; ++k) s->syncs[k] = static_cast<float>((k + 1) * r.sync_step);
}

// The syncs of `syncs @NAME`: the track's key times after the section's
// start and before its end (a repeating track's repeats included), from the
// start.
void make_track_syncs(script_reader& r) {
    section* s = r.current;
    const track& t = *track_at(r.sync_track);
    std::vector<double> times;
    for (const track_key& k : t.keys) {
        for (double at = k.time; at < s->end; at += t.repeat) {
            if (at > s->start) times.push_back(at - s->start);
            if (times.size() > SCRIPT_SYNCS_MAX)
                script_fail(r, "Script: track '%s' makes more than %d syncs, line %d", t.name.c_str(),
                            SCRIPT_SYNCS_MAX, r.sync_track_line);
            if (!(t.repeat > 0)) break;
        }
    }
    std::sort(times.begin(), times.end());
    new_syncs(r, static_cast<int>(times.size()));
    for (size_t k = 0; k < times.size(); ++k) s->syncs[k] = static_cast<float>(times[k]);
}

// Closes the open section: makes its sync grid, or (when `check_count`)
// compares the sync lines found with the count declared. The counts are
// cleared first, so a collecting reader opens the next section cleanly.
void close_section(script_reader& r, bool check_count) {
    int found = r.found_syncs, expected = r.expected_syncs;
    double step = r.sync_step;
    int sync_track = r.sync_track;
    r.found_syncs = r.expected_syncs = 0;
    r.sync_step = 0;
    r.sync_track = -1;
    if (sync_track >= 0 && r.current) {
        r.sync_track = sync_track;
        make_track_syncs(r);
        r.sync_track = -1;
    } else if (step > 0 && r.current) {
        r.sync_step = step;
        make_sync_grid(r);
        r.sync_step = 0;
    } else if (check_count && found != expected) {
        script_fail(r, "Script: incorrect number of syncs (%d found, %d expected), line %d", found,
                    expected, r.line);
    }
}

void free_section(section* s) {
    free(s->syncs);
    free(s->tracked);
    for (int i = 0; i < s->string_count; ++i) free(s->strings[i]);
    for (int i = 0; i < s->spline_count; ++i) free(s->spline_names[i]);
    free(s->splines);
    free(s);
}

// Opens the section the header names. Returns 0 at the "[EOF]" header, which
// ends the script. A section of an unknown type is read but never joins the
// list.
int read_header(script_reader& r, const char* line) {
    if (r.orphan) free_section(r.orphan);
    r.orphan = nullptr;
    // The word after '[' carries the closing bracket as its last character.
    char name[SCRIPT_WORD_MAX + 2];
    int length = copy_word(line + 1, name, SCRIPT_WORD_MAX + 1, nullptr);
    if (length < 0) script_fail(r, "Script: section name too long, line %d", r.line);
    if (length > 0) name[length - 1] = '\0';
    if (strcmp(name, "EOF") == 0) return 0;

    section* s = static_cast<section*>(calloc(1, sizeof(section)));
    if (!s) script_fail(r, "Script: out of memory, line %d", r.line);
    s->line = r.line;
    r.current = s;
    r.start_text[0] = '\0';
    s->type = find_type(name);
    if (s->type < 0) {
        r.orphan = s;
        std::vector<const char*> names;
        for (int i = 0; i < known_type_count; ++i) names.push_back(known_types[i].name);
        script_fail(r, "Script: section '%s' not found, line %d%s", name, r.line,
                    nearest_hint(name, names.data(), known_type_count).c_str());
    }
    if (r.tail) r.tail->next = s;
    else section_list = s;
    r.tail = s;
    return 1;
}

void read_setting(script_reader& r, const char* line) {
    char key[SCRIPT_WORD_MAX + 1];
    char value[SCRIPT_WORD_MAX + 1];
    split_or_fail(r, line, key, value);
    const setting* row = settings_find(key);
    if (!row) {
        const char* names[SETTING_COUNT];
        for (int i = 0; i < SETTING_COUNT; ++i) names[i] = settings_table[i].key;
        script_fail(r, "Script: variable '%s' not found, line %d%s", key, r.line,
                    nearest_hint(key, names, SETTING_COUNT).c_str());
    }
    int& first = r.setting_line[row - settings_table];
    if (first)
        fatal_warning("Script: %s is set again, line %d (first at line %d); the last value counts", key, r.line, first);
    else
        first = r.line;
    bool tempo = row->address == &bpm || row->address == &beat_offset;
    if (tempo && r.beats_read)
        script_fail(r, "Script: %s must come before the first time in beats, line %d", key, r.line);
    switch (row->kind) {
    case SETTING_INT:
        read_int(r, value, static_cast<int*>(row->address));
        break;
    case SETTING_FLOAT:
        read_float(r, value, static_cast<float*>(row->address));
        break;
    case SETTING_TIME:
        read_time(r, value, SCRIPT_TIME_POINT, static_cast<float*>(row->address), key);
        break;
    case SETTING_TEXT: {
        char** text = static_cast<char**>(row->address);
        char* copy = script_copy(r, value);
        free(*text);
        *text = copy;
        break;
    }
    }
    if (row->address == &rows_per_beat && !(rows_per_beat >= 1 && rows_per_beat <= 1000)) {
        rows_per_beat = 4;
        script_fail(r, "Script: rows_per_beat must be a whole number from 1 to 1000, line %d", r.line);
    }
    if (row->address == &bpm && !(bpm > 0 && bpm <= SCRIPT_TIME_MAX)) {
        bpm = 0;
        script_fail(r, "Script: bpm must be a number of beats per minute above 0, line %d", r.line);
    }
}

void read_keyword(script_reader& r, const char* line) {
    char key[SCRIPT_WORD_MAX + 1];
    char value[SCRIPT_WORD_MAX + 1];
    split_or_fail(r, line, key, value);
    for (const section_keyword& row : section_keywords) {
        if (strcmp(row.name, key) == 0) {
            row.apply(r, value);
            return;
        }
    }
    const char* names[sizeof section_keywords / sizeof section_keywords[0]];
    int count = 0;
    for (const section_keyword& row : section_keywords) names[count++] = row.name;
    script_fail(r, "Script: section variable '%s' not found, line %d%s", key, r.line,
                nearest_hint(key, names, count).c_str());
}

// One line of the script. Returns 0 at the "[EOF]" header.
int read_script_line(script_reader& r, const char* line) {
    char first = line[0];
    if (first == ';' || first == '\n' || first == '\r') return 1;  // comment or empty line
    if (first == '[') {
        fatal_attempt_call([&] { close_section(r, true); });
        int more = 1;
        fatal_attempt_call([&] { more = read_header(r, line); });
        return more;
    }
    if (!r.current) read_setting(r, line);
    else read_keyword(r, line);
    return 1;
}

}  // namespace

// ---------------------------------------------------------------------------
// Public functions
// ---------------------------------------------------------------------------

script_split_result script_split_line(const char* line, char* key, char* value) {
    script_split_result result = SCRIPT_SPLIT_OK;
    const char* p = line;
    int n = 0;
    for (; *p && !is_blank(*p) && *p != '\r' && *p != '\n'; ++p) {
        if (n < SCRIPT_WORD_MAX) key[n++] = *p;
        else result = SCRIPT_SPLIT_KEY_TOO_LONG;
    }
    key[n] = '\0';
    while (is_blank(*p)) ++p;
    n = 0;
    for (; *p && *p != '\r' && *p != '\n'; ++p) {
        if (n < SCRIPT_WORD_MAX) value[n++] = *p;
        else if (result == SCRIPT_SPLIT_OK) result = SCRIPT_SPLIT_VALUE_TOO_LONG;
    }
    value[n] = '\0';
    return result;
}

void read_script() { read_script_file(script_path); }

// Reads the opened `file` to its end or its "[EOF]" line, then closes it.
static void read_script_stream(FILE* file) {
    script_reader r = {};
    r.file = file;
    r.sync_track = -1;
    // A section of an unknown type is freed however reading ends, a fault
    // that unwinds (under a test or fuzz hook) included.
    struct orphan_owner {
        script_reader& r;
        ~orphan_owner() {
            if (r.orphan) free_section(r.orphan);
        }
    } owner{r};
    settings_reset();
    track_store_refresh();
    refused_spans.clear();
    r.line = 1;
    for (r.tail = section_list; r.tail && r.tail->next;) r.tail = r.tail->next;

    char line[SCRIPT_LINE_MAX + 1];
    for (bool more = true; more;) {
        int got = read_line(r.file, line);
        if (got == 0) {
            // No end line: the last section's sync count is not compared.
            fatal_attempt_call([&] { close_section(r, false); });
            break;
        }
        // Each line on its own, so a collecting check goes on after a fault.
        fatal_attempt_call([&] {
            if (got < 0) script_fail(r, "Script: line too long, line %d", r.line);
            more = read_script_line(r, line) != 0;
            if (r.line == INT_MAX) script_fail(r, "Script: too many lines, line %d", r.line);
        });
        if (r.line == INT_MAX) break;
        ++r.line;
    }
    if (ferror(r.file)) script_fail(r, "Script: read error, line %d", r.line);
    fclose(r.file);
}

void read_script_file(const char* path) {
    std::vector<unsigned char> bytes;
    if (file_read_all(path, &bytes)) {
        read_script_memory(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return;
    }
    struct stat info;
    if (stat(path, &info) == 0 && S_ISDIR(info.st_mode)) fatal_error("Script %s is a folder, not a file", path);
    // What cannot be read whole (a stream, say) is read as it comes.
    FILE* file = fopen(path, "r");
    if (!file && errno != ENOENT) fatal_error("Script %s cannot be read: %s", path, strerror(errno));
    if (!file) {
        char folder[1024];
        if (path[0] == '/' || !getcwd(folder, sizeof folder)) fatal_error("Script not found: %s", path);
        fatal_error("Script not found: %s (relative to %s)", path, folder);
    }
    read_script_stream(file);
}

void read_script_memory(const char* text, size_t size) {
    // A byte-order mark, as some editors begin a UTF-8 file with, is no text.
    if (size >= 3 && memcmp(text, "\xEF\xBB\xBF", 3) == 0) {
        text += 3;
        size -= 3;
    }
    FILE* file = file_open_memory(text, size);
    if (!file) fatal_error("Script: out of memory, line 1");
    read_script_stream(file);
}

void script_set_types(const script_type* types, int count) {
    known_types = types;
    known_type_count = count;
}

const section_reads* script_type_reads(int type) { return known_types[type].reads; }

int script_span_refused(const section* s) {
    for (const section* refused : refused_spans)
        if (refused == s) return 1;
    return 0;
}

void script_reset() {
    refused_spans.clear();
    section* next = nullptr;
    for (section* s = section_list; s; s = next) {
        next = s->next;
        free_section(s);
    }
    section_list = nullptr;
    current_section = nullptr;
    settings_reset();
}
