// Output files under a temporary name of their own: see output_file.h.
#include "app/output_file.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

std::string folder_of(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string reason(int code) { return std::string("cannot be written: ") + std::strerror(code); }

// Eight hex digits no other run picks, from the kernel's random source (the
// clock when that fails).
std::string random_tag() {
    unsigned value = 0;
    if (getrandom(&value, sizeof value, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof value)) {
        timespec now = {};
        clock_gettime(CLOCK_REALTIME, &now);
        value = static_cast<unsigned>(now.tv_nsec) ^ static_cast<unsigned>(now.tv_sec) * 2654435761u;
    }
    char text[16];
    std::snprintf(text, sizeof text, "%08x", value);
    return text;
}

void close_and_remove(output_file* file) {
    if (file->fd >= 0) close(file->fd);
    file->fd = -1;
    if (!file->part_path.empty()) unlink(file->part_path.c_str());
    file->part_path.clear();
}

}  // namespace

std::string output_file_check(const std::string& path) {
    struct stat info;
    if (path.empty() || path.back() == '/') return "cannot be written: it names a folder";
    if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return "cannot be written: it is a folder";
    std::string folder = folder_of(path);
    if (stat(folder.c_str(), &info) != 0) return reason(errno);
    if (!S_ISDIR(info.st_mode)) return reason(ENOTDIR);
    if (access(folder.c_str(), W_OK | X_OK) != 0) return reason(errno);
    return "";
}

bool output_file_open(output_file* file, const std::string& path, std::string* error) {
    *file = output_file();
    file->path = path;
    std::string prefix = path + ".part-" + std::to_string(getpid()) + "-";
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::string candidate = prefix + random_tag();
        int fd = open(candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0) {
            file->fd = fd;
            file->part_path = candidate;
            return true;
        }
        if (errno != EEXIST) {
            std::string folder_fault = output_file_check(path);
            *error = folder_fault.empty() ? reason(errno) : folder_fault;
            return false;
        }
    }
    *error = reason(EEXIST);
    return false;
}

bool output_file_write(output_file* file, const void* data, size_t size, std::string* error) {
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t put = write(file->fd, bytes, size);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) {
            *error = reason(put < 0 ? errno : ENOSPC);
            return false;
        }
        bytes += put;
        size -= static_cast<size_t>(put);
    }
    return true;
}

bool output_file_commit(output_file* file, bool* replaced, std::string* error) {
    struct stat written, named, old;
    std::string fault;
    if (file->fd < 0) {
        fault = "it was not opened";
    } else if (fsync(file->fd) != 0 || fstat(file->fd, &written) != 0) {
        fault = std::strerror(errno);
    } else if (written.st_size == 0) {
        fault = "nothing was written";
    } else if (lstat(file->part_path.c_str(), &named) != 0 || !S_ISREG(named.st_mode) ||
               named.st_dev != written.st_dev || named.st_ino != written.st_ino) {
        fault = "its temporary " + file->part_path + " was replaced or removed while it was written";
        file->part_path.clear();  // not ours any more: left alone
    }
    if (fault.empty()) {
        int status = close(file->fd);
        file->fd = -1;
        if (status != 0) fault = std::strerror(errno);
    }
    bool existed = lstat(file->path.c_str(), &old) == 0;
    if (fault.empty() && rename(file->part_path.c_str(), file->path.c_str()) != 0) fault = std::strerror(errno);
    if (!fault.empty()) {
        close_and_remove(file);
        *error = "cannot be finished (" + fault + "); the unfinished file was removed";
        return false;
    }
    if (replaced) *replaced = existed;
    file->part_path.clear();
    return true;
}

void output_file_abandon(output_file* file) { close_and_remove(file); }
