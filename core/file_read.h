// Whole files read into memory, and streams over bytes already in memory,
// for the readers that take a file's bytes (models, images, the music) and
// the line readers that also run on text held in memory (script, splines).
#pragma once

#include <cstddef>
#include <cstdio>
#include <vector>

// Reads the whole file at `path` into `bytes`, replacing what it held.
// False, with errno telling why, when it cannot be opened or read (a folder
// opens but does not read).
bool file_read_all(const char* path, std::vector<unsigned char>* bytes);

// What tells one version of a file from the next: its size and its
// modification time.
struct file_stamp {
    long long size;
    long long mtime_ns;
};
bool operator==(const file_stamp& a, const file_stamp& b);

// The stamp of the file at `path`; false when there is no such file.
bool file_stamp_of(const char* path, file_stamp* out);

// A program that keeps the files of a show (to watch them, or to open the
// show again from the versions it last opened well) can stand between the
// readers and the disk: every whole-file read and every stamp goes through
// these hooks when they are set. Null restores the disk.
typedef bool (*file_read_hook)(const char* path, std::vector<unsigned char>* bytes);
typedef bool (*file_stamp_hook)(const char* path, file_stamp* out);
void file_set_hooks(file_read_hook read, file_stamp_hook stamp);

// The disk itself, whatever the hooks say (for the hooks).
bool file_read_disk(const char* path, std::vector<unsigned char>* bytes);
bool file_stamp_disk(const char* path, file_stamp* out);

// A read stream over `size` bytes of `data`, which need not be terminated;
// null when out of memory. No bytes read as a lone line end (some C
// libraries refuse a stream over nothing), which every line reader takes
// for an empty file.
FILE* file_open_memory(const char* data, size_t size);
