// The track store: the tracks a show's params follow, read from their files
// when first named, edited live, and applied to the params before a section
// draws. See track.h.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "core/fatal.h"
#include "core/section.h"
#include "core/track.h"

namespace {

std::vector<std::unique_ptr<track>> store;
// Names whose file failed to read since the last refresh: reported once.
std::vector<std::string> failed;

enum { FAMILIES_MAX = 16 };
const track_builtin* families[FAMILIES_MAX];
int family_count = 0;

const track_builtin* family_of(const char* name) {
    for (int i = 0; i < family_count; ++i) {
        size_t length = std::strlen(families[i]->prefix);
        if (std::strncmp(name, families[i]->prefix, length) == 0) return families[i];
    }
    return nullptr;
}

bool file_exists(const std::string& path, file_stamp* stamp) {
    file_stamp found = {-1, -1};
    bool exists = file_stamp_of(path.c_str(), &found);
    if (stamp) *stamp = found;
    return exists;
}

// Reads the track `name` from its file into a new track of the store.
int load(const char* name, const script_tempo& tempo, int rows_per_beat, std::string* error) {
    auto t = std::make_unique<track>();
    t->name = name;
    std::string text = track_text_path(name), binary = track_binary_path(name);
    file_stamp stamp;
    bool has_text = file_exists(text, &stamp), has_binary = file_exists(binary, nullptr);
    if (!has_text && !has_binary) {
        *error = "track '" + std::string(name) + "' not found: there is neither " + text + " nor " + binary;
        return -1;
    }
    if (has_text && has_binary)
        fatal_warning("Track '%s' has both %s and %s; the text file is read", name, text.c_str(), binary.c_str());
    std::string path = has_text ? text : binary;
    if (!has_text) file_exists(binary, &stamp);
    std::vector<unsigned char> bytes;
    if (!file_read_all(path.c_str(), &bytes)) {
        *error = "Track " + path + ": cannot be read";
        failed.push_back(name);
        return -1;
    }
    int ok = has_text ? track_parse_text(bytes, path.c_str(), tempo, t.get(), error)
                      : track_parse_binary(bytes, path.c_str(), tempo, rows_per_beat, t.get(), error);
    if (!ok) {
        failed.push_back(name);
        return -1;
    }
    // Saved, a track is written as text.
    t->path = text;
    t->stamp = has_text ? stamp : file_stamp{-1, -1};
    store.push_back(std::move(t));
    return static_cast<int>(store.size()) - 1;
}

// The track `name`, made empty when the store has none.
track* edited(const char* name) {
    int index = track_find(name);
    if (index < 0) {
        auto t = std::make_unique<track>();
        t->name = name;
        t->path = track_text_path(name);
        t->stamp = {-1, -1};
        file_exists(t->path, &t->stamp);
        store.push_back(std::move(t));
        index = static_cast<int>(store.size()) - 1;
    }
    store[index]->live = 1;
    return store[index].get();
}

}  // namespace

void track_builtin_register(const track_builtin* family) {
    for (int i = 0; i < family_count; ++i)
        if (families[i] == family) return;
    if (family_count == FAMILIES_MAX) fatal_error("Too many track families");
    families[family_count++] = family;
}

float track_ref_value(const track_ref& ref, double seconds) {
    if (ref.family) return ref.family->value(ref.id, seconds);
    return track_value(*store[ref.index], seconds);
}

// A live track is kept while its file is as it was when read or saved: a
// change on disk is the author's, and is read.
void track_store_refresh() {
    std::vector<std::unique_ptr<track>> kept;
    for (auto& t : store) {
        file_stamp now = {-1, -1};
        file_exists(t->path, &now);
        if (t->live && now == t->stamp) kept.push_back(std::move(t));
    }
    store.swap(kept);
    failed.clear();
}

void track_store_clear() {
    store.clear();
    failed.clear();
}

int track_count() { return static_cast<int>(store.size()); }

track* track_at(int index) { return index >= 0 && index < track_count() ? store[index].get() : nullptr; }

int track_find(const char* name) {
    for (size_t i = 0; i < store.size(); ++i)
        if (store[i]->name == name) return static_cast<int>(i);
    return -1;
}

int track_resolve(const char* name, const script_tempo& tempo, int rows_per_beat, track_ref* out,
                  std::string* error) {
    *out = {-1, nullptr, 0};
    if (const track_builtin* family = family_of(name)) {
        out->id = family->find(name);
        if (out->id < 0) {
            *error = "track '" + std::string(name) + "' not found among the '" + family->prefix + "' tracks";
            return 0;
        }
        out->family = family;
        return 1;
    }
    if (!track_name_valid(name)) {
        *error = "'" + std::string(name) +
                 "' is not a track name (1 to 63 letters, digits, '_', '.', '-', ':', not starting with '.')";
        return 0;
    }
    out->index = track_find(name);
    if (out->index >= 0) return 1;
    error->clear();
    if (std::find(failed.begin(), failed.end(), name) != failed.end()) return 0;
    out->index = load(name, tempo, rows_per_beat, error);
    return out->index >= 0;
}

int track_edit_set(const char* name, double seconds, float value, int interp) {
    track* t = edited(name);
    track_key key = {seconds, value, interp};
    auto at = std::lower_bound(t->keys.begin(), t->keys.end(), seconds,
                               [](const track_key& k, double x) { return k.time < x; });
    if (at != t->keys.end() && at->time == seconds) *at = key;
    else t->keys.insert(at, key);
    return track_find(name);
}

int track_edit_remove(const char* name, double seconds) {
    int index = track_find(name);
    if (index < 0) return 0;
    std::vector<track_key>& keys = store[index]->keys;
    for (auto k = keys.begin(); k != keys.end(); ++k) {
        if (k->time != seconds) continue;
        keys.erase(k);
        store[index]->live = 1;
        return 1;
    }
    return 0;
}

int track_edit_clear(const char* name) {
    track* t = edited(name);
    t->keys.clear();
    t->repeat = 0;
    return track_find(name);
}

void track_apply(section* s, double seconds) {
    for (int i = 0; i < s->tracked_count; ++i) {
        const track_param& p = s->tracked[i];
        s->params[p.param] = static_cast<float>(track_ref_value(p.ref, seconds) * p.scale + p.offset);
        section_value_store(s, p.param);
    }
}
