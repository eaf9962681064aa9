// Resident memory per pass of a soak run, and the rule that says whether it
// keeps growing. Reading /proc is the only I/O; the rest is pure.
#include "app/soak.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

int soak_growing_pass(const std::vector<soak_pass>& passes, long tolerance_kb) {
    if (passes.size() < 2 || passes[0].peak_kb < 0) return 0;
    for (size_t i = 1; i < passes.size(); ++i)
        if (passes[i].peak_kb - passes[0].peak_kb > tolerance_kb) return static_cast<int>(i) + 1;
    return 0;
}

long soak_status_kb(const std::string& status, const char* key) {
    std::string wanted = std::string(key) + ":";
    size_t at = 0;
    while (at < status.size()) {
        size_t end = status.find('\n', at);
        if (end == std::string::npos) end = status.size();
        if (status.compare(at, wanted.size(), wanted) == 0) {
            std::string value = status.substr(at + wanted.size(), end - at - wanted.size());
            char* stop = nullptr;
            long kb = std::strtol(value.c_str(), &stop, 10);
            if (stop == value.c_str() || kb < 0) return -1;
            return kb;
        }
        at = end + 1;
    }
    return -1;
}

soak_pass soak_measure() {
    std::ifstream file("/proc/self/status");
    std::stringstream text;
    text << file.rdbuf();
    return {soak_status_kb(text.str(), "VmHWM"), soak_status_kb(text.str(), "VmRSS")};
}

void soak_reset_peak() {
    FILE* file = std::fopen("/proc/self/clear_refs", "w");
    if (!file) return;
    std::fputs("5", file);
    std::fclose(file);
}

std::string soak_pass_text(int pass, int count, const soak_pass& figures) {
    char line[128];
    std::snprintf(line, sizeof line, "Soak pass %d/%d: peak RSS %ld kB, %ld kB at its end", pass, count,
                  figures.peak_kb, figures.end_kb);
    return line;
}
