// The edit-mode file store: the last good version of every file any good
// opening of the session read, what the opening under way reads, and the
// stamps the watch compares with the disk. Keeping every file, not only the
// last opening's, lets a seek back to a section the last opening did not
// load fall back on its good files after they broke on disk.
#include "app/edit_files.h"

#include <map>

#include "core/file_read.h"
#include "show/show_host.h"

namespace {

// A file the opening read, or only asked the stamp of (a picture the texture
// cache still held): then its bytes are not kept, and the cache holds what
// was decoded from them.
struct kept_file {
    file_stamp stamp;  // {-1, -1}: the file was not there
    std::vector<unsigned char> bytes;
    bool readable;
    bool read;
};

const file_stamp no_file = {-1, -1};

std::map<std::string, kept_file> good;   // every file as a good opening last read it
std::map<std::string, kept_file> trial;  // the opening under way
std::map<std::string, file_stamp> last;  // what the last good opening read
std::map<std::string, file_stamp> watched;
bool serve_good = false;

file_stamp disk_stamp(const char* path) {
    file_stamp stamp = no_file;
    if (!file_stamp_disk(path, &stamp)) return no_file;
    return stamp;
}

const kept_file* good_version(const char* path, bool with_bytes) {
    if (!serve_good) return nullptr;
    auto found = good.find(path);
    if (found == good.end() || (with_bytes && !found->second.read)) return nullptr;
    return &found->second;
}

// The stamp is taken before the bytes: a save that lands between the two
// changes the stamp again, so the watch tries once more.
bool read_kept(const char* path, std::vector<unsigned char>* bytes) {
    if (const kept_file* kept = good_version(path, true)) {
        trial[path] = *kept;
        *bytes = kept->bytes;
        return kept->readable;
    }
    kept_file& entry = trial[path];
    entry.stamp = disk_stamp(path);
    entry.readable = file_read_disk(path, bytes);
    entry.bytes = *bytes;
    entry.read = true;
    return entry.readable;
}

bool stamp_kept(const char* path, file_stamp* out) {
    const kept_file* kept = good_version(path, false);
    *out = kept ? kept->stamp : disk_stamp(path);
    auto found = trial.find(path);
    if (found == trial.end()) trial[path] = kept ? *kept : kept_file{*out, {}, true, false};
    return !(*out == no_file);
}

void watch(const std::map<std::string, kept_file>& files) {
    for (const auto& file : files) watched[file.first] = file.second.stamp;
}

// What an opening read joins the good versions. A file it only asked the
// stamp of keeps the bytes held for that stamp. Returns 1 when a file it
// read differs from its good version.
int keep_trial() {
    int changed = 0;
    last.clear();
    for (auto& file : trial) {
        last[file.first] = file.second.stamp;
        auto held = good.find(file.first);
        if (held != good.end())
            changed |= !(held->second.stamp == file.second.stamp) ||
                       (held->second.read && file.second.read && held->second.bytes != file.second.bytes);
        if (file.second.read || held == good.end() || !(held->second.stamp == file.second.stamp))
            good[file.first] = std::move(file.second);
    }
    return changed;
}

}  // namespace

void edit_files_lend(show_host* host) {
    host->file_read = read_kept;
    host->file_stamp = stamp_kept;
}

void edit_files_begin(int from_good) {
    trial.clear();
    serve_good = from_good != 0;
}

int edit_files_commit() {
    // A fallback opening read the good versions: the disk's stamps of the
    // broken files stay watched.
    int changed = 0;
    if (!serve_good) {
        changed = keep_trial();
        watched = last;
    }
    trial.clear();
    serve_good = false;
    return changed;
}

void edit_files_abandon() {
    watched = last;
    watch(trial);
    trial.clear();
    serve_good = false;
}

int edit_files_changed() {
    for (const auto& file : watched)
        if (!(disk_stamp(file.first.c_str()) == file.second)) return 1;
    return 0;
}

std::vector<std::string> edit_files_watched() {
    std::vector<std::string> names;
    for (const auto& file : watched) names.push_back(file.first);
    return names;
}
