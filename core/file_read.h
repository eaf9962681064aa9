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

// A read stream over `size` bytes of `data`, which need not be terminated;
// null when out of memory. No bytes read as a lone line end (some C
// libraries refuse a stream over nothing), which every line reader takes
// for an empty file.
FILE* file_open_memory(const char* data, size_t size);
