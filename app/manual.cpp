// Usage text to roff, and the player's own sections from the tables.
#include "app/manual.h"

#include <cctype>
#include <cstring>
#include <sstream>
#include <string>

#include "app/cmdline.h"
#include "app/describe.h"
#include "core/settings.h"
#include "show/section_table.h"

// Text safe for roff: backslashes doubled, minus signs kept as minus signs,
// a leading dot or quote made inert.
static std::string roff(const std::string& text) {
    std::string out = (!text.empty() && (text[0] == '.' || text[0] == '\'')) ? "\\&" : "";
    for (char c : text) {
        if (c == '\\') out += "\\e";
        else if (c == '-') out += "\\-";
        else out += c;
    }
    return out;
}

static std::string trim(const std::string& text) {
    size_t a = text.find_first_not_of(' ');
    return a == std::string::npos ? "" : text.substr(a, text.find_last_not_of(' ') - a + 1);
}

static std::string upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

static void usage_body(FILE* out, const char* usage) {
    std::istringstream lines(usage);
    std::string line;
    std::getline(lines, line);
    size_t space = line.find(' ', line.find(':') + 2);
    std::string name = trim(line.substr(line.find(':') + 1, space - line.find(':') - 1));
    std::fprintf(out, ".SH SYNOPSIS\n.B %s\n%s\n.SH DESCRIPTION\n", roff(name).c_str(),
                 space == std::string::npos ? "" : roff(trim(line.substr(space))).c_str());
    while (std::getline(lines, line)) {
        if (line.empty()) {
            std::fputs(".PP\n", out);
        } else if (line[0] != ' ' && line.find(':') == line.size() - 1) {
            std::fprintf(out, ".SH %s\n", roff(upper(line.substr(0, line.size() - 1))).c_str());
        } else if (line.compare(0, 3, "  -") == 0) {
            // The text column is 18; a long option may leave it one blank.
            size_t gap = line.find("  ", 2);
            if (gap == std::string::npos && line.size() > 18 && line[17] == ' ') gap = 17;
            std::fprintf(out, ".TP\n.B %s\n", roff(trim(line.substr(0, gap))).c_str());
            if (gap != std::string::npos) std::fprintf(out, "%s\n", roff(trim(line.substr(gap))).c_str());
        } else {
            std::fprintf(out, "%s\n", roff(trim(line)).c_str());
        }
    }
}

void manual_write(FILE* out, const char* name, const char* summary, const char* usage, const char* extra) {
    std::fprintf(out, ".TH %s 1 \"\" \"quillon %s\" \"User Commands\"\n.SH NAME\n%s \\- %s\n", upper(name).c_str(),
                 QUILLON_VERSION, roff(name).c_str(), roff(summary).c_str());
    usage_body(out, usage);
    if (extra) std::fputs(extra, out);
}

static std::string quillon_sections() {
    std::string s = ".SH SETTINGS\nThe head of data/script.txt, one \\fIkey value\\fR line each:\n";
    for (const setting& row : settings_table) {
        static const char* const kinds[] = {"integer", "number", "text", "time"};
        s += ".TP\n.B " + roff(row.key) + "\n" + kinds[row.kind] + ", default " +
             roff(row.fallback ? row.fallback : "none") + ": " + roff(row.meaning) + "\n";
    }
    s += ".SH SECTION TYPES\n"
         "Each section of the script names one of these types; \\fBquillon \\-\\-describe\\fR \\fITYPE\\fR "
         "tells every param, string, spline and sync it reads.\n";
    for (int type = 0; type < SECTION_TYPE_COUNT; ++type) {
        const section_reads& reads = *section_types[type].reads;
        s += ".TP\n.B " + roff(section_types[type].name) + "\n" + roff(reads.summary) + ".";
        for (int kind = 0; kind < SECTION_LISTS; ++kind)
            if (reads.lists[kind].count)
                s += std::string(" ") + section_list_name(kind) + ": " + describe_count(type, kind) + ".";
        s += "\n";
    }
    s += ".SH FILES\n"
         ".TP\n.I data/script.txt\nthe show's script, in the show folder\n"
         ".TP\n.I data/fonts/font.tga\nthe show's font; without it the engine's own is used\n"
         ".TP\n.I PREFIX/share/quillon\nthe engine's data: its font, the default show (played when the working "
         "folder has no show) and the example scripts in data/examples\n"
         ".TP\n.I PREFIX/share/doc/quillon/reference.md\nthe script reference\n"
         ".SH EXIT STATUS\n0 after a normal end, 2 on a usage error, 255 after any other error "
         "(reported on one line starting with \"Error:\").\n"
         ".SH SEE ALSO\n.BR quillon\\-modelinfo (1)\n";
    return s;
}

void manual_write_quillon(FILE* out) {
    std::string extra = quillon_sections();
    manual_write(out, "quillon", "play a scripted realtime OpenGL show", cmdline_usage(), extra.c_str());
}
