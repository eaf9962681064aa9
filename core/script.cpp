// The script reader.
//
// Reads the script line by line: lines before the first "[type]" header set
// engine settings, later lines fill the section opened by the last header.
// The format has fixed limits (255-byte lines, 63-character words, 256
// params, strings and splines per section); anything beyond them, like every
// other fault, ends the program with a message naming the line.
//
// Depends on: core/settings (the key table), core/section (the record, the
// type table, the section list), core/fatal (the error path).
#include "core/script.h"


#include <cctype>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/fatal.h"
#include "core/file_read.h"
#include "core/section.h"
#include "core/settings.h"

const char* script_path = "data/script.txt";

// ---------------------------------------------------------------------------
// Reader state
// ---------------------------------------------------------------------------

namespace {

// What the reader carries from one line to the next.
struct script_reader {
    FILE* file;
    int line;              // 1-based physical line being handled
    section* current;      // section opened by the last header, or null
    section* tail;         // last record of section_list
    int expected_syncs;    // count declared by the last `syncs` line
    int found_syncs;       // `sync` lines seen since then
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
    if (r.file) fclose(r.file);
    r.file = nullptr;
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
// parses.
int scan_int(const char* text, int* out) {
    char* end = nullptr;
    long value = strtol(text, &end, 10);
    if (end == text) return 0;
    if (value > INT_MAX) value = INT_MAX;
    if (value < INT_MIN) value = INT_MIN;
    *out = static_cast<int>(value);
    return 1;
}

// A decimal float: white space, optional sign, digits with an optional
// fraction, an optional exponent; the longest such prefix is taken. Hex,
// "inf" and "nan" are not decimal and do not parse. Returns 0 (and leaves
// *out alone) when nothing parses.
int scan_float(const char* text, float* out) {
    const char* start = skip_space(text);
    const char* p = start;
    if (*p == '+' || *p == '-') ++p;
    int digits = 0;
    while (isdigit(static_cast<unsigned char>(*p))) ++p, ++digits;
    if (*p == '.') {
        ++p;
        while (isdigit(static_cast<unsigned char>(*p))) ++p, ++digits;
    }
    if (digits == 0) return 0;
    if (*p == 'e' || *p == 'E') {
        const char* q = p + 1;
        if (*q == '+' || *q == '-') ++q;
        if (isdigit(static_cast<unsigned char>(*q))) {
            while (isdigit(static_cast<unsigned char>(*q))) ++q;
            p = q;
        }
    }
    char number[SCRIPT_LINE_MAX + 1];
    size_t length = static_cast<size_t>(p - start);
    if (length > SCRIPT_LINE_MAX) length = SCRIPT_LINE_MAX;
    memcpy(number, start, length);
    number[length] = '\0';
    *out = strtof(number, nullptr);
    return 1;
}

// Reads one line, its LF included, into `line` (SCRIPT_LINE_MAX + 1 bytes).
// Returns 1 for a line, 0 at the end of the file, -1 when the line is longer
// than the limit. NUL bytes are stored as read; they end the line's text.
int read_line(FILE* file, char* line) {
    int n = 0;
    int c;
    while ((c = getc(file)) != EOF) {
        if (n == SCRIPT_LINE_MAX) return -1;
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

void keyword_start(script_reader& r, const char* value) {
    scan_float(value, &r.current->start);
    if (r.current->start < 0) script_fail(r, "Script: invalid section start, line %d", r.line);
}

void keyword_end(script_reader& r, const char* value) {
    section* s = r.current;
    scan_float(value, &s->end);
    s->duration = s->end - s->start;
    if (s->duration <= 0) script_fail(r, "Script: invalid section duration, line %d", r.line);
}

void keyword_layer(script_reader& r, const char* value) {
    scan_int(value, &r.current->layer);
}

// A count that does not parse keeps the previous count; the array is always
// replaced, and the sync lines found so far are forgotten.
void keyword_syncs(script_reader& r, const char* value) {
    section* s = r.current;
    scan_int(value, &s->sync_count);
    if (s->sync_count < 0) script_fail(r, "Script: negative sync count, line %d", r.line);
    if (s->sync_count > SCRIPT_SYNCS_MAX)
        script_fail(r, "Script: more than %d syncs in a section, line %d", SCRIPT_SYNCS_MAX, r.line);
    free(s->syncs);
    s->syncs = nullptr;
    if (s->sync_count > 0) {
        s->syncs = static_cast<float*>(calloc(static_cast<size_t>(s->sync_count), sizeof(float)));
        if (!s->syncs) script_fail(r, "Script: out of memory, line %d", r.line);
    }
    r.expected_syncs = s->sync_count;
    r.found_syncs = 0;
}

// Extra sync lines are counted (the next header reports them) but not stored;
// a value that does not parse is stored as 0.
void keyword_sync(script_reader& r, const char* value) {
    float time = 0.0f;
    scan_float(value, &time);
    if (r.found_syncs < r.expected_syncs) r.current->syncs[r.found_syncs] = time;
    ++r.found_syncs;
}

// A value that does not parse is stored as 0, so later params keep their
// positions.
void keyword_param(script_reader& r, const char* value) {
    section* s = r.current;
    if (s->param_count >= SECTION_MAX_PARAMS)
        script_fail(r, "Script: more than %d params in a section, line %d", SECTION_MAX_PARAMS, r.line);
    float number = 0.0f;
    scan_float(value, &number);
    s->params[s->param_count++] = number;
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
    if (length > 0) scan_float(rest, &time);
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

// Closes the open section (checking its sync count) and opens the one named.
// Returns 0 at the "[EOF]" header, which ends the script.
int read_header(script_reader& r, const char* line) {
    if (r.found_syncs != r.expected_syncs)
        script_fail(r, "Script: incorrect number of syncs (%d found, %d expected), line %d",
                    r.found_syncs, r.expected_syncs, r.line);
    // The word after '[' carries the closing bracket as its last character.
    char name[SCRIPT_WORD_MAX + 2];
    int length = copy_word(line + 1, name, SCRIPT_WORD_MAX + 1, nullptr);
    if (length < 0) script_fail(r, "Script: section name too long, line %d", r.line);
    if (length > 0) name[length - 1] = '\0';
    if (strcmp(name, "EOF") == 0) return 0;

    section* s = static_cast<section*>(calloc(1, sizeof(section)));
    if (!s) script_fail(r, "Script: out of memory, line %d", r.line);
    s->line = r.line;
    if (r.tail) r.tail->next = s;
    else section_list = s;
    r.tail = s;
    r.current = s;
    s->type = section_type_find(name);
    if (s->type < 0) script_fail(r, "Script: section '%s' not found, line %d", name, r.line);
    r.expected_syncs = 0;
    r.found_syncs = 0;
    return 1;
}

void read_setting(script_reader& r, const char* line) {
    char key[SCRIPT_WORD_MAX + 1];
    char value[SCRIPT_WORD_MAX + 1];
    split_or_fail(r, line, key, value);
    const setting* row = settings_find(key);
    if (!row) script_fail(r, "Script: variable '%s' not found, line %d", key, r.line);
    switch (row->kind) {
    case SETTING_INT:
        scan_int(value, static_cast<int*>(row->address));
        break;
    case SETTING_FLOAT:
        scan_float(value, static_cast<float*>(row->address));
        break;
    case SETTING_TEXT: {
        char** text = static_cast<char**>(row->address);
        char* copy = script_copy(r, value);
        free(*text);
        *text = copy;
        break;
    }
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
    script_fail(r, "Script: section variable '%s' not found, line %d", key, r.line);
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
    settings_reset();
    r.line = 1;
    for (r.tail = section_list; r.tail && r.tail->next;) r.tail = r.tail->next;

    char line[SCRIPT_LINE_MAX + 1];
    for (;;) {
        int got = read_line(r.file, line);
        if (got < 0) script_fail(r, "Script: line too long, line %d", r.line);
        if (got == 0) break;
        char first = line[0];
        if (first == ';' || first == '\n' || first == '\r') {
            // comment or empty line
        } else if (first == '[') {
            if (!read_header(r, line)) break;
        } else if (!r.current) {
            read_setting(r, line);
        } else {
            read_keyword(r, line);
        }
        if (r.line == INT_MAX) script_fail(r, "Script: too many lines, line %d", r.line);
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
    // What cannot be read whole (a folder, say) is reported by the reader.
    FILE* file = fopen(path, "r");
    if (!file) fatal_error("Script not found");
    read_script_stream(file);
}

void read_script_memory(const char* text, size_t size) {
    FILE* file = file_open_memory(text, size);
    if (!file) fatal_error("Script: out of memory, line 1");
    read_script_stream(file);
}

void script_reset() {
    section* next = nullptr;
    for (section* s = section_list; s; s = next) {
        next = s->next;
        free(s->syncs);
        for (int i = 0; i < s->string_count; ++i) free(s->strings[i]);
        for (int i = 0; i < s->spline_count; ++i) free(s->spline_names[i]);
        free(s);
    }
    section_list = nullptr;
    current_section = nullptr;
    settings_reset();
}
