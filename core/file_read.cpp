#include "core/file_read.h"

#include <sys/stat.h>

#include <cerrno>

static file_read_hook read_hook = nullptr;
static file_stamp_hook stamp_hook = nullptr;

void file_set_hooks(file_read_hook read, file_stamp_hook stamp) {
    read_hook = read;
    stamp_hook = stamp;
}

bool operator==(const file_stamp& a, const file_stamp& b) { return a.size == b.size && a.mtime_ns == b.mtime_ns; }

bool file_stamp_disk(const char* path, file_stamp* out) {
    struct stat info;
    if (stat(path, &info) != 0) return false;
    out->size = static_cast<long long>(info.st_size);
    out->mtime_ns = static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
    return true;
}

bool file_stamp_of(const char* path, file_stamp* out) {
    return stamp_hook ? stamp_hook(path, out) : file_stamp_disk(path, out);
}

bool file_read_all(const char* path, std::vector<unsigned char>* bytes) {
    return read_hook ? read_hook(path, bytes) : file_read_disk(path, bytes);
}

bool file_read_disk(const char* path, std::vector<unsigned char>* bytes) {
    bytes->clear();
    FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    unsigned char block[65536];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0) bytes->insert(bytes->end(), block, block + got);
    bool ok = !std::ferror(file);
    int error = errno;
    std::fclose(file);
    errno = error;
    return ok;
}

FILE* file_open_memory(const char* data, size_t size) {
    static char line_end[1] = {'\n'};
    return size ? fmemopen(const_cast<char*>(data), size, "r") : fmemopen(line_end, 1, "r");
}
