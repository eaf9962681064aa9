// Edit distance over short names; see nearest.h.
#include "core/nearest.h"

#include <cstring>

enum { NEAREST_NAME_MAX = 64 };

int nearest_distance(const char* a, const char* b, int limit) {
    int la = static_cast<int>(std::strlen(a)), lb = static_cast<int>(std::strlen(b));
    if (la >= NEAREST_NAME_MAX || lb >= NEAREST_NAME_MAX) return std::strcmp(a, b) == 0 ? 0 : limit + 1;
    if (la - lb > limit || lb - la > limit) return limit + 1;
    // One row of the classic table at a time.
    int row[NEAREST_NAME_MAX + 1];
    for (int j = 0; j <= lb; ++j) row[j] = j;
    for (int i = 1; i <= la; ++i) {
        int diagonal = row[0];
        row[0] = i;
        for (int j = 1; j <= lb; ++j) {
            int above = row[j];
            int best = diagonal + (a[i - 1] != b[j - 1]);
            if (above + 1 < best) best = above + 1;
            if (row[j - 1] + 1 < best) best = row[j - 1] + 1;
            row[j] = best;
            diagonal = above;
        }
    }
    return row[lb] > limit ? limit + 1 : row[lb];
}

const char* nearest_name(const char* name, const char* const* names, int count) {
    const char* best = nullptr;
    int best_distance = NEAREST_MAX_EDITS + 1;
    for (int i = 0; i < count; ++i) {
        const char* candidate = names[i];
        int d = nearest_distance(name, candidate, NEAREST_MAX_EDITS);
        // Two edits in a three-letter word leave too little of it to go by.
        bool close = 2 * d < static_cast<int>(std::strlen(name));
        if (d > 0 && close && d < best_distance) {
            best = candidate;
            best_distance = d;
        }
    }
    return best;
}

std::string nearest_hint(const char* name, const char* const* names, int count) {
    const char* near = nearest_name(name, names, count);
    return near ? std::string(" (did you mean '") + near + "'?)" : std::string();
}
