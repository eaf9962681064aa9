// A file the program writes for the user (a video, a still, a frame of a
// capture), made so that nothing already there is lost to a failed or
// concurrent run: the bytes go to a temporary beside the final name,
// "FILE.part-PID-RANDOM", created anew (never through a link, never over a
// file that is there), and the temporary takes the final name only once it
// is whole and verified to be the very file that was written.
//
//   output_file out;
//   if (!output_file_open(&out, "shot.png", &why)) ... ;
//   ... write to out.fd ...
//   if (!output_file_commit(&out, &replaced, &why)) ... ;  // or output_file_abandon(&out)
#pragma once

#include <cstddef>
#include <string>

struct output_file {
    std::string path;       // the final name
    std::string part_path;  // the temporary, beside it
    int fd = -1;            // open for writing (and reading back) until commit
};

// Why `path` cannot become a written file, or "" when it can: a folder of
// that name, a missing or unwritable folder to hold it.
std::string output_file_check(const std::string& path);

// Creates the temporary (mode 0666 less the umask). False with the reason in
// `error` ("cannot be written: Permission denied").
bool output_file_open(output_file* file, const std::string& path, std::string* error);

// Writes all of `data` at the current position. False with the reason.
bool output_file_write(output_file* file, const void* data, size_t size, std::string* error);

// Flushes the temporary to disk, checks that the name still holds the file
// written (the same file, a regular one, not empty), closes it and renames it
// over the final name. `replaced` (may be null) tells whether a file of that
// name was there. On failure the temporary is removed and `error` says why.
bool output_file_commit(output_file* file, bool* replaced, std::string* error);

// Closes and removes the temporary; nothing at the final name changes.
void output_file_abandon(output_file* file);
