#include "app/edit_view_layout.h"

#include <algorithm>

float edit_text_size(size_t chars, float width, float largest, float smallest) {
    if (chars == 0) return largest;
    float size = std::min(largest, width / static_cast<float>(chars));
    return size >= smallest ? size : 0;
}

fitted_text edit_fit_first(const std::vector<std::string>& choices, float width, float largest, float smallest) {
    for (const std::string& words : choices) {
        float size = edit_text_size(words.size(), width, largest, smallest);
        if (size > 0) return {words, size};
    }
    return {"", 0};
}

std::string edit_fit_entries(const std::vector<std::string>& entries, float width, float size) {
    size_t room = size > 0 ? static_cast<size_t>(width / size) : 0;
    for (size_t shown = entries.size();; --shown) {
        std::string line;
        for (size_t i = 0; i < shown; ++i) line += (i ? "  " : "") + entries[i];
        if (shown < entries.size()) line += (shown ? "  +" : "+") + std::to_string(entries.size() - shown) + " more";
        if (line.size() <= room) return line;
        if (shown == 0) return "";
    }
}
