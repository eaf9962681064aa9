// The settings and the section types' declarations, written out as text for
// the terminal and as Markdown for the reference page.
#include "app/describe.h"

#include <cctype>

#include "core/nearest.h"
#include "core/section.h"
#include "core/settings.h"

static const char* const KIND_WORD[SECTION_LISTS] = {"param", "string", "spline", "sync"};
static const char* const SETTING_KIND[] = {"int", "float", "text", "time"};

std::string describe_count(int section_type, int kind) {
    const section_reads& reads = *section_types[section_type].reads;
    const section_field_list& list = reads.lists[kind];
    int required = section_required(list);
    int mode = reads.rules[kind].mode;
    std::string count;
    if (list.count == 0) count = "none";
    else if (required == 0) count = "up to " + std::to_string(list.count);
    else if (mode == SECTION_AT_LEAST) count = "at least " + std::to_string(required);
    else if (required == list.count) count = "exactly " + std::to_string(required);
    else count = std::to_string(required) + " to " + std::to_string(list.count);
    // A type whose params grow with its syncs takes any number of them.
    if (kind == SECTION_PARAMS && reads.params_needed) count += ", more with syncs";
    if (kind == SECTION_SYNCS && reads.params_needed) count = "any number";
    return count;
}

static const char* setting_default(const setting& row) { return row.fallback ? row.fallback : "none"; }

// ---------------------------------------------------------------------------
// Text
// ---------------------------------------------------------------------------

static void type_text(FILE* out, int type) {
    const section_type& row = section_types[type];
    const section_reads& reads = *row.reads;
    std::fprintf(out, "%s\n  %s\n", row.name, reads.summary);
    for (int kind = 0; kind < SECTION_LISTS; ++kind) {
        const section_field_list& list = reads.lists[kind];
        std::fprintf(out, "  %s: %s\n", section_list_name(kind), describe_count(type, kind).c_str());
        for (int i = 0; i < list.count; ++i) {
            const section_field& f = list.fields[i];
            std::fprintf(out, "    %s %d  %s: %s", KIND_WORD[kind], i + 1, f.name, f.meaning);
            if (f.fallback) std::fprintf(out, " (default: %s)", f.fallback);
            if (kind == SECTION_PARAMS && f.when == SECTION_EVERY_FRAME) std::fputs(" [may follow a track]", out);
            std::fputc('\n', out);
        }
    }
    if (reads.notes) std::fprintf(out, "  %s\n", reads.notes);
}

int describe_type(FILE* out, const char* name) {
    int type = section_type_find(name);
    if (type < 0) return 0;
    type_text(out, type);
    return 1;
}

std::string describe_unknown_type(const char* name) {
    const char* names[SECTION_TYPE_COUNT];
    for (int i = 0; i < SECTION_TYPE_COUNT; ++i) names[i] = section_types[i].name;
    return std::string("no section type is named '") + name + "'" + nearest_hint(name, names, SECTION_TYPE_COUNT) +
           " (quillon --describe lists them)";
}

void describe_all(FILE* out) {
    std::fputs("Head settings (one \"key value\" line each, before the first section):\n", out);
    for (const setting& row : settings_table)
        std::fprintf(out, "  %s (%s, default %s)  %s\n", row.key, SETTING_KIND[row.kind], setting_default(row),
                     row.meaning);
    std::fputs("\nSection types:\n", out);
    for (int type = 0; type < SECTION_TYPE_COUNT; ++type) {
        std::fputc('\n', out);
        type_text(out, type);
    }
}

// ---------------------------------------------------------------------------
// Markdown
// ---------------------------------------------------------------------------

static void type_markdown(FILE* out, int type) {
    const section_type& row = section_types[type];
    const section_reads& reads = *row.reads;
    std::fprintf(out, "### %s\n\n%c%s.\n\n", row.name, std::toupper(reads.summary[0]), reads.summary + 1);
    std::string counts;
    int fields = 0;
    for (int kind = 0; kind < SECTION_LISTS; ++kind) {
        fields += reads.lists[kind].count;
        if (!counts.empty()) counts += "; ";
        counts += std::string(section_list_name(kind)) + ": " + describe_count(type, kind);
    }
    std::fprintf(out, "%c%s.\n\n", std::toupper(counts[0]), counts.c_str() + 1);
    if (fields) {
        std::fputs("| line | name | meaning | default | track |\n|---|---|---|---|---|\n", out);
        for (int kind = 0; kind < SECTION_LISTS; ++kind) {
            const section_field_list& list = reads.lists[kind];
            for (int i = 0; i < list.count; ++i) {
                const section_field& f = list.fields[i];
                const char* tracked = kind != SECTION_PARAMS ? "" : f.when == SECTION_EVERY_FRAME ? "yes" : "no";
                std::fprintf(out, "| %s %d | `%s` | %s | %s | %s |\n", KIND_WORD[kind], i + 1, f.name, f.meaning,
                             f.fallback ? f.fallback : "required", tracked);
            }
        }
        std::fputc('\n', out);
    }
    if (reads.notes) std::fprintf(out, "%s\n\n", reads.notes);
}

void describe_reference(FILE* out) {
    std::fputs(
        "# Script reference\n\n"
        "Written by `quillon --reference` from the engine's own tables (`make reference` writes this\n"
        "file again; a test fails when it is out of step). `quillon --describe TYPE` prints one\n"
        "section type in the terminal.\n\n"
        "A script is `data/script.txt` in the show folder: first the head settings, one `key value`\n"
        "line each; then sections, each opened by a `[type]` line and filled with `start`, `end`,\n"
        "`layer`, `param`, `string`, `spline` (a file and optionally its seconds), `syncs` (a count)\n"
        "and `sync` lines; the script ends with `[EOF]`. Lines starting with `;` are comments.\n"
        "Params, strings, splines and syncs are numbered in the order they are written.\n\n"
        "A param the type reads every frame (track: yes) may follow a track instead of holding a\n"
        "number: `param @NAME [SCALE [OFFSET]]` takes the track's value times SCALE plus OFFSET before\n"
        "each frame, the track read from `data/tracks/NAME.txt` (or the tracker's\n"
        "`data/tracks/sync_NAME.track`); `syncs @NAME` takes a section's syncs from the track's key\n"
        "times. See the README's \"Tracks\" section.\n\n"
        "## Head settings\n\n"
        "| setting | type | default | meaning |\n|---|---|---|---|\n",
        out);
    for (const setting& row : settings_table)
        std::fprintf(out, "| `%s` | %s | %s | %s |\n", row.key, SETTING_KIND[row.kind], setting_default(row),
                     row.meaning);
    std::fputs("\n## Section types\n\n", out);
    for (int type = 0; type < SECTION_TYPE_COUNT; ++type) type_markdown(out, type);
}
