#include "core/file_read.h"

#include <cerrno>

bool file_read_all(const char* path, std::vector<unsigned char>* bytes) {
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
